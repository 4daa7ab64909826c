#include "ModuleFixture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace
{
// What a host must see for each parameter, written out independently of the
// instrument's own table.
struct Expected
{
  std::string name;
  std::string label;
  double defaultValue;
  int decimals; // display precision follows the step
};

std::vector<Expected> ExpectedParameters()
{
  std::vector<Expected> e(160);
  for (int k = 1; k <= 3; ++k)
  {
    const std::string o = "Osc" + std::to_string(k);
    const std::string lfo = o + " LFO" + std::to_string(k);
    const int b = 21 * (k - 1);
    e[b + 0] = {"Oscillator " + std::to_string(k) + " On/Off", "", 1, 0};
    e[b + 1] = {o + " waveform", "", 0, 3};
    e[b + 2] = {o + " start phase", "", 0.5, 3};
    e[b + 3] = {o + " Tune", "", 0.5, 3};
    e[b + 4] = {o + " volume", "", 1, 3};
    e[b + 5] = {o + " saturation", "", 0, 3};
    e[b + 6] = {o + " pan", "", 0.5, 3};
    e[b + 7] = {o + " Pitch", "", 0.5, 3};
    e[b + 8] = {o + " filter balance", "", 0, 3};
    e[b + 9] = {o + " filter cutoff", "", 1, 3};
    e[b + 10] = {o + " filter rezo", "", 0, 3};
    e[b + 11] = {o + " filter type left", "", 0, 1};
    e[b + 12] = {o + " filter type right", "", 0, 1};
    // The LFOs start tempo-synchronised at ratio 1: at the test host's 120 BPM that is
    // 2 Hz, 0.1 of the rate parameter's 0..20 Hz.
    e[b + 13] = {lfo + " freq.", "Hz", 0.1, 3};
    e[b + 14] = {lfo + " link all", "", 0, 3};
    e[b + 15] = {lfo + " tempo sync", "", 0.5, 1};
    e[b + 16] = {lfo + " mode", "", 0, 3};
    e[b + 17] = {lfo + " to volume", "", 0, 3};
    e[b + 18] = {lfo + " to tune", "", 0, 3};
    e[b + 19] = {lfo + " to filter", "", 0, 3};
    e[b + 20] = {lfo + (k == 3 ? " to PAN" : " to pan"), "", 0, 3};
  }
  const char* envParts[] = {"Attack",   "Decay",    "Sustain", "Release",
                            "Duration", "Velocity", "Amount"};
  const char* envLabels[] = {"s", "s", "%", "s", "s", "", ""};
  const double envDefaults[] = {0.01, 0.5, 0.2, 0.05, 0.2, 1, 1};
  for (int i = 0; i < 7; ++i)
  {
    e[63 + i] = {std::string("Volume Env. ") + envParts[i], envLabels[i], envDefaults[i], 3};
    e[70 + i] = {std::string("Filter Env. ") + envParts[i], envLabels[i], envDefaults[i], 3};
  }
  e[77] = {"Filter Env. To Distortion", "", 1, 3};
  e[78] = {"Filter Env. To Dyn. Shaper", "", 1, 3};
  e[79] = {"ADSR shape", "", 0.3, 3};
  e[80] = {"Bass-Layer amount", "", 0, 3};
  e[81] = {"Bass-Layer solo", "", 0, 0};
  e[82] = {"Bass-Layer to filter", "", 0, 0};
  e[83] = {"Bass-Layer to FM", "", 0, 0};
  e[84] = {"Bass-Layer click", "", 0, 3};
  e[85] = {"Global transpose", "", 0.5, 3};
  e[86] = {"Note transpose mode", "", 0, 1};
  e[87] = {"Pitch-Bend Range", "", 1.0 / 6.0, 6};
  e[88] = {"Pitch env. On/Off", "", 1, 0};
  e[89] = {"Pitch Amount", "", 0.35, 3};
  e[90] = {"Pitch Duration", "", 0.45, 3};
  e[91] = {"Pitch Power", "", 0.75, 3};
  e[92] = {"Pitch Down", "", 0, 3};
  e[93] = {"Unison Voices", "", 0, 3};
  e[94] = {"Unison Detune", "", 0.125, 3};
  e[95] = {"FM 1.00 carrier amount", "", 0, 3};
  e[96] = {"Bass", "", 0.5, 3};
  e[97] = {"Mid", "", 0.5, 3};
  e[98] = {"High", "", 0.5, 3};
  e[99] = {"LoPass/HiPass", "", 0.5, 3};
  e[100] = {"Disto On/Off", "", 1, 0};
  e[101] = {"Distortion", "", 0, 3};
  e[102] = {"Disto-Type", "", 0, 3};
  e[103] = {"Disto-Mode", "", 1, 6};
  e[104] = {"Disto Interpolation", "", 0, 3};
  e[105] = {"Dynamic Shaper Amount", "", 0, 3};
  e[106] = {"Invert Shape", "", 0, 0};
  e[107] = {"Shaper Type", "", 0, 6};
  e[108] = {"Shaper Mode", "", 0, 3};
  e[109] = {"Shaper Pos-Neg", "", 0, 6};
  e[110] = {"Bit-Crash Quantize", "", 1, 3};
  e[111] = {"Sample-Rate Reduction", "", 1, 3};
  e[112] = {"Gate-Crack", "", 0, 3};
  e[113] = {"Filter On/Off", "", 1, 0};
  e[114] = {"Filter Input Drive", "", 0, 3};
  e[115] = {"Filter Balance", "", 0, 3};
  e[116] = {"Cutoff", "Hz", 1, 3};
  e[117] = {"Reso/BW", "", 0, 3};
  e[118] = {"Filter Type 1", "", 0, 2};
  e[119] = {"Filter Type 2", "", 0, 6};
  e[120] = {"Filter Transition", "", 0, 6};
  e[121] = {"Mod Fx On/Off", "", 1, 0};
  e[122] = {"Ring Amount", "", 0, 3};
  e[123] = {"Ring Freq", "Hz", 0, 1};
  e[124] = {"Ring Waveform", "", 0, 1};
  e[125] = {"Phaser Amount", "", 0, 3};
  e[126] = {"Phaser Feedback", "", 0.5, 3};
  e[127] = {"Phaser Rate", "Hz", 0.2, 3};
  e[128] = {"Tempo Delay Amount", "", 0, 3};
  e[129] = {"Tempo Delay Feedback", "", 0.5, 3};
  e[130] = {"Tempo Delay Dump", "", 0.75, 3};
  e[131] = {"Tempo Delay Spread", "", 0.5, 3};
  e[132] = {"Bypass all effects", "", 0, 0};
  e[133] = {"Limit output", "", 0, 0};
  e[134] = {"Output pan", "", 0.5, 3};
  e[135] = {"Output saturation", "", 0, 3};
  e[136] = {"Dry/Wet", "", 1, 3};
  e[137] = {"", "", 0, 0};
  e[138] = {"Output volume", "", 0.5, 3};
  for (int n = 0; n <= 20; ++n)
  {
    char name[32];
    std::snprintf(name, sizeof name, "Reserved_Param_%02d", n);
    e[139 + n] = {name, "", 0, 1};
  }
  return e;
}

std::string Printed(double value, int decimals)
{
  char text[64];
  if (decimals > 0)
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
  else
    std::snprintf(text, sizeof text, "%d", int(value));
  return text;
}
} // namespace

