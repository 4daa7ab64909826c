#include "voice/Saturate.h"

#include <gtest/gtest.h>

#include <cmath>

using Korvane::saturate;

TEST(SaturateTest, ClampsAndDrives)
{
  EXPECT_EQ(saturate(0.5, 0.0), 0.5);
  EXPECT_EQ(saturate(10.0, 0.0), 10.0);
  EXPECT_EQ(saturate(10.0, 1.0), 1.0);
  EXPECT_EQ(saturate(-10.0, 1.0), -1.0);
  // Small amounts keep a gain of 1: atan(x) / atan(1).
  EXPECT_NEAR(saturate(0.5, 0.01), std::atan(0.5) / std::atan(1.0), 1e-12);
  EXPECT_NEAR(saturate(1.0, 0.05), 1.0, 1e-12);
  // Above 1/7.77 the gain is 7.77 s.
  EXPECT_NEAR(saturate(0.01, 0.2), std::atan(0.01) / std::atan(1.0) * 0.2 * 7.77, 1e-12);
  EXPECT_EQ(saturate(0.3, 1.0), 1.0);
  EXPECT_NEAR(saturate(-0.05, 0.5), -std::atan(0.05) / std::atan(1.0) * 0.5 * 7.77, 1e-12);
}
