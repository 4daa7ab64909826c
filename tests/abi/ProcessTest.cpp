#include "ModuleFixture.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kCanary = 7.0;
bool AllEqual(const std::vector<double>& v, size_t from, size_t to, double x,
              double tolerance = 0.0)
{
  return std::all_of(v.begin() + long(from), v.begin() + long(to),
                     [x, tolerance](double s) { return std::fabs(s - x) <= tolerance; });
}
} // namespace

class ProcessTest : public ModuleTest,
                    public ::testing::WithParamInterface<VstHost::PluginInstance::ProcessMode>
{
};

TEST_P(ProcessTest, RendersSilenceWithoutNotesAndAsksForMidiOncePerCall)
{
  Start();
  plug.ClearHostCalls();
  std::vector<std::vector<double>> out(2, std::vector<double>(kBlockSize, 0.0));
  const bool accumulate = GetParam() == VstHost::PluginInstance::ProcessMode::FloatAccumulating;
  for (int call = 1; call <= 3; ++call)
  {
    for (auto& ch : out)
      std::fill(ch.begin(), ch.end(), accumulate ? 0.25 : kCanary);
    plug.Render(out, kBlockSize, GetParam());
    EXPECT_EQ(plug.HostCallCount(Vst::audioMasterWantMidi), call);
    for (auto& ch : out)
      EXPECT_TRUE(AllEqual(ch, 0, ch.size(), accumulate ? 0.25 : 0.0, kIdleResidue));
  }
}

TEST_P(ProcessTest, MoreFramesThanTheBlockSizeAreRenderedInPieces)
{
  plug.Start(kSampleRate, 64);
  const int frames = 64 * 5 + 17;
  std::vector<std::vector<double>> out(2, std::vector<double>(frames + 8, kCanary));
  const bool accumulate = GetParam() == VstHost::PluginInstance::ProcessMode::FloatAccumulating;
  if (accumulate)
    for (auto& ch : out)
      std::fill(ch.begin(), ch.begin() + frames, 0.0);
  plug.Render(out, frames, GetParam());
  for (auto& ch : out)
  {
    EXPECT_TRUE(AllEqual(ch, 0, size_t(frames), 0.0, kIdleResidue));
    EXPECT_TRUE(AllEqual(ch, size_t(frames), ch.size(), kCanary));
  }
}

// The float paths give the double path's samples rounded to float (and, accumulating,
// added to what the buffers held), for block sizes with and without a remainder of the
// four samples the conversion takes at once.
TEST(ProcessFloatTest, FloatPathsRoundTheDoubleRender)
{
  for (const int frames : {256, 7, 1, 130})
  {
    VstHost::PluginInstance reference, replacing, accumulating;
    for (VstHost::PluginInstance* p : {&reference, &replacing, &accumulating})
    {
      ASSERT_TRUE(p->Load(TG_MODULE_PATH)) << p->Error();
      p->Start(44100.0, 256);
      p->NoteOn(3, 40, 100);
    }
    const auto size = static_cast<std::size_t>(frames);
    std::vector<double> left(size), right(size);
    double* outs[] = {left.data(), right.data()};
    std::vector<float> fl(size), fr(size), al(size), ar(size);
    float* floatOuts[] = {fl.data(), fr.data()};
    float* sums[] = {al.data(), ar.data()};
    for (int block = 0; block < 6; ++block)
    {
      for (int i = 0; i < frames; ++i)
        al[std::size_t(i)] = ar[std::size_t(i)] = 0.125f * float(i % 5) - 0.25f;
      const std::vector<float> before = al;
      reference.RenderDouble(outs, frames);
      replacing.RenderFloat(floatOuts, frames, false);
      accumulating.RenderFloat(sums, frames, true);
      for (int i = 0; i < frames; ++i)
      {
        const auto k = std::size_t(i);
        ASSERT_EQ(fl[k], float(left[k])) << frames << " " << i;
        ASSERT_EQ(fr[k], float(right[k])) << frames << " " << i;
        ASSERT_EQ(al[k], before[k] + float(left[k])) << frames << " " << i;
        ASSERT_EQ(ar[k], before[k] + float(right[k])) << frames << " " << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllPaths, ProcessTest,
    ::testing::Values(VstHost::PluginInstance::ProcessMode::Double,
                      VstHost::PluginInstance::ProcessMode::FloatReplacing,
                      VstHost::PluginInstance::ProcessMode::FloatAccumulating),
    [](const ::testing::TestParamInfo<VstHost::PluginInstance::ProcessMode>& mode)
    {
      switch (mode.param)
      {
      case VstHost::PluginInstance::ProcessMode::Double:
        return "Double";
      case VstHost::PluginInstance::ProcessMode::FloatReplacing:
        return "FloatReplacing";
      default:
        return "FloatAccumulating";
      }
    });

TEST_F(ModuleTest, NegativeOrZeroFrameCountsWriteNothing)
{
  Start();
  std::vector<double> l(8, kCanary), r(8, kCanary);
  double* outs[] = {l.data(), r.data()};
  plug.RenderDouble(outs, -5);
  plug.RenderDouble(outs, 0);
  std::vector<float> fl(8, 7.0f), fr(8, 7.0f);
  float* fouts[] = {fl.data(), fr.data()};
  plug.RenderFloat(fouts, -1, false);
  plug.RenderFloat(fouts, -1, true);
  EXPECT_TRUE(AllEqual(l, 0, 8, kCanary));
  EXPECT_TRUE(AllEqual(r, 0, 8, kCanary));
  EXPECT_TRUE(std::all_of(fl.begin(), fl.end(), [](float s) { return s == 7.0f; }));
  EXPECT_EQ(plug.HostCallCount(Vst::audioMasterWantMidi), 4);
}

TEST_F(ModuleTest, ProcessingWithoutStartUsesTheDefaultBlockSize)
{
  std::vector<std::vector<double>> out;
  plug.Render(out, 3000);
  EXPECT_TRUE(AllEqual(out[0], 0, 3000, 0.0, kIdleResidue));
  EXPECT_TRUE(AllEqual(out[1], 0, 3000, 0.0, kIdleResidue));
}

TEST_F(ModuleTest, EventsAreAcceptedInAnyMixAndNullIsRefused)
{
  Start();
  EXPECT_EQ(Dispatch(Vst::effProcessEvents, 0, 0, nullptr), 0);
  plug.NoteOn(0, 36, 127);
  plug.NoteOff(100, 36);
  plug.PitchBend(5, 1.0);
  plug.QueueMidi(7, 0xB0, 1, 64);
  EXPECT_EQ(plug.SendEvents(), 1);

  // A SysEx event, an unknown type and a SysEx-typed record too short for one among them
  // are passed over safely.
  char dump[4] = {char(0xF0), 1, 2, char(0xF7)};
  Vst::VstMidiSysexEvent sysex{};
  sysex.type = Vst::kVstSysExType;
  sysex.byteSize = sizeof sysex;
  sysex.dumpBytes = 4;
  sysex.sysexDump = dump;
  Vst::VstEvent other{};
  other.type = 99;
  // A record typed as system exclusive but only as long as a plain event.
  Vst::VstEvent shortDump{};
  shortDump.type = Vst::kVstSysExType;
  shortDump.byteSize = sizeof shortDump;
  struct
  {
    int32_t numEvents;
    intptr_t reserved;
    Vst::VstEvent* events[4];
  } list{4, 0, {reinterpret_cast<Vst::VstEvent*>(&sysex), &other, nullptr, &shortDump}};
  EXPECT_EQ(Dispatch(Vst::effProcessEvents, 0, 0, &list), 1);
}
