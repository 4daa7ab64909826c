#include "voice/SynthParams.h"

#include <gtest/gtest.h>

#include <set>

using Korvane::SynthParams;

TEST(SynthParamsTest, SlotsOfTheParameters)
{
  EXPECT_EQ(SynthParams::slotOf(3), 4); // "Osc1 Tune"
  EXPECT_EQ(SynthParams::slotOf(7), 3); // "Osc1 Pitch"
  EXPECT_EQ(SynthParams::slotOf(4), 5);
  EXPECT_EQ(SynthParams::slotOf(24), 25); // "Osc2 Tune"
  EXPECT_EQ(SynthParams::slotOf(49), 45); // "Osc3 Pitch"
  EXPECT_EQ(SynthParams::slotOf(62), 62);
  EXPECT_EQ(SynthParams::slotOf(85), SynthParams::kGlobalTranspose);
  EXPECT_EQ(SynthParams::slotOf(86), SynthParams::kNoteTransposeMode);
  EXPECT_EQ(SynthParams::slotOf(88), SynthParams::kPitchEnvOnOff);
  EXPECT_EQ(SynthParams::slotOf(95), SynthParams::kFmAmount);
  EXPECT_EQ(SynthParams::slotOf(96), 97);
  EXPECT_EQ(SynthParams::slotOf(100), 123);
  EXPECT_EQ(SynthParams::slotOf(110), 116);
  EXPECT_EQ(SynthParams::slotOf(113), 108);
  EXPECT_EQ(SynthParams::slotOf(121), 135);
  EXPECT_EQ(SynthParams::slotOf(136), 144);
  EXPECT_EQ(SynthParams::slotOf(138), 145);
  EXPECT_EQ(SynthParams::slotOf(137), -1);
  EXPECT_EQ(SynthParams::slotOf(139), -1);
  EXPECT_EQ(SynthParams::slotOf(160), -1);
  EXPECT_EQ(SynthParams::slotOf(-1), -1);
  // No two parameters share a slot, and the unused slots stay unused.
  std::set<int> used;
  for (int i = 0; i < 160; ++i)
  {
    const int s = SynthParams::slotOf(i);
    if (s < 0)
      continue;
    EXPECT_TRUE(used.insert(s).second) << i;
    EXPECT_LE(s, 145);
    EXPECT_NE(s, 96);
    EXPECT_FALSE(s >= 101 && s <= 107) << i;
  }
  EXPECT_EQ(used.size(), 138u);
  SynthParams p;
  EXPECT_EQ(p[SynthParams::kTransposeRatio], 1.0);
  EXPECT_EQ(p[0], 0.0);
}
