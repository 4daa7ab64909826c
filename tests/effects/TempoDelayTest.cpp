#include "effects/delay/TempoDelay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
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

// The block (both sides in lanes between wrap points) against the delay worked out one
// sample and one side at a time on copies of its damping filters: short and single-sample
// wrap points, silence (on one side or both), non-finite input, a feedback that makes the damping
// run away and input so loud that the damping's differences overflow.
TEST(TempoDelay, BlockMatchesTheDelayWorkedOutSampleBySample)
{
  const struct
  {
    double bpm, spread, feedback, dump, scale;
  } rows[] = {
      {2000, 0.3, 0.5, 0.6, 1.0},
      {9000, 0.9, 0.95, 0.2, 1.0},
      {120, 0.5, 0.5, 0.75, 1.0},
      {3e6, 0.5, 0.4, 0.9, 1.0},
      {5000, 0.1, 1e200, 0.5, 1.0},
      {120, 0.5, 0.0, 1.0, 1.7e308}, // so loud that the damping's differences overflow
      // Sums and stages just within and just beyond the lanes' bound of 1e300.
      {120, 0.5, 0.5, 0.75, 4e299},
      {20000, 0.5, 0.0, 0.6, 1.0}, // no feedback: each side's zero input is a zero sum
      {300, 0.5, 0.9, 0.75, 9e299},
  };
  for (const auto& row : rows)
  {
    TempoDelay delay;
    delay.setSampleRate(44100);
    delay.setTempo(row.bpm);
    delay.setSpread(row.spread);
    delay.setFeedback(row.feedback);
    delay.setDump(row.dump);
    delay.setAmount(0.7);
    Korvane::KvFilterPaulKellett damp[2] = {delay.getDampLeft(), delay.getDampRight()};
    std::vector<double> line[2] = {std::vector<double>(std::size_t(delay.getBufferLength())),
                                   std::vector<double>(std::size_t(delay.getBufferLength()))};
    const int wrap[2] = {delay.getWrapLeft(), delay.getWrapRight()};
    int position[2] = {0, 0};
    for (int block = 0; block < 12; ++block)
    {
      std::vector<double> in[2];
      for (int i = 0; i < 512; ++i)
      {
        const int t = block * 512 + i;
        const bool silent = block % 3 == 1 && i > 100;
        const double loud = row.scale * (t % 2 == 0 ? 1.0 : -1.0);
        in[0].push_back(silent            ? 0.0
                        : t == 700        ? kNaN
                        : row.scale > 1.0 ? loud
                                          : std::sin(0.01 * t));
        // The right side falls silent later than the left one.
        const bool silentRight = block % 3 == 1 && i > 300;
        in[1].push_back(silentRight ? -0.0 : t == 900 ? -INFINITY : std::cos(0.02 * t) * 0.5);
      }
      std::vector<double> out[2] = {in[0], in[1]};
      delay.process(out[0].data(), out[1].data(), 512);
      for (int i = 0; i < 512; ++i)
        for (int c = 0; c < 2; ++c)
        {
          double& slot = line[c][std::size_t(position[c])];
          const double delayed = slot;
          double fed = delayed * row.feedback + in[c][std::size_t(i)];
          if (fed != 0.0)
            fed =
                std::isfinite(fed) ? damp[c].process(fed, damp[c].cutoff, damp[c].resonance) : 0.0;
          if (!std::isfinite(fed))
          {
            damp[c].reset();
            fed = 0.0;
          }
          slot = fed;
          position[c] = position[c] + 1 < wrap[c] ? position[c] + 1 : 0;
          const double expected = in[c][std::size_t(i)] + delayed * 0.7;
          const double got = out[c][std::size_t(i)];
          ASSERT_TRUE(std::memcmp(&got, &expected, sizeof got) == 0 ||
                      (std::isnan(got) && std::isnan(expected)))
              << row.bpm << " block " << block << " sample " << i << " side " << c;
        }
    }
    EXPECT_EQ(delay.getWriteLeft(), position[0]);
    EXPECT_EQ(delay.getWriteRight(), position[1]);
    for (int c = 0; c < 2; ++c)
    {
      const Korvane::KvFilterPaulKellett& d = c == 0 ? delay.getDampLeft() : delay.getDampRight();
      EXPECT_TRUE(d.s0 == damp[c].s0 && d.s1 == damp[c].s1 && d.s2 == damp[c].s2 &&
                  d.s3 == damp[c].s3 && d.feedback == damp[c].feedback &&
                  d.cutoff == damp[c].cutoff)
          << row.bpm;
    }
  }
}
