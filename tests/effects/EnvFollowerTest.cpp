#include "effects/meter/EnvFollower.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using Korvane::EnvFollower;

namespace
{

void feed(EnvFollower& follower, double x, int frames)
{
  const std::vector<double> block(std::size_t(frames), x);
  follower.process(block.data(), block.data(), frames);
}

} // namespace

// A full-scale step reaches 1 - 1/e after the 0.3 s attack, and falls back to 1/e of
// that after the 0.3 s release, at every rate; samples above full scale count as 1.
TEST(EnvFollower, StepRisesAndFallsWithTheThreeTenthsSecondTimeConstants)
{
  for (double rate : {44100.0, 48000.0, 96000.0})
  {
    EnvFollower follower;
    follower.setSampleRate(rate);
    const int tau = int(0.3 * rate);
    feed(follower, 1.0, tau);
    EXPECT_NEAR(follower.getEnvLeft(), 1.0 - std::exp(-1.0), 1e-9) << rate;
    EXPECT_NEAR(follower.getEnvRight(), 1.0 - std::exp(-1.0), 1e-9) << rate;
    const double peak = follower.getEnvLeft();
    feed(follower, 0.0, tau);
    EXPECT_NEAR(follower.getEnvLeft(), peak * std::exp(-1.0), 1e-9) << rate;

    EnvFollower loud;
    loud.setSampleRate(rate);
    feed(loud, -4.0, 20 * tau); // |x| limited to 1
    EXPECT_NEAR(loud.getEnvLeft(), 1.0, 1e-8) << rate;
    EXPECT_LE(loud.getEnvLeft(), 1.0) << rate;
  }
}

// Each decay call multiplies by the release coefficient trunc(trunc(0.3 * rate) / 20)
// times: 661 steps of exp(-1 / 13230) at 44.1 kHz.
TEST(EnvFollower, DecayFallsByAboutOneTwentiethOfATimeConstant)
{
  EnvFollower follower;
  follower.setSampleRate(44100.0);
  feed(follower, 1.0, 100000);
  const double start = follower.getEnvLeft();
  follower.decay();
  EXPECT_NEAR(follower.getEnvLeft(), start * std::exp(-661.0 / 13230.0), 1e-12);
  EXPECT_NEAR(follower.getEnvRight(), start * std::exp(-661.0 / 13230.0), 1e-12);
}

// Infinite samples count as full scale and NaN as silence; a bad rate is refused.
TEST(EnvFollower, NonFiniteSamplesAndRatesLeaveItFinite)
{
  EnvFollower follower;
  const double coef = follower.getReleaseCoef();
  follower.setSampleRate(std::numeric_limits<double>::quiet_NaN());
  follower.setSampleRate(0.0);
  EXPECT_EQ(follower.getReleaseCoef(), coef);
  EXPECT_EQ(follower.getSampleRate(), 44100.0);
  const double left[] = {std::numeric_limits<double>::infinity(), 0.5};
  const double right[] = {std::numeric_limits<double>::quiet_NaN(), 0.5};
  follower.process(left, right, 2);
  EXPECT_TRUE(std::isfinite(follower.getEnvLeft()));
  EXPECT_TRUE(std::isfinite(follower.getEnvRight()));
  EXPECT_GT(follower.getEnvLeft(), follower.getEnvRight());
}
