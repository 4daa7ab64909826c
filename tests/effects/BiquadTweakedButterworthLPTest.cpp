#include "effects/oscfilter/BiquadTweakedButterworthLP.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

using Filter = Korvane::BiquadTweakedButterworthLP<double>;

namespace
{

double gainAt(const Filter& f, double fraction)
{
  const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * fraction);
  return std::abs((f.b0 + f.b1 * z1 + f.b2 * z1 * z1) / (1.0 + f.a1 * z1 + f.a2 * z1 * z1));
}

} // namespace

TEST(BiquadTweakedButterworthLP, ResonanceZeroIsAButterworthLowPass)
{
  Filter f;
  double y = 0.0;
  for (int i = 0; i < 2000; ++i)
    y = f.process(1.0, 0.3, 0.0);
  EXPECT_NEAR(y, 1.0, 1e-9); // unity at DC, through the running filter
  EXPECT_NEAR(gainAt(f, 0.3 * 0.5 * 0.957), std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(gainAt(f, 0.5), 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(f.b1, 2.0 * f.b0);
}

TEST(BiquadTweakedButterworthLP, KeepsOnePercentDampingAtFullResonance)
{
  Filter f;
  f.process(0.1, 0.4, 1.0);
  const double k = std::tan(std::numbers::pi * 0.4 * 0.5 * 0.957);
  const double d = std::sqrt(2.0) * 0.01;
  // Pole radius below 1: the filter rings but does not run away.
  EXPECT_LT(f.a2, 1.0);
  EXPECT_NEAR(f.a2, (k * k - d * k + 1.0) / (k * k + d * k + 1.0), 1e-12);
}

TEST(BiquadTweakedButterworthLP, CoefficientsFollowACutoffThatMovesEverySample)
{
  Filter moving, fresh;
  for (int i = 0; i < 100; ++i)
  {
    const double c = 0.05 + 0.009 * i;
    moving.process(0.5, c, 0.3);
    fresh.reset();
    fresh.process(0.5, c, 0.3);
    ASSERT_EQ(moving.b0, fresh.b0) << i;
    ASSERT_EQ(moving.a1, fresh.a1) << i;
  }
  moving.process(0.0, 0.0, 0.0);
  EXPECT_NEAR(gainAt(moving, 1e-4), std::sqrt(0.5), 1e-9);
}
