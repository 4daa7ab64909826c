#include "effects/modulation/Phaser.h"

#include "tests/effects/ToneMeasure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

using Korvane::Phaser;
using ToneMeasure::amplitudeAt;

namespace
{

constexpr double kPi = std::numbers::pi;
constexpr double kMinDelay = 440.0 / 22050.0;
constexpr double kMaxDelay = 1600.0 / 22050.0;
constexpr double kMidDelay = (kMinDelay + kMaxDelay) / 2.0;

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

// A first-order all-pass stage with delay d turns a tone of w radians per sample by
// -2 atan(tan(w/2) / d); six of them by six times that. Dry plus the chain's output
// (no feedback) then has the gain |1 + e^(j phi)| = 2 |cos(phi / 2)|: 0 where the six
// stages turn the phase by an odd multiple of pi, 2 at multiples of 2 pi.
double phaserGain(double hz, double rate, double d)
{
  const double phi = -12.0 * std::atan(std::tan(kPi * hz / rate) / d);
  return 2.0 * std::fabs(std::cos(phi / 2.0));
}

// The tone at which the six stages turn the phase by 12 * theta.
double toneAt(double theta, double rate, double d)
{
  return rate * std::atan(d * std::tan(theta)) / kPi;
}

// Feeds a tone of amplitude 0.5 through the phaser and measures its gain once the
// depth and the all-pass memories have settled.
double measureGain(Phaser& phaser, double hz, double rate)
{
  const int settle = 6000, window = 16384;
  std::vector<double> l(settle + window), r(settle + window);
  for (std::size_t i = 0; i < l.size(); ++i)
    l[i] = r[i] = 0.5 * std::sin(2.0 * kPi * hz / rate * double(i));
  phaser.process(l.data(), r.data(), int(l.size()));
  return amplitudeAt(l.data() + settle, window, hz / rate) / 0.5;
}

} // namespace

TEST(Phaser, AmountZeroLeavesTheBlockUntouched)
{
  Phaser phaser;
  phaser.setFeedback(0.9);
  phaser.setRate(1.0);
  phaser.setDepth(0.0);
  auto l = noise(2048, 1), r = noise(2048, 2);
  const auto inL = l, inR = r;
  phaser.process(l.data(), r.data(), 2048);
  EXPECT_EQ(l, inL);
  EXPECT_EQ(r, inR);
}

// Amount 1, no feedback: the notches and peaks of the six stages, with the sweep
// frozen (rate 0) at the middle (LFO phase 0), the top (a quarter cycle at 5 Hz,
// 2205 samples) or the bottom (three quarters) of its range. At 96 kHz the rate set
// before the rate change still means 5 Hz: a quarter cycle is 4800 samples.
TEST(Phaser, NotchesOfTheFrozenSweep)
{
  const struct
  {
    double rate;
    int sweepSamples; // samples run at 5 Hz before the sweep is frozen
    double d;         // all-pass delay expected there
    double hz;
    double expected;
  } cases[] = {
      {44100.0, 0, kMidDelay, toneAt(kPi / 12.0, 44100.0, kMidDelay), 0.0},
      {44100.0, 0, kMidDelay, toneAt(kPi / 6.0, 44100.0, kMidDelay), 2.0},
      {44100.0, 0, kMidDelay, toneAt(kPi / 4.0, 44100.0, kMidDelay), 0.0},
      {44100.0, 0, kMidDelay, toneAt(kPi / 3.0, 44100.0, kMidDelay), 2.0},
      {44100.0, 0, kMidDelay, toneAt(5.0 * kPi / 12.0, 44100.0, kMidDelay), 0.0},
      {44100.0, 0, kMidDelay, 100.0, phaserGain(100.0, 44100.0, kMidDelay)},
      {44100.0, 0, kMidDelay, 5000.0, phaserGain(5000.0, 44100.0, kMidDelay)},
      {44100.0, 2205, kMaxDelay, toneAt(kPi / 4.0, 44100.0, kMaxDelay), 0.0},
      {44100.0, 2205, kMaxDelay, toneAt(kPi / 4.0, 44100.0, kMidDelay),
       phaserGain(toneAt(kPi / 4.0, 44100.0, kMidDelay), 44100.0, kMaxDelay)},
      {44100.0, 6615, kMinDelay, toneAt(kPi / 4.0, 44100.0, kMinDelay), 0.0},
      {44100.0, 6615, kMinDelay, toneAt(kPi / 12.0, 44100.0, kMinDelay), 0.0},
      {96000.0, 4800, kMaxDelay, toneAt(kPi / 4.0, 96000.0, kMaxDelay), 0.0},
      {96000.0, 4800, kMaxDelay, 1000.0, phaserGain(1000.0, 96000.0, kMaxDelay)},
  };
  for (const auto& c : cases)
  {
    Phaser phaser;
    phaser.setFeedback(0.0);
    phaser.setDepth(1.0);
    phaser.setRate(0.5); // 5 Hz
    phaser.setSampleRate(c.rate);
    std::vector<double> silence(std::size_t(c.sweepSamples) + 1, 0.0);
    phaser.process(silence.data(), silence.data(), c.sweepSamples);
    phaser.setRate(0.0);
    EXPECT_NEAR(measureGain(phaser, c.hz, c.rate), c.expected, 1e-6)
        << c.rate << " Hz after " << c.sweepSamples << " samples, tone " << c.hz;
  }
}

