#include "voice/SineOfTurns.h"

#include "dsp/CpuFeatures.h"

#include <immintrin.h>

namespace Korvane
{

namespace
{

// The fold and the series of sineOfTurns, two lanes at a time.
void sinesSse2(const double* t, double* out, int n) noexcept
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

// The same four lanes at a time. The target adds AVX2 alone, not FMA: every product and
// sum rounds on its own, as in the scalar code.
__attribute__((target("avx2"))) void sinesAvx2(const double* t, double* out, int n) noexcept
{
  const __m256d zero = _mm256_setzero_pd();
  const __m256d half = _mm256_set1_pd(0.5);
  const __m256d minusHalf = _mm256_set1_pd(-0.5);
  const __m256d quarter = _mm256_set1_pd(0.25);
  const __m256d minusQuarter = _mm256_set1_pd(-0.25);
  const __m256d limit = _mm256_set1_pd(2147483648.0);
  const __m256d twoPi = _mm256_set1_pd(6.283185307179586476925);
  int j = 0;
  for (; j + 4 <= n; j += 4)
  {
    const __m256d phase = _mm256_loadu_pd(t + j);
    const __m256d shifted = _mm256_add_pd(phase, half);
    const __m256d inside = _mm256_and_pd(_mm256_cmp_pd(shifted, zero, _CMP_GT_OQ),
                                         _mm256_cmp_pd(shifted, limit, _CMP_LT_OQ));
    if (_mm256_movemask_pd(inside) != 15)
    {
      for (int h = 0; h < 4; ++h)
        out[j + h] = sineOfTurns(t[j + h]);
      continue;
    }
    __m256d u = _mm256_sub_pd(phase, _mm256_cvtepi32_pd(_mm256_cvttpd_epi32(shifted)));
    const __m256d above = _mm256_cmp_pd(u, quarter, _CMP_GT_OQ);
    const __m256d below = _mm256_cmp_pd(u, minusQuarter, _CMP_LT_OQ);
    u = _mm256_blendv_pd(_mm256_blendv_pd(u, _mm256_sub_pd(minusHalf, u), below),
                         _mm256_sub_pd(half, u), above);
    const __m256d x = _mm256_mul_pd(twoPi, u);
    const __m256d x2 = _mm256_mul_pd(x, x);
    __m256d p = _mm256_set1_pd(-1.0 / 121645100408832000.0);
    p = _mm256_add_pd(_mm256_set1_pd(1.0 / 355687428096000.0), _mm256_mul_pd(x2, p));
    p = _mm256_add_pd(_mm256_set1_pd(-1.0 / 1307674368000.0), _mm256_mul_pd(x2, p));
    p = _mm256_add_pd(_mm256_set1_pd(1.0 / 6227020800.0), _mm256_mul_pd(x2, p));
    p = _mm256_add_pd(_mm256_set1_pd(-1.0 / 39916800.0), _mm256_mul_pd(x2, p));
    p = _mm256_add_pd(_mm256_set1_pd(1.0 / 362880.0), _mm256_mul_pd(x2, p));
    p = _mm256_add_pd(_mm256_set1_pd(-1.0 / 5040.0), _mm256_mul_pd(x2, p));
    p = _mm256_add_pd(_mm256_set1_pd(1.0 / 120.0), _mm256_mul_pd(x2, p));
    p = _mm256_add_pd(_mm256_set1_pd(-1.0 / 6.0), _mm256_mul_pd(x2, p));
    _mm256_storeu_pd(out + j, _mm256_add_pd(x, _mm256_mul_pd(_mm256_mul_pd(x, x2), p)));
  }
  sinesSse2(t + j, out + j, n - j);
}

} // namespace

void sinesOfTurns(const double* t, double* out, int n, bool narrow) noexcept
{
  if (Dsp::kHasAvx2 && !narrow)
    sinesAvx2(t, out, n);
  else
    sinesSse2(t, out, n);
}

} // namespace Korvane
