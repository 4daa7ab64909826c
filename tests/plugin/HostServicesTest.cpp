// The host services of the adapter, against a scripted host callback.
#include "plugin/IEditor.h"
#include "plugin/IPlugVST.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
struct FakeHost
{
  Vst::VstTimeInfo time{};
  bool answerTime = true;
  std::string product;
  intptr_t vendorVersion = 0;
  intptr_t processLevel = 0;
  intptr_t eventsAnswer = 1;
  std::vector<int32_t> opcodes;
  std::vector<intptr_t> timeRequests;
  std::vector<Vst::VstMidiEvent> midi;
  Vst::VstMidiSysexEvent sysex{};
};

FakeHost* gHost = nullptr;

intptr_t VSTCALLBACK Callback(Vst::AEffect*, int32_t opcode, int32_t, intptr_t value, void* ptr,
                              float)
{
  FakeHost& h = *gHost;
  h.opcodes.push_back(opcode);
  switch (opcode)
  {
  case Vst::audioMasterGetTime:
    h.timeRequests.push_back(value);
    return h.answerTime ? reinterpret_cast<intptr_t>(&h.time) : 0;
  case Vst::audioMasterGetProductString:
    std::strcpy(static_cast<char*>(ptr), h.product.c_str());
    return 1;
  case Vst::audioMasterGetVendorVersion:
    return h.vendorVersion;
  case Vst::audioMasterGetCurrentProcessLevel:
    return h.processLevel;
  case Vst::audioMasterProcessEvents:
  {
    const auto* events = static_cast<const Vst::VstEvents*>(ptr);
    if (events->events[0]->type == Vst::kVstMidiType)
      h.midi.push_back(*reinterpret_cast<const Vst::VstMidiEvent*>(events->events[0]));
    else
      h.sysex = *reinterpret_cast<const Vst::VstMidiSysexEvent*>(events->events[0]);
    return h.eventsAnswer;
  }
  default:
    return 0;
  }
}

class TestVst : public IPlugVST
{
public:
  TestVst() : IPlugVST(Info(), Callback) {}
  using IPlugVST::GetHostVersion;

private:
  static PlugInfo Info()
  {
    PlugInfo info;
    info.nParams = 2;
    info.nPresets = 4;
    info.channelIOText = "0-2";
    info.doesMidi = true;
    return info;
  }
};

// An editor that records what the plug-in tells it, and what the parameter held then.
class RecordingEditor : public IEditor
{
public:
  struct Seen
  {
    int index;
    double value;
    bool normalized;
    double heldThen;
  };
  explicit RecordingEditor(IPlugBase* owner) : plug(owner) {}
  int Width() const override { return 1220; }
  int Height() const override { return 835; }
  void SetParameterFromPlug(int paramIdx, double value, bool normalized) override
  {
    seen.push_back({paramIdx, value, normalized, plug->GetParam(paramIdx)->Value()});
  }
  void PrepDraw() override { preparedAfter = int(seen.size()); }
  bool OpenWindow(void* parentWindow) override
  {
    open = parentWindow != nullptr;
    return open;
  }
  void CloseWindow() override { open = false; }
  bool IsWindowOpen() const override { return open; }
  void Idle() override { ++idles; }

  IPlugBase* plug;
  std::vector<Seen> seen;
  int preparedAfter = -1;
  bool open = false;
  int idles = 0;
};

class HostServices : public ::testing::Test
{
protected:
  void SetUp() override { gHost = &host; }
  void TearDown() override { gHost = nullptr; }
  FakeHost host;
};
} // namespace

TEST(HostDetection, ProductStringsMapToHostIdsInKeyOrder)
{
  EXPECT_EQ(IPlugVST::HostIdFromProductString("Cubase VST"), 3);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("REAPER"), 1);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("Ableton Live"), 9);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("Fruity Wrapper"), 7);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("Pro Tools"), 0); // the key has no space
  EXPECT_EQ(IPlugVST::HostIdFromProductString("protools"), 2);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("Studio One (PreSonus)"), 26);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("OpenMPT"), 30);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("VST3PluginTestHost"), 27);
  EXPECT_EQ(IPlugVST::HostIdFromProductString(""), 0);
  EXPECT_EQ(IPlugVST::HostIdFromProductString(nullptr), 0);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("Something else"), 0);
  // The left column of keys is tried before the right one: "live" before "logic".
  EXPECT_EQ(IPlugVST::HostIdFromProductString("logic live"), 9);
  // "digital" comes before "standalone", "cubase" before everything.
  EXPECT_EQ(IPlugVST::HostIdFromProductString("Digital Standalone"), 23);
  EXPECT_EQ(IPlugVST::HostIdFromProductString("reaper cubase"), 3);
}

TEST(HostDetection, DecimalVersionsBecomePacked)
{
  EXPECT_EQ(IPlugVST::PackedHostVersion(10203), (1 << 16) | (2 << 8) | 3);
  EXPECT_EQ(IPlugVST::PackedHostVersion(60000), 6 << 16);
  EXPECT_EQ(IPlugVST::PackedHostVersion(0), 0);
}

