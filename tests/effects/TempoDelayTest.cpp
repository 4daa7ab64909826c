#include "effects/delay/TempoDelay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using Korvane::TempoDelay;

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kEcho = std::pow(0.99, 4); // an impulse through cleared Kellett stages at 0.99

// `frames` samples through the delay in blocks of 512, left only (the right side gets
// the same input); an impulse of 1 at `impulseAt`.
std::vector<double> run(TempoDelay& delay, int frames, int impulseAt = -1)
{
  std::vector<double> l(std::size_t(frames), 0.0);
  if (impulseAt >= 0)
    l[std::size_t(impulseAt)] = 1.0;
  std::vector<double> r = l;
  for (int i = 0; i < frames; i += 512)
    delay.process(l.data() + i, r.data() + i, std::min(512, frames - i));
  return l;
}

// Full amount, feedback 0.5, the brightest damping (Kellett coefficient 0.99).
void setUp(TempoDelay& delay, double rate, double bpm, double spread)
{
  delay.setSampleRate(rate);
  delay.setTempo(bpm);
  delay.setSpread(spread);
  delay.setAmount(1.0);
  delay.setFeedback(0.5);
  delay.setDump(1.0);
}

// An impulse at 0 comes back once per `period` and nowhere else.
void expectEchoAfter(const std::vector<double>& out, int period, const char* what)
{
  for (int i = 0; i <= period; ++i)
    ASSERT_EQ(out[std::size_t(i)], i == 0 ? 1.0 : i == period ? kEcho : 0.0) << what << " " << i;
  EXPECT_NE(out[std::size_t(2 * period)], 0.0) << what;
}

} // namespace

TEST(TempoDelay, ImpulseReturnsAfterOneBeatTimesTheSpreadWithinFourSeconds)
{
  const struct
  {
    double rate, bpm, spread;
    int left, right;
  } cases[] = {
      {44100, 120, 0.5, 22050, 22050},  {44100, 120, 1.0, 24806, 19293}, // 1.125 / 0.875 beats
      {44100, 120, 0.0, 19293, 24806},  {96000, 120, 0.5, 48000, 48000},
      {44100, 10, 0.5, 176400, 176400}, // the 6 s beat cut to the 4-second line
  };
  for (const auto& c : cases)
  {
    TempoDelay delay;
    setUp(delay, c.rate, c.bpm, c.spread);
    EXPECT_EQ(delay.getWrapRight(), c.right) << c.bpm << " " << c.spread;
    expectEchoAfter(run(delay, 2 * c.left + 1, 0), c.left, "left");
  }
}

TEST(TempoDelay, TempoZeroIsIgnoredAndAmountZeroKeepsTheLineRunning)
{
  TempoDelay delay;
  setUp(delay, 44100, 120, 0.5);
  for (double bad : {0.0, -10.0, kNaN})
    delay.setTempo(bad);
  for (double badRate : {kNaN, 0.0, 0.5, 1e12})
    delay.setSampleRate(badRate);
  delay.setFeedback(kNaN);
  EXPECT_EQ(delay.getBeatSeconds(), 0.5);
  EXPECT_EQ(delay.getBufferLength(), 176400);
  EXPECT_EQ(delay.getFeedback(), 0.5);
  delay.setAmount(0.0);
  const auto quiet = run(delay, 22050, 0);
  EXPECT_EQ(std::count(quiet.begin(), quiet.end(), 0.0), 22049); // the input, unchanged
  delay.setAmount(0.5);
  EXPECT_DOUBLE_EQ(run(delay, 1)[0], 0.5 * kEcho);
}

TEST(TempoDelay, WrapPointMovedBelowThePositionWrapsAtOnce)
{
  const struct
  {
    const char* what;
    double rate, bpm, spread;
    int before;
  } cases[] = {{"tempo raised", 44100, 60, 0.5, 30000},
               {"spread changed", 44100, 120, 1.0, 23000},
               {"rate lowered", 96000, 10, 0.5, 300000}};
  for (const auto& c : cases)
  {
    TempoDelay delay;
    setUp(delay, c.rate, c.bpm, c.spread);
    run(delay, c.before);
    ASSERT_EQ(delay.getWriteLeft(), c.before) << c.what;
    if (c.bpm == 60)
      delay.setTempo(120);
    else if (c.spread == 1.0)
      delay.setSpread(0.0);
    else
      delay.setSampleRate(44100);
    EXPECT_EQ(delay.getWriteLeft(), 0) << c.what;
    expectEchoAfter(run(delay, 2 * delay.getWrapLeft() + 1, 0), delay.getWrapLeft(), c.what);
    for (int block = 0; block < 800; ++block)
    {
      run(delay, 500);
      ASSERT_LT(delay.getWriteLeft(), delay.getWrapLeft()) << c.what;
      ASSERT_LT(delay.getWriteRight(), delay.getWrapRight()) << c.what;
    }
  }
}

TEST(TempoDelay, ResetClearsEnsureCapacityGrowsAndNothingNonFiniteIsFedBack)
{
  TempoDelay delay;
  setUp(delay, 44100, 10, 0.5);
  run(delay, 100, 0);
  delay.ensureCapacity(1000);
  EXPECT_EQ(delay.getBufferLength(), 176400);
  delay.ensureCapacity(200000);
  EXPECT_EQ(delay.getWrapLeft(), 200000);
  delay.setTempo(120);
  delay.reset();
  // A NaN input reaches the output but not the line, nor the damping's stages.
  std::vector<double> l(22052, 0.0), r(22052, 0.0);
  l[0] = kNaN;
  l[1] = 1.0;
  delay.process(l.data(), r.data(), 22052);
  EXPECT_TRUE(std::isnan(l[0]));
  EXPECT_EQ(l[22050], 0.0); // the line was cleared
  EXPECT_DOUBLE_EQ(l[22051], kEcho);
  // Runaway feedback overflows; the overflow is dropped and everything stays finite.
  delay.setFeedback(1e300);
  const auto loud = run(delay, 22050 * 4, 0);
  EXPECT_TRUE(std::all_of(loud.begin(), loud.end(), [](double x) { return std::isfinite(x); }));
  EXPECT_TRUE(std::isfinite(delay.getDampLeft().s0));
}
