#include "effects/distortion/CurveGenerators.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace Korvane
{

namespace
{

constexpr double kPi = std::numbers::pi;

// The eight shapes the hardcore fuzz curves are cut from, one value per step of
// c = j/256, with one step beyond the end (j = 256) for the stored tables.
using Shape = std::array<double, 257>;

struct HardcoreShapes
{
  std::array<Shape, 8> p{};

  HardcoreShapes()
  {
    for (int j = 0; j <= 256; ++j)
    {
      const double c = j / 256.0;
      const double s = std::sin(kPi * c);
      // A saw of 42 steps whose sign flips every 42 steps, fading out towards c = 1.
      const double sign = (j / 42) % 2 == 0 ? 1.0 : -1.0;
      const double saw = double(j % 42) / 42.0 * sign * 1.5 * (1.0 - c);
      const double ramp = 1.75 * (double(j % 64) / 64.0) * (1.0 - c);
      p[0][j] = c + 0.2 * s + 0.1 * std::fabs(std::sin(4 * kPi * c));
      p[1][j] = c + 0.25 * s + 0.15 * std::fabs(std::sin(10 * kPi * c));
      p[2][j] = c + 0.25 * s + 0.15 * std::fabs(std::sin(6 * kPi * c));
      p[3][j] = c + 0.2 * s + 0.25 * std::fabs(std::sin(8 * kPi * c));
      p[4][j] = c - 0.2 * s + saw;
      p[6][j] = c - 0.1 * s + saw;
      p[5][j] = c + 0.1 * std::sin(2 * kPi * c) + ramp;
      p[7][j] = c + 0.2 * std::sin(2 * kPi * c) + ramp;
    }
    // Cut-outs, in this order (later ones overwrite earlier ones).
    for (int n = 55; n <= 154; ++n)
    {
      p[0][n] = p[0][74];
      p[1][n] = p[1][74] + 0.01 * (n - 55); // p[1][74] is itself rewritten at n = 74
    }
    fill(p[0], 5, 54, 0.0);
    for (int n = 25; n <= 74; ++n)
      p[1][n] = 0.01 * (n - 25);
    fill(p[0], 100, 116, 1.0);
    fill(p[0], 200, 216, 1.0);
    fill(p[2], 180, 196, 0.0);
    fill(p[2], 200, 216, 0.0);
    fill(p[3], 150, 199, 0.0);
    fill(p[2], 150, 199, 1.0);
    fill(p[2], 7, 43, 0.0);
    fill(p[0], 7, 43, 1.0);
    for (int n = 17; n <= 53; ++n)
      p[1][n] *= 0.1;
    fill(p[3], 17, 53, 1.0);
  }

  static void fill(Shape& shape, int first, int last, double value)
  {
    std::fill(shape.begin() + first, shape.begin() + last + 1, value);
  }
};

double largestMagnitude(const double* first, const double* last)
{
  double largest = 0.0;
  for (const double* v = first; v != last; ++v)
    largest = std::max(largest, std::fabs(*v));
  return largest;
}

void scaleBy(double* first, double* last, double divisor)
{
  if (divisor > 0.0)
    for (double* v = first; v != last; ++v)
      *v /= divisor;
}

} // namespace

// --- Called while the curves are built (construction, main thread) ------------------

bool CurveGenerators::generate(int type, bool stored, Points& points)
{
  if (type >= 16 && type <= 19)
    hardcoreFuzz(type, stored, points);
  else if (type == 20)
    industrialFuzz(stored, points);
  else if (type >= 21 && type <= 24)
    korvaneDrive(type, stored, points);
  else
    return false;
  return true;
}

void CurveGenerators::hardcoreFuzz(int type, bool stored, Points& points)
{
  static const HardcoreShapes kShapes;
  // Positive and negative shape of types 16..19.
  static constexpr int kPositive[4] = {0, 1, 4, 5};
  static constexpr int kNegative[4] = {2, 3, 6, 7};
  const Shape& positive = kShapes.p[kPositive[type - 16]];
  const Shape& negative = kShapes.p[kNegative[type - 16]];
  const int outward = stored ? 1 : 0;
  for (int j = 0; j < 256; ++j)
  {
    points[256 + j] = positive[j];
    points[255 - j] = -negative[j + outward];
  }
  if (type <= 17)
  {
    for (double& v : points)
      v = std::clamp(v, -1.0, 1.0);
  }
  else if (stored)
  {
    // The stored tables bring each half to a largest magnitude of 1.
    scaleBy(points.data(), points.data() + 256,
            largestMagnitude(points.data(), points.data() + 256));
    scaleBy(points.data() + 256, points.data() + 512,
            largestMagnitude(points.data() + 256, points.data() + 512));
  }
  else
  {
    scaleBy(points.data(), points.data() + 512,
            largestMagnitude(points.data(), points.data() + 512));
  }
  if (!stored)
  {
    DistortionCurve smoothed;
    smoothed.points = points;
    smoothed.smooth();
    points = smoothed.points;
  }
}

void CurveGenerators::industrialFuzz(bool stored, Points& points)
{
  // A bouncing walk: u and w wander around the identity, turning back past 0.2.
  std::array<double, 257> positive{};
  std::array<double, 257> negative{};
  double u = 0.0;
  double w = 0.0;
  double step = 0.04321;
  double g = 0.001;
  for (int j = 0; j <= 256; ++j)
  {
    const double c = j / 256.0;
    if (std::fabs(u) > 0.2)
      step = -step;
    const double h = std::fabs(w) > 0.2 ? -g : g;
    u += step;
    w -= h;
    g = h - 0.002;
    positive[j] = c + u;
    negative[j] = -(c + w);
    step -= 0.021;
  }
  const int outward = stored ? 1 : 0;
  for (int j = 0; j < 256; ++j)
  {
    points[256 + j] = positive[j];
    points[255 - j] = negative[j + outward];
  }
  for (int n = 75; n <= 174; ++n)
    points[256 + n] *= 0.25;
  for (int n = 100; n <= 116; ++n)
    points[256 + n] *= 0.25;
  // The initial curve flips these stretches; the stored table only scales them.
  const double flip = stored ? 1.0 : -1.0;
  for (int n = 25; n <= 74; ++n)
    points[255 - n] *= flip * 0.1;
  for (int n = 200; n <= 216; ++n)
    points[255 - n] *= flip * 0.25;
  for (double& v : points)
    v = std::clamp(v, -1.0, 1.0);
}

void CurveGenerators::korvaneDrive(int type, bool stored, Points& points)
{
  // Sums of sinusoids around the identity, fading out towards full scale.
  auto f = [type](double u)
  {
    switch (type)
    {
    case 21:
      return u + (1 - u) * (0.5 * std::sin(16 * kPi * u) + 0.5 * std::cos(8 * kPi * u));
    case 22:
      return u + (1 - u) * (0.5 * std::sin(12 * kPi * u) + 0.5 * std::cos(6 * kPi * u) +
                            0.5 * std::cos(24 * kPi * u));
    case 23:
      return u + (1 - u) * (1 - u) *
                     (0.5 * std::sin(15 * kPi * u) + 0.5 * std::cos(5 * kPi * u) +
                      0.5 * std::sin(25 * kPi * u));
    default:
      return u + (1 - u) * (1 - u) *
                     (0.5 * std::sin(12 * kPi * u) + 0.5 * std::cos(4 * kPi * u) +
                      0.5 * std::cos(16 * kPi * u) + 0.5 * std::cos(20 * kPi * u));
    }
  };
  const int outward = stored ? 1 : 0;
  for (int j = 0; j < 256; ++j)
  {
    points[256 + j] = f(j / 256.0);
    points[255 - j] = -f((j + outward) / 256.0);
  }
}

} // namespace Korvane
