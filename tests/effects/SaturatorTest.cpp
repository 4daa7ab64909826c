#include "effects/dynamics/Saturator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

using Korvane::DistortionCurve;
using Korvane::Saturator;

namespace
{

// Settles the drive on a constant input; returns the last output.
double settle(Saturator& s, double input)
{
  double l = 0.0;
  for (int i = 0; i < 3000; ++i)
  {
    l = input;
    double r = input;
    s.process(&l, &r, 1);
    EXPECT_EQ(l, r);
  }
  return l;
}

} // namespace

TEST(Saturator, SettledDriveBlendsOrSaturates)
{
  struct Row
  {
    int kind;
    double threshold;
    double factor;
    double target;
    double input;
    double dryShare; // expected: dry * input + (1 - dry) * clamp(gain * curve(input))
    double gain;
  };
  const Row rows[] = {
      {0, 0.5, 2.0, 0.1, 0.3, 0.8, 0.4},   // master: m = 0.2, gain 0.4
      {0, 0.5, 2.0, 1.0, 0.3, 0.0, 4.0},   // fully saturated, clamped
      {0, 0.5, 2.0, 1.0, 0.001, 0.0, 4.0}, // quiet signal: 4 * curve, inside the clamp
      {0, 0.5, 2.0, 0.0, 0.3, 1.0, 0.0},   // transparent at 0
      {1, 0.25, 4.0, 0.1, -0.3, 0.6, 0.4}, // filter drive: m = 0.4
      {1, 0.25, 4.0, 0.3, -0.3, 0.0, 1.2}, // above its threshold
  };
  for (const Row& r : rows)
  {
    Saturator s(r.kind);
    s.setMix(r.threshold, r.factor);
    s.setDrive(r.target);
    const double shaped = std::clamp(s.getCurve().lookup(r.input) * r.gain, -1.0, 1.0);
    EXPECT_NEAR(settle(s, r.input), r.dryShare * r.input + (1.0 - r.dryShare) * shaped, 1e-9)
        << r.kind << " " << r.target;
  }
  // Target 1 on the master saturator: clamp(4 * curve(x)); 0.3 reaches the clamp.
  Saturator master(0);
  master.setDrive(1.0);
  EXPECT_NEAR(settle(master, 0.3), 1.0, 1e-9);
  EXPECT_NEAR(settle(master, -0.3), -1.0, 1e-9);
}

TEST(Saturator, IgnoresBypassAndRefusesNonFiniteDrive)
{
  Saturator s(0);
  s.setDrive(1.0);
  s.setBypass(true);
  EXPECT_FALSE(s.setDrive(std::nan("")));
  EXPECT_FALSE(s.setDrive(INFINITY));
  EXPECT_EQ(s.driveTarget, 1.0);
  EXPECT_NEAR(settle(s, 0.3), 1.0, 1e-9);
  EXPECT_TRUE(std::isfinite(s.drive));
  // Linear interpolation in the kind's table; an unknown kind takes the master table.
  EXPECT_EQ(s.getCurve().interpolation, Korvane::DistortionCurve::kLinear);
  EXPECT_EQ(Saturator(7).getCurve().points, Saturator(0).getCurve().points);
  EXPECT_NE(Saturator(1).getCurve().points, Saturator(0).getCurve().points);
}

TEST(Saturator, ZeroDriveShortcutKeepsEveryBitOfThePerSampleBlend)
{
  const double inf = INFINITY;
  const double inputs[] = {0.0, -0.0, 0.3, -0.7, 2.0, -inf, inf, std::nan(""), 1e-310, -0.0};
  struct Row
  {
    double drive, target, threshold, factor, point; // point: the curve's first point
    bool shortcut;
  } rows[] = {
      {0.0, 0.0, 0.25, 4.0, -1.0, true},     {-0.0, -0.0, 0.25, 4.0, -1.0, true},
      {0.0, -0.0, 0.5, -2.0, -1.0, true},    {0.0, 1e-300, 0.25, 4.0, -1.0, false},
      {1e-300, 0.0, 0.25, 4.0, -1.0, false}, {0.0, 0.0, 0.0, 4.0, -1.0, false},
      {0.0, 0.0, 0.25, 4.0, -1.5, false},    {0.0, 0.0, 0.25, 4.0, -inf, false},
  };
  for (const Row& row : rows)
    for (int kind : {0, 1})
    {
      Saturator s(kind);
      s.setMix(row.threshold, row.factor);
      s.drive = row.drive;
      s.driveTarget = row.target;
      DistortionCurve::Points points = s.getCurve().points;
      points[0] = row.point;
      s.setCurvePoints(points);
      EXPECT_EQ(s.passesUnchanged(), row.shortcut) << row.target << " " << row.point;
      // The blend as the block works it out sample by sample (both sides alike).
      Saturator ref = s;
      constexpr int kN = int(std::size(inputs));
      double expected[kN], left[kN], right[kN];
      for (int i = 0; i < kN; ++i)
      {
        ref.drive = ref.drivePole * ref.drive + ref.driveGain * ref.driveTarget;
        const double g = ref.drive * ref.outputGain, m = ref.drive * ref.mixFactor;
        const double y = std::clamp(ref.getCurve().lookup(inputs[i]) * g, -1.0, 1.0);
        expected[i] = ref.drive < ref.mixThreshold ? inputs[i] * (1.0 - m) + y * m : y;
        left[i] = right[i] = inputs[i];
      }
      // In blocks: a -0 among finite samples, an odd one with a NaN, a single -0.
      const int starts[] = {0, 6, 9, kN};
      for (int b = 0; b + 1 < int(std::size(starts)); ++b)
        s.process(left + starts[b], right + starts[b], starts[b + 1] - starts[b]);
      for (int i = 0; i < kN; ++i)
        EXPECT_TRUE((std::isnan(expected[i]) && std::isnan(left[i])) ||
                    (std::memcmp(&left[i], &expected[i], sizeof(double)) == 0 &&
                     std::memcmp(&right[i], &expected[i], sizeof(double)) == 0))
            << kind << " " << row.target << " " << i;
      EXPECT_EQ(std::memcmp(&s.drive, &ref.drive, sizeof(double)), 0);
    }
}
