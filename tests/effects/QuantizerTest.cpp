#include "effects/distortion/Quantizer.h"

#include <gtest/gtest.h>

#include <cmath>

using Korvane::Quantizer;

TEST(Quantizer, TruncatesOntoTheGridOfItsResolution)
{
  Quantizer q;
  double l[6] = {0.3, 0.74, -0.74, 1.0, -1.0, 0.123};
  double r[6] = {0.3, 0.74, -0.74, 1.0, -1.0, 0.123};
  q.process(l, r, 6); // resolution 1: untouched
  EXPECT_EQ(l[5], 0.123);

  // Value 0: one bit, two levels per unit, truncated toward zero.
  ASSERT_TRUE(q.setResolution(0.0));
  EXPECT_EQ(q.bits, 1.0);
  EXPECT_EQ(q.levels, 2.0);
  q.process(l, r, 6);
  const double expected[6] = {0.0, 0.5, -0.5, 1.0, -1.0, 0.0};
  for (int i = 0; i < 6; ++i)
  {
    EXPECT_EQ(l[i], expected[i]) << i;
    EXPECT_EQ(r[i], expected[i]) << i;
  }

  // Value 0.5: resolution 0.25, 16.75 bits.
  q.setResolution(0.5);
  EXPECT_EQ(q.bits, 16.75);
  double x = 0.3;
  q.process(&x, &x, 1);
  EXPECT_EQ(x, std::trunc(0.3 * std::exp2(16.75)) / std::exp2(16.75));

  // Switched off: untouched. Refused values keep the grid.
  q.setOff(true);
  x = 0.3;
  q.process(&x, &x, 1);
  EXPECT_EQ(x, 0.3);
  EXPECT_FALSE(q.setResolution(std::nan("")));
  EXPECT_EQ(q.bits, 16.75);

  // Above 1 the signal is left as at 1, never turned into NaN.
  q.setOff(false);
  q.setResolution(40.0);
  double zero = 0.0;
  q.process(&zero, &zero, 1);
  EXPECT_EQ(zero, 0.0);
}
