#include "voice/Modulator.h"

#include "dsp/CpuFeatures.h"
#include "dsp/Lanes.h"

#include <algorithm>
#include <immintrin.h>

namespace Korvane
{

Modulator::~Modulator() = default;

namespace
{

// G groups of four modulators through n steps of advance(), one lane each: the wrap
// subtracts a turn where the phase reached it and +0 elsewhere (x - +0 is x, -0
// included). The target adds AVX2 alone, not FMA.
template <int G>
__attribute__((target("avx2"))) void advanceLanes(Modulator* const* m, int n) noexcept
{
  const __m256d turn = _mm256_set1_pd(Modulator::kTwoPi);
  __m256d phase[G], step[G];
  for (int g = 0; g < G; ++g)
  {
    const Modulator* const* q = m + 4 * g;
    phase[g] = _mm256_set_pd(q[3]->phase, q[2]->phase, q[1]->phase, q[0]->phase);
    step[g] = _mm256_set_pd(q[3]->increment, q[2]->increment, q[1]->increment, q[0]->increment);
  }
  for (int j = 0; j < n; ++j)
#pragma GCC unroll 4
    for (int g = 0; g < G; ++g)
    {
      const __m256d p = _mm256_add_pd(phase[g], step[g]);
      phase[g] = _mm256_sub_pd(p, _mm256_and_pd(_mm256_cmp_pd(p, turn, _CMP_GE_OQ), turn));
    }
  for (int g = 0; g < G; ++g)
  {
    alignas(32) double p[4];
    _mm256_store_pd(p, phase[g]);
    for (int i = 0; i < 4; ++i)
      m[4 * g + i]->phase = p[i];
  }
}

// C modulators through n steps of advance() in one pass, each in its own registers.
template <int C>
void advanceScalar(Modulator* const* m, int n) noexcept
{
  double phase[C], step[C];
  for (int c = 0; c < C; ++c)
  {
    phase[c] = m[c]->phase;
    step[c] = m[c]->increment;
  }
  for (int j = 0; j < n; ++j)
#pragma GCC unroll 4
    for (int c = 0; c < C; ++c)
    {
      phase[c] += step[c];
      if (phase[c] >= Modulator::kTwoPi)
        phase[c] -= Modulator::kTwoPi;
    }
  for (int c = 0; c < C; ++c)
    m[c]->phase = phase[c];
}

} // namespace

// Called from the audio thread, never blocks.
bool Modulator::advanceWithinBinade(int n) noexcept
{
  constexpr int kMostSteps = 1 << 11;
  // Sign and exponent of the phase: below 0x7FF for +0 and positive finite phases only.
  const auto bits = std::bit_cast<std::uint64_t>(phase);
  const std::uint64_t binade = bits >> 52;
  if (binade >= 0x7FF || !(increment >= 0.0) || !(phase < kTwoPi) || n < 0 || n > kMostSteps)
    return false;
  const double next = phase + increment;
  const auto nextBits = std::bit_cast<std::uint64_t>(next);
  if (nextBits >> 52 != binade)
    return false;
  // The grid unit of the binade, and what the first sum rounded away: both exact (the
  // difference of two doubles of one binade, and of a step and its rounding to the
  // grid, which lie within a factor of two of each other or the rounding is 0).
  const double unit = std::bit_cast<double>(bits + 1) - phase;
  const double roundedAway = increment - (next - phase);
  // A subnormal phase's half unit is 0 here: it takes the loop, like a tie.
  if (std::fabs(roundedAway) == 0.5 * unit)
    return false;
  // Every step adds the first step's units (fewer than 2^52); with n up to 2^11 the sum
  // cannot carry out of 64 bits, so the last phase's bits are exact and leave the binade
  // only if some step did.
  const std::uint64_t lastBits = bits + std::uint64_t(n) * (nextBits - bits);
  const double last = std::bit_cast<double>(lastBits);
  if (lastBits >> 52 != binade || !(last < kTwoPi))
    return false;
  phase = last;
  return true;
}

// Called from the audio thread, never blocks.
void Modulator::advanceAllBy(Modulator* const* modulators, int count, int n) noexcept
{
  constexpr int kChunk = 64;
  // The modulators standing alike found through a small open-addressed table of the
  // first of each (phase, step) pair: notes started together share their LFOs' phases.
  // The table has at least twice as many slots as the chunk has modulators.
  constexpr int kMaxSlotBits = 7;
  constexpr int kSlots = 1 << kMaxSlotBits;
  for (int c0 = 0; c0 < count; c0 += kChunk)
  {
    Modulator* const* list = modulators + c0;
    const int size = std::min(kChunk, count - c0);
    int same[kChunk];
    Modulator* moving[kChunk];
    int movers = 0;
    int slotBits = 3;
    while ((1 << slotBits) < 2 * size && slotBits < kMaxSlotBits)
      ++slotBits;
    const unsigned slotMask = (1u << slotBits) - 1;
    int slots[kSlots];
    std::fill_n(slots, 1 << slotBits, -1);
    for (int i = 0; i < size; ++i)
    {
      const Modulator& m = *list[i];
      const std::uint64_t phaseBits = std::bit_cast<std::uint64_t>(m.phase);
      const std::uint64_t stepBits = std::bit_cast<std::uint64_t>(m.increment);
      same[i] = -1;
      const std::uint64_t key =
          (phaseBits * 0x9E3779B97F4A7C15ull + stepBits) * 0xC2B2AE3D27D4EB4Full;
      for (auto h = unsigned(key >> (64 - slotBits));; h = (h + 1) & slotMask)
      {
        if (slots[h] < 0)
        {
          slots[h] = i;
          break;
        }
        const Modulator& e = *list[slots[h]];
        if (std::bit_cast<std::uint64_t>(e.phase) == phaseBits &&
            std::bit_cast<std::uint64_t>(e.increment) == stepBits)
        {
          same[i] = slots[h];
          break;
        }
      }
      if (same[i] < 0 && !m.standsStill())
        moving[movers++] = list[i];
    }
    // Only now, with every twin found by the phases as they stood, do phases move: those
    // within a binade at once, the rest step by step.
    int stepping = 0;
    for (int k = 0; k < movers; ++k)
      if (!moving[k]->advanceWithinBinade(n))
        moving[stepping++] = moving[k];
    movers = stepping;
    int i = 0;
    if (Dsp::kHasAvx2)
      i = Dsp::inGroupsOfFour(movers, [&](int first, auto groups)
                              { advanceLanes<decltype(groups)::value>(moving + first, n); });
    // The rest side by side in scalar registers, up to four a pass.
    for (; i < movers; i += 4)
      switch (std::min(4, movers - i))
      {
      case 1:
        advanceScalar<1>(moving + i, n);
        break;
      case 2:
        advanceScalar<2>(moving + i, n);
        break;
      case 3:
        advanceScalar<3>(moving + i, n);
        break;
      default:
        advanceScalar<4>(moving + i, n);
        break;
      }
    for (int e = 0; e < size; ++e)
      if (same[e] >= 0)
        list[e]->phase = list[same[e]]->phase;
  }
}

void Modulator::setSampleRate(double rate)
{
  AudioProcessingUnit::setSampleRate(rate);
  increment = frequency * maxFrequency * kTwoPi / sampleRate;
}

double syncRatio(int position) noexcept
{
  switch (position)
  {
  case 1:
    return 1.0 / 16.0;
  case 2:
    return 1.0 / 8.0;
  case 3:
    return 1.0 / 4.0;
  case 4:
    return 1.0 / 2.0;
  case 6:
    return 2.0;
  case 7:
    return 4.0;
  case 8:
    return 8.0;
  case 9:
    return 16.0;
  default:
    return 1.0;
  }
}

const char* syncRatioName(int position) noexcept
{
  switch (position)
  {
  case 0:
    return "off";
  case 1:
    return "1/16x";
  case 2:
    return "1/8x";
  case 3:
    return "1/4x";
  case 4:
    return "1/2x";
  case 6:
    return "2.0x";
  case 7:
    return "4.0x";
  case 8:
    return "8.0x";
  case 9:
    return "16.0x";
  default:
    return "1.0x";
  }
}

} // namespace Korvane