TEST_F(ModuleTest, EveryParameterShowsItsNameLabelDefaultAndPrecision)
{
  Start();
  const std::vector<Expected> expected = ExpectedParameters();
  for (int i = 0; i < 160; ++i)
  {
    SCOPED_TRACE("parameter " + std::to_string(i));
    const Expected& e = expected[size_t(i)];
    EXPECT_EQ(plug.ParamName(i), e.name);
    EXPECT_EQ(plug.ParamLabel(i), e.label);
    EXPECT_EQ(plug.ParamDisplay(i), Printed(e.defaultValue, e.decimals));
    // Every range is 0..1 except the bass layer's, and every shape is 1 except the
    // bit crusher's: the host's normalized default shows both.
    double normalized = i == 80 ? e.defaultValue / 1.259 : e.defaultValue;
    EXPECT_NEAR(plug.GetParameter(i), float(normalized), 1e-7);
  }
}

TEST_F(ModuleTest, OutOfRangeParameterIndicesAreIgnored)
{
  Start();
  EXPECT_EQ(plug.GetParameter(160), 0.0f);
  EXPECT_EQ(plug.GetParameter(-1), 0.0f);
  plug.SetParameter(160, 0.5f);
  plug.SetParameter(-1, 0.5f);
  EXPECT_EQ(plug.DispatchText(Vst::effGetParamName, 160), "");
  EXPECT_EQ(plug.DispatchText(Vst::effGetParamLabel, -1), "");
  EXPECT_EQ(plug.DispatchText(Vst::effGetParamDisplay, 200), "");
  EXPECT_EQ(plug.SetParameterText(160, "0.5"), 0);
}

TEST_F(ModuleTest, SetParameterMapsThroughRangeShapeAndStep)
{
  Start();
  plug.ClearAutomation();
  plug.SetParameter(80, 1.0f);
  EXPECT_EQ(plug.ParamDisplay(80), "1.259");
  EXPECT_EQ(plug.GetParameter(80), 1.0f);

  plug.SetParameter(110, 0.5f);
  EXPECT_EQ(plug.ParamDisplay(110), "0.062");
  EXPECT_NEAR(plug.GetParameter(110), 0.5f, 1e-6);

  plug.SetParameter(3, 0.3f);
  EXPECT_EQ(plug.ParamDisplay(3), "0.300");
  EXPECT_NEAR(plug.GetParameter(3), 0.3f, 1e-6);

  // Index 137 was never initialised: it keeps type 0 and step 1, so it snaps.
  plug.SetParameter(137, 0.4f);
  EXPECT_EQ(plug.GetParameter(137), 0.0f);
  plug.SetParameter(137, 0.6f);
  EXPECT_EQ(plug.GetParameter(137), 1.0f);
  EXPECT_EQ(plug.ParamDisplay(137), "1");

  // A host's setParameter is not reported back to it as automation.
  EXPECT_TRUE(plug.Automation().empty());
}

