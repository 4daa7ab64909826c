#include "effects/distortion/DistortionCurve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using Korvane::DistortionCurve;

namespace
{

// The input at which lookup lands on point `pos` (fractional).
double inputAt(double pos) { return 2.0 * pos / 511.0 - 1.0; }

// Points 99..102 = 0.1, 0.2, 0.6, 0.4; point 0 = -0.7, 510 = 0.3, 511 = 0.9.
DistortionCurve testCurve(int mode)
{
  DistortionCurve c;
  c.points.fill(0.0);
  c.points[99] = 0.1;
  c.points[100] = 0.2;
  c.points[101] = 0.6;
  c.points[102] = 0.4;
  c.points[0] = -0.7;
  c.points[510] = 0.3;
  c.points[511] = 0.9;
  c.interpolation = mode;
  return c;
}

} // namespace

TEST(DistortionCurve, StartsAsTheIdentityWithHermiteInterpolation)
{
  DistortionCurve c;
  EXPECT_EQ(c.interpolation, DistortionCurve::kHermite);
  EXPECT_EQ(c.points[0], -1.0);
  EXPECT_EQ(c.points[511], 1.0);
  EXPECT_NEAR(c.points[256], 1.0 / 511.0, 1e-15);
  EXPECT_NEAR(c.lookup(0.3), 0.3, 1e-12);
}

// Between points 100 (t = 0) and 101 (t = 1), with neighbours 99 and 102; values worked
// out by hand from the five interpolation formulas.
TEST(DistortionCurve, LookupInterpolatesByMode)
{
  struct Row
  {
    int mode;
    double t;
    double expected;
  };
  const Row rows[] = {
      {0, 1e-9, 0.2},    {0, 0.5, 0.2},    {0, 0.999, 0.2},
      {1, 0.0, 0.2},     {1, 0.5, 0.4},    {1, 1.0, 0.6},
      {2, 0.0, 0.2},     {2, 0.5, 0.4},    {2, 0.25, 0.2 + 0.4 * (1 - std::cos(M_PI / 4)) / 2},
      {2, 1.0, 0.6},     {3, 0.0, 0.2},    {3, 0.5, 0.4375},  // a0 = -0.1
      {3, 1.0, 0.6},     {4, 0.0, 0.2},    {4, 0.5, 0.41875}, // m0 = 0.25, m1 = 0.1
      {4, 1.0, 0.6},     {7, 0.5, 0.4375},                    // any other mode is cubic
      {-1, 0.5, 0.4375},
  };
  for (const Row& r : rows)
  {
    const DistortionCurve c = testCurve(r.mode);
    EXPECT_NEAR(c.lookup(inputAt(100.0 + r.t)), r.expected, 1e-9)
        << "mode " << r.mode << " t " << r.t;
  }
}

TEST(DistortionCurve, LookupAtAndBeyondTheEndsReturnsTheEndPoints)
{
  for (int mode = 0; mode <= 5; ++mode)
  {
    const DistortionCurve c = testCurve(mode);
    EXPECT_DOUBLE_EQ(c.lookup(-1.0), -0.7) << mode;
    EXPECT_DOUBLE_EQ(c.lookup(1.0), 0.9) << mode;
    EXPECT_DOUBLE_EQ(c.lookup(-3.0), -0.7) << mode;
    EXPECT_DOUBLE_EQ(c.lookup(2.0), 0.9) << mode;
    EXPECT_TRUE(std::isfinite(c.lookup(std::nan(""))));
  }
}

