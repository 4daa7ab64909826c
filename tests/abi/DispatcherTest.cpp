#include "ModuleFixture.h"

#include <cstring>

TEST_F(ModuleTest, NamesAndVersionsAreThoseOfThumpgeist)
{
  Start();
  intptr_t r = 0;
  EXPECT_EQ(plug.DispatchText(Vst::effGetEffectName, 0, 0, 0, &r), "Thumpgeist 1.8 FREE");
  EXPECT_EQ(r, 1);
  EXPECT_EQ(plug.DispatchText(Vst::effGetVendorString, 0, 0, 0, &r), "Korvane");
  EXPECT_EQ(r, 1);
  EXPECT_EQ(plug.DispatchText(Vst::effGetProductString, 0, 0, 0, &r), "Thump::Geist 1.8 FREE VST");
  EXPECT_EQ(r, 1);
  EXPECT_EQ(Dispatch(Vst::effGetEffectName), 0);
  EXPECT_EQ(Dispatch(Vst::effGetVendorString), 0);
  EXPECT_EQ(Dispatch(Vst::effGetProductString), 0);
  EXPECT_EQ(Dispatch(Vst::effIdentify), 0x4E764566);
  EXPECT_EQ(Dispatch(Vst::effGetVstVersion), 2400);
  EXPECT_EQ(Dispatch(Vst::effGetPlugCategory), 2);
  EXPECT_EQ(Dispatch(Vst::effCanBeAutomated, 0), 1);
  EXPECT_EQ(Dispatch(Vst::effCanBeAutomated, 500), 1);
}

TEST_F(ModuleTest, CanDoAnswersExactly)
{
  for (const char* yes : {"receiveVstTimeInfo", "sendVstEvents", "sendVstMidiEvent",
                          "receiveVstEvents", "receiveVstMidiEvent"})
    EXPECT_EQ(plug.CanDo(yes), 1) << yes;
  for (const char* no : {"receiveVstMidiEvents", "ReceiveVstMidiEvent", "offline", "bypass", ""})
    EXPECT_EQ(plug.CanDo(no), 0) << no;
  EXPECT_EQ(Dispatch(Vst::effCanDo, 0, 0, nullptr), 0);
  EXPECT_EQ(plug.CanDo("hasCockosExtensions"), intptr_t(0xBEEF0000));
  EXPECT_EQ(plug.CanDo("hasCockosViewAsConfig"), intptr_t(0xBEEF0000));
}

TEST_F(ModuleTest, OpcodesWithoutActionAnswerZero)
{
  Start();
  char buffer[1024] = {};
  for (int32_t op : {9,  16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 38, 39, 40, 41, 43,  44, 46,
                     49, 52, 54, 55, 56, 57, 59, 60, 61, 62, 63, 64, 65, 67, 68, 70, 100, -1})
    EXPECT_EQ(Dispatch(op, 0, 0, buffer), 0) << "opcode " << op;
  EXPECT_EQ(Dispatch(Vst::effEditIdle), 0);
  EXPECT_EQ(Dispatch(Vst::effIdle), 0);
}

TEST_F(ModuleTest, EditorRectIsTheWindowsSizeAndNoParentOpensNothing)
{
  struct Rect
  {
    int16_t top, left, bottom, right;
  };
  Rect* rect = nullptr;
  ASSERT_EQ(Dispatch(Vst::effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 835);
  EXPECT_EQ(rect->right, 1220);
  EXPECT_EQ(Dispatch(Vst::effEditGetRect, 0, 0, nullptr), 0);
  // Without a parent window there is nothing to open the editor in.
  EXPECT_EQ(Dispatch(Vst::effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(Vst::effEditIdle), 0);
}

TEST_F(ModuleTest, PinPropertiesDescribeOneStereoOutputPair)
{
  Vst::VstPinProperties pin{};
  for (int i = -1; i < 3; ++i)
    EXPECT_EQ(Dispatch(Vst::effGetInputProperties, i, 0, &pin), 0);

  ASSERT_EQ(Dispatch(Vst::effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 3);
  EXPECT_STREQ(pin.label, "Output 1");
  ASSERT_EQ(Dispatch(Vst::effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 1);
  EXPECT_STREQ(pin.label, "Output 2");
  EXPECT_EQ(Dispatch(Vst::effGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Dispatch(Vst::effGetOutputProperties, 0, 0, nullptr), 0);
}

TEST_F(ModuleTest, SpeakerArrangementsAreEmptyInAndStereoOut)
{
  Vst::VstSpeakerArrangement* in = nullptr;
  Vst::VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(Dispatch(Vst::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->type, -1);
  EXPECT_EQ(in->numChannels, 0);
  EXPECT_EQ(out->type, 1);
  EXPECT_EQ(out->numChannels, 2);
  EXPECT_EQ(Dispatch(Vst::effGetSpeakerArrangement, 0, 0, nullptr), 1);
}

TEST_F(ModuleTest, AMonoOutputArrangementRendersOnlyTheFirstChannel)
{
  Start();
  Vst::VstSpeakerArrangement mono{};
  mono.type = Vst::kSpeakerArrMono;
  mono.numChannels = 1;
  EXPECT_EQ(Dispatch(Vst::effSetSpeakerArrangement, 0, 0, &mono), 1);
  // The disconnected second output is left untouched by the plug-in.
  std::vector<double> left(kBlockSize, 5.0), right(kBlockSize, 5.0);
  double* outs[] = {left.data(), right.data()};
  plug.RenderDouble(outs, kBlockSize);
  EXPECT_NEAR(left[0], 0.0, kIdleResidue);
  EXPECT_EQ(right[0], 5.0);

  Vst::VstSpeakerArrangement stereo{};
  stereo.type = Vst::kSpeakerArrStereo;
  stereo.numChannels = 2;
  EXPECT_EQ(Dispatch(Vst::effSetSpeakerArrangement, 0, 0, &stereo), 1);
  plug.RenderDouble(outs, kBlockSize);
  EXPECT_NEAR(right[0], 0.0, kIdleResidue);
  EXPECT_EQ(Dispatch(Vst::effSetSpeakerArrangement, 0, 0, nullptr), 1);
}

TEST_F(ModuleTest, VendorSpecificGivesDisplayTextsAndParameterKinds)
{
  char text[64] = "untouched";
  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 7, 3, text, 0.25f), 0xBEEF);
  EXPECT_STREQ(text, "0.250");
  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 7, 110, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "0.062"); // "Bit-Crash Quantize" has shape 4
  std::strcpy(text, "untouched");
  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 7, 160, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "untouched");
  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 7, -1, text, 0.5f), 0xBEEF);
  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 7, 3, nullptr, 0.5f), 0);

  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 8, 3), 0);        // continuous
  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 8, 137), 0xBEEF); // never initialised
  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 8, 160), 0);
  EXPECT_EQ(Dispatch(Vst::effVendorSpecific, 9, 3, text), 0);
}

