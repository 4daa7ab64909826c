#include "TestPlug.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

TEST(IPlugBase, ConstructionGivesDefaultsAndChannelsFromTheIOText)
{
  TestPlug plug;
  EXPECT_EQ(plug.NParams(), 4);
  EXPECT_EQ(plug.NPresets(), 8);
  EXPECT_EQ(plug.NInChannels(), 0);
  EXPECT_EQ(plug.NOutChannels(), 2);
  ASSERT_EQ(plug.ChannelIOPairs().size(), 2u);
  EXPECT_EQ(plug.ChannelIOPairs()[0].nOut, 1);
  EXPECT_EQ(plug.ChannelIOPairs()[1].nOut, 2);
  EXPECT_EQ(plug.GetSampleRate(), 44100.0);
  EXPECT_EQ(plug.GetHost(), -1);
  EXPECT_EQ(plug.GetPlugVersionDecimal(), 10800);
  EXPECT_EQ(plug.GetPresetName(0), "empty");
  EXPECT_EQ(plug.GetPresetName(8), "");
  EXPECT_EQ(plug.GetPresetName(-1), "");
  EXPECT_EQ(plug.GetParam(4), nullptr);
  EXPECT_EQ(plug.GetParam(-1), nullptr);
}

TEST(IPlugBase, SetParameterFromEditorSetsNotifiesAndRoutes)
{
  TestPlug plug;
  plug.SetParameterFromEditor(1, 1.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 1.259);
  ASSERT_EQ(plug.notified.size(), 1u);
  EXPECT_EQ(plug.notified[0].first, 1);
  EXPECT_EQ(plug.notified[0].second, 1.0);
  EXPECT_EQ(plug.changes, std::vector<int>{1});

  plug.SetParameterFromEditor(4, 0.5);
  plug.SetParameterFromEditor(-1, 0.5);
  EXPECT_EQ(plug.notified.size(), 1u);
  EXPECT_EQ(plug.changes.size(), 1u);
}

TEST(IPlugBase, UnserializeParamsClampsAndRoutesEveryParameter)
{
  TestPlug plug;
  ByteBuffer chunk;
  for (double v : {2.0, 1.2, -1.0, 0.0})
    chunk.PutDouble(v);
  EXPECT_EQ(plug.UnserializeParams(chunk, 0), 32);
  EXPECT_EQ(plug.Values(), (std::vector<double>{1.0, 1.2, 0.0, 0.25}));
  EXPECT_EQ(plug.changes, (std::vector<int>{0, 1, 2, 3}));
}

TEST(IPlugBase, AShortParameterBlockStopsAtTheMissingValue)
{
  TestPlug plug;
  plug.SetValues(0.3, 0.3, 1.0, 0.9);
  ByteBuffer chunk;
  chunk.PutDouble(0.7);
  chunk.PutDouble(0.8);
  // The third value is missing: it becomes 0 within its range, the fourth keeps its value.
  EXPECT_EQ(plug.UnserializeParams(chunk, 0), -1);
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.7, 0.8, 0.0, 0.9}));
  EXPECT_EQ(plug.changes.size(), 4u);
}

TEST(IPlugBase, CompareStateSeesEveryDifference)
{
  TestPlug plug;
  ByteBuffer chunk;
  plug.SerializeState(chunk);
  EXPECT_TRUE(plug.CompareState(chunk, 0));
  plug.GetParam(3)->Set(0.75);
  EXPECT_FALSE(plug.CompareState(chunk, 0));
  ByteBuffer shortChunk;
  shortChunk.PutDouble(0.5);
  EXPECT_FALSE(plug.CompareState(shortChunk, 0));
}

TEST(IPlugBase, BlockSizeGivesScratchBuffersAndTheBaseBlockIsSilent)
{
  TestPlug plug;
  plug.SetBlockSize(64);
  EXPECT_EQ(plug.GetBlockSize(), 64);
  plug.SetBlockSize(0);
  plug.SetBlockSize(-5);
  EXPECT_EQ(plug.GetBlockSize(), 64);

  std::vector<double> left(64, 9.0), right(64, 9.0);
  double* outs[] = {left.data(), right.data()};
  plug.ProcessBlock(nullptr, outs, 64);
  EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](double v) { return v == 0.0; }));
  EXPECT_TRUE(std::all_of(right.begin(), right.end(), [](double v) { return v == 0.0; }));
}

TEST(IPlugBase, NonFiniteValuesNeverReachAParameter)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  TestPlug plug;
  plug.SetValues(0.3, 0.3, 1.0, 0.9);
  for (double v : {nan, inf, -inf})
  {
    plug.GetParam(0)->Set(v);
    plug.GetParam(1)->SetNormalized(v);
    plug.SetParameterFromEditor(3, v);
  }
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.3, 0.3, 1.0, 0.9}));
  EXPECT_TRUE(plug.notified.empty());
  EXPECT_TRUE(plug.changes.empty());

  // A state holding them is read to its end: each such parameter takes its default.
  ByteBuffer chunk;
  for (double v : {nan, 0.7, inf, -inf})
    chunk.PutDouble(v);
  EXPECT_EQ(plug.UnserializeParams(chunk, 0), 32);
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.5, 0.7, 1.0, 0.5}));
  EXPECT_TRUE(plug.ConsumeRejectedValue()); // so the load reports failure
  EXPECT_FALSE(plug.ConsumeRejectedValue());
  // Text for a value that is not a finite number: an integer display shows 0.
  char text[IParameter::kTextLength];
  plug.GetParam(2)->GetDisplayText(nan, false, text);
  EXPECT_STREQ(text, "0");
}

TEST(IPlugBase, TheHostIsToldTheParametersOwnNormalizedValue)
{
  // Whatever an editor control or the instrument asks for, the host hears the value
  // the parameter now holds, within 0..1.
  struct Case
  {
    int index;
    double asked, told;
  } cases[] = {{0, 0.25, 0.25}, {0, 2.0, 1.0}, {1, 1.5, 1.0}, {3, -1.0, 0.0}, {1, 0.5, 0.5}};
  for (const Case& c : cases)
  {
    TestPlug plug;
    plug.SetParameterFromEditor(c.index, c.asked);
    ASSERT_EQ(plug.notified.size(), 1u);
    EXPECT_DOUBLE_EQ(plug.notified[0].second, c.told) << c.index << " " << c.asked;
    EXPECT_DOUBLE_EQ(plug.GetParam(c.index)->GetNormalized(), c.told);
  }
}
