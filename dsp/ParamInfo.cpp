#include "dsp/ParamInfo.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace Dsp
{

namespace
{

// Logarithm to base 1.5: the logarithmic mapping is defined with it.
double log15(double x) { return std::log(x) / std::log(1.5); }

} // namespace

double ParamInfo::toControlValue(double nativeValue) const
{
  switch (mapping)
  {
  case mapLogarithmic:
  {
    const double lo = log15(minValue);
    const double hi = log15(maxValue);
    return (log15(nativeValue) - lo) / (hi - lo);
  }
  case mapPowerOfTwo:
    return (std::log2(nativeValue) - minValue) / (maxValue - minValue);
  case mapLinear:
  case mapInteger:
  default:
    return (nativeValue - minValue) / (maxValue - minValue);
  }
}

double ParamInfo::toNativeValue(double controlValue) const
{
  switch (mapping)
  {
  case mapInteger:
    return std::floor((maxValue - minValue) * controlValue + minValue + 0.5);
  case mapLogarithmic:
  {
    const double lo = log15(minValue);
    const double hi = log15(maxValue);
    return std::pow(1.5, lo + (hi - lo) * controlValue);
  }
  case mapPowerOfTwo:
    return std::pow(2.0, minValue + (maxValue - minValue) * controlValue);
  case mapLinear:
  default:
    return minValue + (maxValue - minValue) * controlValue;
  }
}

std::string ParamInfo::toString(double nativeValue) const
{
  char text[64];
  switch (textForm)
  {
  case textHz:
    std::snprintf(text, sizeof text, "%d Hz", static_cast<int>(nativeValue));
    break;
  case textDb:
  {
    const double magnitude = std::fabs(nativeValue);
    const int decimals = magnitude < 1 ? 3 : (magnitude < 10 ? 2 : 1);
    std::snprintf(text, sizeof text, "%.*f dB", decimals, nativeValue);
    break;
  }
  case textInteger:
    std::snprintf(text, sizeof text, "%d", static_cast<int>(nativeValue));
    break;
  case textReal:
  default:
    std::snprintf(text, sizeof text, "%.3f", nativeValue);
    break;
  }
  return text;
}

ParamInfo ParamInfo::sampleRate()
{
  return {idSampleRate, "Fs", "Sample Rate", 11025, 192000, 44100, mapLinear, textHz};
}

ParamInfo ParamInfo::cutoffFrequency()
{
  return {idFrequency, "Fc", "Cutoff Frequency", 10, 22040, 2000, mapLogarithmic, textHz};
}

ParamInfo ParamInfo::centerFrequency()
{
  return {idFrequency, "Fc", "Center Frequency", 10, 22040, 2000, mapLogarithmic, textHz};
}

ParamInfo ParamInfo::resonance()
{
  return {idQ, "Q", "Resonance", -4, 4, 1, mapPowerOfTwo, textReal};
}

ParamInfo ParamInfo::bandwidthOctaves()
{
  return {idBandwidth, "BW", "Bandwidth (Octaves)", -4, 4, 1, mapPowerOfTwo, textReal};
}

ParamInfo ParamInfo::bandwidthHz()
{
  return {idBandwidthHz, "BW", "Bandwidth (Hz)", 10, 22040, 1720, mapLogarithmic, textHz};
}

ParamInfo ParamInfo::gain() { return {idGain, "Gain", "Gain", -24, 24, -6, mapLinear, textDb}; }

ParamInfo ParamInfo::order(int maxOrder)
{
  return {idOrder, "Order", "Order", 1, static_cast<double>(maxOrder), 2, mapInteger, textInteger};
}

ParamInfo ParamInfo::rippleDb()
{
  return {idRippleDb, "Ripple", "Ripple dB", 0.001, 12, 0.01, mapLinear, textDb};
}

void ParamInfo::throwInvalidUsage() { throw std::logic_error("invalid usage of ParamInfo"); }

} // namespace Dsp
