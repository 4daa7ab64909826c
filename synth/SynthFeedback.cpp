// The texts the editor shows beside the sound controls, worked out from what the
// routing left in the parameter slots, the envelope display models and the pitch
// envelope; the effect parameters' texts come from the master chain.
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <cmath>
#include <cstdio>

namespace P = ParamIndex;
using Korvane::SynthParams;

namespace
{
// "%3.1fdB" of an envelope amount, "-oo dB" when it is not above 0.
void AmountText(double amount, char* text, size_t size)
{
  if (amount > 0.0)
    std::snprintf(text, size, "%3.1fdB", 20.0 * std::log10(amount));
  else
    std::snprintf(text, size, "-oo dB");
}

// A segment's length in seconds as the display model holds it.
double Seconds(double samples, double sampleRate)
{
  return sampleRate > 0.0 ? samples / sampleRate : 0.0;
}
} // namespace

bool Thumpgeist::FeedbackText(int paramIdx, char* text, size_t size) const
{
  if (!text || size == 0)
    return false;
  text[0] = 0;
  const int slot = SynthParams::slotOf(paramIdx);
  if (slot < 0)
    return false;
  const double value = synthParams[slot];
  if (paramIdx < P::kNumOscillators * P::kOscStride)
  {
    if (paramIdx % P::kOscStride != P::kOscFilterBalance)
      return false;
    std::snprintf(text, size, "%3.1f%% / %3.1f%%", (1.0 - value) * 100.0, value * 100.0);
    return true;
  }
  const bool volume = paramIdx >= P::kVolEnvAttack && paramIdx <= P::kVolEnvAmount;
  const bool filter = paramIdx >= P::kFilterEnvAttack && paramIdx <= P::kFilterEnvAmount;
  if (volume || filter)
  {
    const Korvane::AdsrEnvelope& model = volume ? volumeEnvelopeDisplay : filterEnvelopeDisplay;
    const double rate = model.sampleRate;
    switch (paramIdx - (volume ? P::kVolEnvAttack : P::kFilterEnvAttack))
    {
    case 0:
      std::snprintf(text, size, "%3.3f s", Seconds(model.attackSamples, rate));
      return true;
    case 1:
      std::snprintf(text, size, "%3.3f s", Seconds(model.decaySamples, rate));
      return true;
    case 3:
      std::snprintf(text, size, "%3.3f s", Seconds(model.releaseSamples, rate));
      return true;
    case 5:
      std::snprintf(text, size, "%3.3f", value);
      return true;
    case 6:
      AmountText(value, text, size);
      return true;
    default:
      return false; // sustain and duration show the parameter's own text
    }
  }
  switch (paramIdx)
  {
  case P::kPitchBendRange:
    std::snprintf(text, size, "+/- %1.0f", pitchEnvelope.getBendRange());
    return true;
  case P::kUnisonVoices:
    std::snprintf(text, size, "%d", int(Korvane::VoicePool::unisonCountOf(value)));
    return true;
  default:
    return master.FeedbackText(paramIdx, value, text, size);
  }
}
