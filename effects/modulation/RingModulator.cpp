#include "effects/modulation/RingModulator.h"

#include <algorithm>
#include <cmath>

namespace Korvane
{

// ---------------------------------------------------------------------------------
// Called from the plug-in's reset and from parameter routing under the plug-in mutex.

void RingModulator::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || !(rate > 0.0))
    return;
  AudioProcessingUnit::setSampleRate(rate);
  for (PolyBLEP* osc : {&osc1, &osc2, &osc3})
    osc->setSampleRate(rate);
}

void RingModulator::setAmount(double value)
{
  if (std::isfinite(value))
    amount = value;
}

void RingModulator::setFrequency(double value)
{
  const double f = value * maxFrequency;
  if (!std::isfinite(value) || !std::isfinite(4.0 * f / sampleRate))
    return;
  frequencyValue = value;
  osc1.setFrequency(f);
  osc2.setFrequency(2.0 * f);
  osc3.setFrequency(4.0 * f);
}

void RingModulator::setWaveform(double value)
{
  if (!std::isfinite(value))
    return;
  carrierMode = int(std::floor(4.0 * std::clamp(value, 0.0, 1.0) + 0.5));
  switch (carrierMode)
  {
  case kPulse:
    osc1.type = PolyBLEP::kSquare;
    break;
  case kSaw:
    osc1.type = PolyBLEP::kSawtooth;
    break;
  default:
    osc1.type = PolyBLEP::kSine;
    osc2.type = PolyBLEP::kSine;
    osc3.type = PolyBLEP::kSine;
    break;
  }
}

// ---------------------------------------------------------------------------------
// Called from the audio thread, never blocks and never allocates.

double RingModulator::nextCarrier()
{
  if (carrierMode == kSineMix)
  {
    const double c = kMixScale * (osc3.output() + osc2.output() - osc1.output());
    osc1.advance();
    osc2.advance();
    osc3.advance();
    return c;
  }
  if (carrierMode == kDoubleSine)
    osc1.advance(); // one extra step per sample: osc1 runs at twice its frequency
  const double c = osc1.output();
  osc1.advance();
  return c;
}

void RingModulator::process(double* left, double* right, int frames)
{
  if (isFadedOut() || frequencyValue == 0.0 || amount == 0.0)
    return;
  for (int i = 0; i < frames; ++i)
  {
    const double c = nextCarrier();
    smoothedAmount = amountGain * amount + amountPole * smoothedAmount;
    const double g = smoothedAmount * wet;
    left[i] = left[i] * g * c + (1.0 - g) * left[i];
    right[i] = right[i] * g * c + (1.0 - g) * right[i];
    // The ring modulator fades in or out in 100 samples, twice the base's speed.
    advanceFade();
    advanceFade();
  }
}

} // namespace Korvane
