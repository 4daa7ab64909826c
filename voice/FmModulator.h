#pragma once

#include "voice/Modulator.h"

namespace Korvane
{

// The FM source of a voice: a Modulator of 0..10 kHz that the voice runs at its base
// frequency from phase 0 at every note. Its depth is the "FM 1.00 carrier amount".
class FmModulator : public Modulator
{
public:
  static constexpr double kMaxFrequency = 10000.0;

  FmModulator() noexcept
  {
    depth = 0.0;
    maxFrequency = kMaxFrequency;
    frequency = 0.1;
  }
  ~FmModulator() override;

  // Runs the modulator at hz: frequency = hz / maxFrequency.
  void setFrequencyHz(double hz) noexcept
  {
    frequency = hz / maxFrequency;
    increment = kTwoPi * hz / sampleRate;
  }
};

} // namespace Korvane
