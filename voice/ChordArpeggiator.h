#pragma once

#include <cstdint>

namespace Korvane
{

// The arpeggio of the note transpose modes 8 ("Arp. Dur 1/16") and 9 ("Arp. Moll 1/16"):
// the note steps through root, third and fifth, one step per sixteenth of a beat, and the
// frequency ratio glides to each step through a one-pole smoother. Other modes give 1.
struct ChordArpeggiator
{
  static constexpr int kMajorMode = 8;
  static constexpr int kMinorMode = 9;

  // At a note's start: mode 0..9, host tempo in beats per minute (a tempo that is not a
  // positive number counts as 120), sample rate in Hz.
  void arm(int noteMode, double tempo, double sampleRate) noexcept;

  // The ratio for the next sample.
  // True when step() gives 1 and changes nothing (no chord mode).
  bool isOff() const noexcept { return mode < kMajorMode; }
  double step() noexcept
  {
    if (isOff())
      return 1.0;
    if (nextStep < counter)
    {
      nextStep += stepLength;
      index = static_cast<std::uint8_t>((index + 1) % 3);
      target = chord[index];
    }
    counter += 1;
    current = target * gain + pole * current;
    return current;
  }

  double major[3] = {1.0, 1.2599210498948732, 1.4983070768766815};
  double minor[3] = {1.0, 1.1892071150027210, 1.4983070768766815};
  const double* chord = major;
  std::int32_t mode = kMajorMode;
  std::uint8_t index = 0;
  std::int32_t stepLength = 1;
  std::int32_t nextStep = 0;
  std::int32_t counter = 0;
  double target = 1.0;
  double pole = 0.442305198;
  double gain = 0.557694802;
  double current = 1.0;
  double noteLength = 0.0625;
};

} // namespace Korvane
