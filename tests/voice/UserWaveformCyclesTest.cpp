#include "voice/UserWaveformCycles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Korvane::UserWaveformCycles;

namespace
{

constexpr int kN = UserWaveformCycles::kLength;

struct Shipped
{
  std::vector<double> data =
      std::vector<double>(static_cast<std::size_t>(UserWaveformCycles::kCount) * kN);
  Shipped() { UserWaveformCycles::generate(data.data()); }
  const double* cycle(int u) const { return data.data() + static_cast<std::size_t>(u) * kN; }
};

// Correlation of two cycles with their means removed.
double correlation(const double* a, const double* b)
{
  double ma = 0, mb = 0;
  for (int i = 0; i < kN; ++i)
  {
    ma += a[i];
    mb += b[i];
  }
  ma /= kN;
  mb /= kN;
  double ab = 0, aa = 0, bb = 0;
  for (int i = 0; i < kN; ++i)
  {
    ab += (a[i] - ma) * (b[i] - mb);
    aa += (a[i] - ma) * (a[i] - ma);
    bb += (b[i] - mb) * (b[i] - mb);
  }
  return ab / std::sqrt(aa * bb);
}

} // namespace

TEST(UserWaveformCycles, SixteenFiniteCyclesWithPeakAboutOne)
{
  Shipped s;
  for (int u = 0; u < UserWaveformCycles::kCount; ++u)
  {
    double peak = 0.0, energy = 0.0;
    for (int i = 0; i < kN; ++i)
    {
      const double v = s.cycle(u)[i];
      ASSERT_TRUE(std::isfinite(v)) << u;
      peak = std::max(peak, std::abs(v));
      energy += v * v;
    }
    EXPECT_NEAR(peak, UserWaveformCycles::kPeak, 1e-12) << "User" << u + 1;
    EXPECT_GT(std::sqrt(energy / kN), 0.15) << "User" << u + 1 << " is too quiet to be useful";
  }
}

TEST(UserWaveformCycles, AllSixteenAreDistinctShapes)
{
  Shipped s;
  for (int a = 0; a < UserWaveformCycles::kCount; ++a)
    for (int b = a + 1; b < UserWaveformCycles::kCount; ++b)
      EXPECT_LT(std::abs(correlation(s.cycle(a), s.cycle(b))), 0.95)
          << "User" << a + 1 << " and User" << b + 1;
}

TEST(UserWaveformCycles, GenerationIsReproducibleAndOneMatchesAll)
{
  Shipped a, b;
  EXPECT_EQ(a.data, b.data);
  std::vector<double> one(kN);
  UserWaveformCycles::generateOne(15, one.data());
  for (int i = 0; i < kN; ++i)
    ASSERT_EQ(one[static_cast<std::size_t>(i)], a.cycle(15)[i]);
}

TEST(UserWaveformCycles, ShapesHaveTheirCharacter)
{
  Shipped s;
  // The half-wave sine is silent for the second half of its cycle.
  for (int i = kN / 2 + 1; i < kN; ++i)
    ASSERT_EQ(s.cycle(11)[i], 0.0) << i;
  EXPECT_NEAR(s.cycle(11)[kN / 4], UserWaveformCycles::kPeak, 1e-12);
  // The stepped sine holds seven levels only.
  std::vector<double> levels;
  for (int i = 0; i < kN; ++i)
  {
    const double v = s.cycle(13)[i];
    bool known = false;
    for (double l : levels)
      known = known || std::abs(l - v) < 1e-9;
    if (!known)
      levels.push_back(v);
  }
  EXPECT_EQ(levels.size(), 7u);
  // The FM bass starts at 0 and is periodic: the ends meet.
  EXPECT_NEAR(s.cycle(6)[0], 0.0, 1e-12);
  EXPECT_NEAR(s.cycle(6)[kN - 1], s.cycle(6)[0], 0.01);
}
