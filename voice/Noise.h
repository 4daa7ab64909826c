#pragma once

#include <cstdint>

namespace Korvane
{

// Filter memory of one oscillator's pink noise; it never restarts.
struct PinkNoiseState
{
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// The noise oscillators. All voices of all instances in the process draw from one
// 15-bit generator (Random15), which every voice's constructor reseeds from the time of
// day. Its state is kept in an atomic word so that two instances rendering on different
// threads never race on it; they merely share the sequence.
class Noise
{
public:
  // r * 2 / 32767 - 1 for one fresh value r.
  static double white() noexcept;

  // Three one-pole low-passes of three fresh values, weighted and centred: -0.781..+0.781.
  static double pink(PinkNoiseState& s) noexcept;

  static void seed(std::uint32_t value) noexcept;
  static void seedFromTimeOfDay() noexcept;
  static std::uint32_t state() noexcept;

  // The next raw value 0..32767.
  static int next() noexcept;
};

} // namespace Korvane
