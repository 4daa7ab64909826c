#include "voice/SampleChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace Korvane::SampleChecks;

// Each special value at every position of stretches of 1 to 9 otherwise plain values
// (the vector pairs and the odd tail) gives what the value alone says.
TEST(SampleChecks, EverySpecialValueIsFoundAtEveryPosition)
{
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case
  {
    double value;
    bool zeroOrUndefined; // either sign of zero counts
    bool minusZeroOrUndefined;
    bool finiteUnsigned;
  };
  const Case cases[] = {
      {0.25, false, false, true},
      {-0.25, false, false, false},
      {0.0, true, false, true},
      {-0.0, true, true, false},
      {4.9e-324, false, false, true}, // the smallest subnormal
      {-4.9e-324, false, false, false},
      {std::numeric_limits<double>::max(), false, false, true},
      {kInf, true, true, false},
      {-kInf, true, true, false},
      {std::nan(""), true, true, false},
      {-std::nan(""), true, true, false},
  };
  for (const Case& c : cases)
    for (int m = 1; m <= 9; ++m)
      for (int at = 0; at < m; ++at)
      {
        std::vector<double> v(std::size_t(m), 0.5);
        v[std::size_t(at)] = c.value;
        EXPECT_EQ(anyZeroOrUndefined(v.data(), m, false), c.zeroOrUndefined)
            << c.value << " at " << at << " of " << m;
        EXPECT_EQ(anyZeroOrUndefined(v.data(), m, true), c.minusZeroOrUndefined)
            << c.value << " at " << at << " of " << m;
        EXPECT_EQ(allFiniteUnsigned(v.data(), m), c.finiteUnsigned)
            << c.value << " at " << at << " of " << m;
      }
}