TEST_F(ModuleTest, TempoSyncedLfoRatesFollowTheHostTempo)
{
  plug.SetTempo(150.0);
  Start();
  plug.ClearAutomation();
  // Position 9 of "Osc2 LFO2 tempo sync" is ratio 16: 40 Hz, held at the rate's 20 Hz top.
  plug.SetParameter(36, 1.0f);
  EXPECT_EQ(plug.ParamDisplay(34), "1.000");
  ASSERT_FALSE(plug.Automation().empty());
  EXPECT_EQ(plug.Automation().back().index, 34);
  // Position 0 leaves the rate alone.
  plug.SetParameter(57, 0.0f);
  plug.SetParameter(55, 0.4f);
  EXPECT_EQ(plug.ParamDisplay(55), "0.400");
}

TEST_F(ModuleTest, TextToParameterParsesNumbersAndClamps)
{
  Start();
  EXPECT_EQ(plug.SetParameterText(3, "0.25"), 1);
  EXPECT_EQ(plug.ParamDisplay(3), "0.250");
  EXPECT_EQ(plug.SetParameterText(3, "7"), 1);
  EXPECT_EQ(plug.ParamDisplay(3), "1.000");
  EXPECT_EQ(plug.SetParameterText(80, "7"), 1);
  EXPECT_EQ(plug.ParamDisplay(80), "1.259");
  // Not a number: 0, clamped to the range.
  EXPECT_EQ(plug.SetParameterText(4, "loud"), 1);
  EXPECT_EQ(plug.ParamDisplay(4), "0.000");
  EXPECT_EQ(plug.SetParameterText(4, "-3"), 1);
  EXPECT_EQ(plug.ParamDisplay(4), "0.000");
  // A null text is accepted and changes nothing.
  EXPECT_EQ(Dispatch(Vst::effString2Parameter, 6, 0, nullptr), 1);
  EXPECT_EQ(plug.ParamDisplay(6), "0.500");
}

TEST_F(ModuleTest, TempoSyncTellsTheHostTheParametersOwnNormalizedValue)
{
  // The synchronised rate is tempo * ratio / 60 Hz of the rate parameter's 0..20 Hz,
  // held at its top: the host hears exactly what the parameter holds.
  const double ratios[10] = {1, 1 / 16.0, 1 / 8.0, 1 / 4.0, 1 / 2.0, 1, 2, 4, 8, 16};
  for (double tempo : {60.0, 120.0, 150.0, 240.0})
  {
    VstHost::PluginInstance p;
    ASSERT_TRUE(p.Load(TG_MODULE_PATH));
    p.SetTempo(tempo);
    p.Start(44100.0, 256);
    for (int position = 1; position <= 9; ++position)
    {
      SCOPED_TRACE(std::to_string(tempo) + " BPM, position " + std::to_string(position));
      p.ClearAutomation();
      p.SetParameter(36, float(position / 9.0)); // "Osc2 LFO2 tempo sync"
      const double expected = std::min(tempo * ratios[position] / 60.0 / 20.0, 1.0);
      EXPECT_NEAR(p.GetParameter(34), expected, 1e-6);
      int told = 0;
      for (const auto& a : p.Automation())
      {
        if (a.opcode != Vst::audioMasterAutomate)
          continue;
        EXPECT_EQ(a.index, 34);
        EXPECT_NEAR(a.value, expected, 1e-6);
        ++told;
      }
      EXPECT_EQ(told, 1);
    }
  }
}

TEST_F(ModuleTest, SwitchingProcessingOnBringsSyncedRatesToTheHostTempo)
{
  plug.SetTempo(120.0);
  Start();
  plug.SetParameter(15, float(3 / 9.0)); // oscillator 1 at 1/4x: 0.5 Hz
  plug.SetParameter(57, 0.0f);           // oscillator 3 runs free
  plug.SetParameter(55, 0.4f);
  EXPECT_NEAR(plug.GetParameter(13), 120 * 0.25 / 1200, 1e-7);
  EXPECT_NEAR(plug.GetParameter(34), 120 * 1.0 / 1200, 1e-7); // 1.0x by default
  plug.SetTempo(150.0);
  plug.ClearAutomation();
  Dispatch(Vst::effMainsChanged, 0, 0);
  Dispatch(Vst::effMainsChanged, 0, 1);
  EXPECT_NEAR(plug.GetParameter(13), 150 * 0.25 / 1200, 1e-7);
  EXPECT_NEAR(plug.GetParameter(34), 150 * 1.0 / 1200, 1e-7);
  EXPECT_NEAR(plug.GetParameter(55), 0.4, 1e-7);
  EXPECT_EQ(plug.ParamDisplay(34), "0.125");
  std::vector<int> told;
  for (const auto& a : plug.Automation())
    told.push_back(a.index);
  EXPECT_EQ(told, (std::vector<int>{13, 34}));
}