// The feedback loop at DC: the all-pass chain passes DC with gain 1, so the chain's
// output is x / (1 - feedback) and the unit gives x * (1 + 1 / (1 - feedback)).
// "Phaser Feedback" 1 is 0.999 (1001 x); higher values stay there.
TEST(Phaser, FeedbackIsAtMost0999)
{
  const struct
  {
    double value, feedback;
  } cases[] = {{0.0, 0.0}, {0.5, 0.4995}, {1.0, 0.999}, {3.0, 0.999}, {-1.0, 0.0}};
  for (const auto& c : cases)
  {
    Phaser phaser;
    phaser.setRate(0.0);
    phaser.setDepth(1.0);
    phaser.setFeedback(c.value);
    // The loop takes about 130 samples per round (the stages' delay at DC), so 0.999
    // needs a long run to settle.
    std::vector<double> l(1500000, 0.001), r(1500000, 0.001);
    phaser.process(l.data(), r.data(), int(l.size()));
    const double expected = 0.001 * (1.0 + 1.0 / (1.0 - c.feedback));
    EXPECT_NEAR(l.back(), expected, 1e-3 * expected) << c.value;
  }
}

// Switched off, the added part is scaled by 0.995, 0.99, ... and the dry signal stays:
// against a unit left on, the difference to the dry input shrinks by exactly the fade.
// After 200 samples the block passes untouched.
TEST(Phaser, FadeScalesTheAddedPartAndKeepsTheDry)
{
  Phaser fading, reference;
  for (Phaser* p : {&fading, &reference})
  {
    p->setDepth(1.0);
    p->setFeedback(0.7);
    p->setRate(0.3);
  }
  for (Phaser* p : {&fading, &reference})
  {
    auto l = noise(500, 3), r = noise(500, 4);
    p->process(l.data(), r.data(), 500);
  }
  fading.setBypass(true);
  const auto in = noise(250, 5);
  auto l = in, r = in, refL = in, refR = in;
  fading.process(l.data(), r.data(), 250);
  reference.process(refL.data(), refR.data(), 250);
  for (int k = 0; k < 250; ++k)
  {
    const double w = k < 199 ? 0.995 - 0.005 * k : 0.0;
    ASSERT_NEAR(l[k] - in[k], w * (refL[k] - in[k]), 1e-12) << k;
  }
  EXPECT_NE(l[10], in[10]);
  auto later = noise(300, 6);
  const auto dry = later;
  fading.process(later.data(), later.data(), 300);
  EXPECT_EQ(later, dry);
}

// Non-finite samples pass through dry but never reach the all-pass memories: the
// output after them is that of a unit that got silence there. An overflowing chain
// starts again from silence. Refused setter values change nothing.
TEST(Phaser, NonFiniteInputAndSettersLeaveTheStateFinite)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  Phaser phaser, reference;
  for (Phaser* p : {&phaser, &reference})
  {
    p->setDepth(0.8);
    p->setFeedback(0.9);
    p->setRate(0.4);
  }
  for (double bad : {nan, inf, -inf})
  {
    phaser.setDepth(bad);
    phaser.setFeedback(bad);
    phaser.setRate(bad);
    phaser.setSampleRate(bad);
  }
  phaser.setSampleRate(0.0);
  auto l = noise(1024, 7), r = noise(1024, 8);
  auto refL = l, refR = r;
  l[100] = nan;
  r[200] = inf;
  refL[100] = 0.0;
  refR[200] = 0.0;
  phaser.process(l.data(), r.data(), 1024);
  reference.process(refL.data(), refR.data(), 1024);
  for (int i = 0; i < 1024; ++i)
  {
    if (i == 100 || i == 200)
      continue;
    ASSERT_EQ(l[i], refL[i]) << i;
    ASSERT_EQ(r[i], refR[i]) << i;
  }

  std::vector<double> huge(64, std::numeric_limits<double>::max());
  phaser.process(huge.data(), huge.data(), 64);
  phaser.setRate(1e300); // finite: the sweep may jump, but stays in its range
  auto after = noise(1024, 9);
  phaser.process(after.data(), after.data(), 1024);
  for (int i = 0; i < 1024; ++i)
    ASSERT_TRUE(std::isfinite(after[i])) << i;
}

// A long host block gives exactly what the same samples give in 1024-sample blocks.
TEST(Phaser, LongBlockEqualsTwoShortOnes)
{
  Phaser one, two;
  for (Phaser* p : {&one, &two})
  {
    p->setDepth(0.9);
    p->setFeedback(0.8);
    p->setRate(0.7);
    p->setBypass(true);
  }
  auto l = noise(2048, 10), r = noise(2048, 11);
  auto l2 = l, r2 = r;
  one.process(l.data(), r.data(), 2048);
  two.process(l2.data(), r2.data(), 1024);
  two.process(l2.data() + 1024, r2.data() + 1024, 1024);
  EXPECT_EQ(l, l2);
  EXPECT_EQ(r, r2);
}
