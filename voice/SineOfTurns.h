#pragma once

#include "effects/PolyBLEP.h"

namespace Korvane
{

// sin(2 pi t) for a phase t in turns, the oscillators' and the bass layer's sine at a
// fraction of the library's cost: t is folded to the quarter turn around 0 or 1/2
// (exactly: both folds are differences of nearby numbers), where the Taylor series to
// the 19th power stays within 3e-16 of the true sine (its first omitted term); rounding
// adds a few units in the last place. t = 0 and t = 1/2 give exactly 0.
inline double sineOfTurns(double t) noexcept
{
  constexpr double kTwoPi = 6.283185307179586476925;
  double u = t - PolyBLEP::floorOf(t + 0.5); // -1/2 .. 1/2
  if (u > 0.25)
    u = 0.5 - u;
  else if (u < -0.25)
    u = -0.5 - u;
  const double x = kTwoPi * u;
  const double x2 = x * x;
  // 1/3!, 1/5!, ... 1/19! with alternating signs.
  constexpr double kC3 = -1.0 / 6.0;
  constexpr double kC5 = 1.0 / 120.0;
  constexpr double kC7 = -1.0 / 5040.0;
  constexpr double kC9 = 1.0 / 362880.0;
  constexpr double kC11 = -1.0 / 39916800.0;
  constexpr double kC13 = 1.0 / 6227020800.0;
  constexpr double kC15 = -1.0 / 1307674368000.0;
  constexpr double kC17 = 1.0 / 355687428096000.0;
  constexpr double kC19 = -1.0 / 121645100408832000.0;
  const double p =
      kC3 +
      x2 * (kC5 +
            x2 * (kC7 +
                  x2 * (kC9 + x2 * (kC11 + x2 * (kC13 + x2 * (kC15 + x2 * (kC17 + x2 * kC19)))))));
  return x + x * x2 * p;
}

// sineOfTurns of n phases, out[j] for t[j], the same values bit for bit: four at a time in
// the lanes of an AVX2 vector where the processor has it, else two in SSE2 lanes (the same
// IEEE operations in the same order, lane by lane, no fused multiply-adds). The fold's
// floor is the integer truncation where t + 1/2 lies in (0, 2^31), as it does for every
// phase an oscillator holds; a group with a phase outside goes the scalar way. narrow
// keeps the lanes at two (the tests compare the two).
void sinesOfTurns(const double* t, double* out, int n, bool narrow = false) noexcept;

} // namespace Korvane