TEST_F(HostServices, TheHostIsAskedOnceAndRemembered)
{
  host.product = "Ardour 8";
  host.vendorVersion = 80400;
  TestVst plug;
  EXPECT_EQ(plug.GetHost(), 28);
  EXPECT_EQ(plug.GetHostVersion(), (8 << 16) | (4 << 8));
  host.product = "REAPER";
  EXPECT_EQ(plug.GetHost(), 28);
  EXPECT_EQ(std::count(host.opcodes.begin(), host.opcodes.end(), Vst::audioMasterGetProductString),
            1);
}

TEST_F(HostServices, TimeInfoTakesOnlyWhatTheHostDelivers)
{
  TestVst plug;
  host.time.samplePos = 1000.4;
  host.time.ppqPos = 2.5;
  host.time.tempo = 128.0;
  host.time.barStartPos = -4.0; // negative: not taken
  host.time.cycleStartPos = 4.0;
  host.time.cycleEndPos = 8.0;
  host.time.timeSigNumerator = 7;
  host.time.timeSigDenominator = 8;
  host.time.flags = Vst::kVstTempoValid | Vst::kVstPpqPosValid | Vst::kVstBarsValid |
                    Vst::kVstTimeSigValid | Vst::kVstTransportPlaying;
  TimeInfo info;
  info.lastBar = 3.0;
  info.cycleStart = 1.0;
  plug.GetTimeInfo(&info);
  EXPECT_EQ(host.timeRequests.back(), 0x3E00);
  EXPECT_EQ(info.samplePos, 1000.4);
  EXPECT_EQ(info.ppqPos, 2.5);
  EXPECT_EQ(info.tempo, 128.0);
  EXPECT_EQ(info.lastBar, 3.0);
  EXPECT_EQ(info.cycleStart, 1.0); // cycle flag not set
  EXPECT_EQ(info.numerator, 7);
  EXPECT_EQ(info.denominator, 8);
  EXPECT_TRUE(info.transportPlaying);
  EXPECT_FALSE(info.transportLoop);

  EXPECT_EQ(plug.GetSamplePosition(), 1000);
  host.time.samplePos = 1000.5;
  EXPECT_EQ(plug.GetSamplePosition(), 1001);
  EXPECT_EQ(plug.GetTempo(), 128.0);
  EXPECT_EQ(host.timeRequests.back(), 0x400);
  int num = -1, den = -1;
  plug.GetTimeSignature(&num, &den);
  EXPECT_EQ(num, 7);
  EXPECT_EQ(den, 8);

  // A record without any of the asked bits changes nothing; neither does no record.
  host.time.flags = Vst::kVstTransportPlaying;
  TimeInfo untouched;
  untouched.tempo = 99.0;
  plug.GetTimeInfo(&untouched);
  EXPECT_EQ(untouched.tempo, 99.0);
  EXPECT_EQ(untouched.samplePos, 0.0);
  EXPECT_EQ(plug.GetTempo(), 0.0);
  host.answerTime = false;
  plug.GetTimeInfo(&untouched);
  EXPECT_EQ(plug.GetTempo(), 0.0);
  EXPECT_EQ(plug.GetSamplePosition(), 0);
}

TEST_F(HostServices, NegativePositionsAndTempiAreNotTaken)
{
  TestVst plug;
  host.time.samplePos = -10.0;
  host.time.tempo = -1.0;
  host.time.flags = Vst::kVstTempoValid | Vst::kVstTimeSigValid;
  host.time.timeSigNumerator = -3;
  host.time.timeSigDenominator = 4;
  EXPECT_EQ(plug.GetSamplePosition(), 0);
  EXPECT_EQ(plug.GetTempo(), 0.0);
  int num = -1, den = -1;
  plug.GetTimeSignature(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);
}

TEST_F(HostServices, OfflineRenderingAndMidiOutput)
{
  TestVst plug;
  EXPECT_FALSE(plug.IsRenderingOffline());
  host.processLevel = 4;
  EXPECT_TRUE(plug.IsRenderingOffline());

  MidiMessage msg;
  msg.offset = 12;
  msg.status = 0x91;
  msg.data1 = 60;
  msg.data2 = 100;
  EXPECT_TRUE(plug.SendMidiMessage(msg));
  ASSERT_EQ(host.midi.size(), 1u);
  EXPECT_EQ(host.midi[0].byteSize, 32);
  EXPECT_EQ(host.midi[0].deltaFrames, 12);
  EXPECT_EQ(uint8_t(host.midi[0].midiData[0]), 0x91);
  EXPECT_EQ(host.midi[0].midiData[1], 60);
  EXPECT_EQ(host.midi[0].midiData[2], 100);
  EXPECT_EQ(host.midi[0].midiData[3], 0);

  const uint8_t dump[] = {0xF0, 0x7E, 0xF7};
  SysExMessage sysex{3, 3, dump};
  host.eventsAnswer = 0;
  EXPECT_FALSE(plug.SendSysEx(sysex));
  EXPECT_EQ(host.sysex.byteSize, 48);
  EXPECT_EQ(host.sysex.dumpBytes, 3);
  EXPECT_EQ(host.sysex.deltaFrames, 3);

  // The base forwards incoming MIDI to the host.
  host.eventsAnswer = 1;
  plug.ProcessMidiMessage(msg);
  EXPECT_EQ(host.midi.size(), 2u);
}

