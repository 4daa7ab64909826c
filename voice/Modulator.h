#pragma once

#include "effects/AudioProcessingUnit.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace Korvane
{

// A sine LFO of 0..maxFrequency Hz. Each oscillator of a voice has two running at the same
// rate from the same phase: one moves volume, filter and pan (depth 1.0), the other the
// tune (depth 0.5). The phase restarts at every note. A bypassed modulator, one at
// frequency 0 and one with depth 0 give 0.
class Modulator : public AudioProcessingUnit
{
public:
  static constexpr double kTwoPi = 2.0 * std::numbers::pi;

  Modulator() = default;
  ~Modulator() override;

  // Stores the rate; increment = frequency * maxFrequency * 2 pi / rate.
  void setSampleRate(double rate) override;

  // Rate change: v is the normalised rate 0..1 (maxFrequency * v Hz).
  void setFrequency(double v) noexcept
  {
    frequency = v;
    increment = v * maxFrequency * kTwoPi / sampleRate;
  }

  // True when value() gives 0 whatever the phase.
  bool isSilent() const noexcept { return bypassed || frequency == 0.0 || depth == 0.0; }
  double value() const noexcept
  {
    if (isSilent())
      return 0.0;
    return depth * std::sin(phase);
  }

  void advance() noexcept
  {
    phase += increment;
    if (phase >= kTwoPi)
      phase -= kTwoPi;
  }

  // Standing still: increment 0, its phase below a turn and not -0 (which adding a zero
  // would turn into +0), so that advance() leaves it as it is.
  bool standsStill() const noexcept
  {
    return increment == 0.0 && phase < kTwoPi &&
           std::bit_cast<std::uint64_t>(phase) != std::bit_cast<std::uint64_t>(-0.0);
  }
  // n steps of advance() at once, the same bits; a modulator standing still is left as
  // it is.
  void advanceBy(int n) noexcept
  {
    if (standsStill())
      return;
    double p = phase;
    const double step = increment;
    for (int j = 0; j < n; ++j)
    {
      p += step;
      if (p >= kTwoPi)
        p -= kTwoPi;
    }
    phase = p;
  }

  // advanceBy(n) worked out at once where the n steps stay within the binade the phase
  // starts in and below a turn: there every sum rounds to the same grid, so (unless the
  // step falls exactly halfway between two grid points, where the rounding would follow
  // the phase's last bit) each step adds the same whole number of grid units and the
  // phase's bits move on linearly. False, with the phase untouched, when that does not
  // hold (a wrap, a binade crossed, a tie, a phase that is negative, -0 or not finite).
  bool advanceWithinBinade(int n) noexcept;

  // advanceBy(n) of `count` modulators, the same bits: those that move, four a vector
  // where the processor has AVX2. One that stands exactly where an earlier one of the
  // list stands and moves by the same step (bit for bit) ends where that one ends, so it
  // takes that one's phase instead of stepping through the n samples again; one whose
  // steps stay within a binade moves by advanceWithinBinade.
  // Called from the audio thread, never blocks.
  static void advanceAllBy(Modulator* const* modulators, int count, int n) noexcept;

  double depth = 0.5;
  double maxFrequency = 20.0;
  double frequency = 0.1;
  double phase = 0.0;
  double increment = 1.0 / 44100.0;
};

// Modulators that move on by the same number of steps, collected (from several voices)
// and moved together by advanceAllBy. Called from the audio thread, never blocks.
struct ModulatorSteps
{
  static constexpr int kMost = 64;
  Modulator* list[kMost];
  int size = 0;
  // Appends m, which moves n steps; moves it at once when the list is full.
  void add(Modulator& m, int n) noexcept
  {
    if (size < kMost)
      list[size++] = &m;
    else
      m.advanceBy(n);
  }
  // Every modulator appended moves n steps; the list is empty again.
  void advance(int n) noexcept
  {
    Modulator::advanceAllBy(list, size, n);
    size = 0;
  }
};

// Tempo-sync positions 0..9 of an LFO's tempo-sync parameter: the number of LFO cycles per
// beat (1 for position 0, which means no sync, and for any position outside 1..9).
double syncRatio(int position) noexcept;
// "off", "1/16x", "1/8x", "1/4x", "1/2x", "1.0x", "2.0x", "4.0x", "8.0x", "16.0x";
// "1.0x" for any position outside 0..9.
const char* syncRatioName(int position) noexcept;

} // namespace Korvane
