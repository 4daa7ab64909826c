#include "effects/distortion/DistortionTypes.h"
#include "effects/dynamics/SaturationTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using Korvane::DistortionTypes;
using Korvane::SaturationTables;
using Points = Korvane::DistortionCurve::Points;

namespace
{

double inputOf(int k) { return 2.0 * k / 511.0 - 1.0; }

// The curve points of the telling inputs -1, -0.5, -0.25, -0.1, 0.1, 0.25, 0.5, 0.75, 1.
constexpr int kTellingPoints[9] = {0, 128, 192, 230, 281, 319, 383, 447, 511};

enum Shape
{
  kAny,
  kIdentity,
  kSmooth,      // few turns: a drawn line, not a ripple
  kMonotonic,   // never falls, and smooth
  kJagged,      // a fuzz: many small turns
  kCompressor,  // identity to 0.5, then slope about 0.225
  kFullClip,    // +-1 but the centre points at +-0.44
  kInvertDrive, // +-0.5 at the centre, +-1 beside it, straight down to 0 at +-1
  kNoiseGate,   // 0 up to 0.255, identity less 0.004 from 0.5
  kSaturation,  // monotonic, centre +-0.0075, slope about 1.9 when quiet
};

struct Row
{
  bool odd;
  Shape shape;
  double telling[9];
};

const char* const kNames[36] = {
    "Linear",           "Compressor",       "Soft-Knie Compressor",
    "Hard-Overload",    "KVSigmoid1-Drive", "KVSigmoid2-Drive",
    "KVSigmoid3-Drive", "Typhoon-Fuzz",     "Tosk-Fuzz",
    "Drenn-Fuzz 1",     "Drenn-Fuzz 2",     "Soft-Tube-Distort",
    "Tube-Distort",     "Transistor 1",     "Full-Clip",
    "Fuzz-Drive1",      "Hardcore-Fuzz1",   "Hardcore-Fuzz2",
    "Hardcore-Fuzz3",   "Hardcore-Fuzz4",   "Industrial-Fuzz1",
    "Korvane-Drive1",   "Korvane-Drive2",   "Korvane-Drive3",
    "Korvane-Drive4",   "GrimHowl-Fuzz 1",  "GrimHowl-Fuzz 2",
    "GrimHowl-Fuzz 3",  "Invert-and-Drive", "Big-Bad-Drive",
    "Big-Fat-Drive",    "ViciousViper",     "AssKicking",
    "TigersBlood",      "MadDog",           "Noise-Gate 1",
};

// The designed tables, with their telling values as the instrument's design gives
// them (types 16 to 24 are the generators' stored tables).
const Row kTypes[36] = {
    {true, kIdentity, {-1.000, -0.499, -0.249, -0.100, 0.100, 0.249, 0.499, 0.750, 1.000}},
    {true, kCompressor, {-0.612, -0.499, -0.249, -0.100, 0.100, 0.249, 0.499, 0.556, 0.612}},
    {true, kMonotonic, {-0.777, -0.529, -0.266, -0.108, 0.108, 0.266, 0.529, 0.710, 0.777}},
    {false, kMonotonic, {-1.000, -0.990, -0.971, -0.919, 0.915, 0.970, 0.990, 0.997, 1.000}},
    {false, kSmooth, {-0.985, -0.482, -0.530, -0.559, 0.568, 0.495, 0.509, 0.357, 0.985}},
    {false, kSmooth, {-0.670, -0.745, -0.531, 0.099, -0.077, 0.524, 0.734, 0.462, 0.670}},
    {false, kSmooth, {-0.670, -0.745, -0.531, 0.099, 0.568, 0.495, 0.509, 0.357, 0.985}},
    {false, kJagged, {-0.619, -1.000, 0.000, 0.000, 0.000, 0.031, 0.986, 0.893, 0.619}},
    {false, kJagged, {-0.997, -0.714, -0.302, 0.027, -0.036, 0.294, 0.708, 0.690, 0.997}},
    {false, kJagged, {-0.979, -0.500, -0.250, -0.444, 0.435, 0.264, 0.479, 0.764, 0.979}},
    {false, kJagged, {-1.156, -0.500, -0.376, -0.342, 0.435, 0.264, 0.479, 0.764, 0.979}},
    {false, kSmooth, {-0.996, -1.000, -0.780, -0.383, 0.370, 0.773, 1.000, 0.928, 0.996}},
    {false, kSmooth, {-0.729, -0.970, -0.485, -0.197, 0.189, 0.477, 0.962, 0.851, 0.729}},
    {false, kSmooth, {-0.839, -0.342, -0.135, -0.090, 0.087, 0.135, 0.335, 0.744, 0.839}},
    {true, kFullClip, {-1.000, -1.000, -1.000, -1.000, 1.000, 1.000, 1.000, 1.000, 1.000}},
    {false, kMonotonic, {-0.999, -0.875, -0.750, -0.588, 0.580, 0.747, 0.874, 0.947, 0.999}},
    {false, kAny, {-1.000, -0.750, -0.577, 0.000, 1.000, 0.494, 0.494, 0.894, 1.000}},
    {false, kAny, {-1.000, -0.700, -0.391, -1.000, 0.000, 0.380, 1.000, 1.000, 1.000}},
    {false, kAny, {-0.742, -0.272, 0.306, -0.674, 0.652, -0.355, 0.215, 0.627, 0.769}},
    {false, kAny, {-0.572, -0.287, -0.258, -0.493, 0.469, 1.000, 0.831, 0.659, 0.608}},
    {false, kAny, {-1.000, -0.427, -0.018, -0.009, 0.242, 0.577, 0.375, 1.000, 1.000}},
    {false, kAny, {-0.998, -0.750, -0.625, 0.687, -0.694, 0.548, 0.698, 0.848, 0.998}},
    {false, kAny, {-1.000, -0.500, -0.625, 0.247, -0.042, 0.634, 0.449, 0.896, 1.000}},
    {false, kAny, {-0.996, -0.500, -0.051, -0.090, 0.108, -0.070, 0.500, 0.778, 0.996}},
    {false, kAny, {-0.996, -0.875, 0.031, -0.519, 0.508, 0.007, 0.852, 0.719, 0.996}},
    {false, kJagged, {-0.016, -0.198, -0.201, -0.412, 0.305, 0.198, 0.579, 0.565, 1.000}},
    {false, kJagged, {-0.676, -0.051, -0.598, -0.131, 0.365, 0.215, 0.214, 0.152, 0.015}},
    {false, kJagged, {-1.000, -0.546, -0.167, -0.291, 0.150, 0.650, 0.063, 0.780, 0.676}},
    {true, kInvertDrive, {0.000, -0.504, -0.756, -0.906, 0.906, 0.756, 0.504, 0.252, 0.000}},
    {false, kJagged, {-0.209, -0.246, -0.002, -0.506, 0.484, 0.014, 0.211, 0.398, 0.210}},
    {false, kJagged, {-0.863, -0.098, -0.738, -0.590, 0.557, 0.763, 0.105, 0.603, 0.865}},
    {false, kJagged, {-1.000, -0.254, 0.127, -0.394, 0.496, -0.076, 0.287, 0.650, 1.000}},
    {false, kJagged, {-1.000, -0.252, 0.126, 0.286, -0.171, 0.058, 0.343, 0.900, 1.000}},
    {false, kJagged, {-1.000, -0.278, -0.816, -0.786, 1.110, -0.617, 1.072, 0.457, 1.000}},
    {false, kJagged, {-0.974, -0.724, -0.738, -0.785, 1.001, 0.292, 0.465, 0.762, 0.966}},
    {false, kNoiseGate, {-0.996, -0.500, 0.000, 0.000, 0.000, 0.000, 0.496, 0.746, 0.996}},
};

// The master saturation and the filter input drive.
const Row kSaturations[2] = {
    {true, kSaturation, {-1.000, -0.769, -0.418, -0.185, 0.185, 0.418, 0.769, 0.970, 1.000}},
    {true, kSmooth, {-0.990, -0.430, -0.442, -0.068, 0.068, 0.442, 0.430, 0.868, 0.990}},
};

// Local peaks and dips: where the curve turns from rising to falling or back.
int turns(const Points& p)
{
  int count = 0;
  int lastDirection = 0;
  for (int k = 1; k < 512; ++k)
  {
    const double d = p[k] - p[k - 1];
    const int direction = d > 1e-9 ? 1 : d < -1e-9 ? -1 : 0;
    if (direction != 0 && lastDirection != 0 && direction != lastDirection)
      ++count;
    if (direction != 0)
      lastDirection = direction;
  }
  return count;
}

bool monotonic(const Points& p)
{
  for (int k = 1; k < 512; ++k)
    if (p[k] < p[k - 1])
      return false;
  return true;
}

void checkTable(const Row& row, const Points& p)
{
  for (int i = 0; i < 9; ++i)
    EXPECT_NEAR(p[kTellingPoints[i]], row.telling[i], 0.01) << "telling input " << i;
  bool odd = true;
  double largest = 0.0;
  for (int k = 0; k < 512; ++k)
  {
    odd = odd && std::fabs(p[k] + p[511 - k]) < 1e-12;
    largest = std::max(largest, std::fabs(p[k]));
    ASSERT_TRUE(std::isfinite(p[k]));
  }
  EXPECT_EQ(odd, row.odd);
  // Designed tables stay within -1..+1 or the telling value that reaches past it
  // (the Korvane drives' sums of sinusoids reach further by their formulas).
  double reach = 1.0;
  for (double v : row.telling)
    reach = std::max(reach, std::fabs(v));
  if (row.shape != kAny)
  {
    EXPECT_LE(largest, reach + 1e-12);
  }

  switch (row.shape)
  {
  case kIdentity:
    for (int k = 0; k < 512; ++k)
      EXPECT_NEAR(p[k], inputOf(k), 1e-12);
    break;
  case kSmooth:
    EXPECT_LE(turns(p), 8);
    break;
  case kMonotonic:
    EXPECT_TRUE(monotonic(p));
    EXPECT_LE(turns(p), 0);
    break;
  case kJagged:
    EXPECT_GE(turns(p), 30);
    break;
  case kCompressor:
    for (int k = 0; k < 512; ++k)
      if (std::fabs(inputOf(k)) <= 0.5)
      {
        EXPECT_NEAR(p[k], inputOf(k), 1e-12);
      }
    EXPECT_NEAR((p[511] - p[384]) / (1.0 - inputOf(384)), 0.225, 0.005);
    EXPECT_TRUE(monotonic(p));
    break;
  case kFullClip:
    for (int k = 0; k < 512; ++k)
      EXPECT_EQ(p[k], k == 255 ? -0.44 : k == 256 ? 0.44 : k < 256 ? -1.0 : 1.0) << k;
    break;
  case kInvertDrive:
    EXPECT_EQ(p[256], 0.5);
    EXPECT_EQ(p[257], 1.0);
    EXPECT_EQ(p[254], -1.0);
    EXPECT_EQ(p[511], 0.0);
    for (int k = 300; k < 512; k += 10) // falls linearly
      EXPECT_NEAR(p[k] - p[k - 10], p[310] - p[300], 1e-9);
    break;
  case kNoiseGate:
    for (int k = 0; k < 512; ++k)
    {
      const double x = inputOf(k);
      if (std::fabs(x) <= 0.25)
      {
        EXPECT_EQ(p[k], 0.0) << k;
      }
      if (x >= 0.5)
      {
        EXPECT_NEAR(p[k], x - 0.004, 0.002) << k;
      }
      if (x <= -0.51)
      {
        EXPECT_NEAR(p[k], x + 0.004, 0.006) << k;
      }
    }
    EXPECT_GT(p[383] - p[321], 0.4); // from 0 to the identity within a quarter
    EXPECT_TRUE(monotonic(p));
    break;
  case kSaturation:
    EXPECT_TRUE(monotonic(p));
    EXPECT_EQ(p[256], 0.0075);
    EXPECT_EQ(p[255], -0.0075);
    EXPECT_NEAR(p[270] / inputOf(270), 1.9, 0.25);
    break;
  case kAny:
    break;
  }
}

} // namespace

