#include "voice/Noise.h"
#include "voice/Random15.h"

#include <gtest/gtest.h>

#include <algorithm>

using Korvane::Noise;

TEST(NoiseTest, WhiteNoiseDrawsFromTheProgramGenerator)
{
  Noise::seed(1234);
  Korvane::Random15 reference(1234);
  double lo = 1.0, hi = -1.0, sum = 0.0;
  for (int i = 0; i < 100000; ++i)
  {
    const double w = Noise::white();
    ASSERT_EQ(w, reference.next() * 2.0 / 32767.0 - 1.0);
    lo = std::min(lo, w);
    hi = std::max(hi, w);
    sum += w;
  }
  EXPECT_GE(lo, -1.0);
  EXPECT_LE(hi, 1.0);
  EXPECT_NEAR(sum / 100000, 0.0, 0.01);
}

TEST(NoiseTest, PinkNoiseStaysInRangeAndIsDarker)
{
  Noise::seed(99);
  Korvane::PinkNoiseState s;
  double lo = 1.0, hi = -1.0, prev = 0.0, diff = 0.0, power = 0.0;
  for (int i = 0; i < 100000; ++i)
  {
    const double p = Noise::pink(s);
    lo = std::min(lo, p);
    hi = std::max(hi, p);
    if (i > 100)
    {
      diff += (p - prev) * (p - prev);
      power += p * p;
    }
    prev = p;
  }
  EXPECT_GE(lo, -0.78096274);
  EXPECT_LE(hi, 0.78096274);
  // White noise has a mean squared difference of twice its power; pink much less.
  EXPECT_LT(diff / power, 1.0);
}
