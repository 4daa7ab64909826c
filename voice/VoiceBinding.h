#pragma once

namespace Korvane
{

class PitchEnvelope;
class Random15;
class WaveformProvider;
struct SynthParams;

// What a voice needs from the instrument that owns it. The instrument fills one of these
// right after construction and hands it to VoicePool::bind; a voice without params,
// bendRatio, provider or pitchEnvelope renders nothing.
struct VoiceBinding
{
  const SynthParams* params = nullptr;
  // The instrument's pitch-bend ratio field: the pool writes the smoothed bend ratio
  // into it after every sample and the voices read it.
  double* bendRatio = nullptr;
  const WaveformProvider* provider = nullptr;
  // The pitch envelope shared by all voices; it also holds the pitch-bend range.
  const PitchEnvelope* pitchEnvelope = nullptr;
  // The instrument's 15-bit generator, which the noise oscillators draw from (the
  // provider's: seeded with 1800 as the instrument is built, so noise renders the same
  // in every fresh instance). Without one the noise oscillators are silent.
  Random15* random = nullptr;

  // Passed back to the two callbacks below.
  void* owner = nullptr;
  // The host tempo in beats per minute, read when a note starts (the arpeggiator's
  // step length). Null, or a value that is not a positive number, counts as 120.
  double (*tempo)(void* owner) = nullptr;
  // Told when a voice starts a note: its frequency by the note transpose mode and the
  // note's name ("" for a negative note number). Optional.
  void (*noteStarted)(void* owner, double frequency, const char* name) = nullptr;

  bool complete() const noexcept
  {
    return params != nullptr && bendRatio != nullptr && provider != nullptr &&
           pitchEnvelope != nullptr;
  }
};

} // namespace Korvane
