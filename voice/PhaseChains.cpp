#include "voice/PhaseChains.h"

#include "dsp/CpuFeatures.h"
#include "dsp/Lanes.h"
#include "effects/PolyBLEP.h"

#include <immintrin.h>

namespace Korvane
{

namespace
{

// C chains side by side, each in its own scalar register chain.
template <int C>
inline void advanceScalar(PhaseChain* chains, int count) noexcept
{
  double phase[C], step[C];
  for (int i = 0; i < C; ++i)
  {
    phase[i] = chains[i].phase;
    step[i] = chains[i].step;
  }
  for (int j = 0; j < count; ++j)
  {
#pragma GCC unroll 4
    for (int i = 0; i < C; ++i)
    {
      chains[i].phases[j] = phase[i];
      phase[i] = PolyBLEP::frac(phase[i] + step[i]);
      step[i] = chains[i].incs[j];
    }
  }
  for (int i = 0; i < C; ++i)
  {
    chains[i].phase = phase[i];
    chains[i].step = step[i];
  }
}

void advanceScalarAll(PhaseChain* chains, int n, int count) noexcept
{
  int i = 0;
  for (; i + 4 <= n; i += 4)
    advanceScalar<4>(chains + i, count);
  switch (n - i)
  {
  case 3:
    return advanceScalar<3>(chains + i, count);
  case 2:
    return advanceScalar<2>(chains + i, count);
  case 1:
    return advanceScalar<1>(chains + i, count);
  default:
    return;
  }
}

// G groups of four chains, one lane each, with frac's own steps: in (0, 2) u - 0 or u - 1
// (the compare and the subtraction alone on the chain), elsewhere u - floor(u). The
// target adds AVX2 alone, not FMA.
template <int G>
__attribute__((target("avx2"))) void advanceLanes(PhaseChain* chains, int count) noexcept
{
  const __m256d zero = _mm256_setzero_pd();
  const __m256d one = _mm256_set1_pd(1.0);
  const __m256d two = _mm256_set1_pd(2.0);
  __m256d phase[G], step[G];
  for (int g = 0; g < G; ++g)
  {
    const PhaseChain* c = chains + 4 * g;
    phase[g] = _mm256_set_pd(c[3].phase, c[2].phase, c[1].phase, c[0].phase);
    step[g] = _mm256_set_pd(c[3].step, c[2].step, c[1].step, c[0].step);
  }
  for (int j = 0; j < count; ++j)
  {
#pragma GCC unroll 4
    for (int g = 0; g < G; ++g)
    {
      const PhaseChain* c = chains + 4 * g;
      const __m128d low = _mm256_castpd256_pd128(phase[g]);
      const __m128d high = _mm256_extractf128_pd(phase[g], 1);
      _mm_storel_pd(c[0].phases + j, low);
      _mm_storeh_pd(c[1].phases + j, low);
      _mm_storel_pd(c[2].phases + j, high);
      _mm_storeh_pd(c[3].phases + j, high);
      const __m256d u = _mm256_add_pd(phase[g], step[g]);
      const __m256d inside =
          _mm256_and_pd(_mm256_cmp_pd(u, zero, _CMP_GT_OQ), _mm256_cmp_pd(u, two, _CMP_LT_OQ));
      if (_mm256_movemask_pd(inside) == 15) [[likely]]
        phase[g] = _mm256_sub_pd(u, _mm256_and_pd(_mm256_cmp_pd(u, one, _CMP_GE_OQ), one));
      else
        phase[g] = _mm256_sub_pd(u, _mm256_floor_pd(u));
      step[g] = _mm256_set_pd(c[3].incs[j], c[2].incs[j], c[1].incs[j], c[0].incs[j]);
    }
  }
  for (int g = 0; g < G; ++g)
  {
    PhaseChain* c = chains + 4 * g;
    alignas(32) double p[4], s[4];
    _mm256_store_pd(p, phase[g]);
    _mm256_store_pd(s, step[g]);
    for (int i = 0; i < 4; ++i)
    {
      c[i].phase = p[i];
      c[i].step = s[i];
    }
  }
}

} // namespace

// --- Called from the audio thread, never blocks ---------------------------------------

void PhaseChains::advanceOne(PhaseChain& chain, int count) noexcept
{
  advanceScalar<1>(&chain, count);
}

void PhaseChains::advance(int count) noexcept
{
  if (count <= 0 || size == 0)
    return;
  // Whole groups of four in lanes where the processor has AVX2, at most four groups in
  // flight; the rest in scalar registers.
  const int i =
      Dsp::kHasAvx2
          ? Dsp::inGroupsOfFour(size, [&](int first, auto groups)
                                { advanceLanes<decltype(groups)::value>(chains + first, count); })
          : 0;
  advanceScalarAll(chains + i, size - i, count);
}

} // namespace Korvane
