#include "effects/oscfilter/BiquadTweakedButterworthHP.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

using Filter = Korvane::BiquadTweakedButterworthHP<double>;

namespace
{

// Magnitude of the held coefficient set at a frequency given as a fraction of the rate.
double gainAt(const Filter& f, double fraction)
{
  const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * fraction);
  return std::abs((f.b0 + f.b1 * z1 + f.b2 * z1 * z1) / (1.0 + f.a1 * z1 + f.a2 * z1 * z1));
}

// Amplitude that a sine at `fraction` of the rate has after passing the filter.
double measuredGain(Filter& f, double fraction, double cutoff, double resonance)
{
  double peak = 0.0;
  for (int i = 0; i < 20000; ++i)
  {
    const double y = f.process(std::sin(2.0 * std::numbers::pi * fraction * i), cutoff, resonance);
    if (i > 10000)
      peak = std::max(peak, std::fabs(y));
  }
  return peak;
}

} // namespace

TEST(BiquadTweakedButterworthHP, ResonanceZeroIsAButterworthHighPassAtHalfTheScaledCutoff)
{
  Filter f;
  const double fc = 0.6 * 0.5 * 0.957;
  EXPECT_NEAR(measuredGain(f, fc, 0.6, 0.0), std::sqrt(0.5), 2e-3);
  EXPECT_NEAR(gainAt(f, fc), std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(gainAt(f, 0.0), 0.0, 1e-12);
  EXPECT_NEAR(gainAt(f, 0.5), 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(f.b1, -2.0 * f.b0);
  EXPECT_DOUBLE_EQ(f.b2, f.b0);
}

TEST(BiquadTweakedButterworthHP, ResonanceOneRemovesTheDampingAndAboveOneIsNotLimited)
{
  Filter f;
  f.process(0.1, 0.4, 1.0);
  EXPECT_NEAR(f.a2, 1.0, 1e-15); // poles on the unit circle
  f.process(0.1, 0.4, 1.2);
  EXPECT_GT(f.a2, 1.0);
}

TEST(BiquadTweakedButterworthHP, CutoffRangeAndPerSampleCoefficients)
{
  Filter f;
  f.process(0.0, 0.0, 0.0);
  EXPECT_NEAR(gainAt(f, 1e-4), std::sqrt(0.5), 1e-9);
  f.process(0.0, -1.0, 0.0);
  EXPECT_NEAR(gainAt(f, 1e-4), std::sqrt(0.5), 1e-9);
  f.process(0.0, 1.0, 0.0);
  EXPECT_NEAR(gainAt(f, 0.4785), std::sqrt(0.5), 1e-9);
  f.process(0.0, 3.0, 0.0); // beyond the range: held at the top instead of folding over
  EXPECT_NEAR(gainAt(f, 0.4785), std::sqrt(0.5), 1e-9);
  f.cutoffCurve = 1;
  f.process(0.0, 0.5, 0.0);
  EXPECT_NEAR(gainAt(f, 0.25 * 0.5 * 0.957), std::sqrt(0.5), 1e-9);

  // A reset clears the memories and the coefficients; the next sample, even at the
  // same cutoff, computes them again.
  const double b0 = f.b0;
  f.reset();
  EXPECT_EQ(f.b0, 0.0);
  EXPECT_EQ(f.x1, 0.0);
  f.setType(2);
  f.setSampleRate(96000.0);
  const double y = f.process(1.0, 0.5, 0.0);
  EXPECT_EQ(f.b0, b0);
  EXPECT_EQ(y, b0);
  EXPECT_EQ(f.sampleRate, 96000.0);
}
