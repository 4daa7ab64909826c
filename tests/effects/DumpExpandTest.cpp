#include "effects/tone/DumpExpand.h"

#include "tests/effects/ToneTestSignals.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

using Korvane::DumpExpand;
using namespace ToneTestSignals;

namespace
{

const double kMidSweep = 10.0 * std::sqrt(2204.0); // 10 * 2204^0.5, about 469 Hz

// Gain in dB of the order-2 Chebyshev I with 0.01 dB ripple at w times its cutoff
// (w >= 1 outside the passband, w = 1 at the ripple edge), before bilinear warping:
// 1 / (1 + eps^2 T2(w)^2), T2(w) = 2w^2 - 1.
double chebyshevDb(double w)
{
  const double eps2 = std::pow(10.0, 0.01 / 10.0) - 1.0;
  const double t = 2.0 * w * w - 1.0;
  return -10.0 * std::log10(1.0 + eps2 * t * t);
}

// Frequency ratio after the bilinear transform's warping at this rate.
double warped(double hz, double cutoff, double rate)
{
  return std::tan(std::numbers::pi * hz / rate) / std::tan(std::numbers::pi * cutoff / rate);
}

DumpExpand makeDumpExpand(double rate, double value)
{
  DumpExpand unit;
  unit.setSampleRate(rate);
  unit.setValue(value);
  return unit;
}

} // namespace

// The knob's cutoffs: 10 * 2204^x Hz for each side, limited to 20..21000 Hz up to
// 44.1 kHz and free (10..22040 Hz) above.
TEST(DumpExpand, KnobSweepsTheCutoffsWithTheLimitsUpTo44k1)
{
  const struct
  {
    double rate, value, lowPass, highPass;
  } cases[] = {
      {44100, 0.5, 21000, 20},    {44100, 0.25, kMidSweep, 20},    {44100, 0.0, 20, 20},
      {44100, 1.0, 21000, 21000}, {44100, 0.75, 21000, kMidSweep}, {22050, 0.0, 20, 20},
      {96000, 0.0, 10, 10},       {96000, 0.5, 22040, 10},         {96000, 1.0, 22040, 22040},
  };
  for (const auto& c : cases)
  {
    const DumpExpand unit = makeDumpExpand(c.rate, c.value);
    EXPECT_NEAR(unit.getLowPassCutoff(), c.lowPass, 1e-9) << c.rate << " " << c.value;
    EXPECT_NEAR(unit.getHighPassCutoff(), c.highPass, 1e-9) << c.rate << " " << c.value;
  }
  // Lowering the rate to 44.1 kHz brings the limits back for the value already set.
  DumpExpand unit = makeDumpExpand(96000, 0.0);
  unit.setSampleRate(44100);
  EXPECT_NEAR(unit.getLowPassCutoff(), 20.0, 1e-9);
}

// What is heard: 0.5 is neutral across the band; 0.25 closes the low-pass to about
// 469 Hz (its ripple edge, the 0.01 dB ripple's -3 dB point lies 3.3 times higher) and
// 0.75 raises the high-pass there; at 96 kHz 0 puts the low-pass at 10 Hz, where at
// 44.1 kHz the limit keeps it at 20 Hz.
TEST(DumpExpand, SineGainsFollowTheSweep)
{
  const struct
  {
    double rate, value, hz, expectedDb;
  } cases[] = {
      {44100, 0.5, 100, 0.0},
      {44100, 0.5, 1000, 0.0},
      {44100, 0.5, 12000, 0.0},
      {44100, 0.25, kMidSweep / 4, 0.0},
      {44100, 0.25, kMidSweep, chebyshevDb(1.0)},
      {44100, 0.25, kMidSweep * 4, chebyshevDb(4.0)}, // about -5.1 dB
      {44100, 0.25, kMidSweep * 8,
       chebyshevDb(warped(kMidSweep * 8, kMidSweep, 44100))}, // -16.2 dB
      {44100, 0.75, kMidSweep / 4, chebyshevDb(4.0)},
      {44100, 0.75, kMidSweep * 4, 0.0},
      {44100, 0.0, 40, chebyshevDb(2.0)}, // about -0.47 dB
      {96000, 0.0, 40, chebyshevDb(4.0)},
  };
  for (const auto& c : cases)
  {
    DumpExpand unit = makeDumpExpand(c.rate, c.value);
    EXPECT_NEAR(gainDb(unit, c.hz, c.rate), c.expectedDb, 0.1)
        << c.rate << " " << c.value << " at " << c.hz;
  }
}

// The editor's 30 points: the low-pass below 0.5, the high-pass from 0.5 up, at
// (i / 30)^2 * 0.5 of the rate; above 0.5 the last point is 1. A point agrees with the
// gain of a sine at its frequency.
TEST(DumpExpand, ResponseCurveShowsTheActiveFilter)
{
  std::array<double, DumpExpand::kCurvePoints> curve{};
  const DumpExpand dump = makeDumpExpand(44100, 0.25);
  dump.responseCurve(curve);
  EXPECT_NEAR(curve[0], 1.0, 0.002); // low-pass at DC (even order: 0.01 dB ripple down)
  EXPECT_LT(curve[29], 0.001);       // near Nyquist
  DumpExpand heard = makeDumpExpand(44100, 0.25);
  const double hz3 = 0.01 * 0.5 * 44100; // point 3: (3/30)^2 * 0.5
  EXPECT_NEAR(20 * std::log10(curve[3]), gainDb(heard, hz3, 44100), 0.02);

  const DumpExpand expand = makeDumpExpand(44100, 0.75);
  expand.responseCurve(curve);
  EXPECT_LT(curve[0], 1e-6); // high-pass at DC
  EXPECT_EQ(curve[29], 1.0);
  const DumpExpand neutral = makeDumpExpand(44100, 0.5);
  neutral.responseCurve(curve);
  EXPECT_LT(curve[0], 1e-6); // 0.5 shows the 20 Hz high-pass, the last point not forced
  EXPECT_NEAR(curve[28], 1.0, 0.002);
}

// Long blocks are processed in pieces; non-finite settings are refused and bad
// samples never leave the state non-finite.
TEST(DumpExpand, LongBlocksSoundAsBlocksOf1024AndTheStateStaysFinite)
{
  expectLongBlocksAsBlocksOf1024([] { return makeDumpExpand(44100, 0.3); });

  const double nan = std::numeric_limits<double>::quiet_NaN();
  DumpExpand unit = makeDumpExpand(44100, 0.3);
  unit.setValue(nan);
  unit.setValue(std::numeric_limits<double>::infinity());
  unit.setSampleRate(nan);
  unit.setSampleRate(-1.0);
  EXPECT_EQ(unit.getValue(), 0.3);
  EXPECT_EQ(unit.getSampleRate(), 44100.0);
  expectCleanAfterBadSamples(unit);
}
