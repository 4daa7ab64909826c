#include "voice/SampleChecks.h"

#include <cmath>
#include <emmintrin.h>
#include <limits>

namespace Korvane::SampleChecks
{

// Called from the audio thread, never blocks.
bool anyZeroOrUndefined(const double* v, int m, bool onlyMinusZero) noexcept
{
  const __m128d zero = _mm_setzero_pd();
  __m128d undefined = zero, zeros = zero;
  int j = 0;
  // x * 0 is undefined just where x is not finite (and the bits of an undefined value
  // or-ed with those of zeros stay undefined); adding +0 changes the sign of -0 alone.
  if (onlyMinusZero)
    for (; j + 2 <= m; j += 2)
    {
      const __m128d x = _mm_loadu_pd(v + j);
      undefined = _mm_or_pd(undefined, _mm_mul_pd(x, zero));
      zeros = _mm_or_pd(zeros, _mm_xor_pd(x, _mm_add_pd(x, zero)));
    }
  else
    for (; j + 2 <= m; j += 2)
    {
      const __m128d x = _mm_loadu_pd(v + j);
      undefined = _mm_or_pd(undefined, _mm_mul_pd(x, zero));
      zeros = _mm_or_pd(zeros, _mm_cmpeq_pd(x, zero));
    }
  bool found =
      _mm_movemask_pd(_mm_cmpunord_pd(undefined, undefined)) != 0 || _mm_movemask_pd(zeros) != 0;
  for (; j < m; ++j)
    found = found || zeroOrUndefined(v[j], onlyMinusZero);
  return found;
}

// Called from the audio thread, never blocks.
bool allFiniteUnsigned(const double* v, int m) noexcept
{
  const __m128d largest = _mm_set1_pd(std::numeric_limits<double>::max());
  __m128d signs = _mm_setzero_pd();
  __m128d finite = _mm_castsi128_pd(_mm_set1_epi32(-1));
  int j = 0;
  for (; j + 2 <= m; j += 2)
  {
    const __m128d x = _mm_loadu_pd(v + j);
    signs = _mm_or_pd(signs, x);
    finite = _mm_and_pd(finite, _mm_cmple_pd(x, largest));
  }
  bool all = _mm_movemask_pd(signs) == 0 && _mm_movemask_pd(finite) == 3;
  for (; j < m; ++j)
    all = all && !std::signbit(v[j]) && v[j] <= std::numeric_limits<double>::max();
  return all;
}

} // namespace Korvane::SampleChecks
