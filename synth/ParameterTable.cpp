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

// The 21 parameters of one oscillator, in index order: names and groups carry the
// oscillator's number (and its LFO's) where the pattern has %d.
struct OscillatorEntry
{
  const char* namePattern;
  const char* label;
  double defaultValue;
  double step;
};

constexpr OscillatorEntry kOscillator[ParamIndex::kOscStride] = {
    {"Oscillator %d On/Off", "", 1, 1},      {"Osc%d waveform", "", 0, 0.001},
    {"Osc%d start phase", "", 0.5, 0.001},   {"Osc%d Tune", "", 0.5, 0.001},
    {"Osc%d volume", "", 1, 0.001},          {"Osc%d saturation", "", 0, 0.001},
    {"Osc%d pan", "", 0.5, 0.001},           {"Osc%d Pitch", "", 0.5, 0.001},
    {"Osc%d filter balance", "", 0, 0.001},  {"Osc%d filter cutoff", "", 1, 0.001},
    {"Osc%d filter rezo", "", 0, 0.001},     {"Osc%d filter type left", "", 0, 0.2},
    {"Osc%d filter type right", "", 0, 0.2}, {"Osc%d LFO%d freq.", "Hz", 0, 0.001},
    {"Osc%d LFO%d link all", "", 0, 0.001},  {"Osc%d LFO%d tempo sync", "", 0.5, 0.1},
    {"Osc%d LFO%d mode", "", 0, 0.001},      {"Osc%d LFO%d to volume", "", 0, 0.001},
    {"Osc%d LFO%d to tune", "", 0, 0.001},   {"Osc%d LFO%d to filter", "", 0, 0.001},
    {"Osc%d LFO%d to pan", "", 0, 0.001},
};

// The one name that leaves the pattern; hosts and stored automation know it so.
constexpr const char* kOsc3LfoToPanName = "Osc3 LFO3 to PAN";

constexpr Entry kVolumeEnvelope[] = {
    {ParamIndex::kVolEnvAttack, "Volume Env. Attack", "", "s", 0.01, 0.001},
    {ParamIndex::kVolEnvDecay, "Volume Env. Decay", "", "s", 0.5, 0.001},
    {ParamIndex::kVolEnvSustain, "Volume Env. Sustain", "", "%", 0.2, 0.001},
    {ParamIndex::kVolEnvRelease, "Volume Env. Release", "", "s", 0.05, 0.001},
    {ParamIndex::kVolEnvDuration, "Volume Env. Duration", "", "s", 0.2, 0.001},
    {ParamIndex::kVolEnvVelocity, "Volume Env. Velocity", "", "", 1, 0.001},
    {ParamIndex::kVolEnvAmount, "Volume Env. Amount", "", "", 1, 0.001},
    {ParamIndex::kAdsrShape, "ADSR shape", "", "", 0.3, 0.001},
};

constexpr Entry kFilterEnvelope[] = {
    {ParamIndex::kFilterEnvAttack, "Filter Env. Attack", "", "s", 0.01, 0.001},
    {ParamIndex::kFilterEnvDecay, "Filter Env. Decay", "", "s", 0.5, 0.001},
    {ParamIndex::kFilterEnvSustain, "Filter Env. Sustain", "", "%", 0.2, 0.001},
    {ParamIndex::kFilterEnvRelease, "Filter Env. Release", "", "s", 0.05, 0.001},
    {ParamIndex::kFilterEnvDuration, "Filter Env. Duration", "", "s", 0.2, 0.001},
    {ParamIndex::kFilterEnvVelocity, "Filter Env. Velocity", "", "", 1, 0.001},
    {ParamIndex::kFilterEnvAmount, "Filter Env. Amount", "", "", 1, 0.001},
    {ParamIndex::kFilterEnvToDistortion, "Filter Env. To Distortion", "", "", 1, 0.001},
    {ParamIndex::kFilterEnvToDynShaper, "Filter Env. To Dyn. Shaper", "", "", 1, 0.001},
};