TEST_F(ModuleTest, MidiKeyNamesAreNotProvided)
{
  Vst::MidiKeyName key{};
  key.thisKeyNumber = 36;
  std::strcpy(key.keyName, "stale");
  EXPECT_EQ(Dispatch(Vst::effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_EQ(key.keyName[0], 0);
  EXPECT_EQ(Dispatch(Vst::effGetMidiKeyName, 0, 0, nullptr), 0);
}

TEST_F(ModuleTest, OpenAsksTheHostWhoItIsOnce)
{
  plug.SetProductString("REAPER");
  plug.SetVendorVersion(60000);
  Start();
  EXPECT_EQ(plug.HostCallCount(Vst::audioMasterGetProductString), 1);
  EXPECT_EQ(plug.HostCallCount(Vst::audioMasterGetVendorVersion), 1);
  Dispatch(Vst::effOpen);
  EXPECT_EQ(plug.HostCallCount(Vst::audioMasterGetProductString), 1);
}

TEST_F(ModuleTest, AHostWithoutProductStringIsNotAskedForItsVersion)
{
  plug.SetProductString("");
  Start();
  EXPECT_EQ(plug.HostCallCount(Vst::audioMasterGetProductString), 1);
  EXPECT_EQ(plug.HostCallCount(Vst::audioMasterGetVendorVersion), 0);
}

TEST_F(ModuleTest, SampleRateBlockSizeAndMainsAreAccepted)
{
  EXPECT_EQ(Dispatch(Vst::effOpen), 0);
  EXPECT_EQ(Dispatch(Vst::effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
  EXPECT_EQ(Dispatch(Vst::effSetBlockSize, 0, 64), 0);
  EXPECT_EQ(Dispatch(Vst::effSetBlockSize, 0, 0), 0);
  EXPECT_EQ(Dispatch(Vst::effSetBlockSize, 0, -128), 0);
  EXPECT_EQ(Dispatch(Vst::effMainsChanged, 0, 1), 0);
  EXPECT_EQ(Dispatch(Vst::effMainsChanged, 0, 0), 0);
  EXPECT_EQ(Dispatch(Vst::effMainsChanged, 0, 1), 0);
  std::vector<std::vector<double>> out;
  plug.Render(out, 1000);
  EXPECT_NEAR(out[0][999], 0.0, kIdleResidue);
}

TEST(ModuleDispatcher, ARecordWithoutObjectIsAnsweredWithZero)
{
  VstHost::PluginInstance plug;
  ASSERT_TRUE(plug.Load(TG_MODULE_PATH));
  Vst::AEffect copy = *plug.Effect();
  copy.object = nullptr;
  char text[64] = {};
  EXPECT_EQ(copy.dispatcher(&copy, Vst::effGetEffectName, 0, 0, text, 0), 0);
  EXPECT_EQ(copy.dispatcher(&copy, Vst::effIdentify, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(copy.dispatcher(&copy, Vst::effClose, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(copy.getParameter(&copy, 0), 0.0f);
  copy.setParameter(&copy, 0, 0.5f);
  std::vector<double> l(16), r(16);
  double* outs[] = {l.data(), r.data()};
  copy.processDoubleReplacing(&copy, nullptr, outs, 16);
}
