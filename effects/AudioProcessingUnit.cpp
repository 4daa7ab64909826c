#include "effects/AudioProcessingUnit.h"

#include "dsp/Lanes.h"

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

void AudioProcessingUnit::blendByFade(double* left, double* right, const double* processedLeft,
                                      const double* processedRight, int frames)
{
  int i = 0;
  for (; i < frames && wet > 0.0 && wet < 1.0; ++i)
  {
    left[i] = (1.0 - wet) * left[i] + wet * processedLeft[i];
    right[i] = (1.0 - wet) * right[i] + wet * processedRight[i];
    advanceFade();
  }
  // The fade stands still from here on.
  const double dry = 1.0 - wet;
  const auto blend = [dry, this](double* out, const double* processed, int from, int n)
  {
    int k = from;
    for (; k + 2 <= n; k += 2)
      Dsp::storePair(out + k, dry * Dsp::loadPair(out + k) + wet * Dsp::loadPair(processed + k));
    for (; k < n; ++k)
      out[k] = dry * out[k] + wet * processed[k];
  };
  blend(left, processedLeft, i, frames);
  blend(right, processedRight, i, frames);
}

} // namespace Korvane
