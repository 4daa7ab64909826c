#include "TestPlug.h"

#include <gtest/gtest.h>

#include <string>

TEST(Programs, FillEmptyPresetsStoresTheCurrentStateUnderEmpty)
{
  TestPlug plug;
  plug.FillEmptyPresets(3);
  EXPECT_EQ(plug.GetPresetName(0), "Empty");
  EXPECT_EQ(plug.GetPresetName(2), "Empty");
  EXPECT_EQ(plug.GetPresetName(3), "empty");
  EXPECT_TRUE(plug.GetPreset(2)->initialised);
  EXPECT_FALSE(plug.GetPreset(3)->initialised);
  EXPECT_EQ(plug.GetPreset(0)->state.Size(), 4 * 8);
  plug.FillEmptyPresets(100); // more than remain: fills the rest
  EXPECT_TRUE(plug.GetPreset(7)->initialised);
}

TEST(Programs, FillNextEmptyPresetTakesTheFirstFreeSlotAndChangesNothingElse)
{
  TestPlug plug;
  plug.FillEmptyPresets(2); // slots 0 and 1 taken
  ByteBuffer state;
  for (double v : {0.1, 0.2, 0.0, 0.4})
    state.PutDouble(v);
  plug.changes.clear();
  const std::string longName(300, 'k');
  ASSERT_TRUE(plug.FillNextEmptyPreset(longName.c_str(), state));
  EXPECT_EQ(plug.GetPresetName(2), std::string(255, 'k'));
  EXPECT_TRUE(plug.GetPreset(2)->state.IsEqual(state));
  EXPECT_EQ(plug.GetPresetName(1), "Empty");
  // Neither the current program nor a parameter moved.
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_TRUE(plug.changes.empty());
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.5, 0.0, 1.0, 0.5}));
  // Selecting the slot applies the state it was given.
  EXPECT_TRUE(plug.RestorePreset(2));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.1, 0.2, 0.0, 0.4}));
  while (plug.FillNextEmptyPreset("Next", state))
  {
  }
  EXPECT_EQ(plug.GetPresetName(TestPlug::kPresets - 1), "Next");
  EXPECT_FALSE(plug.FillNextEmptyPreset("One too many", state));
}

TEST(Programs, RestorePresetAppliesAStoredState)
{
  TestPlug plug;
  plug.FillEmptyPresets(TestPlug::kPresets);
  plug.SetValues(0.1, 0.2, 0.0, 0.4);
  plug.ModifyCurrentPreset("First");
  EXPECT_EQ(plug.GetPresetName(0), "First");

  plug.SetValues(0.9, 0.9, 1.0, 0.9);
  plug.changes.clear();
  EXPECT_TRUE(plug.RestorePreset(0));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.1, 0.2, 0.0, 0.4}));
  EXPECT_EQ(plug.changes.size(), 4u);
  EXPECT_FALSE(plug.RestorePreset(8));
  EXPECT_FALSE(plug.RestorePreset(-1));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
}

TEST(Programs, RestoringAnUninitialisedSlotNumbersItAfterTheUserPresets)
{
  TestPlug plug;
  plug.FillEmptyPresets(3);
  ASSERT_TRUE(plug.RestorePreset(4)); // the first user preset
  EXPECT_EQ(plug.GetPresetName(4), "user preset 1");
  ASSERT_TRUE(plug.RestorePreset(5));
  EXPECT_EQ(plug.GetPresetName(5), "user preset 2");
  plug.SetValues(0.6, 0.6, 0.0, 0.6);
  ASSERT_TRUE(plug.RestorePreset(7));
  EXPECT_EQ(plug.GetPresetName(7), "user preset 3");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 7);

  // The slot holds the state it was given.
  plug.SetValues(0.0, 0.0, 1.0, 0.25);
  ASSERT_TRUE(plug.RestorePreset(7));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.6, 0.6, 0.0, 0.6}));
}

TEST(Programs, ABankRoundTripRestoresEveryNameAndStateAndTheCurrentProgram)
{
  TestPlug source;
  source.FillEmptyPresets(TestPlug::kPresets);
  for (int i = 0; i < TestPlug::kPresets; ++i)
  {
    ASSERT_TRUE(source.RestorePreset(i));
    source.SetValues(0.1 * i, 0.15 * i, i % 2, 0.25 + 0.05 * i);
    source.ModifyCurrentPreset(("Program " + std::to_string(i)).c_str());
  }
  ASSERT_TRUE(source.RestorePreset(3));
  ByteBuffer bank;
  ASSERT_TRUE(source.SerializePresets(bank));

  TestPlug target;
  target.FillEmptyPresets(TestPlug::kPresets);
  ASSERT_TRUE(target.RestorePreset(3));
  EXPECT_EQ(target.UnserializePresets(bank, 0), bank.Size());
  for (int i = 0; i < TestPlug::kPresets; ++i)
  {
    EXPECT_EQ(target.GetPresetName(i), "Program " + std::to_string(i));
    EXPECT_TRUE(target.GetPreset(i)->state.IsEqual(source.GetPreset(i)->state)) << i;
  }
  // It ends with the current program applied.
  EXPECT_EQ(target.Values(), (std::vector<double>{0.1 * 3, 0.15 * 3, 1.0, 0.25 + 0.05 * 3}));
}

TEST(Programs, ACutBankLeavesTheSlotsAfterTheCutAsTheyWere)
{
  TestPlug source;
  source.FillEmptyPresets(TestPlug::kPresets);
  for (int i = 0; i < TestPlug::kPresets; ++i)
  {
    ASSERT_TRUE(source.RestorePreset(i));
    source.ModifyCurrentPreset(("New " + std::to_string(i)).c_str());
  }
  ByteBuffer bank;
  source.SerializePresets(bank);
  // Keep the first two slots and half of the third.
  const int perSlot = 4 + 5 + 1 + 32;
  ByteBuffer cut;
  cut.PutBytes(bank.Data(), 2 * perSlot + 20);

  TestPlug target;
  target.FillEmptyPresets(TestPlug::kPresets);
  target.SetValues(0.9, 0.9, 0.0, 0.9);
  ASSERT_TRUE(target.RestorePreset(2));
  target.ModifyCurrentPreset();
  const ByteBuffer slot2 = target.GetPreset(2)->state;
  EXPECT_EQ(target.UnserializePresets(cut, 0), -1);
  EXPECT_EQ(target.GetPresetName(0), "New 0");
  EXPECT_EQ(target.GetPresetName(1), "New 1");
  // The slot whose state is cut takes its name from the bank and keeps its state.
  EXPECT_EQ(target.GetPresetName(2), "New 2");
  EXPECT_TRUE(target.GetPreset(2)->state.IsEqual(slot2));
  EXPECT_EQ(target.GetPresetName(3), "Empty");
  EXPECT_EQ(target.GetPresetName(7), "Empty");
}

TEST(Programs, UninitialisedSlotsTravelInABankWithoutAState)
{
  TestPlug source;
  source.FillEmptyPresets(2);
  ByteBuffer bank;
  source.SerializePresets(bank);
  // Two initialised slots, six named "empty" without states.
  EXPECT_EQ(bank.Size(), 2 * (4 + 5 + 1 + 32) + 6 * (4 + 5 + 1));

  TestPlug target;
  target.FillEmptyPresets(TestPlug::kPresets);
  EXPECT_EQ(target.UnserializePresets(bank, 0), bank.Size());
  EXPECT_FALSE(target.GetPreset(5)->initialised);
  EXPECT_EQ(target.GetPresetName(5), "empty");
}
