#pragma once

#include <cstdint>

namespace Korvane
{

// The instrument's 15-bit pseudo-random generator: a linear congruential generator
// (state = state * 214013 + 2531011 modulo 2^32) whose values are bits 16 to 30 of the
// state, 0..32767. Each instrument has one (its waveform provider's): the built-in noise
// cycles draw from it seeded with 1800, so they are the same on every start, and the
// noise oscillators, display and export draw fresh values from it after them.
class Random15
{
public:
  static constexpr int kMax = 32767;

  explicit Random15(std::uint32_t seed = 1) noexcept : state(seed) {}

  void seed(std::uint32_t value) noexcept { state = value; }
  std::uint32_t getState() const noexcept { return state; }

  // The next value, 0..32767.
  int next() noexcept
  {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
  }

private:
  std::uint32_t state;
};

} // namespace Korvane
