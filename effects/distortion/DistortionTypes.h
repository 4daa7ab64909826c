#pragma once

#include "effects/distortion/DistortionCurve.h"

#include <array>
#include <string_view>

namespace Korvane
{

// The 36 distortion types: their names, their stored tables ("Restore Curve") and
// the curves a new instrument starts with. Types 16 to 24 are computed by
// CurveGenerators; every other table is drawn here from knots through its telling
// values (the outputs at nine inputs that give each type its character).
class DistortionTypes
{
public:
  using Points = DistortionCurve::Points;

  static constexpr int kCount = 36;
  static constexpr int kTellingCount = 9;
  using Telling = std::array<double, kTellingCount>;
  static constexpr Telling kTellingInputs = {-1.0, -0.5, -0.25, -0.1, 0.1, 0.25, 0.5, 0.75, 1.0};

  // --- Safe from any thread (constant data) ---------------------------------------

  // The type's display name; "Distortion" for any index outside 0..35.
  static const char* name(int type);

  // The type for a name from a preset text: exact match, plus "Fuzz-Drive" (15) and
  // "Korvane-Drive" (21); anything else is 0.
  static int indexFromName(std::string_view typeName);

  // The stored table's value at each telling input; zeros outside 0..35.
  static const Telling& tellingValues(int type);

  // --- Called while curves are built or restored (first call builds every table) --

  // The type's stored table; type 0's table for any index outside 0..35.
  static const Points& storedTable(int type);

  // The curve a new instrument starts with: the stored table, or for types 16 to 24
  // the generator's curve.
  static Points initialCurve(int type);

private:
  static Points design(int type);
};

} // namespace Korvane
