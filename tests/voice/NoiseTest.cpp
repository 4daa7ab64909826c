#include "voice/Noise.h"
#include "voice/Random15.h"

#include <gtest/gtest.h>

#include <algorithm>

using Korvane::Noise;

TEST(NoiseTest, WhiteNoiseDrawsFromTheProgramGenerator)
{
  Korvane::Random15 random(1234);
  Korvane::Random15 reference(1234);
  double lo = 1.0, hi = -1.0, sum = 0.0;
  for (int i = 0; i < 100000; ++i)
  {
    const double w = Noise::white(random);
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
  Korvane::Random15 random(99);
  Korvane::PinkNoiseState s;
  double lo = 1.0, hi = -1.0, prev = 0.0, diff = 0.0, power = 0.0;
  for (int i = 0; i < 100000; ++i)
  {
    const double p = Noise::pink(random, s);
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

TEST(NoiseTest, PinkNoiseFiltersThreeDrawsWithItsCoefficients)
{
  // x, y, z follow three one-pole low-passes (0.319, 0.7756, 0.9613) of three fresh raw
  // values; the output weighs them 0.02109238, 0.07113478 and 0.68873558, scales by
  // 2 / 32767 and subtracts the weights' sum 0.78096274.
  Korvane::Random15 random(2024);
  Korvane::Random15 reference(2024);
  Korvane::PinkNoiseState s;
  double x = 0.0, y = 0.0, z = 0.0;
  for (int i = 0; i < 5000; ++i)
  {
    const double r1 = reference.next(), r2 = reference.next(), r3 = reference.next();
    x = (x - r1) * 0.319 + r1;
    y = (y - r2) * 0.7756 + r2;
    z = (z - r3) * 0.9613 + r3;
    const double expected =
        (0.02109238 * x + 0.07113478 * y + 0.68873558 * z) * 2.0 / 32767.0 - 0.78096274;
    ASSERT_DOUBLE_EQ(Noise::pink(random, s), expected) << i;
  }
  EXPECT_DOUBLE_EQ(s.x, x);
  EXPECT_DOUBLE_EQ(s.z, z);
}
