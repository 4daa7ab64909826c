#include "effects/distortion/CurveDesign.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace Korvane
{

namespace
{
// Fills every point from knots sorted by x: the first and last knot's value beyond the
// ends, and between them segmentValue(seg, t) for the segment seg holding the point and
// the point's position t (0..1) within it. Needs at least two knots.
template <typename SegmentValue>
void fillBetweenKnots(const std::vector<CurveDesign::Knot>& knots, CurveDesign::Points& points,
                      SegmentValue segmentValue)
{
  const size_t n = knots.size();
  size_t seg = 0;
  for (int k = 0; k < DistortionCurve::kLength; ++k)
  {
    const double x = CurveDesign::pointInput(k);
    if (x <= knots.front().x)
      points[k] = knots.front().y;
    else if (x >= knots.back().x)
      points[k] = knots.back().y;
    else
    {
      while (seg + 2 < n && x > knots[seg + 1].x)
        ++seg;
      points[k] = segmentValue(seg, (x - knots[seg].x) / (knots[seg + 1].x - knots[seg].x));
    }
  }
}
} // namespace

// --- Called while the stored tables are built (construction, main thread) ----------

double CurveDesign::gridInput(double x) { return pointInput(gridIndex(x)); }

int CurveDesign::gridIndex(double x)
{
  const double k = std::round((std::clamp(x, -1.0, 1.0) + 1.0) * 255.5);
  return static_cast<int>(k);
}

double CurveDesign::pointInput(int k) { return 2.0 * k / DistortionCurve::kSpan - 1.0; }

CurveDesign::Points CurveDesign::smoothThrough(const std::vector<Knot>& knots)
{
  const size_t n = knots.size();
  Points points{};
  if (n == 0)
    return points;
  if (n == 1)
  {
    points.fill(knots[0].y);
    return points;
  }
  // Secant slopes, then tangents: zero where the secants change sign, otherwise the
  // weighted harmonic mean that keeps each segment monotone.
  std::vector<double> h(n - 1), d(n - 1), m(n);
  for (size_t i = 0; i + 1 < n; ++i)
  {
    h[i] = knots[i + 1].x - knots[i].x;
    d[i] = (knots[i + 1].y - knots[i].y) / h[i];
  }
  m[0] = d[0]; // the end tangents follow their segment
  m[n - 1] = d[n - 2];
  for (size_t i = 1; i + 1 < n; ++i)
  {
    if (d[i - 1] * d[i] <= 0.0)
      m[i] = 0.0;
    else
    {
      const double w1 = 2.0 * h[i] + h[i - 1];
      const double w2 = h[i] + 2.0 * h[i - 1];
      m[i] = (w1 + w2) / (w1 / d[i - 1] + w2 / d[i]);
    }
  }
  fillBetweenKnots(knots, points,
                   [&](size_t seg, double t)
                   {
                     const double t2 = t * t;
                     const double t3 = t2 * t;
                     return (2 * t3 - 3 * t2 + 1) * knots[seg].y +
                            (t3 - 2 * t2 + t) * h[seg] * m[seg] +
                            (-2 * t3 + 3 * t2) * knots[seg + 1].y + (t3 - t2) * h[seg] * m[seg + 1];
                   });
  return points;
}

CurveDesign::Points CurveDesign::straightThrough(const std::vector<Knot>& knots, double ripple,
                                                 int period)
{
  const size_t n = knots.size();
  Points points{};
  if (n == 0)
    return points;
  if (n == 1)
  {
    points.fill(knots[0].y);
    return points;
  }
  fillBetweenKnots(knots, points,
                   [&](size_t seg, double t)
                   {
                     const Knot& a = knots[seg];
                     const Knot& b = knots[seg + 1];
                     double y = a.y + t * (b.y - a.y);
                     if (ripple != 0.0)
                     {
                       // Whole half cycles per segment, so the ripple vanishes at both knots.
                       const double span = (b.x - a.x) * DistortionCurve::kSpan / 2.0; // in points
                       const double halfCycles =
                           std::max(1.0, std::round(span / std::max(period, 1)));
                       const double size = ripple * 0.5 * (std::fabs(a.y) + std::fabs(b.y));
                       y += size * std::sin(std::numbers::pi * halfCycles * t);
                     }
                     return y;
                   });
  return points;
}

void CurveDesign::mirrorOdd(Points& points)
{
  for (int k = 256; k < DistortionCurve::kLength; ++k)
    points[DistortionCurve::kLength - 1 - k] = -points[k];
}

void CurveDesign::clamp(Points& points, double limit)
{
  for (double& p : points)
    p = std::clamp(p, -limit, limit);
}

} // namespace Korvane
