#include "synth/VstXSynthProgram.h"

#include "effects/distortion/DistortionTypes.h"
#include "synth/ParamIndex.h"
#include "synth/ParameterKeys.h"
#include "synth/ParameterTable.h"
#include "voice/WaveformProvider.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace Korvane
{
namespace
{
namespace P = ParamIndex;

constexpr int kWaveformSteps = 39;
constexpr int kDistortionSteps = 35;
constexpr int kFilterASteps = 3;
constexpr int kFilterBSteps = 5;

constexpr std::array<const char*, 4> kFilterANames = {"RBJ LowPass", "RBJ HighPass",
                                                      "RBJ BandPass 1", "RBJ BandStop"};
constexpr std::array<const char*, 6> kFilterBNames = {
    "Chebyshev HighPass 12dB", "Chebyshev HighPass 24dB",   "Chebyshev LowPass 12dB",
    "Chebyshev LowPass 24dB",  "Butterworth BandPass 12dB", "Butterworth BandStop 12dB"};

int PositionOf(double value, int steps)
{
  return int(std::floor(std::clamp(value, 0.0, 1.0) * steps + 0.5));
}

bool IsWaveform(int index)
{
  return index == P::Osc(0, P::kOscWaveform) || index == P::Osc(1, P::kOscWaveform) ||
         index == P::Osc(2, P::kOscWaveform);
}

// The text of a "Key = value;" line: from two characters after the first "=" up to the
// next ";" (the rest of the line when there is none); "" when the line has no "=".
std::string ValueText(const std::string& line)
{
  const size_t equals = line.find('=');
  if (equals == std::string::npos || equals + 2 > line.size())
    return {};
  const size_t from = equals + 2;
  const size_t end = line.find(';', from);
  return line.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

// A number as the C library reads one; text that is not a number reads as 0.
double NumberOf(const std::string& text)
{
  const double v = std::strtod(text.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}
} // namespace

VstXSynthProgram::VstXSynthProgram()
{
  indexKey.resize(kParamCount);
  for (int i = 0; i < kParamCount; ++i)
  {
    indexKey[size_t(i)] = ParameterKeys::KeyOf(i);
    keyIndex.emplace(indexKey[size_t(i)], i);
  }
  ResetToDefaults();
}

void VstXSynthProgram::ResetToDefaults()
{
  values = SynthParams();
  for (int i = 0; i < kParamCount; ++i)
  {
    const int slot = SynthParams::slotOf(i);
    if (slot >= 0)
      values[slot] = ParameterTable::DefaultValue(i);
  }
  struct Override
  {
    int index;
    double value;
  };
  static constexpr Override kOverrides[] = {
      {P::Osc(0, P::kOscFilterTypeRight), 0.75},
      {P::Osc(1, P::kOscFilterTypeRight), 0.75},
      {P::Osc(2, P::kOscFilterTypeRight), 0.75},
      {P::Osc(0, P::kOscLfoTempoSync), 0.0},
      {P::Osc(1, P::kOscLfoTempoSync), 0.0},
      {P::Osc(2, P::kOscLfoTempoSync), 0.0},
      {P::Osc(1, P::kOscOnOff), 0.0},
      {P::Osc(2, P::kOscOnOff), 0.0},
      {P::kFilterEnvToDistortion, 0.0},
      {P::kFilterEnvToDynShaper, 0.0},
      {P::kPitchAmount, 0.0},
      {P::kPitchDuration, 0.0},
      {P::kPitchPower, 0.0},
      {P::kDistoMode, 0.5},
      {P::kDistoInterpolation, 1.0},
      {P::kFilterTransition, 1.0},
      {P::kModFxOnOff, 0.0},
      {P::kPhaserFeedback, 0.25},
      {P::kPhaserRate, 0.5},
      {P::kTempoDelayFeedback, 0.0},
      {P::kTempoDelayDump, 1.0},
  };
  for (const Override& o : kOverrides)
    values[SynthParams::slotOf(o.index)] = o.value;
}

void VstXSynthProgram::KickBase(int n)
{
  Set(P::kLimitOutput, 1.0);
  for (int osc = 0; osc < P::kNumOscillators; ++osc)
    Set(P::Osc(osc, P::kOscLfoTempoSync), 5.0 / 9.0);
  Set(P::kVolEnvAttack, 0.0);
  Set(P::kFilterEnvAttack, 0.0);
  Set(P::kVolEnvDecay, 0.25);
  Set(P::kFilterEnvDecay, 0.25);
  Set(P::kVolEnvSustain, 0.0);
  Set(P::kFilterEnvSustain, 0.0);
  Set(P::kVolEnvRelease, 0.005);
  Set(P::kFilterEnvRelease, 0.005);
  Set(P::kVolEnvDuration, ParameterTable::DefaultValue(P::kVolEnvDuration));
  Set(P::kFilterEnvDuration, ParameterTable::DefaultValue(P::kFilterEnvDuration));
  Set(P::kAdsrShape, 0.5);
  Set(P::kNoteTransposeMode, n / 9.0);
}

double VstXSynthProgram::Get(int index) const
{
  if (index < 0 || index > kLastStoredParam)
    return 0.0;
  const int slot = SynthParams::slotOf(index);
  return slot >= 0 ? values[slot] : 0.0;
}

void VstXSynthProgram::Set(int index, double x)
{
  const int slot = index <= kLastStoredParam ? SynthParams::slotOf(index) : -1;
  if (slot < 0 || std::isnan(x))
    return;
  values[slot] = std::clamp(x, 0.0, 1.0);
}

const std::string& VstXSynthProgram::KeyOf(int index) const
{
  static const std::string kNone;
  return index >= 0 && index < kParamCount ? indexKey[size_t(index)] : kNone;
}

int VstXSynthProgram::IndexOf(const std::string& key) const
{
  const auto found = keyIndex.find(key);
  return found == keyIndex.end() ? -1 : found->second;
}

// --- Preset text files ------------------------------------------------------------

const char* VstXSynthProgram::FilterAName(int position)
{
  return position >= 0 && position < int(kFilterANames.size()) ? kFilterANames[size_t(position)]
                                                               : "";
}

const char* VstXSynthProgram::FilterBName(int position)
{
  return position >= 0 && position < int(kFilterBNames.size()) ? kFilterBNames[size_t(position)]
                                                               : "";
}

int VstXSynthProgram::FilterAPosition(std::string_view text)
{
  if (text == "RBJ-LP")
    return 0;
  if (text == "RBJ-HP")
    return 1;
  if (text == "RBJ-BP" || text == "RBJ-BP1")
    return 2;
  if (text == "RBJ-BS")
    return 3;
  for (size_t k = 0; k < kFilterANames.size(); ++k)
    if (text == kFilterANames[k])
      return int(k);
  return 0;
}

int VstXSynthProgram::FilterBPosition(std::string_view text)
{
  static constexpr std::array<const char*, 6> kShort = {"HP 12dB", "HP 24dB", "LP 12dB",
                                                        "LP 24dB", "BP 12dB", "BS 12dB"};
  for (size_t k = 0; k < kShort.size(); ++k)
    if (text == kShort[k] || text == kFilterBNames[k])
      return int(k);
  return 0;
}

bool VstXSynthProgram::WritePresetText(const char* path, const std::string& curveText,
                                       const std::string& waveText) const
{
  if (!path || !path[0])
    return false;
  std::ofstream out(path);
  if (!out)
    return false;
  out << "Name = " << name << ";\n";
  char number[64];
  for (int i = 0; i < kParamCount; ++i)
  {
    const double v = Get(i);
    const char* text = number;
    if (IsWaveform(i))
      text = WaveformProvider::waveformName(WaveformProvider::positionOf(v));
    else if (i == P::kDistoType)
      text = DistortionTypes::name(PositionOf(v, kDistortionSteps));
    else if (i == P::kFilterType1)
      text = FilterAName(PositionOf(v, kFilterASteps));
    else if (i == P::kFilterType2)
      text = FilterBName(PositionOf(v, kFilterBSteps));
    else
      // Nine significant digits: the reader's single-precision rounding is then the
      // only change a value sees on its way through a file.
      std::snprintf(number, sizeof number, "%.9g", v);
    out << KeyOf(i) << " = " << text << ";\n";
  }
  out << ParameterKeys::kCurveData << " = " << curveText << ";\n";
  out << ParameterKeys::kWaveData << " = " << waveText << ";\n";
  out.flush();
  return bool(out);
}

bool VstXSynthProgram::ReadPresetText(const char* path, std::string* curveText)
{
  if (curveText)
    curveText->clear();
  if (!path || !path[0])
    return false;
  std::ifstream in(path);
  if (!in)
    return false;
  std::string line;
  for (int lineIndex = 0; std::getline(in, line); ++lineIndex)
  {
    if (!line.empty() && line.back() == '\r')
      line.pop_back(); // a file written on Windows
    if (lineIndex == 0)
    {
      if (line.find(ParameterKeys::kName) != std::string::npos)
        name = ValueText(line).substr(0, kTextNameLength);
      continue;
    }
    const int index = lineIndex - 1;
    if (index < kParamCount)
    {
      if (line.find(KeyOf(index)) == std::string::npos)
        continue; // the program keeps its value
      const std::string text = ValueText(line);
      if (IsWaveform(index))
        Set(index, WaveformProvider::waveformPosition(text) / double(kWaveformSteps));
      else if (index == P::kDistoType)
        Set(index, DistortionTypes::indexFromName(text) / double(kDistortionSteps));
      else if (index == P::kFilterType1)
        Set(index, FilterAPosition(text) / double(kFilterASteps));
      else if (index == P::kFilterType2)
        Set(index, FilterBPosition(text) / double(kFilterBSteps));
      else
        Set(index, double(float(NumberOf(text))));
      continue;
    }
    if (curveText && line.find(ParameterKeys::kCurveData) != std::string::npos)
      *curveText = ValueText(line);
  }
  return true;
}

} // namespace Korvane
