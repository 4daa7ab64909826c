#include "voice/PitchEnvelope.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using Korvane::PitchEnvelope;

TEST(PitchEnvelope, RisesWithin7msAndFallsAlongThePowerCurve)
{
  PitchEnvelope p;
  p.setAmount(0.35);
  p.setDuration(0.45);
  p.setPower(0.75);
  EXPECT_DOUBLE_EQ(p.duration, 0.9);
  EXPECT_DOUBLE_EQ(p.evaluate(0.0), 1.0);
  EXPECT_DOUBLE_EQ(p.evaluate(0.0035), 4.5);
  EXPECT_DOUBLE_EQ(p.evaluate(0.007), 8.0);
  const double mid = 0.007 + 0.45;
  EXPECT_NEAR(p.evaluate(mid), 1.0 + 7.0 * std::pow(0.5, 15.0), 1e-12);
  EXPECT_NEAR(p.evaluate(0.9), 1.0, 1e-12);
  EXPECT_EQ(p.evaluate(0.907), 1.0);
  EXPECT_EQ(p.evaluate(5.0), 1.0);

  p.setOnOff(0.0);
  EXPECT_EQ(p.evaluate(0.007), 1.0);
  p.setOnOff(0.3);
  EXPECT_DOUBLE_EQ(p.evaluate(0.007), 8.0);
}

TEST(PitchEnvelope, PitchDownLowersTheFactorToTheEndAndHoldsIt)
{
  PitchEnvelope p;
  p.setDown(1.0);
  p.setDuration(0.5); // ends at 1.007 s
  EXPECT_DOUBLE_EQ(p.evaluate(0.5035), 0.5);
  EXPECT_EQ(p.evaluate(1.007), 0.0);
  EXPECT_EQ(p.evaluate(10.0), 0.0);

  p.setDuration(0.0); // no fall: only the rise, then the held drop
  EXPECT_TRUE(std::isfinite(p.evaluate(0.007)));
  EXPECT_EQ(p.evaluate(0.007), 0.0);
}

TEST(PitchEnvelope, SettersAndBendRange)
{
  PitchEnvelope p;
  EXPECT_EQ(p.getBendRange(), 2.0);
  p.setPower(0.0);
  EXPECT_EQ(p.power, 0.002);
  struct Case
  {
    double value;
    int position;
  };
  for (const Case c : {Case{0.0, 0}, Case{1.0 / 6.0, 1}, Case{0.4, 2}, Case{1.0, 6}, Case{-1.0, 0},
                       Case{3.0, 6}, Case{NAN, 0}})
  {
    p.setBendRange(c.value);
    EXPECT_EQ(p.getBendRangePosition(), c.position) << c.value;
    EXPECT_EQ(p.getBendRange(), 2.0 * c.position) << c.value;
  }
}

TEST(PitchEnvelope, PreviewScalesRisesDownAndShowsFallsAtTrueSize)
{
  PitchEnvelope p;
  p.setAmount(0.35);
  p.setDown(0.5);
  p.setDuration(0.45);
  std::array<double, 198> pts{};
  p.preview(pts);
  EXPECT_EQ(pts[0], 0.0);
  const double t1 = 1.0 / 198.0 * 2.007; // second point, in the fall
  EXPECT_DOUBLE_EQ(pts[1], (p.evaluate(t1) - 1.0) / 20.0);
  EXPECT_DOUBLE_EQ(pts[197], -0.5); // after the envelope: 1 - down
  p.setOnOff(0.0);
  p.preview(pts);
  for (double v : pts)
    ASSERT_EQ(v, 0.0);
}
