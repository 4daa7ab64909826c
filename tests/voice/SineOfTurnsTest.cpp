#include "voice/SineOfTurns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <numbers>

using Korvane::sineOfTurns;

TEST(SineOfTurns, FollowsTheLibrarySineOverTheTurn)
{
  // A dense grid over a turn (and the phases just outside it that a fold meets), against
  // std::sin of the same phase in radians: a few units in the last place of full scale.
  double worst = 0.0;
  for (int i = -1000; i <= 1001000; ++i)
  {
    const double t = i / 1000000.0;
    worst = std::max(worst, std::abs(sineOfTurns(t) - std::sin(2.0 * std::numbers::pi * t)));
  }
  EXPECT_LT(worst, 2e-15);
}

TEST(SineOfTurns, KeepsTheZerosExactAndThePeaksWithinOneUnit)
{
  const struct
  {
    double t, expected, tolerance;
  } kCases[] = {{0.0, 0.0, 0.0},
                {0.5, 0.0, 0.0},
                {1.0, 0.0, 0.0},
                {0.25, 1.0, 2.3e-16},
                {0.75, -1.0, 2.3e-16}};
  for (const auto& c : kCases)
    EXPECT_NEAR(sineOfTurns(c.t), c.expected, c.tolerance) << c.t;
}

TEST(SineOfTurns, InVectorLanesGivesTheSameBits)
{
  // Phases over the turn, at the folds, negative, beyond 2^31 and undefined, in a count
  // that leaves a remainder for both vector widths; in four and in two lanes.
  const double phases[] = {0.0,   0.25,  0.5,     0.75, 0.999999, 1e-300, 0.2500001,
                           -0.3,  1.75,  3.0e9,   0.1,  -2.0e9,   0.6,    std::nan(""),
                           0.125, 0.375, 0.62345, 0.9,  0.4999999};
  constexpr int kCount = int(std::size(phases));
  for (const bool narrow : {false, true})
  {
    double lanes[kCount];
    Korvane::sinesOfTurns(phases, lanes, kCount, narrow);
    for (int i = 0; i < kCount; ++i)
    {
      const double alone = sineOfTurns(phases[i]);
      EXPECT_EQ(std::memcmp(&lanes[i], &alone, sizeof alone), 0)
          << "phase " << phases[i] << (narrow ? " (two lanes)" : "");
    }
  }
}