TEST(DistortionTypes, StoredTablesMeetTheirTellingValuesSymmetryAndShape)
{
  for (int type = 0; type < 36; ++type)
  {
    SCOPED_TRACE(kNames[type]);
    EXPECT_STREQ(DistortionTypes::name(type), kNames[type]);
    checkTable(kTypes[type], DistortionTypes::storedTable(type));
  }
  for (int kind = 0; kind < 2; ++kind)
  {
    SCOPED_TRACE(kind);
    checkTable(kSaturations[kind], SaturationTables::table(kind));
  }
  EXPECT_FALSE(monotonic(SaturationTables::table(1)));
}

TEST(DistortionTypes, NamesAliasesAndIndicesOutsideTheRange)
{
  EXPECT_EQ(DistortionTypes::indexFromName("Tosk-Fuzz"), 8);
  EXPECT_EQ(DistortionTypes::indexFromName("Noise-Gate 1"), 35);
  EXPECT_EQ(DistortionTypes::indexFromName("Fuzz-Drive"), 15);
  EXPECT_EQ(DistortionTypes::indexFromName("Korvane-Drive"), 21);
  EXPECT_EQ(DistortionTypes::indexFromName("Linear"), 0);
  EXPECT_EQ(DistortionTypes::indexFromName("tosk-fuzz"), 0);
  EXPECT_STREQ(DistortionTypes::name(36), "Distortion");
  EXPECT_STREQ(DistortionTypes::name(-1), "Distortion");
  EXPECT_EQ(DistortionTypes::storedTable(36), DistortionTypes::storedTable(0));
  EXPECT_EQ(DistortionTypes::storedTable(-5), DistortionTypes::storedTable(0));
}

