#include "synth/ParameterTable.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
// A bare base with the instrument's 160 records, for running sections one by one.
class BarePlug : public IPlugBase
{
public:
  BarePlug() : IPlugBase(Info()) {}

private:
  static PlugInfo Info()
  {
    PlugInfo info;
    info.nParams = 160;
    return info;
  }
};

std::string ExpectedGroup(int i)
{
  if (i < 63)
    return "OSC" + std::to_string(i / 21 + 1);
  if (i >= 80 && i <= 84)
    return "SUB-OSC";
  if (i == 95)
    return "FM";
  if (i >= 96 && i <= 99)
    return "EQ";
  if (i >= 100 && i <= 112)
    return "DISTO";
  if (i >= 139)
    return "Reserved";
  return "";
}
} // namespace

TEST(ParameterTable, GroupsRangesShapesAndSteps)
{
  Thumpgeist plug(nullptr);
  for (int i = 0; i < 160; ++i)
  {
    SCOPED_TRACE(i);
    const IParameter* p = plug.GetParam(i);
    EXPECT_EQ(p->Group(), ExpectedGroup(i));
    EXPECT_EQ(p->Min(), 0.0);
    EXPECT_EQ(p->Max(), i == ParamIndex::kBassLayerAmount ? 1.259 : 1.0);
    EXPECT_EQ(p->Shape(), i == ParamIndex::kBitCrushQuantize ? 4.0 : 1.0);
    EXPECT_EQ(p->Type(),
              i == ParamIndex::kHqFilter ? IParameter::kTypeNone : IParameter::kTypeDouble);
    EXPECT_EQ(p->Value(), p->Default());
  }
  // Steps that set a precision other than three decimals.
  EXPECT_EQ(plug.GetParam(ParamIndex::kPitchBendRange)->Step(), 1.0 / 7.0);
  EXPECT_EQ(plug.GetParam(ParamIndex::kPitchBendRange)->Default(), 1.0 / 6.0);
  EXPECT_EQ(plug.GetParam(ParamIndex::kDistoMode)->Step(), 1.0 / 3.0);
  EXPECT_EQ(plug.GetParam(ParamIndex::kFilterType1)->Step(), 0.25);
  EXPECT_EQ(plug.GetParam(ParamIndex::kFilterType2)->Step(), 1.0 / 6.0);
  EXPECT_EQ(plug.GetParam(ParamIndex::kRingWaveform)->Step(), 0.2);
  EXPECT_EQ(plug.GetParam(ParamIndex::Osc(2, ParamIndex::kOscFilterTypeLeft))->Step(), 0.2);
  EXPECT_EQ(plug.GetParam(ParamIndex::Osc(1, ParamIndex::kOscLfoTempoSync))->Step(), 0.1);
  EXPECT_EQ(plug.GetParam(ParamIndex::kFirstReserved)->Step(), 0.1);
}

TEST(ParameterTable, IndexOneThirtySevenKeepsTheConstructionDefaults)
{
  Thumpgeist plug(nullptr);
  const IParameter* p = plug.GetParam(ParamIndex::kHqFilter);
  EXPECT_STREQ(p->Name(), "");
  EXPECT_STREQ(p->Label(), "");
  EXPECT_EQ(p->Value(), 0.0);
  EXPECT_EQ(p->Step(), 1.0);
  EXPECT_EQ(p->Shape(), 1.0);
}

TEST(ParameterTable, EachSectionInitialisesItsOwnParametersOnly)
{
  std::set<int> seen;
  for (ParameterTable::Section section : ParameterTable::kSectionOrder)
  {
    BarePlug plug;
    ParameterTable::InitSection(plug, section);
    for (int i = 0; i < 160; ++i)
    {
      if (plug.GetParam(i)->Type() == IParameter::kTypeNone)
        continue;
      EXPECT_TRUE(seen.insert(i).second) << "parameter " << i << " initialised twice";
    }
  }
  EXPECT_EQ(seen.size(), 159u);
  EXPECT_EQ(seen.count(ParamIndex::kHqFilter), 0u);

  // The volume envelope's builder also sets the envelope shape; the meter's sets the limiter.
  BarePlug volume;
  ParameterTable::InitSection(volume, ParameterTable::Section::VolumeEnvelope);
  EXPECT_STREQ(volume.GetParam(ParamIndex::kAdsrShape)->Name(), "ADSR shape");
  BarePlug meter;
  ParameterTable::InitSection(meter, ParameterTable::Section::LevelMeterLimiter);
  EXPECT_STREQ(meter.GetParam(ParamIndex::kLimitOutput)->Name(), "Limit output");
  EXPECT_EQ(meter.GetParam(ParamIndex::kOutputVolume)->Type(), IParameter::kTypeNone);
}

TEST(ParameterTable, IndicesNameTheRightParameters)
{
  Thumpgeist plug(nullptr);
  EXPECT_STREQ(plug.GetParam(ParamIndex::Osc(2, ParamIndex::kOscLfoToPan))->Name(),
               "Osc3 LFO3 to PAN");
  EXPECT_STREQ(plug.GetParam(ParamIndex::Osc(1, ParamIndex::kOscFilterReso))->Name(),
               "Osc2 filter rezo");
  EXPECT_STREQ(plug.GetParam(ParamIndex::kFmAmount)->Name(), "FM 1.00 carrier amount");
  EXPECT_STREQ(plug.GetParam(ParamIndex::kDumpExpand)->Name(), "LoPass/HiPass");
  EXPECT_STREQ(plug.GetParam(ParamIndex::kBitCrushQuantize)->Name(), "Bit-Crash Quantize");
  EXPECT_STREQ(plug.GetParam(ParamIndex::kOutputVolume)->Name(), "Output volume");
  EXPECT_STREQ(plug.GetParam(ParamIndex::kLastReserved)->Name(), "Reserved_Param_20");
}
