#include "effects/PolyBLEP.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using Korvane::PolyBLEP;

TEST(PolyBLEPTest, AtAQuarterOfTheRateEveryTypeIsASine)
{
  PolyBLEP o;
  o.type = PolyBLEP::kSawtooth;
  o.setFrequency(12000.0);
  for (int i = 0; i < 50; ++i)
  {
    EXPECT_NEAR(o.output(), std::sin(2.0 * 3.141592653589793 * o.phase), 1e-12);
    o.advance();
  }
}

TEST(PolyBLEPTest, RectangleAndSawtoothLevelsAndSmoothedSteps)
{
  PolyBLEP r;
  r.type = PolyBLEP::kRectangle;
  r.setFrequency(100.0);
  r.phase = 0.49;
  EXPECT_NEAR(r.output(), 1.0, 1e-12);
  r.phase = 0.5; // the residual halves the falling step
  EXPECT_NEAR(r.output(), 0.0, 1e-12);
  r.phase = 0.75;
  EXPECT_NEAR(r.output(), -1.0, 1e-12);
  // Narrow pulse: swings from 2 - 2 pw to -2 pw, shifted by its offset to +1/-1.
  r.pulseWidth = 0.25;
  r.offset = -0.5;
  r.phase = 0.1;
  EXPECT_NEAR(r.output() + r.offset, 1.0, 1e-12);
  r.phase = 0.6;
  EXPECT_NEAR(r.output() + r.offset, -1.0, 1e-12);

  PolyBLEP s;
  s.type = PolyBLEP::kSawtooth;
  s.setFrequency(441.0);
  double lo = 1.0, hi = -1.0, maxStep = 0.0, prev = s.output();
  for (int i = 0; i < 1000; ++i)
  {
    s.advance();
    const double y = s.output();
    lo = std::min(lo, y);
    hi = std::max(hi, y);
    maxStep = std::max(maxStep, std::abs(y - prev));
    prev = y;
  }
  EXPECT_GT(hi, 0.95);
  EXPECT_LT(lo, -0.95);
  EXPECT_LT(maxStep, 1.1); // the naive sawtooth would step by 2
}

TEST(PolyBLEPTest, TriangleIsContinuousAndUnusedTypesAreSilent)
{
  PolyBLEP t;
  t.type = PolyBLEP::kTriangle;
  t.setFrequency(441.0);
  double prev = t.output(), maxStep = 0.0, hi = 0.0;
  for (int i = 0; i < 1000; ++i)
  {
    t.advance();
    const double y = t.output();
    maxStep = std::max(maxStep, std::abs(y - prev));
    hi = std::max(hi, y);
    prev = y;
  }
  EXPECT_LE(maxStep, 4.0 * t.increment * 1.0001);
  EXPECT_NEAR(hi, 1.0, 0.02); // the corner is rounded off
  for (int type = 7; type < PolyBLEP::kTypeCount; ++type)
  {
    t.type = type;
    EXPECT_EQ(t.output(), 0.0);
  }
}

TEST(PolyBLEPTest, SampleRateChangeKeepsTheFrequency)
{
  PolyBLEP o;
  o.setFrequency(1000.0);
  o.setSampleRate(96000.0);
  EXPECT_NEAR(o.getFrequency(), 1000.0, 1e-9);
  EXPECT_NEAR(o.increment, 1000.0 / 96000.0, 1e-15);
}
