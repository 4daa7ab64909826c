#include "voice/Modulator.h"
#include "voice/FmModulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using Korvane::FmModulator;
using Korvane::Modulator;

namespace
{

// Seconds until the modulator, started at phase 0, completes `cycles` cycles (its
// upward zero crossings, interpolated).
double secondsFor(Modulator& m, double rate, int cycles)
{
  int n = 0;
  double prev = m.value();
  for (int i = 1; i < 100 * int(rate); ++i)
  {
    m.advance();
    const double v = m.value();
    if (prev < 0.0 && v >= 0.0 && ++n == cycles)
      return (i - 1 + (-prev) / (v - prev)) / rate;
    prev = v;
  }
  return 0.0;
}

} // namespace

TEST(ModulatorTest, RateDepthAndSilence)
{
  Modulator m;
  m.depth = 1.0;
  m.setFrequency(0.5);
  EXPECT_NEAR(secondsFor(m, 44100.0, 10), 1.0, 1e-6); // 0.5 -> 10 Hz
  m.setSampleRate(22050.0);
  m.phase = 0.0;
  EXPECT_NEAR(secondsFor(m, 22050.0, 10), 1.0, 1e-6); // the rate keeps its hertz
  m.phase = 3.141592653589793 / 2.0;
  EXPECT_DOUBLE_EQ(m.value(), 1.0);
  m.depth = 0.5;
  EXPECT_DOUBLE_EQ(m.value(), 0.5);
  m.setFrequency(0.0);
  EXPECT_EQ(m.value(), 0.0);
  m.setFrequency(0.5);
  m.setBypass(true);
  EXPECT_EQ(m.value(), 0.0);
  // The phase wraps below 2 pi.
  Modulator w;
  w.setFrequency(1.0);
  for (int i = 0; i < 100000; ++i)
  {
    w.advance();
    ASSERT_LT(w.phase, Modulator::kTwoPi);
  }
}

TEST(ModulatorTest, SyncRatiosAndNames)
{
  const double ratios[] = {1, 1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 2, 1, 2, 4, 8, 16};
  const char* names[] = {"off",  "1/16x", "1/8x", "1/4x", "1/2x",
                         "1.0x", "2.0x",  "4.0x", "8.0x", "16.0x"};
  for (int p = 0; p < 10; ++p)
  {
    EXPECT_EQ(Korvane::syncRatio(p), ratios[p]) << p;
    EXPECT_EQ(std::string(Korvane::syncRatioName(p)), names[p]) << p;
  }
  EXPECT_EQ(Korvane::syncRatio(10), 1.0);
  EXPECT_EQ(Korvane::syncRatio(-1), 1.0);
  EXPECT_EQ(std::string(Korvane::syncRatioName(10)), "1.0x");
  EXPECT_EQ(std::string(Korvane::syncRatioName(-3)), "1.0x");
  // At 120 BPM, position 5 gives one cycle per beat: 2 Hz, parameter value 0.1.
  EXPECT_DOUBLE_EQ(120.0 * Korvane::syncRatio(5) / 60.0 / 20.0, 0.1);
}

TEST(FmModulatorTest, RunsInHertzUpTo10kHzAndStartsSilent)
{
  FmModulator fm;
  EXPECT_EQ(fm.value(), 0.0); // depth 0 at construction
  fm.depth = 1.0;
  fm.setFrequencyHz(441.0);
  EXPECT_DOUBLE_EQ(fm.frequency, 0.0441);
  EXPECT_NEAR(secondsFor(fm, 44100.0, 441), 1.0, 1e-6);
  fm.setFrequencyHz(0.0);
  EXPECT_EQ(fm.value(), 0.0);
}

// Modulators moved together end bit for bit where each moved alone ends: twins (which
// take the first one's phase, near or far in the list), near twins, a standing one, -0, a
// phase past a turn, and more than one chunk of them with enough to fill the vector lanes.
// Slow ones stay within a binade (worked out at once) or leave it: across 4, onto 2
// exactly, into a wrap below the binade's end, from a subnormal, or with a step half a
// grid unit off it, which rounds by the phase's last bit (odd and even).
TEST(Modulator, MovedTogetherEndWhereEachAloneEnds)
{
  const double u = 0x1p-52; // the grid unit of 1..2
  const double phases[] = {0.3, 0.3,  0.3,       6.2,      -0.0,      0.0,   7.0,      0.3,
                           0.3, 3.99, 2 - 4 * u, 6.283185, 0x1p-1060, 1 + u, 1 + 2 * u};
  const double steps[] = {0.01, 0.01, 0.0100000001, 0.05,      0.0,     0.0,    0.0, 0.01, 1e-6,
                          1e-4, u,    1e-7,         0x1p-1070, 1.5 * u, 1.5 * u};
  constexpr int kListed = int(std::size(phases));
  static_assert(kListed == int(std::size(steps)));
  constexpr int kCount = 70;
  Modulator together[kCount], alone[kCount];
  Modulator* list[kCount];
  for (int i = 0; i < kCount; ++i)
  {
    // After those listed above, seven kinds repeat: phase 0 with its own step (an FM phase
    // at note-on), and shared LFO phases.
    const double phase = i < kListed ? phases[i] : (i % 7 < 3 ? 0.0 : 0.1 * (i % 7));
    const double step =
        i < kListed ? steps[i] : 0.001 * (1 + i % 7) + (i % 7 == 0 ? 1e-3 * i : 0.0);
    together[i].phase = alone[i].phase = phase;
    together[i].increment = alone[i].increment = step;
    list[i] = &together[i];
  }
  for (int n : {37, 1, 64, 512, 2048, 2049})
  {
    Modulator::advanceAllBy(list, kCount, n);
    for (int i = 0; i < kCount; ++i)
    {
      alone[i].advanceBy(n);
      EXPECT_EQ(std::signbit(together[i].phase), std::signbit(alone[i].phase)) << i;
      EXPECT_EQ(together[i].phase, alone[i].phase) << i << " after " << n;
    }
  }
}
