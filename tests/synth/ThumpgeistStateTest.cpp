// The instrument's programs and program files, on the object itself.
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

TEST(ThumpgeistState, ProgramFileHoldsTheWholeStateAndLoadsBack)
{
  Thumpgeist plug(nullptr);
  plug.FillEmptyPresets(Thumpgeist::kNumPrograms);
  plug.GetParam(ParamIndex::kBassLayerAmount)->Set(1.2);
  plug.GetParam(ParamIndex::kPitchAmount)->Set(0.9);
  plug.ModifyCurrentPreset("Boom Kick");
  const std::string path = std::string(TG_TEST_TMP_DIR) + "/boom.fxp";
  ASSERT_TRUE(plug.SaveProgramFile(path.c_str()));

  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), 60u + 8u + 160u * 8u);
  EXPECT_EQ(uint8_t(bytes[27]), 160); // parameter count, big-endian

  Thumpgeist other(nullptr);
  other.FillEmptyPresets(Thumpgeist::kNumPrograms);
  ASSERT_TRUE(other.RestorePreset(9));
  ASSERT_TRUE(other.LoadProgramFile(path.c_str()));
  EXPECT_EQ(other.GetParam(ParamIndex::kBassLayerAmount)->Value(), 1.2);
  EXPECT_EQ(other.GetParam(ParamIndex::kPitchAmount)->Value(), 0.9);
  EXPECT_EQ(other.GetPresetName(9), "Boom Kick");
}

TEST(ThumpgeistState, FilledSlotsHoldTheDefaultState)
{
  Thumpgeist plug(nullptr);
  plug.FillEmptyPresets(Thumpgeist::kNumPrograms);
  ByteBuffer current;
  plug.SerializeState(current);
  for (int i = 0; i < Thumpgeist::kNumPrograms; ++i)
  {
    EXPECT_EQ(plug.GetPresetName(i), "Empty");
    EXPECT_TRUE(plug.GetPreset(i)->state.IsEqual(current)) << i;
  }
}
