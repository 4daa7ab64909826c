#include "synth/ParameterKeys.h"

#include "synth/ParamIndex.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{
// The keys of oscillator 1; oscillators 2 and 3 replace the single digit 1 by theirs.
constexpr const char* kOscillatorKeys[ParamIndex::kOscStride] = {
    "Osc1OnOff",           "OscWaveform1",        "OscPhase1",           "OscFreq1",
    "OscVolume1",          "OscSat1",             "OscPan1",             "OscPitch1",
    "OscFilterType1",      "OscFilterCutoff1",    "OscFilterResonance1", "OscFilterType1Left",
    "OscFilterType1Right", "OscModFrequency1",    "Osc1LfoLinkAll",      "Osc1LfoTempoSync",
    "Osc1LfoMode",         "OscLfoVolumeAmount1", "OscFreqModAmount1",   "OscFiltModAmount1",
    "OscLfoPanAmount1",
};

constexpr int kFirstGlobal = ParamIndex::kNumOscillators * ParamIndex::kOscStride; // 63
constexpr int kFirstReserved = 139;

// Indices 63 to 138, in order.
constexpr const char* kGlobalKeys[kFirstReserved - kFirstGlobal] = {
    "EnvAttack", "EnvDecay", "EnvSustain", "EnvRelease", "EnvDuration", "EnvVelocity",
    "EnvAmount", "FilterAttack", "FilterDecay", "FilterSustain", "FilterRelease",
    "FilterDuration", "FilterEnvVelocity", "FilterEnvAmount", "FilterEnvToDistortion",
    "FilterEnvToDynShaper", "AdsrShape", "BassLayerAmount", "BassLayerSolo",
    "BassLayerToFilter", "BassLayerToFm", "BassLayerClick", "GlobalTranspose",
    "NoteTransposeMode", "PitchBendRange", "PitchOnOff", "PitchAmount", "PitchDuration",
    "PitchPower", "PitchDown", "UnisonVoices", "UnisonDetune", "FmAmount", "BassAmount",
    "MidAmount", "HighAmount", "DumpExpand", "DistortionOnOff", "Distortion",
    "DistortionType", "DistortionLoudness", "DistortionInterpMode", "DynShaper",
    "DynShaperInvert", "DynShaperType", "DynShaperMode", "DynShaperPosNegBoth", "Quantization",
    "SampleRate", "Gate", "FilterOnOff", "FilterInputDrive", "FilterType", "FilterCutoff",
    "FilterResonance", "FilterMode1", "FilterMode2", "FilterTransition", "ModulationOnOff",
    "RingModulationAmount", "RingModulationFrequency", "RingModulationWaveForm", "PhaserDepth",
    "PhaserFeedback", "PhaserRate", "TempoDelayAmount", "TempoDelayFeedback", "TempoDelayDump",
    "TempoDelaySpread", "BypassFX", "LimitOutput", "Pan", "Saturation", "DryWet", "HqFilter",
    "Volume",
};

using KeyTable = std::array<std::array<char, 32>, ParamIndex::kNumParams>;

KeyTable BuildKeys()
{
  KeyTable keys{};
  for (int osc = 0; osc < ParamIndex::kNumOscillators; ++osc)
  {
    for (int p = 0; p < ParamIndex::kOscStride; ++p)
    {
      std::string key = kOscillatorKeys[p];
      key[key.find('1')] = char('1' + osc);
      std::snprintf(keys[size_t(osc * ParamIndex::kOscStride + p)].data(), 32, "%s", key.c_str());
    }
  }
  for (int i = kFirstGlobal; i < kFirstReserved; ++i)
    std::snprintf(keys[size_t(i)].data(), 32, "%s", kGlobalKeys[i - kFirstGlobal]);
  for (int i = kFirstReserved; i < ParamIndex::kNumParams; ++i)
    std::snprintf(keys[size_t(i)].data(), 32, "Reserved_%02d", i - kFirstReserved);
  return keys;
}

const KeyTable& Keys()
{
  static const KeyTable kKeys = BuildKeys();
  return kKeys;
}
} // namespace

namespace ParameterKeys
{
const char* KeyOf(int index)
{
  if (index < 0 || index >= ParamIndex::kNumParams)
    return "";
  return Keys()[size_t(index)].data();
}

int IndexOf(const char* key)
{
  if (!key)
    return -1;
  const KeyTable& keys = Keys();
  for (size_t i = 0; i < keys.size(); ++i)
    if (std::strcmp(keys[i].data(), key) == 0)
      return int(i);
  return -1;
}
} // namespace ParameterKeys
