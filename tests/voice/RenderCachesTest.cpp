// The remembered results of the render path give what computing afresh gives: the table
// search for any order of tables and any increment sequence, the floor of the phase
// wraps, and the Kellett feedback for changed (or sign-changed) inputs.
#include "effects/PolyBLEP.h"
#include "effects/oscfilter/KvFilterPaulKellett.h"
#include "voice/TableOscillator.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using Korvane::KvFilterPaulKellett;
using Korvane::PolyBLEP;
using Korvane::TableOscillator;
using Korvane::WaveTableSet;

namespace
{

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

void fill(WaveTableSet& set, const std::vector<double>& tops)
{
  set.clear();
  for (double top : tops)
  {
    auto& t = set.tables[set.count++];
    t.topFrequency = top;
    t.length = 4;
    t.samples = std::make_unique<double[]>(5);
  }
}

} // namespace

TEST(RenderCachesTest, RememberedTableSearchMatchesTheSearchForAnyTableOrder)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<std::vector<double>> orders = {
      {0.001, 0.002, 0.004, 0.008, 0.016},
      {0.004, 0.001, 0.008, 0.002}, // not ascending: an earlier table can win
      {0.01, nan, 0.005, 0.02},
      {0.003},
  };
  std::vector<double> increments;
  for (int i = 0; i < 200; ++i)
    increments.push_back(0.0001 * std::pow(1.03, i));
  for (int i = 199; i >= 0; i -= 3)
    increments.push_back(0.0001 * std::pow(1.03, i));
  for (double v : {0.004, 0.004, 0.001, 0.0010000000000000002, 0.0, -0.0, -1.0, nan, 0.002, 1e9,
                   std::numeric_limits<double>::infinity(), 0.008, 0.0079999999})
    increments.push_back(v);

  for (const auto& tops : orders)
  {
    WaveTableSet set;
    fill(set, tops);
    TableOscillator o;
    o.table = &set;
    for (double inc : increments)
      EXPECT_EQ(o.tableFor(inc), set.tableFor(inc)) << "increment " << inc;
    // A set swapped under the oscillator, and the same set refilled with fewer tables.
    WaveTableSet other;
    fill(other, {0.5});
    o.table = &other;
    EXPECT_EQ(o.tableFor(0.004), &other.tables[0]);
    o.table = &set;
    fill(set, {0.01});
    EXPECT_EQ(o.tableFor(0.004), &set.tables[0]);
  }
}

TEST(RenderCachesTest, FloorOfIsTheFloorBitForBit)
{
  const double values[] = {0.0,
                           -0.0,
                           0.25,
                           0.9999999999999999,
                           1.0,
                           1.5,
                           -0.25,
                           -1.0,
                           -2.5,
                           4503599627370495.5,
                           4503599627370496.0,
                           9.3e18,
                           -9.3e18,
                           1e300,
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (double v : values)
  {
    EXPECT_EQ(bits(PolyBLEP::floorOf(v)), bits(std::floor(v))) << v;
    EXPECT_EQ(bits(PolyBLEP::frac(v)), bits(v - std::floor(v))) << v;
  }
  EXPECT_TRUE(std::isnan(PolyBLEP::floorOf(std::numeric_limits<double>::quiet_NaN())));
}

TEST(RenderCachesTest, KellettFeedbackFollowsEveryChangeOfCutoffAndResonance)
{
  KvFilterPaulKellett f;
  const struct
  {
    double cutoff, resonance;
  } steps[] = {{0.5, 0.3},  {0.5, 0.3},  {0.6, 0.3}, {0.6, 0.7}, {0.6, 0.0},
               {0.6, -0.0}, {0.6, -0.0}, {0.0, 0.2}, {2.0, 0.2}, {0.6, 0.3}};
  for (const auto& s : steps)
  {
    f.process(0.5, s.cutoff, s.resonance);
    const double e = f.effectiveCutoff();
    EXPECT_EQ(bits(f.feedback), bits(s.resonance / (1.0 - e) + s.resonance))
        << s.cutoff << " " << s.resonance;
  }
}
