// The instrument's programs and program files, on the object itself.
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <limits>

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
  ASSERT_EQ(bytes.size(), 60u + 8u + 5380u); // header, chunk header, state
  EXPECT_EQ(uint8_t(bytes[27]), 160);        // parameter count, big-endian

  Thumpgeist other(nullptr);
  other.FillEmptyPresets(Thumpgeist::kNumPrograms);
  ASSERT_TRUE(other.RestorePreset(9));
  ASSERT_TRUE(other.LoadProgramFile(path.c_str()));
  EXPECT_EQ(other.GetParam(ParamIndex::kBassLayerAmount)->Value(), 1.2);
  EXPECT_EQ(other.GetParam(ParamIndex::kPitchAmount)->Value(), 0.9);
  EXPECT_EQ(other.GetPresetName(9), "Boom Kick");
}

namespace
{
std::array<double, 512> CurveOf(const Thumpgeist& plug)
{
  std::array<double, 512> points{};
  plug.Master().ReadCurve(points.data());
  return points;
}
} // namespace

TEST(ThumpgeistState, SlotsHoldTheFactoryProgramsAndTheTitleNamesTheCurrentOne)
{
  Thumpgeist plug(nullptr);
  const ByteBuffer before = plug.GetPreset(5)->state;
  plug.FillEmptyPresets(Thumpgeist::kNumPrograms); // every slot is taken already
  EXPECT_TRUE(plug.GetPreset(5)->state.IsEqual(before));
  const struct
  {
    int slot;
    const char* title;
  } cases[] = {
      {0, "01: Basic Bass Drum 1"}, {29, "30: Tosk Doomcore-Kick"}, {127, "128: Basic Sine wave"}};
  for (const auto& c : cases)
  {
    ASSERT_TRUE(plug.RestorePreset(c.slot));
    EXPECT_EQ(plug.CurrentProgramTitle(), c.title);
    EXPECT_EQ(plug.GetPreset(c.slot)->state.Size(), 5380);
  }
}

TEST(ThumpgeistState, PresetTextFileRestoresTheSoundAndRenamesTheCurrentSlot)
{
  Thumpgeist plug(nullptr);
  ASSERT_TRUE(plug.RestorePreset(107)); // a lead with unison, drive and delay
  // Values far from any default, routed as the editor would set them.
  for (int i : {3, 5, 9, 10, 64, 80, 94, 101, 116, 117, 122, 125, 128, 138})
    plug.SetParameterFromEditor(i, 0.05 + 0.00612345678 * i);
  plug.SetParameterFromEditor(ParamIndex::kFilterType1, 1.0);       // "RBJ BandStop"
  plug.SetParameterFromEditor(ParamIndex::kFilterType2, 4.0 / 5.0); // band-pass
  plug.SetDistortionCurveOperation(3);                              // the curve is an edited one
  plug.ModifyCurrentPreset("A long program name that will not fit");
  const std::string path = std::string(TG_TEST_TMP_DIR) + "/lead.txt";
  ASSERT_TRUE(plug.SavePresetTextFile(path.c_str()));

  Thumpgeist other(nullptr);
  ASSERT_TRUE(other.RestorePreset(3));
  EXPECT_FALSE(other.LoadPresetTextFile((path + ".missing").c_str()));
  EXPECT_EQ(other.GetPresetName(3), "Basic Kick Drum 1");
  ASSERT_TRUE(other.LoadPresetTextFile(path.c_str()));
  // Numbers come back rounded to single precision; the waveforms, the distortion type
  // and both filter types are written by name and come back exactly.
  for (int i = 0; i <= 138; ++i)
  {
    const double v = plug.GetParam(i)->Value();
    const bool named = i == 1 || i == 22 || i == 43 || i == 102 || i == 118 || i == 119;
    EXPECT_EQ(other.GetParam(i)->Value(), named ? v : double(float(v))) << i;
  }
  const std::array<double, 512> curve = CurveOf(other), original = CurveOf(plug);
  for (size_t k = 0; k < curve.size(); ++k)
    EXPECT_NEAR(curve[k], original[k], 1e-10) << k; // the text carries ten decimals
  // The current slot took the file's name (its first 32 characters) and the sound.
  EXPECT_EQ(other.GetPresetName(3), "A long program name that will no");
  EXPECT_EQ(other.CurrentProgramTitle(), "04: A long program name that will no");
  ByteBuffer current;
  other.SerializeState(current);
  EXPECT_TRUE(other.GetPreset(3)->state.IsEqual(current));
}

