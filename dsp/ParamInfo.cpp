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
  case kMapLogarithmic:
  {
    const double lo = log15(minValue);
    const double hi = log15(maxValue);
    return (log15(nativeValue) - lo) / (hi - lo);
  }
  case kMapPowerOfTwo:
    return (std::log2(nativeValue) - minValue) / (maxValue - minValue);
  case kMapLinear:
  case kMapInteger:
  default:
    return (nativeValue - minValue) / (maxValue - minValue);
  }
}

double ParamInfo::toNativeValue(double controlValue) const
{
  switch (mapping)
  {
  case kMapInteger:
    return std::floor((maxValue - minValue) * controlValue + minValue + 0.5);
  case kMapLogarithmic:
  {
    const double lo = log15(minValue);
    const double hi = log15(maxValue);
    return std::pow(1.5, lo + (hi - lo) * controlValue);
  }
  case kMapPowerOfTwo:
    return std::pow(2.0, minValue + (maxValue - minValue) * controlValue);
  case kMapLinear:
  default:
    return minValue + (maxValue - minValue) * controlValue;
  }
}

std::string ParamInfo::toString(double nativeValue) const
{
  char text[64];
  switch (textForm)
  {
  case kTextHz:
    std::snprintf(text, sizeof text, "%d Hz", static_cast<int>(nativeValue));
    break;
  case kTextDb:
  {
    const double magnitude = std::fabs(nativeValue);
    const int decimals = magnitude < 1 ? 3 : (magnitude < 10 ? 2 : 1);
    std::snprintf(text, sizeof text, "%.*f dB", decimals, nativeValue);
    break;
  }
  case kTextInteger:
    std::snprintf(text, sizeof text, "%d", static_cast<int>(nativeValue));
    break;
  case kTextReal:
  default:
    std::snprintf(text, sizeof text, "%.3f", nativeValue);
    break;
  }
  return text;
}

ParamInfo ParamInfo::sampleRate()
{
  return {kIdSampleRate, "Fs", "Sample Rate", 11025, 192000, 44100, kMapLinear, kTextHz};
}

ParamInfo ParamInfo::cutoffFrequency()
{
  return {kIdFrequency, "Fc", "Cutoff Frequency", 10, 22040, 2000, kMapLogarithmic, kTextHz};
}

ParamInfo ParamInfo::centerFrequency()
{
  return {kIdFrequency, "Fc", "Center Frequency", 10, 22040, 2000, kMapLogarithmic, kTextHz};
}

ParamInfo ParamInfo::resonance()
{
  return {kIdQ, "Q", "Resonance", -4, 4, 1, kMapPowerOfTwo, kTextReal};
}

ParamInfo ParamInfo::bandwidthOctaves()
{
  return {kIdBandwidth, "BW", "Bandwidth (Octaves)", -4, 4, 1, kMapPowerOfTwo, kTextReal};
}

ParamInfo ParamInfo::bandwidthHz()
{
  return {kIdBandwidthHz, "BW", "Bandwidth (Hz)", 10, 22040, 1720, kMapLogarithmic, kTextHz};
}

ParamInfo ParamInfo::gain() { return {kIdGain, "Gain", "Gain", -24, 24, -6, kMapLinear, kTextDb}; }

ParamInfo ParamInfo::order(int maxOrder)
{
  return {kIdOrder, "Order",     "Order",     1, static_cast<double>(maxOrder),
          2,        kMapInteger, kTextInteger};
}

ParamInfo ParamInfo::rippleDb()
{
  return {kIdRippleDb, "Ripple", "Ripple dB", 0.001, 12, 0.01, kMapLinear, kTextDb};
}

void ParamInfo::throwInvalidUsage() { throw std::logic_error("invalid usage of ParamInfo"); }

} // namespace Dsp
