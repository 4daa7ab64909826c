#include "synth/ParameterTable.h"

#include "plugin/IPlugBase.h"
#include "synth/ParamIndex.h"

#include <cstdio>
#include <span>

namespace ParameterTable
{
namespace
{
struct Entry
{
  int index;
  const char* name;
  const char* group;
  const char* label;
  double defaultValue;
  double step;
};

constexpr double kThird = 1.0 / 3.0;

constexpr Entry kOscillator1[] = {
    {0, "Oscillator 1 On/Off", "OSC1", "", 1, 1},
    {1, "Osc1 waveform", "OSC1", "", 0, 0.001},
    {2, "Osc1 start phase", "OSC1", "", 0.5, 0.001},
    {3, "Osc1 Tune", "OSC1", "", 0.5, 0.001},
    {4, "Osc1 volume", "OSC1", "", 1, 0.001},
    {5, "Osc1 saturation", "OSC1", "", 0, 0.001},
    {6, "Osc1 pan", "OSC1", "", 0.5, 0.001},
    {7, "Osc1 Pitch", "OSC1", "", 0.5, 0.001},
    {8, "Osc1 filter balance", "OSC1", "", 0, 0.001},
    {9, "Osc1 filter cutoff", "OSC1", "", 1, 0.001},
    {10, "Osc1 filter rezo", "OSC1", "", 0, 0.001},
    {11, "Osc1 filter type left", "OSC1", "", 0, 0.2},
    {12, "Osc1 filter type right", "OSC1", "", 0, 0.2},
    {13, "Osc1 LFO1 freq.", "OSC1", "Hz", 0, 0.001},
    {14, "Osc1 LFO1 link all", "OSC1", "", 0, 0.001},
    {15, "Osc1 LFO1 tempo sync", "OSC1", "", 0.5, 0.1},
    {16, "Osc1 LFO1 mode", "OSC1", "", 0, 0.001},
    {17, "Osc1 LFO1 to volume", "OSC1", "", 0, 0.001},
    {18, "Osc1 LFO1 to tune", "OSC1", "", 0, 0.001},
    {19, "Osc1 LFO1 to filter", "OSC1", "", 0, 0.001},
    {20, "Osc1 LFO1 to pan", "OSC1", "", 0, 0.001},
};

constexpr Entry kOscillator2[] = {
    {21, "Oscillator 2 On/Off", "OSC2", "", 1, 1},
    {22, "Osc2 waveform", "OSC2", "", 0, 0.001},
    {23, "Osc2 start phase", "OSC2", "", 0.5, 0.001},
    {24, "Osc2 Tune", "OSC2", "", 0.5, 0.001},
    {25, "Osc2 volume", "OSC2", "", 1, 0.001},
    {26, "Osc2 saturation", "OSC2", "", 0, 0.001},
    {27, "Osc2 pan", "OSC2", "", 0.5, 0.001},
    {28, "Osc2 Pitch", "OSC2", "", 0.5, 0.001},
    {29, "Osc2 filter balance", "OSC2", "", 0, 0.001},
    {30, "Osc2 filter cutoff", "OSC2", "", 1, 0.001},
    {31, "Osc2 filter rezo", "OSC2", "", 0, 0.001},
    {32, "Osc2 filter type left", "OSC2", "", 0, 0.2},
    {33, "Osc2 filter type right", "OSC2", "", 0, 0.2},
    {34, "Osc2 LFO2 freq.", "OSC2", "Hz", 0, 0.001},
    {35, "Osc2 LFO2 link all", "OSC2", "", 0, 0.001},
    {36, "Osc2 LFO2 tempo sync", "OSC2", "", 0.5, 0.1},
    {37, "Osc2 LFO2 mode", "OSC2", "", 0, 0.001},
    {38, "Osc2 LFO2 to volume", "OSC2", "", 0, 0.001},
    {39, "Osc2 LFO2 to tune", "OSC2", "", 0, 0.001},
    {40, "Osc2 LFO2 to filter", "OSC2", "", 0, 0.001},
    {41, "Osc2 LFO2 to pan", "OSC2", "", 0, 0.001},
};

constexpr Entry kOscillator3[] = {
    {42, "Oscillator 3 On/Off", "OSC3", "", 1, 1},
    {43, "Osc3 waveform", "OSC3", "", 0, 0.001},
    {44, "Osc3 start phase", "OSC3", "", 0.5, 0.001},
    {45, "Osc3 Tune", "OSC3", "", 0.5, 0.001},
    {46, "Osc3 volume", "OSC3", "", 1, 0.001},
    {47, "Osc3 saturation", "OSC3", "", 0, 0.001},
    {48, "Osc3 pan", "OSC3", "", 0.5, 0.001},
    {49, "Osc3 Pitch", "OSC3", "", 0.5, 0.001},
    {50, "Osc3 filter balance", "OSC3", "", 0, 0.001},
    {51, "Osc3 filter cutoff", "OSC3", "", 1, 0.001},
    {52, "Osc3 filter rezo", "OSC3", "", 0, 0.001},
    {53, "Osc3 filter type left", "OSC3", "", 0, 0.2},
    {54, "Osc3 filter type right", "OSC3", "", 0, 0.2},
    {55, "Osc3 LFO3 freq.", "OSC3", "Hz", 0, 0.001},
    {56, "Osc3 LFO3 link all", "OSC3", "", 0, 0.001},
    {57, "Osc3 LFO3 tempo sync", "OSC3", "", 0.5, 0.1},
    {58, "Osc3 LFO3 mode", "OSC3", "", 0, 0.001},
    {59, "Osc3 LFO3 to volume", "OSC3", "", 0, 0.001},
    {60, "Osc3 LFO3 to tune", "OSC3", "", 0, 0.001},
    {61, "Osc3 LFO3 to filter", "OSC3", "", 0, 0.001},
    {62, "Osc3 LFO3 to PAN", "OSC3", "", 0, 0.001},
};

constexpr Entry kVolumeEnvelope[] = {
    {63, "Volume Env. Attack", "", "s", 0.01, 0.001},
    {64, "Volume Env. Decay", "", "s", 0.5, 0.001},
    {65, "Volume Env. Sustain", "", "%", 0.2, 0.001},
    {66, "Volume Env. Release", "", "s", 0.05, 0.001},
    {67, "Volume Env. Duration", "", "s", 0.2, 0.001},
    {68, "Volume Env. Velocity", "", "", 1, 0.001},
    {69, "Volume Env. Amount", "", "", 1, 0.001},
    {79, "ADSR shape", "", "", 0.3, 0.001},
};

constexpr Entry kFilterEnvelope[] = {
    {70, "Filter Env. Attack", "", "s", 0.01, 0.001},
    {71, "Filter Env. Decay", "", "s", 0.5, 0.001},
    {72, "Filter Env. Sustain", "", "%", 0.2, 0.001},
    {73, "Filter Env. Release", "", "s", 0.05, 0.001},
    {74, "Filter Env. Duration", "", "s", 0.2, 0.001},
    {75, "Filter Env. Velocity", "", "", 1, 0.001},
    {76, "Filter Env. Amount", "", "", 1, 0.001},
    {77, "Filter Env. To Distortion", "", "", 1, 0.001},
    {78, "Filter Env. To Dyn. Shaper", "", "", 1, 0.001},
};

constexpr Entry kSubOscillator[] = {
    {80, "Bass-Layer amount", "SUB-OSC", "", 0, 0.001},
    {81, "Bass-Layer solo", "SUB-OSC", "", 0, 1},
    {82, "Bass-Layer to filter", "SUB-OSC", "", 0, 1},
    {83, "Bass-Layer to FM", "SUB-OSC", "", 0, 1},
    {84, "Bass-Layer click", "SUB-OSC", "", 0, 0.001},
};

constexpr Entry kGlobalTranspose[] = {
    {85, "Global transpose", "", "", 0.5, 0.001},
    {86, "Note transpose mode", "", "", 0, 0.1},
};

constexpr Entry kPitchBend[] = {
    {87, "Pitch-Bend Range", "", "", 1.0 / 6.0, 1.0 / 7.0},
};

constexpr Entry kPitchEnvelope[] = {
    {88, "Pitch env. On/Off", "", "", 1, 1},     {89, "Pitch Amount", "", "", 0.35, 0.001},
    {90, "Pitch Duration", "", "", 0.45, 0.001}, {91, "Pitch Power", "", "", 0.75, 0.001},
    {92, "Pitch Down", "", "", 0, 0.001},
};

constexpr Entry kUnison[] = {
    {93, "Unison Voices", "", "", 0, 0.001},
    {94, "Unison Detune", "", "", 0.125, 0.001},
};

constexpr Entry kFm[] = {
    {95, "FM 1.00 carrier amount", "FM", "", 0, 0.001},
};

constexpr Entry kEqualizer[] = {
    {96, "Bass", "EQ", "", 0.5, 0.001},
    {97, "Mid", "EQ", "", 0.5, 0.001},
    {98, "High", "EQ", "", 0.5, 0.001},
    {99, "LoPass/HiPass", "EQ", "", 0.5, 0.001},
};

constexpr Entry kDistortionShaper[] = {
    {100, "Disto On/Off", "DISTO", "", 1, 1},
    {101, "Distortion", "DISTO", "", 0, 0.001},
    {102, "Disto-Type", "DISTO", "", 0, 0.001},
    {103, "Disto-Mode", "DISTO", "", 1, kThird},
    {104, "Disto Interpolation", "DISTO", "", 0, 0.001},
    {105, "Dynamic Shaper Amount", "DISTO", "", 0, 0.001},
    {106, "Invert Shape", "DISTO", "", 0, 1},
    {107, "Shaper Type", "DISTO", "", 0, kThird},
    {108, "Shaper Mode", "DISTO", "", 0, 0.001},
    {109, "Shaper Pos-Neg", "DISTO", "", 0, kThird},
    {110, "Bit-Crash Quantize", "DISTO", "", 1, 0.001},
    {111, "Sample-Rate Reduction", "DISTO", "", 1, 0.001},
    {112, "Gate-Crack", "DISTO", "", 0, 0.001},
};

constexpr Entry kMainFilter[] = {
    {113, "Filter On/Off", "", "", 1, 1},         {114, "Filter Input Drive", "", "", 0, 0.001},
    {115, "Filter Balance", "", "", 0, 0.001},    {116, "Cutoff", "", "Hz", 1, 0.001},
    {117, "Reso/BW", "", "", 0, 0.001},           {118, "Filter Type 1", "", "", 0, 0.25},
    {119, "Filter Type 2", "", "", 0, 1.0 / 6.0}, {120, "Filter Transition", "", "", 0, kThird},
};

constexpr Entry kModulationEffects[] = {
    {121, "Mod Fx On/Off", "", "", 1, 1},       {122, "Ring Amount", "", "", 0, 0.001},
    {123, "Ring Freq", "", "Hz", 0, 0.1},       {124, "Ring Waveform", "", "", 0, 0.2},
    {125, "Phaser Amount", "", "", 0, 0.001},   {126, "Phaser Feedback", "", "", 0.5, 0.001},
    {127, "Phaser Rate", "", "Hz", 0.2, 0.001},
};

constexpr Entry kTempoDelay[] = {
    {128, "Tempo Delay Amount", "", "", 0, 0.001},
    {129, "Tempo Delay Feedback", "", "", 0.5, 0.001},
    {130, "Tempo Delay Dump", "", "", 0.75, 0.001},
    {131, "Tempo Delay Spread", "", "", 0.5, 0.001},
};

// Index 137 belongs to this section but is never initialised.
constexpr Entry kOutput[] = {
    {132, "Bypass all effects", "", "", 0, 1},    {134, "Output pan", "", "", 0.5, 0.001},
    {135, "Output saturation", "", "", 0, 0.001}, {136, "Dry/Wet", "", "", 1, 0.001},
    {138, "Output volume", "", "", 0.5, 0.001},
};

constexpr Entry kLevelMeterLimiter[] = {
    {133, "Limit output", "", "", 0, 1},
};

constexpr double kBassLayerMax = 1.259;
constexpr double kBitCrushShape = 4.0;

void InitEntries(IPlugBase& plug, std::span<const Entry> entries)
{
  for (const Entry& e : entries)
  {
    IParameter* param = plug.GetParam(e.index);
    if (!param)
      continue;
    const double maxValue = e.index == ParamIndex::kBassLayerAmount ? kBassLayerMax : 1.0;
    param->InitDouble(e.name, e.defaultValue, 0.0, maxValue, e.step, e.label, e.group);
    if (e.index == ParamIndex::kBitCrushQuantize)
      param->SetShape(kBitCrushShape);
  }
}

// The 21 entries that only keep room in the index space.
void InitReserved(IPlugBase& plug)
{
  for (int i = ParamIndex::kFirstReserved; i <= ParamIndex::kLastReserved; ++i)
  {
    char name[32];
    std::snprintf(name, sizeof name, "Reserved_Param_%02d", i - ParamIndex::kFirstReserved);
    if (IParameter* param = plug.GetParam(i))
      param->InitDouble(name, 0.0, 0.0, 1.0, 0.1, "", "Reserved");
  }
}
} // namespace

void InitSection(IPlugBase& plug, Section section)
{
  switch (section)
  {
  case Section::Reserved:
    InitReserved(plug);
    break;
  case Section::PitchEnvelope:
    InitEntries(plug, kPitchEnvelope);
    break;
  case Section::Oscillator1:
    InitEntries(plug, kOscillator1);
    break;
  case Section::Oscillator2:
    InitEntries(plug, kOscillator2);
    break;
  case Section::Oscillator3:
    InitEntries(plug, kOscillator3);
    break;
  case Section::VolumeEnvelope:
    InitEntries(plug, kVolumeEnvelope);
    break;
  case Section::FilterEnvelope:
    InitEntries(plug, kFilterEnvelope);
    break;
  case Section::Unison:
    InitEntries(plug, kUnison);
    break;
  case Section::Fm:
    InitEntries(plug, kFm);
    break;
  case Section::GlobalTranspose:
    InitEntries(plug, kGlobalTranspose);
    break;
  case Section::SubOscillator:
    InitEntries(plug, kSubOscillator);
    break;
  case Section::PitchBend:
    InitEntries(plug, kPitchBend);
    break;
  case Section::MainFilter:
    InitEntries(plug, kMainFilter);
    break;
  case Section::ModulationEffects:
    InitEntries(plug, kModulationEffects);
    break;
  case Section::DistortionShaper:
    InitEntries(plug, kDistortionShaper);
    break;
  case Section::Equalizer:
    InitEntries(plug, kEqualizer);
    break;
  case Section::TempoDelay:
    InitEntries(plug, kTempoDelay);
    break;
  case Section::Output:
    InitEntries(plug, kOutput);
    break;
  case Section::LevelMeterLimiter:
    InitEntries(plug, kLevelMeterLimiter);
    break;
  case Section::TabButtons:
  case Section::Programs:
  case Section::About:
  case Section::Scope:
    break;
  }
}

void InitAllSections(IPlugBase& plug)
{
  for (Section section : kSectionOrder)
    InitSection(plug, section);
}
} // namespace ParameterTable
