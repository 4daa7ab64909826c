#include "voice/TableOscillator.h"

#include <gtest/gtest.h>

using Korvane::TableOscillator;
using Korvane::WaveTableSet;

namespace
{

void fill(Korvane::WaveTable& t, double top, std::initializer_list<double> values)
{
  t.topFrequency = top;
  t.length = static_cast<int>(values.size()) - 1;
  t.samples = std::make_unique<double[]>(values.size());
  std::copy(values.begin(), values.end(), t.samples.get());
}

} // namespace

TEST(TableOscillatorTest, InterpolatesAndPicksTheTableForTheIncrement)
{
  WaveTableSet set;
  fill(set.tables[0], 0.01, {0.0, 1.0, 0.0, -1.0, 0.0});
  fill(set.tables[1], 0.3, {0.5, 0.5, 0.5, 0.5, 0.5});
  set.count = 2;
  TableOscillator o;
  EXPECT_EQ(o.read(), 0.0); // no set
  o.table = &set;
  o.increment = 0.001;
  o.phase = 0.125;
  EXPECT_DOUBLE_EQ(o.read(), 0.5);
  o.phase = 0.9375; // between the last sample and the first
  EXPECT_DOUBLE_EQ(o.read(), -0.25);
  o.increment = 0.02; // too high for the rich table
  EXPECT_DOUBLE_EQ(o.read(), 0.5);
  o.increment = 0.4; // beyond every table: the last one
  EXPECT_DOUBLE_EQ(o.read(), 0.5);
  o.phase = 0.9;
  o.advance();
  EXPECT_NEAR(o.phase, 0.3, 1e-12);
  WaveTableSet empty;
  o.table = &empty;
  EXPECT_EQ(o.read(), 0.0);
}
