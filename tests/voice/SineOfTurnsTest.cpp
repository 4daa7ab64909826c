#include "voice/SineOfTurns.h"

#include <gtest/gtest.h>

#include <cmath>
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
