#include "effects/oscfilter/OscFilterUnit.h"

#include <cmath>

namespace Korvane
{

IKvFilter& OscFilterUnit::Bank::filter(int index)
{
  switch (index)
  {
  case kKellettHighPass:
    return kellettHighPass;
  case kKellettBandPass:
    return kellettBandPass;
  case kButterworthHighPass:
    return butterworthHighPass;
  case kButterworthLowPass:
    return butterworthLowPass;
  default:
    return kellettLowPass;
  }
}

const IKvFilter& OscFilterUnit::Bank::filter(int index) const
{
  return const_cast<Bank*>(this)->filter(index);
}

void OscFilterUnit::Bank::setSampleRate(double rate)
{
  for (int i = 0; i < kTypeCount; ++i)
    filter(i).setSampleRate(rate);
}

void OscFilterUnit::Bank::reset()
{
  for (int i = 0; i < kTypeCount; ++i)
    filter(i).reset();
}

OscFilterUnit::OscFilterUnit() = default;

int OscFilterUnit::typeIndex(double x)
{
  const double p = std::floor(4.0 * x + 0.5);
  // Compared as a double first: NaN and huge values must not reach the int cast.
  if (p >= 0.0 && p < double(kTypeCount))
    return int(p);
  return kKellettLowPass;
}

void OscFilterUnit::setLeftType(double x)
{
  leftTypeValue = x;
  leftIndex = typeIndex(x);
}

void OscFilterUnit::setRightType(double x)
{
  rightTypeValue = x;
  rightIndex = typeIndex(x);
}

void OscFilterUnit::setSampleRate(double rate)
{
  AudioProcessingUnit::setSampleRate(rate);
  left.setSampleRate(rate);
  right.setSampleRate(rate);
  reset();
}

void OscFilterUnit::reset()
{
  left.reset();
  right.reset();
}

const char* OscFilterUnit::longTypeName(int index)
{
  static const char* const kNames[kTypeCount] = {
      "Paul Kellett LP", "Paul Kellett HP", "Paul Kellett BP", "Butterworth HP", "Butterworth LP"};
  if (index < 0 || index >= kTypeCount)
    return "Unknown Filter";
  return kNames[index];
}

const char* OscFilterUnit::shortTypeName(int index)
{
  static const char* const kNames[kTypeCount] = {"PK LP", "PK HP", "PK BP", "BW HP", "BW LP"};
  if (index < 0 || index >= kTypeCount)
    return "Unknown";
  return kNames[index];
}

} // namespace Korvane
