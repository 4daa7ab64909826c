#pragma once

#include "effects/distortion/DistortionCurve.h"

namespace Korvane
{

// The computed curves of the hardcore, industrial and Korvane types (16 to 24). Each
// type has two forms: the curve a new instrument starts with, and its stored table
// ("Restore Curve"), which holds the same shape without the smoothing of types 16 to
// 19, with the negative half sampled one point further out and, for type 20, the
// negative stretches scaled without their sign change.
class CurveGenerators
{
public:
  using Points = DistortionCurve::Points;

  static constexpr int kFirstType = 16;
  static constexpr int kLastType = 24;

  static bool isGenerated(int type) { return type >= kFirstType && type <= kLastType; }

  // --- Called while the curves are built (construction, main thread) --------------

  // Fills `points` with the initial curve (stored = false) or the stored table
  // (stored = true) of `type`; returns false and leaves `points` alone for any type
  // outside 16..24.
  static bool generate(int type, bool stored, Points& points);

private:
  static void hardcoreFuzz(int type, bool stored, Points& points);
  static void industrialFuzz(bool stored, Points& points);
  static void korvaneDrive(int type, bool stored, Points& points);
};

} // namespace Korvane
