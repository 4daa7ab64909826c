#include "effects/AudioProcessingUnit.h"

namespace Korvane
{

AudioProcessingUnit::~AudioProcessingUnit() = default;

void AudioProcessingUnit::setSampleRate(double rate) { sampleRate = rate; }

void AudioProcessingUnit::setBypass(bool off)
{
  if (off == bypassed)
    return;
  bypassed = off;
  if (off)
  {
    wet = 1.0 - kFadeStep;
    wetStep = -kFadeStep;
  }
  else
  {
    wet = kFadeStep;
    wetStep = kFadeStep;
  }
}

} // namespace Korvane