TEST(ThumpgeistState, TheCurveAndEveryValueSurviveBitForBit)
{
  Thumpgeist plug(nullptr);
  plug.SetParameterFromEditor(ParamIndex::kDistoType, 7.0 / 35.0);
  plug.SetDistortionCurveOperation(3); // the audio is not running: noise is added at once
  plug.GetParam(ParamIndex::kBassLayerAmount)->Set(1.2);
  plug.GetParam(ParamIndex::kFilterCutoff)->Set(0.1234567890123);
  ByteBuffer state;
  ASSERT_TRUE(plug.SerializeState(state));
  ASSERT_EQ(state.Size(), 5380);

  Thumpgeist other(nullptr);
  EXPECT_FALSE(other.CompareState(state, 0));
  ASSERT_EQ(other.UnserializeState(state, 0), 5380);
  EXPECT_EQ(CurveOf(other), CurveOf(plug));
  EXPECT_EQ(other.GetParam(ParamIndex::kBassLayerAmount)->Value(), 1.2);
  EXPECT_EQ(other.GetParam(ParamIndex::kFilterCutoff)->Value(), 0.1234567890123);
  EXPECT_TRUE(other.CompareState(state, 0));
  // The routing ran: the distortion type and its curve are those of the state.
  EXPECT_EQ(other.Master().AudioChain().distortion.typeIndex, 7);
  EXPECT_EQ(other.Master().AudioChain().distortion.activeCurve->points,
            other.Master().EditorChain().distortion.activeCurve->points);
}

TEST(ThumpgeistState, ShortAndDamagedStatesLoadWhatTheyHoldAndFail)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case
  {
    const char* what;
    std::vector<double> doubles; // after the count
    int expectedEnd;
    double point0, point511; // the curve afterwards
  };
  std::vector<double> full(512 + 160, 0.25);
  full[0] = nan; // a damaged point loads as 0, and the rest as stored
  const Case cases[] = {
      {"one point: every point takes it", {0.625}, -1, 0.625, 0.625},
      {"three points: the rest repeat the last", {0.1, 0.2, -0.3}, -1, 0.1, -0.3},
      {"a non-finite point loads as 0", full, -1, 0.0, 0.25},
  };
  for (const Case& c : cases)
  {
    Thumpgeist plug(nullptr);
    ByteBuffer state;
    state.PutInt32(1234); // the count is never checked
    for (double d : c.doubles)
      state.PutDouble(d);
    const int end = plug.UnserializeState(state, 0);
    const bool rejected = plug.ConsumeRejectedValue();
    EXPECT_TRUE(end == -1 || rejected) << c.what;
    const auto curve = CurveOf(plug);
    EXPECT_EQ(curve[0], c.point0) << c.what;
    EXPECT_EQ(curve[511], c.point511) << c.what;
  }
  // Fewer than four bytes: the curve becomes 0 and the first parameter 0 within range.
  Thumpgeist plug(nullptr);
  ByteBuffer tiny;
  tiny.PutByte(1);
  EXPECT_EQ(plug.UnserializeState(tiny, 0), -1);
  EXPECT_EQ(CurveOf(plug)[300], 0.0);
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
}

TEST(ThumpgeistState, VersionInfoNamesTheProduct)
{
  const VersionInfo info = Thumpgeist(nullptr).Version();
  EXPECT_EQ(info.shortTitle, "Thump-Geist 1.8");
  EXPECT_EQ(info.editionTitle, "Thump-Geist 1.8 FREE");
  EXPECT_EQ(info.fullTitle, "Korvane Thump::Geist Version 1.8 FREE");
  EXPECT_EQ(info.edition, "Free Version");
  EXPECT_EQ(info.uniqueId, 0x717A7674);
}
