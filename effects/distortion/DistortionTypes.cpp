#include "effects/distortion/DistortionTypes.h"

#include "effects/distortion/CurveDesign.h"
#include "effects/distortion/CurveGenerators.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Korvane
{

namespace
{

using Knot = CurveDesign::Knot;

constexpr const char* kNames[DistortionTypes::kCount] = {
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
    "TigersBlood",      "MadDog",           "Noise-Gate 1"};

// Outputs at the inputs -1, -0.5, -0.25, -0.1, 0.1, 0.25, 0.5, 0.75, 1 (each on its
// nearest curve point): what a player hears as the type's character.
constexpr DistortionTypes::Telling kTelling[DistortionTypes::kCount] = {
    {-1.000, -0.499, -0.249, -0.100, 0.100, 0.249, 0.499, 0.750, 1.000},
    {-0.612, -0.499, -0.249, -0.100, 0.100, 0.249, 0.499, 0.556, 0.612},
    {-0.777, -0.529, -0.266, -0.108, 0.108, 0.266, 0.529, 0.710, 0.777},
    {-1.000, -0.990, -0.971, -0.919, 0.915, 0.970, 0.990, 0.997, 1.000},
    {-0.985, -0.482, -0.530, -0.559, 0.568, 0.495, 0.509, 0.357, 0.985},
    {-0.670, -0.745, -0.531, 0.099, -0.077, 0.524, 0.734, 0.462, 0.670},
    {-0.670, -0.745, -0.531, 0.099, 0.568, 0.495, 0.509, 0.357, 0.985},
    {-0.619, -1.000, 0.000, 0.000, 0.000, 0.031, 0.986, 0.893, 0.619},
    {-0.997, -0.714, -0.302, 0.027, -0.036, 0.294, 0.708, 0.690, 0.997},
    {-0.979, -0.500, -0.250, -0.444, 0.435, 0.264, 0.479, 0.764, 0.979},
    {-1.156, -0.500, -0.376, -0.342, 0.435, 0.264, 0.479, 0.764, 0.979},
    {-0.996, -1.000, -0.780, -0.383, 0.370, 0.773, 1.000, 0.928, 0.996},
    {-0.729, -0.970, -0.485, -0.197, 0.189, 0.477, 0.962, 0.851, 0.729},
    {-0.839, -0.342, -0.135, -0.090, 0.087, 0.135, 0.335, 0.744, 0.839},
    {-1.000, -1.000, -1.000, -1.000, 1.000, 1.000, 1.000, 1.000, 1.000},
    {-0.999, -0.875, -0.750, -0.588, 0.580, 0.747, 0.874, 0.947, 0.999},
    {-1.000, -0.750, -0.577, 0.000, 1.000, 0.494, 0.494, 0.894, 1.000},
    {-1.000, -0.700, -0.391, -1.000, 0.000, 0.380, 1.000, 1.000, 1.000},
    {-0.742, -0.272, 0.306, -0.674, 0.652, -0.355, 0.215, 0.627, 0.769},
    {-0.572, -0.287, -0.258, -0.493, 0.469, 1.000, 0.831, 0.659, 0.608},
    {-1.000, -0.427, -0.018, -0.009, 0.242, 0.577, 0.375, 1.000, 1.000},
    {-0.998, -0.750, -0.625, 0.687, -0.694, 0.548, 0.698, 0.848, 0.998},
    {-1.000, -0.500, -0.625, 0.247, -0.042, 0.634, 0.449, 0.896, 1.000},
    {-0.996, -0.500, -0.051, -0.090, 0.108, -0.070, 0.500, 0.778, 0.996},
    {-0.996, -0.875, 0.031, -0.519, 0.508, 0.007, 0.852, 0.719, 0.996},
    {-0.016, -0.198, -0.201, -0.412, 0.305, 0.198, 0.579, 0.565, 1.000},
    {-0.676, -0.051, -0.598, -0.131, 0.365, 0.215, 0.214, 0.152, 0.015},
    {-1.000, -0.546, -0.167, -0.291, 0.150, 0.650, 0.063, 0.780, 0.676},
    {0.000, -0.504, -0.756, -0.906, 0.906, 0.756, 0.504, 0.252, 0.000},
    {-0.209, -0.246, -0.002, -0.506, 0.484, 0.014, 0.211, 0.398, 0.210},
    {-0.863, -0.098, -0.738, -0.590, 0.557, 0.763, 0.105, 0.603, 0.865},
    {-1.000, -0.254, 0.127, -0.394, 0.496, -0.076, 0.287, 0.650, 1.000},
    {-1.000, -0.252, 0.126, 0.286, -0.171, 0.058, 0.343, 0.900, 1.000},
    {-1.000, -0.278, -0.816, -0.786, 1.110, -0.617, 1.072, 0.457, 1.000},
    {-0.974, -0.724, -0.738, -0.785, 1.001, 0.292, 0.465, 0.762, 0.966},
    {-0.996, -0.500, 0.000, 0.000, 0.000, 0.000, 0.496, 0.746, 0.996},
};

constexpr DistortionTypes::Telling kNoTelling{};

// The type's telling values as knots on their curve points, merged with the extra
// shape knots of the design, in rising input.
std::vector<Knot> knotsOf(int type, std::vector<Knot> extra)
{
  for (int i = 0; i < DistortionTypes::kTellingCount; ++i)
    extra.push_back(
        {CurveDesign::gridInput(DistortionTypes::kTellingInputs[i]), kTelling[type][i]});
  std::sort(extra.begin(), extra.end(), [](const Knot& a, const Knot& b) { return a.x < b.x; });
  return extra;
}

// The largest magnitude a type's table may reach (a few stored tables reach past 1).
double limitOf(int type)
{
  double limit = 1.0;
  for (double v : kTelling[type])
    limit = std::max(limit, std::fabs(v));
  return limit;
}

// Inputs of the two centre points, just below and just above zero.
const double kBelowCentre = CurveDesign::pointInput(255);
const double kAboveCentre = CurveDesign::pointInput(256);

// Ripple of the fuzz types (share of the local level, points per half cycle) and of
// the harsher drives.
constexpr double kFuzzRipple = 0.08;
constexpr int kFuzzPeriod = 5;
constexpr double kDriveRipple = 0.05;
constexpr int kDrivePeriod = 8;

} // namespace

// --- Safe from any thread (constant data) -------------------------------------------

const char* DistortionTypes::name(int type)
{
  if (type < 0 || type >= kCount)
    return "Distortion";
  return kNames[type];
}

int DistortionTypes::indexFromName(std::string_view typeName)
{
  if (typeName == "Fuzz-Drive")
    return 15;
  if (typeName == "Korvane-Drive")
    return 21;
  for (int type = 0; type < kCount; ++type)
    if (typeName == kNames[type])
      return type;
  return 0;
}

const DistortionTypes::Telling& DistortionTypes::tellingValues(int type)
{
  if (type < 0 || type >= kCount)
    return kNoTelling;
  return kTelling[type];
}

// --- Called while curves are built or restored ---------------------------------------

const DistortionTypes::Points& DistortionTypes::storedTable(int type)
{
  // Built once, on first use (the plug-in's constructor), then only read.
  static const std::array<Points, kCount> kTables = []
  {
    std::array<Points, kCount> tables{};
    for (int t = 0; t < kCount; ++t)
      tables[t] = design(t);
    return tables;
  }();
  if (type < 0 || type >= kCount)
    type = 0;
  return kTables[type];
}

DistortionTypes::Points DistortionTypes::initialCurve(int type)
{
  Points points{};
  if (CurveGenerators::generate(type, false, points))
    return points;
  return storedTable(type);
}

DistortionTypes::Points DistortionTypes::design(int type)
{
  Points p{};
  if (CurveGenerators::generate(type, true, p))
    return p;

  switch (type)
  {
  case 1: // Compressor: the identity up to half scale, then a gentle slope to 0.612
    for (int k = 256; k < DistortionCurve::kLength; ++k)
    {
      const double x = CurveDesign::pointInput(k);
      p[k] = x <= 0.5 ? x : 0.5 + (x - 0.5) * 0.224;
    }
    CurveDesign::mirrorOdd(p);
    break;
  case 2: // Soft-Knie Compressor: a touch of gain near zero, a round knee to 0.777
    p = CurveDesign::smoothThrough({{0.0, 0.0},
                                    {CurveDesign::gridInput(0.1), 0.108},
                                    {CurveDesign::gridInput(0.25), 0.266},
                                    {CurveDesign::gridInput(0.5), 0.529},
                                    {CurveDesign::gridInput(0.75), 0.710},
                                    {1.0, 0.777}});
    CurveDesign::mirrorOdd(p);
    break;
  case 3: // Hard-Overload: a steep monotonic saturation, slightly lopsided
    p = CurveDesign::smoothThrough(knotsOf(type, {{-0.04, -0.62}, {0.0, 0.0}, {0.04, 0.62}}));
    break;
  case 4: // KVSigmoid1: a sigmoid with a wobbly shelf, folding back before full scale
    p = CurveDesign::smoothThrough(knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.62}, {0, 0}}));
    break;
  case 5: // KVSigmoid2: inverted around zero, shelves and fold-back on both sides
    p = CurveDesign::smoothThrough(knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.72}, {0, 0}}));
    break;
  case 11: // Soft-Tube: high gain, a round top at half scale, a small fold-back each side
    p = CurveDesign::smoothThrough(knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.95}, {0, 0}}));
    break;
  case 12: // Tube: about double gain up to half scale, then folding back to 0.73
    p = CurveDesign::smoothThrough(
        knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.851}, {0, 0}}));
    break;
  case 13: // Transistor: a quick step off zero, a flat middle, then rising steeply
    p = CurveDesign::smoothThrough(knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.75}, {0, 0}}));
    break;
  case 6: // KVSigmoid3: KVSigmoid2's negative half with KVSigmoid1's positive half
  {
    const Points negative = design(5);
    const Points positive = design(4);
    std::copy(negative.begin(), negative.begin() + 256, p.begin());
    std::copy(positive.begin() + 256, positive.end(), p.begin() + 256);
    break;
  }
  case 7: // Typhoon-Fuzz: dead below a quarter, then bursts to full scale and sags
    p = CurveDesign::straightThrough(
        knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.93}, {-0.32, -0.55}, {0.32, 0.62}}),
        kFuzzRipple, kFuzzPeriod);
    break;
  case 8: // Tosk-Fuzz: a rough line with a tiny crackle of reversed sign at zero
    p = CurveDesign::straightThrough(
        knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.86}, {0.0, 0.0}}), kFuzzRipple,
        kFuzzPeriod);
    break;
  case 9:  // Drenn-Fuzz 1: quiet signal kicked to 0.44, the identity from a quarter on
  case 10: // Drenn-Fuzz 2: the same with a heavier, overshooting negative side
    p = CurveDesign::straightThrough(
        knotsOf(type, {{CurveDesign::gridInput(-0.75), type == 9 ? -0.74 : -0.86},
                       {kBelowCentre, type == 9 ? -0.45 : -0.40},
                       {kAboveCentre, 0.45}}),
        kFuzzRipple / 2, kFuzzPeriod);
    break;
  case 14: // Full-Clip: a square wave from anything but the two centre points
    std::fill(p.begin(), p.begin() + 256, -1.0);
    std::fill(p.begin() + 256, p.end(), 1.0);
    p[255] = -0.44;
    p[256] = 0.44;
    break;
  case 15: // Fuzz-Drive1: monotonic, very high gain at zero, a long round shoulder
    p = CurveDesign::smoothThrough(knotsOf(
        type, {{CurveDesign::gridInput(-0.75), -0.95}, {-0.03, -0.25}, {0.0, 0.0}, {0.03, 0.25}}));
    break;
  case 25: // GrimHowl-Fuzz 1..3: howling, folded lines with a coarse ripple
    p = CurveDesign::straightThrough(
        knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.25}, {0.0, 0.0}}), kFuzzRipple,
        kFuzzPeriod);
    break;
  case 26:
    p = CurveDesign::straightThrough(
        knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.35}, {0.0, 0.0}}), kFuzzRipple,
        kFuzzPeriod);
    break;
  case 27:
    p = CurveDesign::straightThrough(
        knotsOf(type, {{CurveDesign::gridInput(-0.75), -0.80}, {0.0, 0.0}}), kFuzzRipple,
        kFuzzPeriod);
    break;
  case 28: // Invert-and-Drive: full level beside zero, falling straight to 0 at full scale
    for (int k = 257; k < DistortionCurve::kLength; ++k)
      p[k] = std::min(1.0, 1.006 * (1.0 - CurveDesign::pointInput(k)));
    p[256] = 0.5;
    CurveDesign::mirrorOdd(p);
    break;
  case 29: // Big-Bad, Big-Fat, ViciousViper, AssKicking, TigersBlood, MadDog:
  case 30: // folded drives whose level jumps between the telling points
  case 31:
  case 32:
  case 33:
  case 34:
  {
    static constexpr double kAtMinus075[6] = {-0.30, -0.45, -0.62, -0.62, -0.60, -0.85};
    p = CurveDesign::straightThrough(
        knotsOf(type, {{CurveDesign::gridInput(-0.75), kAtMinus075[type - 29]}, {0.0, 0.0}}),
        kDriveRipple, kDrivePeriod);
    break;
  }
  case 35: // Noise-Gate 1: silent up to about 0.255, then up quickly onto the identity
  {
    // Magnitude m: 0 up to 0.255, a smoothstep onto m - 0.004 that completes at 0.5.
    auto gate = [](double m)
    {
      if (m <= 0.255)
        return 0.0;
      const double s = std::min(1.0, (m - 0.255) / 0.245);
      return (m - 0.004) * s * s * (3.0 - 2.0 * s);
    };
    // The negative half is sampled one point further out.
    for (int j = 0; j < 256; ++j)
    {
      p[256 + j] = gate(CurveDesign::pointInput(256 + j));
      p[255 - j] = -gate(CurveDesign::pointInput(std::min(256 + j + 1, 511)));
    }
    break;
  }
  default: // Linear: the identity
    return DistortionCurve().points;
  }
  CurveDesign::clamp(p, limitOf(type));
  return p;
}

} // namespace Korvane
