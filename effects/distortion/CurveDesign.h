#pragma once

#include "effects/distortion/DistortionCurve.h"

#include <vector>

namespace Korvane
{

// The tools with which the instrument's stored transfer curves are drawn: knots
// (input, output) joined either smoothly or by straight lines with an optional
// fuzz ripple, then sampled at the 512 curve inputs. A knot placed with `gridInput`
// lands exactly on a curve point, so the curve passes through its value there.
class CurveDesign
{
public:
  using Points = DistortionCurve::Points;

  struct Knot
  {
    double x;
    double y;
  };

  // Input of the curve point nearest to x: point k = round((x + 1) * 255.5).
  static double gridInput(double x);
  static int gridIndex(double x);
  // Input of point k, 2k/511 - 1.
  static double pointInput(int k);

  // Monotone piecewise-cubic (Fritsch-Carlson) through the knots, which must rise in
  // x: no overshoot between knots, flat at every local peak or dip. Outside the
  // first and last knot the curve holds their values.
  static Points smoothThrough(const std::vector<Knot>& knots);

  // Straight lines between the knots, each segment carrying `ripple` times the
  // segment's mean magnitude of a sine ripple with about `period` points per half
  // cycle; the ripple is zero at every knot, so knot values stay exact.
  static Points straightThrough(const std::vector<Knot>& knots, double ripple = 0.0,
                                int period = 8);

  // Makes the negative half the mirror of the positive half: point 511 - k = -point k.
  static void mirrorOdd(Points& points);

  // Limits every point to -limit..+limit.
  static void clamp(Points& points, double limit = 1.0);
};

} // namespace Korvane
