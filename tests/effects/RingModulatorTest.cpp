#include "effects/modulation/RingModulator.h"

#include "tests/effects/ToneMeasure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

using Korvane::RingModulator;
using ToneMeasure::amplitudeAt;

namespace
{

constexpr double kRate = 44100.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

std::vector<double> noise(int n, unsigned seed)
{
  std::vector<double> v(std::size_t(n), 0.0);
  for (auto& x : v)
  {
    seed = seed * 214013u + 2531011u;
    x = double((seed >> 16) & 0x7fff) / 16384.0 - 1.0;
  }
  return v;
}

// Runs `n` samples of the constant x on both channels and returns the left output.
std::vector<double> runConstant(RingModulator& ring, int n, double x)
{
  std::vector<double> l(std::size_t(n), x), r(std::size_t(n), x);
  ring.process(l.data(), r.data(), n);
  return l;
}

} // namespace

TEST(RingModulator, FrequencyZeroOrAmountZeroLeaveTheBlockUntouched)
{
  const struct
  {
    double frequency, amount;
  } cases[] = {{0.0, 1.0}, {0.5, 0.0}, {0.0, 0.0}};
  for (const auto& c : cases)
  {
    RingModulator ring;
    ring.setWaveform(1.0);
    ring.setFrequency(c.frequency);
    ring.setAmount(c.amount);
    auto l = noise(2048, 3), r = noise(2048, 4);
    const auto inL = l, inR = r;
    ring.process(l.data(), r.data(), 2048);
    EXPECT_EQ(l, inL) << c.frequency << " " << c.amount;
    EXPECT_EQ(r, inR) << c.frequency << " " << c.amount;
  }
}

// The amount glides with the pole 0.9777 from 0 to 1: sample n has
// g = 1 - 0.9777^(n+1) and gives x * (g * c + 1 - g) with c the 441 Hz sine from
// phase 0; once settled the output is x times the carrier, no dry part left.
TEST(RingModulator, AmountGlidesToThePureProductWithTheCarrier)
{
  RingModulator ring;
  ring.setSampleRate(kRate);
  ring.setFrequency(441.0 / 4000.0);
  ring.setAmount(1.0);
  const int n = 3000;
  std::vector<double> l(n, 0.5), r(n, -0.25);
  ring.process(l.data(), r.data(), n);
  double pole = 1.0;
  for (int i = 0; i < n; ++i)
  {
    pole *= 0.9777;
    const double g = 1.0 - pole;
    const double c = std::sin(kTwoPi * std::fmod(0.01 * i, 1.0));
    ASSERT_NEAR(l[i], 0.5 * (g * c + 1.0 - g), 1e-9) << i;
    ASSERT_NEAR(r[i], -0.25 * (g * c + 1.0 - g), 1e-9) << i;
  }
  EXPECT_NEAR(l[n - 25], 0.5 * std::sin(kTwoPi * 0.75), 1e-9); // the carrier's trough
}

// Carrier modes by their spectra, a constant 1 ring-modulated at f = 441 Hz with amount
// 1: the sine, the square (4/pi, 0, 4/3pi, 0), the rising sawtooth
// (2/pi, 1/pi, 2/3pi, 1/2pi), the sine at 2f and the mix 0.3 * (4f + 2f - f).
TEST(RingModulator, CarrierModesByTheirHarmonics)
{
  const double pi = std::numbers::pi;
  const struct
  {
    double value;
    double harmonics[4]; // amplitudes at f, 2f, 3f, 4f
  } cases[] = {
      {0.0, {1.0, 0.0, 0.0, 0.0}},
      {0.124, {1.0, 0.0, 0.0, 0.0}},
      {-3.0, {1.0, 0.0, 0.0, 0.0}},
      {0.125, {4.0 / pi, 0.0, 4.0 / (3.0 * pi), 0.0}},
      {0.25, {4.0 / pi, 0.0, 4.0 / (3.0 * pi), 0.0}},
      {0.5, {2.0 / pi, 1.0 / pi, 2.0 / (3.0 * pi), 1.0 / (2.0 * pi)}},
      {0.75, {0.0, 1.0, 0.0, 0.0}},
      {1.0, {0.3, 0.3, 0.0, 0.3}},
      {1.7, {0.3, 0.3, 0.0, 0.3}},
  };
  for (const auto& c : cases)
  {
    RingModulator ring;
    ring.setWaveform(c.value);
    ring.setFrequency(441.0 / 4000.0);
    ring.setAmount(1.0);
    runConstant(ring, 3000, 1.0);
    const auto y = runConstant(ring, 4400, 1.0); // 44 cycles of 441 Hz
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(amplitudeAt(y.data(), 4400, 0.01 * (k + 1)), c.harmonics[k], 0.01)
          << "value " << c.value << " harmonic " << k + 1;
  }
}

