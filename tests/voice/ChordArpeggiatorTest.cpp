#include "voice/ChordArpeggiator.h"

#include <gtest/gtest.h>

#include <cmath>

using Korvane::ChordArpeggiator;

namespace
{

// Samples until the target changes, starting from a freshly armed arpeggiator.
int samplesToNextStep(ChordArpeggiator& a)
{
  const double t = a.target;
  int n = 0;
  while (a.target == t && n < 1000000)
  {
    a.step();
    ++n;
  }
  return n;
}

} // namespace

TEST(ChordArpeggiatorTest, SixteenthStepsThroughTheTriad)
{
  ChordArpeggiator a;
  a.arm(8, 120.0, 44100.0);
  EXPECT_EQ(a.stepLength, 1378);
  EXPECT_EQ(samplesToNextStep(a), 1380); // the counter must pass the first step
  EXPECT_DOUBLE_EQ(a.target, std::pow(2.0, 4.0 / 12.0));
  EXPECT_EQ(samplesToNextStep(a), 1378);
  EXPECT_DOUBLE_EQ(a.target, std::pow(2.0, 7.0 / 12.0));
  EXPECT_EQ(samplesToNextStep(a), 1378);
  EXPECT_EQ(a.target, 1.0);
  for (int i = 0; i < 100; ++i)
    a.step();
  EXPECT_NEAR(a.current, 1.0, 1e-12); // the glide settles within a few samples

  ChordArpeggiator m;
  m.arm(9, 120.0, 44100.0);
  samplesToNextStep(m);
  EXPECT_DOUBLE_EQ(m.target, std::pow(2.0, 3.0 / 12.0));
}

TEST(ChordArpeggiatorTest, OtherModesAndBadTempi)
{
  ChordArpeggiator a;
  a.arm(3, 120.0, 44100.0);
  for (int i = 0; i < 5000; ++i)
    ASSERT_EQ(a.step(), 1.0);
  a.arm(8, 0.0, 44100.0); // a host without tempo: 120 BPM
  EXPECT_EQ(a.stepLength, 1378);
  a.arm(8, std::nan(""), 44100.0);
  EXPECT_EQ(a.stepLength, 1378);
  a.arm(8, 60.0, 48000.0);
  EXPECT_EQ(a.stepLength, 3000);
  a.arm(8, 1.0e12, 44100.0); // never shorter than a sample
  EXPECT_EQ(a.stepLength, 1);
}