constexpr Entry kSubOscillator[] = {
    {ParamIndex::kBassLayerAmount, "Bass-Layer amount", "SUB-OSC", "", 0, 0.001},
    {ParamIndex::kBassLayerSolo, "Bass-Layer solo", "SUB-OSC", "", 0, 1},
    {ParamIndex::kBassLayerToFilter, "Bass-Layer to filter", "SUB-OSC", "", 0, 1},
    {ParamIndex::kBassLayerToFm, "Bass-Layer to FM", "SUB-OSC", "", 0, 1},
    {ParamIndex::kBassLayerClick, "Bass-Layer click", "SUB-OSC", "", 0, 0.001},
};

constexpr Entry kGlobalTranspose[] = {
    {ParamIndex::kGlobalTranspose, "Global transpose", "", "", 0.5, 0.001},
    {ParamIndex::kNoteTransposeMode, "Note transpose mode", "", "", 0, 0.1},
};

constexpr Entry kPitchBend[] = {
    {ParamIndex::kPitchBendRange, "Pitch-Bend Range", "", "", 1.0 / 6.0, 1.0 / 7.0},
};

constexpr Entry kPitchEnvelope[] = {
    {ParamIndex::kPitchEnvOnOff, "Pitch env. On/Off", "", "", 1, 1},
    {ParamIndex::kPitchAmount, "Pitch Amount", "", "", 0.35, 0.001},
    {ParamIndex::kPitchDuration, "Pitch Duration", "", "", 0.45, 0.001},
    {ParamIndex::kPitchPower, "Pitch Power", "", "", 0.75, 0.001},
    {ParamIndex::kPitchDown, "Pitch Down", "", "", 0, 0.001},
};

constexpr Entry kUnison[] = {
    {ParamIndex::kUnisonVoices, "Unison Voices", "", "", 0, 0.001},
    {ParamIndex::kUnisonDetune, "Unison Detune", "", "", 0.125, 0.001},
};

constexpr Entry kFm[] = {
    {ParamIndex::kFmAmount, "FM 1.00 carrier amount", "FM", "", 0, 0.001},
};

constexpr Entry kEqualizer[] = {
    {ParamIndex::kEqBass, "Bass", "EQ", "", 0.5, 0.001},
    {ParamIndex::kEqMid, "Mid", "EQ", "", 0.5, 0.001},
    {ParamIndex::kEqHigh, "High", "EQ", "", 0.5, 0.001},
    {ParamIndex::kDumpExpand, "LoPass/HiPass", "EQ", "", 0.5, 0.001},
};

constexpr Entry kDistortionShaper[] = {
    {ParamIndex::kDistoOnOff, "Disto On/Off", "DISTO", "", 1, 1},
    {ParamIndex::kDistortion, "Distortion", "DISTO", "", 0, 0.001},
    {ParamIndex::kDistoType, "Disto-Type", "DISTO", "", 0, 0.001},
    {ParamIndex::kDistoMode, "Disto-Mode", "DISTO", "", 1, kThird},
    {ParamIndex::kDistoInterpolation, "Disto Interpolation", "DISTO", "", 0, 0.001},
    {ParamIndex::kDynShaperAmount, "Dynamic Shaper Amount", "DISTO", "", 0, 0.001},
    {ParamIndex::kDynShaperInvert, "Invert Shape", "DISTO", "", 0, 1},
    {ParamIndex::kDynShaperType, "Shaper Type", "DISTO", "", 0, kThird},
    {ParamIndex::kDynShaperMode, "Shaper Mode", "DISTO", "", 0, 0.001},
    {ParamIndex::kDynShaperPosNeg, "Shaper Pos-Neg", "DISTO", "", 0, kThird},
    {ParamIndex::kBitCrushQuantize, "Bit-Crash Quantize", "DISTO", "", 1, 0.001},
    {ParamIndex::kSampleRateReduction, "Sample-Rate Reduction", "DISTO", "", 1, 0.001},
    {ParamIndex::kGateCrack, "Gate-Crack", "DISTO", "", 0, 0.001},
};

constexpr Entry kMainFilter[] = {
    {ParamIndex::kFilterOnOff, "Filter On/Off", "", "", 1, 1},
    {ParamIndex::kFilterInputDrive, "Filter Input Drive", "", "", 0, 0.001},
    {ParamIndex::kFilterBalance, "Filter Balance", "", "", 0, 0.001},
    {ParamIndex::kFilterCutoff, "Cutoff", "", "Hz", 1, 0.001},
    {ParamIndex::kFilterReso, "Reso/BW", "", "", 0, 0.001},
    {ParamIndex::kFilterType1, "Filter Type 1", "", "", 0, 0.25},
    {ParamIndex::kFilterType2, "Filter Type 2", "", "", 0, 1.0 / 6.0},
    {ParamIndex::kFilterTransition, "Filter Transition", "", "", 0, kThird},
};