// Points of the computed curves worked out by hand from the generators.
TEST(DistortionTypes, GeneratedCurvesAtHandComputedPoints)
{
  struct Row
  {
    int type;
    bool stored;
    int point;
    double expected;
  };
  const Row rows[] = {
      // Korvane drives, u = j/256: 21 at u = 1/8 is 1/8 + 7/8 * (0 - 0.5).
      {21, false, 288, -0.3125},
      {21, false, 223, 0.3125},
      {21, true, 224, 0.3125}, // stored: negative half one point further out
      {22, false, 320, 0.625}, // u = 1/4: 1/4 + 3/4 * 0.5
      {23, false, 256, 0.5},   // u = 0: cos 0 / 2
      {23, false, 255, -0.5},
      {24, false, 384, 0.875}, // u = 1/2: 1/2 + 1/4 * 1.5
      // Industrial walk, first two steps.
      {20, false, 256, 0.04321},
      {20, false, 255, 0.001},
      {20, false, 257, 1.0 / 256 + 0.06542},
      {20, false, 254, -1.0 / 256},
      // Hardcore 1: P0 is 1 at j = 7..43 and 100..116, 0 at j = 5, 6 and 44..54.
      {16, true, 256 + 10, 1.0},
      {16, true, 256 + 5, 0.0},
      {16, true, 256 + 50, 0.0},
      {16, true, 256 + 110, 1.0},
      // Hardcore 2: P1[74] = 74/256 + 0.25 sin(74pi/256) + 0.15 |sin(740pi/256)| =
      // 0.53668; n = 75 adds 0.19 + 0.2, n = 80 adds 0.19 + 0.25; n = 25..74 are
      // rewritten as 0.01 (n - 25), and n = 17..53 then scaled by 0.1.
      {17, true, 256 + 80, 0.97668},
      {17, true, 256 + 60, 0.35},
      {17, true, 256 + 75, 0.92668},
      {17, true, 256 + 30, 0.005},
      // Its negative half, P3 further out by one: 1 at j = 17..53 means points 202..238.
      {17, true, 255 - 20, -1.0},
      {17, true, 255 - 160, 0.0}, // P3 is 0 at 150..199
  };
  for (const Row& r : rows)
  {
    const Points p =
        r.stored ? DistortionTypes::storedTable(r.type) : DistortionTypes::initialCurve(r.type);
    EXPECT_NEAR(p[r.point], r.expected, 1e-5) << r.type << " point " << r.point;
  }
  // Restore gives a slightly different curve from the initial one for every computed
  // type; the smoothed ones stay within -1..+1.
  for (int type = 16; type <= 24; ++type)
  {
    const Points initial = DistortionTypes::initialCurve(type);
    EXPECT_NE(initial, DistortionTypes::storedTable(type)) << type;
    for (double v : initial)
    {
      if (type <= 20)
      {
        EXPECT_LE(std::fabs(v), 1.0) << type;
      }
    }
  }
  // Designed types start as their stored tables.
  EXPECT_EQ(DistortionTypes::initialCurve(5), DistortionTypes::storedTable(5));
}