TEST_F(HostServices, AutomationAndDisplayNotifications)
{
  TestVst plug;
  plug.GetParam(0)->InitDouble("a", 0, 0, 1, 0.001);
  plug.BeginParameterEdit(0);
  plug.SetParameterFromEditor(0, 0.25);
  plug.EndParameterEdit(0);
  plug.NotifyHostOfProgramChange();
  EXPECT_EQ(host.opcodes,
            (std::vector<int32_t>{Vst::audioMasterBeginEdit, Vst::audioMasterAutomate,
                                  Vst::audioMasterEndEdit, Vst::audioMasterUpdateDisplay}));
  host.opcodes.clear();
  plug.InformHostOfAllParameters();
  EXPECT_EQ(host.opcodes,
            (std::vector<int32_t>{Vst::audioMasterAutomate, Vst::audioMasterAutomate}));
  plug.SetLatency(64);
  EXPECT_EQ(plug.GetAEffect()->initialDelay, 64);
  EXPECT_EQ(plug.GetLatency(), 64);
}

TEST_F(HostServices, TheEditorHearsTheHostFirstAndOpensThroughTheDispatcher)
{
  TestVst plug;
  plug.GetParam(0)->InitDouble("a", 0.25, 0, 1, 0.001);
  plug.GetParam(1)->InitDouble("b", 2.0, 0, 4, 0.01);
  Vst::AEffect* effect = plug.GetAEffect();
  EXPECT_EQ(effect->flags & Vst::effFlagsHasEditor, 0);
  auto* editor = new RecordingEditor(&plug);
  plug.AttachEditor(editor);

  // Attaching pushes every parameter, normalized and in order, before the first drawing.
  EXPECT_EQ(effect->flags & Vst::effFlagsHasEditor, Vst::effFlagsHasEditor);
  ASSERT_EQ(editor->seen.size(), 2u);
  EXPECT_EQ(editor->seen[0].index, 0);
  EXPECT_DOUBLE_EQ(editor->seen[0].value, 0.25);
  EXPECT_EQ(editor->seen[1].index, 1);
  EXPECT_DOUBLE_EQ(editor->seen[1].value, 0.5);
  EXPECT_TRUE(editor->seen[1].normalized);
  EXPECT_EQ(editor->preparedAfter, 2);
  struct Rect
  {
    int16_t top, left, bottom, right;
  };
  Rect* rect = nullptr;
  ASSERT_EQ(effect->dispatcher(effect, Vst::effEditGetRect, 0, 0, &rect, 0), 1);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 835);
  EXPECT_EQ(rect->right, 1220);

  // The host's values reach the editor while the parameter still holds the old one.
  editor->seen.clear();
  effect->setParameter(effect, 0, 0.75f);
  char text[] = "3";
  EXPECT_EQ(effect->dispatcher(effect, Vst::effString2Parameter, 1, 0, text, 0), 1);
  ASSERT_EQ(editor->seen.size(), 2u);
  EXPECT_DOUBLE_EQ(editor->seen[0].value, 0.75);
  EXPECT_TRUE(editor->seen[0].normalized);
  EXPECT_DOUBLE_EQ(editor->seen[0].heldThen, 0.25);
  EXPECT_DOUBLE_EQ(editor->seen[1].value, 3.0);
  EXPECT_FALSE(editor->seen[1].normalized);
  EXPECT_DOUBLE_EQ(editor->seen[1].heldThen, 2.0);
  EXPECT_DOUBLE_EQ(plug.GetParam(0)->Value(), 0.75);
  EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 3.0);

  // Open, idle and close go to the editor; idle only while its window is open.
  EXPECT_EQ(effect->dispatcher(effect, Vst::effEditIdle, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(effect->dispatcher(effect, Vst::effEditOpen, 0, 0, nullptr, 0), 0);
  int parent = 0;
  EXPECT_EQ(effect->dispatcher(effect, Vst::effEditOpen, 0, 0, &parent, 0), 1);
  effect->dispatcher(effect, Vst::effEditIdle, 0, 0, nullptr, 0);
  EXPECT_EQ(effect->dispatcher(effect, Vst::effEditClose, 0, 0, nullptr, 0), 1);
  effect->dispatcher(effect, Vst::effEditIdle, 0, 0, nullptr, 0);
  EXPECT_EQ(editor->idles, 1);
  EXPECT_FALSE(editor->open);
}
