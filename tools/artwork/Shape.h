#pragma once
// Signed distances of the shapes the artwork is made of, in pixels: negative inside,
// positive outside. The canvas turns a distance into anti-aliased coverage, so every
// edge is smooth whatever its angle. Angles are in degrees, clockwise from 12 o'clock.
#include <algorithm>
#include <cmath>

class Shape
{
public:
  static constexpr double kPi = 3.14159265358979323846;

  static double Circle(double x, double y, double cx, double cy, double radius)
  {
    return std::hypot(x - cx, y - cy) - radius;
  }

  // A ring between radius - half and radius + half.
  static double Ring(double x, double y, double cx, double cy, double radius, double half)
  {
    return std::fabs(std::hypot(x - cx, y - cy) - radius) - half;
  }

  // A rectangle [left, right) x [top, bottom) with rounded corners.
  static double RoundRect(double x, double y, double left, double top, double right, double bottom,
                          double corner)
  {
    const double hx = (right - left) * 0.5;
    const double hy = (bottom - top) * 0.5;
    const double qx = std::fabs(x - (left + hx)) - (hx - corner);
    const double qy = std::fabs(y - (top + hy)) - (hy - corner);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - corner;
  }

  // A line from (x1, y1) to (x2, y2) with round ends, half as thick as half.
  static double Segment(double x, double y, double x1, double y1, double x2, double y2, double half)
  {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((x - x1) * dx + (y - y1) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy)) - half;
  }

  // The point at angle degrees on a circle.
  static void PointAt(double cx, double cy, double radius, double degrees, double& px, double& py)
  {
    const double rad = degrees * kPi / 180.0;
    px = cx + radius * std::sin(rad);
    py = cy - radius * std::cos(rad);
  }

  // The angle of (x, y) seen from the centre, in -180..180.
  static double AngleOf(double x, double y, double cx, double cy)
  {
    return std::atan2(x - cx, cy - y) * 180.0 / kPi;
  }

  // An arc of the ring from angle `from` to angle `to` (from <= to, both in -180..180)
  // with round caps.
  static double Arc(double x, double y, double cx, double cy, double radius, double half,
                    double from, double to)
  {
    const double angle = AngleOf(x, y, cx, cy);
    if (angle >= from && angle <= to)
      return Ring(x, y, cx, cy, radius, half);
    double ax = 0.0;
    double ay = 0.0;
    double bx = 0.0;
    double by = 0.0;
    PointAt(cx, cy, radius, from, ax, ay);
    PointAt(cx, cy, radius, to, bx, by);
    return std::min(std::hypot(x - ax, y - ay), std::hypot(x - bx, y - by)) - half;
  }

  // A triangle with corners a, b, c (either winding).
  static double Triangle(double x, double y, double ax, double ay, double bx, double by, double cx,
                         double cy)
  {
    const double px[3] = {ax, bx, cx};
    const double py[3] = {ay, by, cy};
    const double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    const double sign = area < 0.0 ? -1.0 : 1.0;
    double inside = -1e9;
    double edge = 1e9;
    for (int i = 0; i < 3; ++i)
    {
      const int j = (i + 1) % 3;
      const double ex = px[j] - px[i];
      const double ey = py[j] - py[i];
      const double len = std::hypot(ex, ey);
      // Distance to the edge's line, positive outside.
      const double d = -sign * (ex * (y - py[i]) - ey * (x - px[i])) / len;
      inside = std::max(inside, d);
      edge = std::min(edge, Segment(x, y, px[i], py[i], px[j], py[j], 0.0));
    }
    return inside <= 0.0 ? inside : edge;
  }
};
