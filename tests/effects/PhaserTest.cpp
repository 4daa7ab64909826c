#include "effects/modulation/Phaser.h"

#include "tests/effects/SignalProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

using Korvane::Phaser;
using SignalProbe::amplitudeAt;
using SignalProbe::noise;

namespace
{
constexpr double kPi = std::numbers::pi;
constexpr double kMin = 440.0 / 22050.0, kMax = 1600.0 / 22050.0, kMid = (kMin + kMax) / 2;

// Six all-pass stages of delay d turn a tone of w radians per sample by
// -12 atan(tan(w/2) / d); dry plus that has the gain 2 |cos(phi / 2)|.
double gain(double hz, double rate, double d)
{
  return 2.0 * std::fabs(std::cos(6.0 * std::atan(std::tan(kPi * hz / rate) / d)));
}
// The tone the six stages turn by 12 theta: a notch at odd multiples of pi / 12.
double toneAt(double theta, double rate, double d)
{
  return rate * std::atan(d * std::tan(theta)) / kPi;
}
} // namespace

// Amount 0: untouched. Non-finite samples pass through dry but never reach the
// all-pass memories (the output after them is that of a unit fed 0 there), refused
// settings change nothing, and a 2048-sample block equals two of 1024.
TEST(Phaser, TransparencyNonFiniteInputAndLongBlocks)
{
  Phaser off;
  off.setRate(1.0);
  auto x = noise(2048, 1);
  off.process(x.data(), x.data(), 2048);
  EXPECT_EQ(x, noise(2048, 1));

  Phaser one, two;
  for (Phaser* p : {&one, &two})
  {
    p->setDepth(0.9);
    p->setFeedback(0.8);
    p->setRate(0.7);
    p->setBypass(true); // a fade running across the split
  }
  const double nan = std::numeric_limits<double>::quiet_NaN();
  two.setDepth(nan);
  two.setFeedback(nan);
  two.setRate(nan);
  two.setSampleRate(nan);
  two.setSampleRate(-1.0);
  auto l = noise(2048, 2), r = l, l2 = l, r2 = l;
  l2[100] = nan;
  r2[1500] = std::numeric_limits<double>::infinity();
  l[100] = r[1500] = 0.0;
  one.process(l.data(), r.data(), 2048);
  two.process(l2.data(), r2.data(), 1024);
  two.process(l2.data() + 1024, r2.data() + 1024, 1024);
  l[100] = l2[100] = r[1500] = r2[1500] = 0.0; // the bad samples themselves pass dry
  EXPECT_EQ(l, l2);
  EXPECT_EQ(r, r2);
}

// Amount 1, no feedback, the sweep frozen (rate 0) at its middle (LFO phase 0), top
// (a quarter cycle at 5 Hz) or bottom (three quarters): notches where the six stages
// turn the phase by odd multiples of pi, 2 at even ones. At 96 kHz the 5 Hz set
// before the rate change still takes 4800 samples for a quarter cycle.
TEST(Phaser, NotchesOfTheFrozenSweep)
{
  const struct
  {
    double rate;
    int sweep; // samples at 5 Hz before the sweep is frozen
    double d, hz, expected;
  } cases[] = {
      {44100.0, 0, kMid, toneAt(kPi / 12.0, 44100.0, kMid), 0.0},
      {44100.0, 0, kMid, toneAt(kPi / 6.0, 44100.0, kMid), 2.0},
      {44100.0, 0, kMid, toneAt(kPi / 4.0, 44100.0, kMid), 0.0},
      {44100.0, 0, kMid, toneAt(5.0 * kPi / 12.0, 44100.0, kMid), 0.0},
      {44100.0, 0, kMid, 5000.0, gain(5000.0, 44100.0, kMid)},
      {44100.0, 2205, kMax, toneAt(kPi / 4.0, 44100.0, kMax), 0.0},
      {44100.0, 6615, kMin, toneAt(kPi / 4.0, 44100.0, kMin), 0.0},
      {96000.0, 4800, kMax, toneAt(kPi / 4.0, 96000.0, kMax), 0.0},
      {96000.0, 4800, kMax, 1000.0, gain(1000.0, 96000.0, kMax)},
  };
  for (const auto& c : cases)
  {
    Phaser phaser;
    phaser.setFeedback(0.0);
    phaser.setDepth(1.0);
    phaser.setRate(0.5);
    phaser.setSampleRate(c.rate);
    std::vector<double> y(std::size_t(c.sweep), 0.0);
    phaser.process(y.data(), y.data(), c.sweep);
    phaser.setRate(0.0);
    y.resize(22384);
    for (std::size_t i = 0; i < y.size(); ++i)
      y[i] = std::sin(2.0 * kPi * c.hz / c.rate * double(i));
    auto r = y;
    phaser.process(y.data(), r.data(), int(y.size()));
    EXPECT_NEAR(amplitudeAt(y.data() + 6000, 16384, c.hz / c.rate), c.expected, 1e-6)
        << c.rate << " Hz after " << c.sweep << " samples, tone " << c.hz;
  }
}

// DC passes the all-pass chain with gain 1, so with feedback fb the unit gives
// x * (1 + 1 / (1 - fb)); "Phaser Feedback" 1 is 0.999 (1001 x) and higher values
// stay there. The loop needs about 130 samples per round, hence the long run.
TEST(Phaser, FeedbackIsAtMost0999)
{
  for (auto [value, fb] : {std::pair{0.0, 0.0}, {0.5, 0.4995}, {1.0, 0.999}, {3.0, 0.999}})
  {
    Phaser phaser;
    phaser.setRate(0.0);
    phaser.setDepth(1.0);
    phaser.setFeedback(value);
    std::vector<double> y(1500000, 0.001), r = y;
    phaser.process(y.data(), r.data(), int(y.size()));
    EXPECT_NEAR(y.back(), 0.001 * (1.0 + 1.0 / (1.0 - fb)), 1e-6 / (1.0 - fb)) << value;
  }
}
