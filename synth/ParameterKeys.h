#pragma once
// The fixed names by which preset text files address the 160 parameters. They differ
// from the display names in places ("OscFreq1" is "Osc1 Tune", "FilterType" is
// "Filter Balance") and are written exactly as stored files have them.

namespace ParameterKeys
{
// Further keys of a preset text file besides the parameters.
constexpr const char* kName = "Name";
constexpr const char* kCurveData = "DistortionCurveData";
constexpr const char* kWaveData = "OscWaveData";

// The key of a parameter index 0..159, or "" outside that range.
const char* KeyOf(int index);
// The index of a key (exact, case-sensitive match), or -1.
int IndexOf(const char* key);
} // namespace ParameterKeys