TEST(DistortionCurve, CommandsEditThePoints)
{
  // Smoothing a flat zero curve: the forward pass leaves -0.25 / 2^(k+1), the backward
  // pass sums that to -1/(12 * 2^k) at the start and brings 0.125, 0.0625 in at the end.
  DistortionCurve c;
  c.points.fill(0.0);
  EXPECT_TRUE(c.applyCommand(DistortionCurve::kSmooth, nullptr));
  EXPECT_NEAR(c.points[0], -1.0 / 12.0, 1e-12);
  EXPECT_NEAR(c.points[1], -1.0 / 24.0, 1e-12);
  EXPECT_NEAR(c.points[511], 0.125, 1e-12);
  EXPECT_NEAR(c.points[510], 0.0625, 1e-12);

  // The zero-crossing fade scales points 255 - i and 256 + i by i/8.
  c.applyCommand(DistortionCurve::kResetLinear, nullptr);
  EXPECT_TRUE(c.applyCommand(DistortionCurve::kSmoothZeroCrossing, nullptr));
  EXPECT_EQ(c.points[255], 0.0);
  EXPECT_EQ(c.points[256], 0.0);
  EXPECT_NEAR(c.points[257], (2.0 * 257 / 511 - 1) / 8.0, 1e-15);
  EXPECT_NEAR(c.points[248], (2.0 * 248 / 511 - 1) * 7.0 / 8.0, 1e-15);
  EXPECT_NEAR(c.points[264], 2.0 * 264 / 511 - 1, 1e-15);

  // Codes without a command change nothing.
  const DistortionCurve::Points before = c.points;
  for (int code : {-1, 2, 4, 5, 6, 7, 9, 10, 11, 13, 99})
    EXPECT_FALSE(c.applyCommand(code, nullptr)) << code;
  EXPECT_EQ(c.points, before);

  // Restore copies the given table; reset brings back the identity.
  DistortionCurve::Points table;
  table.fill(0.25);
  c.applyCommand(DistortionCurve::kRestore, &table);
  EXPECT_EQ(c.points, table);
  c.applyCommand(DistortionCurve::kResetLinear, nullptr);
  EXPECT_EQ(c.points, DistortionCurve().points);

  // Noise moves each point by at most 0.0777 and stays within -1..+1.
  std::srand(7);
  c.applyCommand(DistortionCurve::kAddNoise, nullptr);
  int moved = 0;
  for (int k = 0; k < 512; ++k)
  {
    const double identity = 2.0 * k / 511 - 1;
    EXPECT_LE(std::fabs(c.points[k] - identity), 0.0777 + 1e-12);
    EXPECT_LE(std::fabs(c.points[k]), 1.0);
    moved += c.points[k] != identity;
  }
  EXPECT_GT(moved, 400);
}

TEST(DistortionCurve, TextHoldsExactly512FixedNumbers)
{
  DistortionCurve c;
  const std::string text = c.exportText();
  EXPECT_EQ(text.substr(0, 14), "-1.0000000000,");
  EXPECT_EQ(text.substr(text.size() - 13), ",1.0000000000");
  EXPECT_EQ(std::count(text.begin(), text.end(), ','), 511);

  std::string scaled;
  for (int k = 0; k < 512; ++k)
    scaled += (k ? "," : "") + std::to_string(0.5 * (2.0 * k / 511 - 1));
  EXPECT_TRUE(c.importText(scaled));
  EXPECT_NEAR(c.points[511], 0.5, 1e-6);
  EXPECT_NEAR(c.points[0], -0.5, 1e-6);

  // 511 or 513 numbers, a word, an empty field or a non-finite number: no change.
  const DistortionCurve::Points kept = c.points;
  const std::string noNumber = scaled.substr(0, scaled.rfind(','));
  for (const std::string& bad :
       {noNumber, scaled + ",0.1",
        scaled.substr(0, scaled.find(',')) + ",x" + scaled.substr(scaled.find(',')), noNumber + ",",
        noNumber + ",nan", noNumber + ",inf", std::string()})
  {
    EXPECT_FALSE(c.importText(bad));
    EXPECT_EQ(c.points, kept);
  }
  std::vector<double> values(513, 0.0);
  EXPECT_FALSE(c.importValues(values.data(), 511));
  EXPECT_FALSE(c.importValues(values.data(), 513));
  EXPECT_EQ(c.points, kept);
  EXPECT_TRUE(c.importValues(values.data(), 512));
  EXPECT_EQ(c.points[7], 0.0);

  // Any finite point, however large, is written whole and reads back exactly.
  c.points[3] = -2.2e91;
  c.points[4] = 1.7976931348623157e308;
  const DistortionCurve::Points wide = c.points;
  EXPECT_TRUE(c.importText(c.exportText()));
  EXPECT_EQ(c.points, wide);
}
