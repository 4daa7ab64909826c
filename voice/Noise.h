#pragma once

#include <cstdint>

namespace Korvane
{

class Random15;

// Filter memory of one oscillator's pink noise; it never restarts.
struct PinkNoiseState
{
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// The noise oscillators. They draw from the instrument's one 15-bit generator (the
// waveform provider's, seeded with 1800 when the instrument is built), so a fresh
// instrument plays its noise the same way every time and in every instance.
class Noise
{
public:
  // r * 2 / 32767 - 1 for one fresh value r.
  static double white(Random15& random) noexcept;

  // Three one-pole low-passes of three fresh values, weighted and centred: -0.781..+0.781.
  static double pink(Random15& random, PinkNoiseState& s) noexcept;
};

} // namespace Korvane
