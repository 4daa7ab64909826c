#pragma once

#include <cstdint>
#include <span>

namespace Korvane
{

// The pitch envelope shared by all voices: for the time since a voice's note-on it
// gives the factor by which the voice's frequency is multiplied. The factor rises
// linearly to 1 + amountScale * amount within `attack` seconds, falls back along a
// power curve over `duration` seconds, and "Pitch Down" pulls it linearly down to
// 1 - down by the end of the envelope. It holds no per-voice state. It also keeps
// the pitch-bend range.
class PitchEnvelope
{
public:
  static constexpr int kPreviewPoints = 198;

  PitchEnvelope() = default;
  virtual ~PitchEnvelope();

  // Frequency factor at t seconds after note-on.
  double evaluate(double t) const;
  // True when evaluate gives the same factor at t and at every later time: the
  // envelope is off, or its fall is over.
  bool settledAt(double t) const noexcept { return off || t >= attack + duration; }

  // The editor's curve over attack + 2 s: rises shown divided by amountScale,
  // falls below 1 at their true size.
  void preview(std::span<double, kPreviewPoints> points) const;

  void setSampleRate(double rate) { sampleRate = rate; }

  // Parameter setters, one per parameter of the pitch envelope section.
  void setOnOff(double value) { off = (value == 0.0); }      // "Pitch env. On/Off"
  void setAmount(double value) { amount = value; }           // "Pitch Amount"
  void setDuration(double value) { duration = 2.0 * value; } // "Pitch Duration", seconds
  void setPower(double value) { power = value > 0.002 ? value : 0.002; } // "Pitch Power"
  void setDown(double value) { down = value; }                           // "Pitch Down"
  // "Pitch-Bend Range": position floor(6 * value + 0.5) of 0..6 gives 0..12
  // semitones in steps of 2.
  void setBendRange(double value);

  double getBendRange() const { return bendRange; }
  std::int32_t getBendRangePosition() const { return bendRangePosition; }

  double sampleRate = 44100.0;
  bool off = false;
  double attack = 0.007; // rise time in seconds, fixed
  double duration = 0.1; // fall time in seconds
  double amount = 0.0;
  double amountScale = 20.0;
  double power = 0.002;
  double powerScale = 20.0;
  double down = 0.0;
  double bendRange = 2.0; // semitones
  std::int32_t bendRangePosition = 1;
};

} // namespace Korvane
