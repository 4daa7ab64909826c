#pragma once

#include "effects/distortion/DistortionCurve.h"

#include <array>

namespace Korvane
{

// The saturators' two transfer tables: kind 0, the master "Saturation" (odd, soft,
// monotonic), and kind 1, the master filters' input drive (odd, with a dip above
// a quarter of full scale that gives the drive its bite).
class SaturationTables
{
public:
  using Points = DistortionCurve::Points;

  static constexpr int kKindCount = 2;
  static constexpr int kTellingCount = 9;
  using Telling = std::array<double, kTellingCount>;

  // --- Called while saturators are built (main thread; first call builds both) -----

  // The table of `kind`; kind 0's for any other value.
  static const Points& table(int kind);

  // --- Safe from any thread (constant data) ---------------------------------------

  // The table's value at the telling inputs -1, -0.5, -0.25, -0.1, 0.1, 0.25, 0.5,
  // 0.75, 1; kind 0's for any other value.
  static const Telling& tellingValues(int kind);

private:
  static Points design(int kind);
};

} // namespace Korvane
