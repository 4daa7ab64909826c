#pragma once

#include "effects/AudioProcessingUnit.h"
#include "effects/PolyBLEP.h"

namespace Korvane
{

// The ring modulator of the modulation section: multiplies the signal by a carrier
// made of band-limited oscillators at f, 2f and 4f ("Ring Freq" 1 puts f at 4000 Hz).
// The carrier modes ("Ring Waveform"): 0 sine, 1 band-limited square, 2 band-limited
// rising sawtooth, 3 sine at twice the set frequency, 4 the mix
// 0.3 * (sine 4f + sine 2f - sine f). The amount glides with the pole 0.9777; amount 1
// after settling leaves no dry part.
//
// Switching the unit off scales the amount down with a fade twice as fast as the
// other units' (100 samples). While the frequency or the amount is 0 the block
// passes untouched, the carrier and the smoother hold and the fade does not move.
class RingModulator final : public AudioProcessingUnit
{
public:
  enum CarrierMode
  {
    kSine = 0,
    kPulse = 1,
    kSaw = 2,
    kDoubleSine = 3,
    kSineMix = 4
  };

  static constexpr double kMaxFrequency = 4000.0; // carrier at "Ring Freq" 1
  static constexpr double kAmountPole = 0.9777;
  static constexpr double kMixScale = 0.3; // mode 4: 0.3 * (4f + 2f - f)

  RingModulator() = default;

  // Called from the plug-in's reset under the plug-in mutex; never allocates.
  //
  // Stores the rate and hands it to the three oscillators, which keep their carrier
  // frequencies in Hz. A rate that is not finite or not above 0 is refused.
  void setSampleRate(double rate) override;

  // Called from parameter routing under the plug-in mutex (main or audio thread);
  // each takes the parameter's value. A non-finite value is refused and changes
  // nothing.
  //
  // "Ring Amount": the target of the amount smoother.
  void setAmount(double value);
  // "Ring Freq": f = value * 4000 Hz; the three oscillators run at f, 2f and 4f. A value
  // whose carrier frequencies would not be finite is refused too.
  void setFrequency(double value);
  // "Ring Waveform": mode floor(4 * clamp(value, 0, 1) + 0.5), the modes above.
  void setWaveform(double value);

  // Called from the audio thread, never blocks and never allocates.
  //
  // In place: each channel becomes x * g * c + (1 - g) * x with c the carrier and g the
  // smoothed amount times the fade.
  void process(double* left, double* right, int frames);

  double getAmount() const { return amount; }
  double getSmoothedAmount() const { return smoothedAmount; }
  double getFrequencyValue() const { return frequencyValue; }
  double getCarrierFrequency() const { return frequencyValue * maxFrequency; }
  int getCarrierMode() const { return carrierMode; }

private:
  // The next carrier sample of the current mode; advances the oscillators it reads.
  double nextCarrier();

  double maxFrequency = kMaxFrequency;
  double frequencyValue = 0.1;
  double amount = 0.0;
  int carrierMode = kSine;
  double amountPole = kAmountPole;
  double amountGain = 1.0 - kAmountPole;
  double smoothedAmount = 0.0;
  PolyBLEP osc1; // f
  PolyBLEP osc2; // 2f
  PolyBLEP osc3; // 4f
};

} // namespace Korvane
