#pragma once

#include "effects/PolyBLEP.h"

#include <emmintrin.h>

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

// sineOfTurns of n phases, out[j] for t[j], the same values bit for bit: two at a time in
// the lanes of an SSE2 vector (the same IEEE operations in the same order, lane by lane).
// The fold's floor is the integer truncation where t + 1/2 lies in (0, 2^31), as it does
// for every phase an oscillator holds; a pair with a phase outside goes the scalar way.
inline void sinesOfTurns(const double* t, double* out, int n) noexcept
{
  const __m128d zero = _mm_setzero_pd();
  const __m128d half = _mm_set1_pd(0.5);
  const __m128d minusHalf = _mm_set1_pd(-0.5);
  const __m128d quarter = _mm_set1_pd(0.25);
  const __m128d minusQuarter = _mm_set1_pd(-0.25);
  const __m128d limit = _mm_set1_pd(2147483648.0);
  const __m128d twoPi = _mm_set1_pd(6.283185307179586476925);
  int j = 0;
  for (; j + 2 <= n; j += 2)
  {
    const __m128d phase = _mm_loadu_pd(t + j);
    const __m128d shifted = _mm_add_pd(phase, half);
    const __m128d inside = _mm_and_pd(_mm_cmpgt_pd(shifted, zero), _mm_cmplt_pd(shifted, limit));
    if (_mm_movemask_pd(inside) != 3)
    {
      out[j] = sineOfTurns(t[j]);
      out[j + 1] = sineOfTurns(t[j + 1]);
      continue;
    }
    __m128d u = _mm_sub_pd(phase, _mm_cvtepi32_pd(_mm_cvttpd_epi32(shifted)));
    const __m128d above = _mm_cmpgt_pd(u, quarter);
    const __m128d below = _mm_andnot_pd(above, _mm_cmplt_pd(u, minusQuarter));
    u = _mm_or_pd(_mm_and_pd(above, _mm_sub_pd(half, u)),
                  _mm_or_pd(_mm_and_pd(below, _mm_sub_pd(minusHalf, u)),
                            _mm_andnot_pd(_mm_or_pd(above, below), u)));
    const __m128d x = _mm_mul_pd(twoPi, u);
    const __m128d x2 = _mm_mul_pd(x, x);
    __m128d p = _mm_set1_pd(-1.0 / 121645100408832000.0);
    p = _mm_add_pd(_mm_set1_pd(1.0 / 355687428096000.0), _mm_mul_pd(x2, p));
    p = _mm_add_pd(_mm_set1_pd(-1.0 / 1307674368000.0), _mm_mul_pd(x2, p));
    p = _mm_add_pd(_mm_set1_pd(1.0 / 6227020800.0), _mm_mul_pd(x2, p));
    p = _mm_add_pd(_mm_set1_pd(-1.0 / 39916800.0), _mm_mul_pd(x2, p));
    p = _mm_add_pd(_mm_set1_pd(1.0 / 362880.0), _mm_mul_pd(x2, p));
    p = _mm_add_pd(_mm_set1_pd(-1.0 / 5040.0), _mm_mul_pd(x2, p));
    p = _mm_add_pd(_mm_set1_pd(1.0 / 120.0), _mm_mul_pd(x2, p));
    p = _mm_add_pd(_mm_set1_pd(-1.0 / 6.0), _mm_mul_pd(x2, p));
    _mm_storeu_pd(out + j, _mm_add_pd(x, _mm_mul_pd(_mm_mul_pd(x, x2), p)));
  }
  for (; j < n; ++j)
    out[j] = sineOfTurns(t[j]);
}

} // namespace Korvane
