#include "effects/modulation/RingModulator.h"

#include "tests/effects/SignalProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

using Korvane::RingModulator;
using SignalProbe::amplitudeAt;
using SignalProbe::noise;

namespace
{
// Runs n samples of the constant 1 on both channels and returns the left output.
std::vector<double> runOnes(RingModulator& ring, int n)
{
  std::vector<double> l(std::size_t(n), 1.0), r = l;
  ring.process(l.data(), r.data(), n);
  return l;
}
} // namespace

// Frequency 0 or amount 0: untouched. Refused settings (non-finite, a carrier that would
// overflow, a bad rate) change nothing, and a 2048-sample block equals two of 1024.
TEST(RingModulator, TransparencyRefusedSettingsAndLongBlocks)
{
  for (auto [frequency, amount] : {std::pair{0.0, 1.0}, {0.5, 0.0}})
  {
    RingModulator ring;
    ring.setFrequency(frequency);
    ring.setAmount(amount);
    auto l = noise(2048, 3), r = l;
    ring.process(l.data(), r.data(), 2048);
    EXPECT_EQ(l, noise(2048, 3));
  }
  RingModulator one, two;
  for (RingModulator* u : {&one, &two})
  {
    u->setWaveform(1.0);
    u->setFrequency(0.37);
    u->setAmount(0.6);
    u->setBypass(true); // a fade running across the split
  }
  const double nan = std::numeric_limits<double>::quiet_NaN();
  two.setAmount(nan);
  two.setFrequency(nan);
  two.setFrequency(1e308); // 4f would overflow
  two.setWaveform(nan);
  two.setSampleRate(0.0);
  two.setSampleRate(nan);
  auto l = noise(2048, 5), r = noise(2048, 6), l2 = l, r2 = r;
  one.process(l.data(), r.data(), 2048);
  two.process(l2.data(), r2.data(), 1024);
  two.process(l2.data() + 1024, r2.data() + 1024, 1024);
  EXPECT_EQ(l, l2);
  EXPECT_EQ(r, r2);
}

// Amount 1 glides in with the pole 0.9777: sample n has g = 1 - 0.9777^(n+1) and gives
// g * c + 1 - g for an input of 1, c the 441 Hz carrier; settled, only x * c is left.
// Switched off, g is scaled by 0.995, 0.985, ... (100 samples), then the block passes.
TEST(RingModulator, AmountGlidesToThePureProductAndFadesInOneHundredSamples)
{
  RingModulator ring;
  ring.setFrequency(441.0 / 4000.0);
  ring.setAmount(1.0);
  const auto y = runOnes(ring, 3000); // 30 carrier cycles: it ends at phase 0
  ring.setBypass(true);
  const auto fade = runOnes(ring, 101);
  double pole = 1.0;
  for (int n = 0; n < 3100; ++n)
  {
    pole *= 0.9777;
    const double g = n < 3000 ? 1.0 - pole : std::max(0.995 - 0.01 * (n - 3000), 0.0);
    const double c = std::sin(2.0 * std::numbers::pi * std::fmod(0.01 * n, 1.0));
    ASSERT_NEAR(n < 3000 ? y[n] : fade[n - 3000], g * c + 1.0 - g, 1e-9) << n;
  }
  EXPECT_EQ(fade[100], 1.0);
}

// The carrier modes by the harmonics of a ring-modulated constant 1 at f = 441 Hz:
// sine; square 4/pi, 0, 4/3pi; rising sawtooth 2/(k pi); the sine at 2f; the mix
// 0.3 * (4f + 2f - f). The selector rounds 4 * value, clamped to 0..1. At 96 kHz the
// carrier keeps its frequency in Hz.
TEST(RingModulator, CarrierModesByTheirHarmonics)
{
  const double pi = std::numbers::pi;
  const struct
  {
    double value, rate, harmonics[4]; // amplitudes at f, 2f, 3f, 4f
  } cases[] = {
      {-3.0, 44100.0, {1.0, 0.0, 0.0, 0.0}},
      {0.124, 96000.0, {1.0, 0.0, 0.0, 0.0}},
      {0.125, 44100.0, {4.0 / pi, 0.0, 4.0 / (3.0 * pi), 0.0}},
      {0.5, 44100.0, {2.0 / pi, 1.0 / pi, 2.0 / (3.0 * pi), 1.0 / (2.0 * pi)}},
      {0.75, 44100.0, {0.0, 1.0, 0.0, 0.0}},
      {1.7, 44100.0, {0.3, 0.3, 0.0, 0.3}},
  };
  for (const auto& c : cases)
  {
    RingModulator ring;
    ring.setWaveform(c.value);
    ring.setFrequency(441.0 / 4000.0);
    ring.setSampleRate(c.rate);
    ring.setAmount(1.0);
    runOnes(ring, 3000);
    const auto y = runOnes(ring, 9600);
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(amplitudeAt(y.data(), 9600, 441.0 * (k + 1) / c.rate), c.harmonics[k], 0.01)
          << c.value << " at " << c.rate << " Hz, harmonic " << k + 1;
  }
}
