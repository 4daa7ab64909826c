#include "effects/dynamics/SaturationTables.h"

#include "effects/distortion/CurveDesign.h"

namespace Korvane
{

namespace
{

constexpr SaturationTables::Telling kTelling[SaturationTables::kKindCount] = {
    {-1.000, -0.769, -0.418, -0.185, 0.185, 0.418, 0.769, 0.970, 1.000},
    {-0.990, -0.430, -0.442, -0.068, 0.068, 0.442, 0.430, 0.868, 0.990},
};

} // namespace

// --- Called while saturators are built -----------------------------------------------

const SaturationTables::Points& SaturationTables::table(int kind)
{
  static const std::array<Points, kKindCount> kTables = {design(0), design(1)};
  return kTables[kind == 1 ? 1 : 0];
}

SaturationTables::Points SaturationTables::design(int kind)
{
  const Telling& t = kTelling[kind];
  auto at = [](double x) { return CurveDesign::gridInput(x); };
  Points p{};
  if (kind == 0)
  {
    // Soft saturation: about 1.9 times the input when quiet, a long shoulder into
    // full scale; the centre points sit at +-0.0075, so zero is crossed with a small
    // step that adds a trace of odd harmonics even to the quietest signal.
    p = CurveDesign::smoothThrough({{CurveDesign::pointInput(256), 0.0075},
                                    {at(0.1), t[4]},
                                    {at(0.25), t[5]},
                                    {at(0.5), t[6]},
                                    {at(0.75), t[7]},
                                    {1.0, t[8]}});
  }
  else
  {
    // Input drive: gentle near zero, a quick rise to 0.44, a shallow dip to half
    // scale and on up to 0.99.
    p = CurveDesign::smoothThrough({{0.0, 0.0},
                                    {at(0.1), t[4]},
                                    {at(0.25), t[5]},
                                    {at(0.5), t[6]},
                                    {at(0.75), t[7]},
                                    {1.0, t[8]}});
  }
  CurveDesign::mirrorOdd(p);
  return p;
}

// --- Safe from any thread (constant data) ---------------------------------------------

const SaturationTables::Telling& SaturationTables::tellingValues(int kind)
{
  return kTelling[kind == 1 ? 1 : 0];
}

} // namespace Korvane
