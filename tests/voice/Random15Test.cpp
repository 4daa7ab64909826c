#include "voice/Random15.h"

#include <gtest/gtest.h>

#include <algorithm>

using Korvane::Random15;

TEST(Random15, MatchesTheClassicSequenceForSeedOne)
{
  // The well-known first values of this generator (the C runtime's rand() after srand(1)).
  Random15 r(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int e : expected)
    EXPECT_EQ(r.next(), e);
}

TEST(Random15, ReseedingRepeatsTheSequenceAndValuesStayIn15Bits)
{
  Random15 a(1800);
  int first[64];
  for (int& v : first)
    v = a.next();
  a.seed(1800);
  for (int v : first)
    EXPECT_EQ(a.next(), v);

  Random15 b(0xFFFFFFFFu);
  int low = 32767, high = 0;
  for (int i = 0; i < 100000; ++i)
  {
    const int v = b.next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
    low = std::min(low, v);
    high = std::max(high, v);
  }
  EXPECT_LT(low, 10);
  EXPECT_GT(high, 32757);
}

TEST(Random15, StateFollowsTheCongruence)
{
  Random15 r(1800);
  r.next();
  EXPECT_EQ(r.getState(), 1800u * 214013u + 2531011u);
}
