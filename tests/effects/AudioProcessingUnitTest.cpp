#include "effects/AudioProcessingUnit.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// A unit whose effect is to add 1; its block routine follows the pattern every
// effect unit uses.
class AddOne : public Korvane::AudioProcessingUnit
{
public:
  void process(double* left, double* right, int count)
  {
    if (isFadedOut())
      return;
    for (int i = 0; i < count; ++i)
    {
      left[i] = (1.0 - wet) * left[i] + wet * (left[i] + 1.0);
      right[i] = (1.0 - wet) * right[i] + wet * (right[i] + 1.0);
      advanceFade();
    }
  }
};

} // namespace

TEST(AudioProcessingUnit, SwitchedOffFadesOver200SamplesThenLeavesTheBlockUntouched)
{
  AddOne unit;
  double one = 0.0;
  unit.process(&one, &one, 1); // starts on, fully wet
  EXPECT_EQ(one, 2.0);
  unit.setBypass(true);
  EXPECT_EQ(unit.getWet(), 0.995);
  EXPECT_EQ(unit.getWetStep(), -0.005);
  std::vector<double> l(200, 0.0), r(200, 0.0);
  unit.process(l.data(), r.data(), 200);
  for (int i = 0; i < 199; ++i)
    EXPECT_NEAR(l[i], 0.995 - 0.005 * i, 1e-12) << i;
  EXPECT_EQ(l[199], 0.0); // the 200th sample is already dry
  EXPECT_EQ(unit.getWet(), 0.0);
  EXPECT_TRUE(unit.isFadedOut());
  std::vector<double> next(64, 0.25);
  unit.process(next.data(), next.data(), 64);
  for (double v : next)
    ASSERT_EQ(v, 0.25);
}

TEST(AudioProcessingUnit, SwitchedOnMidFadeRestartsFromTheBottomAndEndsAtExactlyOne)
{
  AddOne unit;
  unit.setBypass(true);
  std::vector<double> l(100, 0.0), r(100, 0.0);
  unit.process(l.data(), r.data(), 100);
  EXPECT_NEAR(unit.getWet(), 0.495, 1e-12);
  unit.setBypass(false);
  EXPECT_EQ(unit.getWet(), 0.005);
  EXPECT_EQ(unit.getWetStep(), 0.005);
  for (int i = 0; i < 199; ++i)
    unit.advanceFade();
  EXPECT_EQ(unit.getWet(), 1.0);
  for (int i = 0; i < 50; ++i)
    unit.advanceFade();
  EXPECT_EQ(unit.getWet(), 1.0);
  EXPECT_FALSE(unit.isFadedOut());
}

TEST(AudioProcessingUnit, RepeatingTheCurrentSwitchValueDoesNotRestartAFade)
{
  AddOne unit;
  unit.setBypass(false); // already on: no dip to 0.005
  EXPECT_EQ(unit.getWet(), 1.0);
  unit.setBypass(true);
  for (int i = 0; i < 250; ++i)
    unit.advanceFade();
  unit.setBypass(true); // already off: no burst back to 0.995
  EXPECT_EQ(unit.getWet(), 0.0);
  EXPECT_TRUE(unit.isFadedOut());
}