// Switched off, the amount is scaled by a fade of 0.01 per sample: 0.995, 0.985, ...,
// 0.005, then the block passes untouched. Switched on again it rises from 0.005 to 1
// in 100 samples.
TEST(RingModulator, FadeTakesOneHundredSamples)
{
  RingModulator ring;
  ring.setFrequency(441.0 / 4000.0);
  ring.setAmount(1.0);
  runConstant(ring, 3000, 1.0); // settled; the carrier is at phase 0 again (30 cycles)
  ring.setBypass(true);
  const auto out = runConstant(ring, 100, 1.0);
  for (int k = 0; k < 100; ++k)
  {
    const double g = 0.995 - 0.01 * k;
    const double c = std::sin(kTwoPi * 0.01 * k);
    ASSERT_NEAR(out[k], g * c + 1.0 - g, 1e-9) << k;
  }
  auto l = noise(300, 5), r = noise(300, 6);
  const auto inL = l;
  ring.process(l.data(), r.data(), 300);
  EXPECT_EQ(l, inL);

  ring.setBypass(false); // the carrier held while faded out: it resumes at phase 0
  const auto in = runConstant(ring, 101, 1.0);
  for (int k = 0; k < 101; ++k)
  {
    const double g = k < 100 ? 0.005 + 0.01 * k : 1.0;
    const double c = std::sin(kTwoPi * std::fmod(0.01 * k, 1.0));
    ASSERT_NEAR(in[k], g * c + 1.0 - g, 1e-9) << k;
  }
}

// The carrier keeps its frequency in Hz across rate changes; bad rates are refused.
TEST(RingModulator, SampleRateChangeKeepsTheCarrierInHz)
{
  RingModulator ring;
  ring.setFrequency(480.0 / 4000.0);
  ring.setAmount(1.0);
  for (double bad : {0.0, -48000.0, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()})
    ring.setSampleRate(bad);
  ring.setSampleRate(96000.0);
  for (double bad : {0.0, std::numeric_limits<double>::infinity()})
    ring.setSampleRate(bad);
  runConstant(ring, 4000, 1.0);
  const auto y = runConstant(ring, 9600, 1.0); // 48 cycles of 480 Hz at 96 kHz
  EXPECT_NEAR(amplitudeAt(y.data(), 9600, 480.0 / 96000.0), 1.0, 1e-6);
  EXPECT_NEAR(ring.getCarrierFrequency(), 480.0, 1e-9);
}

// Refused setter values change nothing: the output stays that of a unit that never saw
// them. A huge but finite frequency keeps the carrier finite.
TEST(RingModulator, NonFiniteSettersAreRefusedAndTheOutputStaysFinite)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  RingModulator ring, reference;
  for (RingModulator* u : {&ring, &reference})
  {
    u->setWaveform(0.5);
    u->setFrequency(0.3);
    u->setAmount(0.8);
  }
  for (double bad : {nan, inf, -inf})
  {
    ring.setAmount(bad);
    ring.setFrequency(bad);
    ring.setWaveform(bad);
  }
  ring.setFrequency(std::numeric_limits<double>::max()); // 4f would overflow
  auto l = noise(1024, 7), r = noise(1024, 8);
  auto refL = l, refR = r;
  ring.process(l.data(), r.data(), 1024);
  reference.process(refL.data(), refR.data(), 1024);
  EXPECT_EQ(l, refL);
  EXPECT_EQ(r, refR);

  ring.setFrequency(1e300);
  ring.process(l.data(), r.data(), 1024);
  for (int i = 0; i < 1024; ++i)
    ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << i;
}

// A long host block gives exactly what the same samples give in 1024-sample blocks.
TEST(RingModulator, LongBlockEqualsTwoShortOnes)
{
  for (double mode : {0.0, 0.25, 0.5, 0.75, 1.0})
  {
    RingModulator one, two;
    for (RingModulator* u : {&one, &two})
    {
      u->setWaveform(mode);
      u->setFrequency(0.37);
      u->setAmount(0.6);
      u->setBypass(true); // with a fade running across the split
      u->setBypass(false);
    }
    auto l = noise(2048, 9), r = noise(2048, 10);
    auto l2 = l, r2 = r;
    one.process(l.data(), r.data(), 2048);
    two.process(l2.data(), r2.data(), 1024);
    two.process(l2.data() + 1024, r2.data() + 1024, 1024);
    EXPECT_EQ(l, l2) << mode;
    EXPECT_EQ(r, r2) << mode;
  }
}