constexpr Entry kModulationEffects[] = {
    {ParamIndex::kModFxOnOff, "Mod Fx On/Off", "", "", 1, 1},
    {ParamIndex::kRingAmount, "Ring Amount", "", "", 0, 0.001},
    {ParamIndex::kRingFreq, "Ring Freq", "", "Hz", 0, 0.1},
    {ParamIndex::kRingWaveform, "Ring Waveform", "", "", 0, 0.2},
    {ParamIndex::kPhaserAmount, "Phaser Amount", "", "", 0, 0.001},
    {ParamIndex::kPhaserFeedback, "Phaser Feedback", "", "", 0.5, 0.001},
    {ParamIndex::kPhaserRate, "Phaser Rate", "", "Hz", 0.2, 0.001},
};

constexpr Entry kTempoDelay[] = {
    {ParamIndex::kTempoDelayAmount, "Tempo Delay Amount", "", "", 0, 0.001},
    {ParamIndex::kTempoDelayFeedback, "Tempo Delay Feedback", "", "", 0.5, 0.001},
    {ParamIndex::kTempoDelayDump, "Tempo Delay Dump", "", "", 0.75, 0.001},
    {ParamIndex::kTempoDelaySpread, "Tempo Delay Spread", "", "", 0.5, 0.001},
};

// Index 137 belongs to this section but is never initialised.
constexpr Entry kOutput[] = {
    {ParamIndex::kBypassAllEffects, "Bypass all effects", "", "", 0, 1},
    {ParamIndex::kOutputPan, "Output pan", "", "", 0.5, 0.001},
    {ParamIndex::kOutputSaturation, "Output saturation", "", "", 0, 0.001},
    {ParamIndex::kDryWet, "Dry/Wet", "", "", 1, 0.001},
    {ParamIndex::kOutputVolume, "Output volume", "", "", 0.5, 0.001},
};

constexpr Entry kLevelMeterLimiter[] = {
    {ParamIndex::kLimitOutput, "Limit output", "", "", 0, 1},
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

void InitOscillator(IPlugBase& plug, int osc)
{
  using namespace ParamIndex;
  char group[8];
  std::snprintf(group, sizeof group, "OSC%d", osc + 1);
  for (int k = 0; k < kOscStride; ++k)
  {
    const OscillatorEntry& e = kOscillator[k];
    const int index = Osc(osc, EOscParam(k));
    char name[32];
    std::snprintf(name, sizeof name, e.namePattern, osc + 1, osc + 1);
    if (index == Osc(2, kOscLfoToPan))
      std::snprintf(name, sizeof name, "%s", kOsc3LfoToPanName);
    if (IParameter* param = plug.GetParam(index))
      param->InitDouble(name, e.defaultValue, 0.0, 1.0, e.step, e.label, group);
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
    InitOscillator(plug, 0);
    break;
  case Section::Oscillator2:
    InitOscillator(plug, 1);
    break;
  case Section::Oscillator3:
    InitOscillator(plug, 2);
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

double DefaultValue(int index)
{
  using namespace ParamIndex;
  if (index >= 0 && index < kNumOscillators * kOscStride)
    return kOscillator[index % kOscStride].defaultValue;
  const std::span<const Entry> tables[] = {
      kVolumeEnvelope,
      kFilterEnvelope,
      kSubOscillator,
      kGlobalTranspose,
      kPitchBend,
      kPitchEnvelope,
      kUnison,
      kFm,
      kEqualizer,
      kDistortionShaper,
      kMainFilter,
      kModulationEffects,
      kTempoDelay,
      kOutput,
      kLevelMeterLimiter,
  };
  for (std::span<const Entry> table : tables)
    for (const Entry& e : table)
      if (e.index == index)
        return e.defaultValue;
  return 0.0; // 137 and the reserved entries
}
} // namespace ParameterTable
