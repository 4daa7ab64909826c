#pragma once

#include "voice/WaveTableSet.h"

#include <cmath>

namespace Korvane
{

// Read-out of a band-limited wavetable set: picks the table for the current increment
// on every read (so pitch sweeps change tables as they go) and interpolates linearly.
// A null or empty set reads 0. The owner advances the phase after reading.
struct TableOscillator
{
  double read() const noexcept
  {
    if (table == nullptr || table->count == 0)
      return 0.0;
    const WaveTable* t = table->tableFor(increment);
    const int n = t->length;
    const double p = n * phase;
    int j = static_cast<int>(p);
    if (j >= n) // a phase that rounds up to 1.0
      j = n - 1;
    const double s0 = t->samples[j];
    const double s1 = j + 1 < n ? t->samples[j + 1] : t->samples[0];
    return s0 + (s1 - s0) * (p - j);
  }

  void advance() noexcept
  {
    const double p = phase + increment;
    phase = p - std::floor(p);
  }

  // New rate, same frequency in Hz.
  void setSampleRate(double rate) noexcept
  {
    increment = increment * sampleRate / rate;
    sampleRate = rate;
  }

  const WaveTableSet* table = nullptr;
  double phase = 0.0;
  double increment = 0.0;
  double sampleRate = 44100.0;
};

} // namespace Korvane
