#pragma once

#include "voice/Note.h"
#include "voice/VoiceBinding.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Korvane
{

// The instrument's 64 voices. A note-on takes the first free voice (no stealing); the
// block renders in two passes: renderSample once per sample after that sample's MIDI
// events, then mixBlock once after the sample loop. Pitch-bend events wait in eight
// slots until their sample and move a smoothed bend ratio that every voice reads.
//
// The instrument wires it up as follows:
//   construction: bind(binding) once, right after constructing the pool and the
//                 waveform provider, before the initial parameter routing (a voice
//                 resolves its waveform tables through the provider);
//   Reset:        reset(sampleRate, blockSize) (sample rate of every voice, pending bends
//                 cleared, buffers grown to the block size), besides the pitch
//                 envelope's own setSampleRate;
//   routing:      store the value in its SynthParams slot first, then call the setter:
//                 waveform -> selectWaveform, tune -> setTuneRatio(tuneRatioOf),
//                 pitch -> setPitchRatio(pitchRatioOf), filter types -> setFilterLeftType
//                 / setFilterRightType, LFO freq. -> setLfoFrequency, envelope times,
//                 sustain and duration -> setEnvelope*, "AdsrShape" -> setEnvelopeShape
//                 (volume curvature, filter duration),
//                 global transpose -> slot 167 = pitchRatioOf(v), then
//                 applyGlobalTranspose, unison -> setUnisonCount(unisonCountOf) and
//                 setUnisonDetune, FM -> setFmAmount;
//   MIDI:         noteOn(note, velocity, offset), noteOff(note), queuePitchBend(offset,
//                 value) from the queue's dispatch;
//   ProcessBlock: for each sample k: dispatch the MIDI due at k, then renderSample();
//                 after the loop mixBlock(targets, n) into buses the block zeroed.
class VoicePool
{
public:
  static constexpr int kVoiceCount = 64;
  static constexpr int kPendingBendCount = 8;
  static constexpr std::int32_t kPitchBendKind = 14;

  struct PendingBend
  {
    bool free = true;
    std::int32_t countdown = 0;
    std::int32_t kind = kPitchBendKind;
    double value = 0.0;
  };

  // The envelope a setter addresses.
  enum EnvelopeId
  {
    kVolumeEnvelope = 0,
    kFilterEnvelope = 1
  };

  VoicePool();
  VoicePool(const VoicePool&) = delete;
  VoicePool& operator=(const VoicePool&) = delete;

  // Binds the pool and every voice to the instrument.
  void bind(const VoiceBinding& b);
  bool isBound() const noexcept { return bound; }

  // The instrument's Reset: every voice gets the rate, the pending bends are cleared,
  // and voices whose buffers are shorter than blockSize get new ones (they never
  // shrink). The only place besides construction where the pool allocates.
  void reset(double sampleRate, int blockSize);
  void setSampleRate(double rate);
  void clearPendingBends() noexcept;
  void ensureBufferLength(int blockSize);

  // The first free voice plays the note; -1 (and nothing happens) when all 64 sound.
  // Returns the voice's index.
  int noteOn(int note, int velocity, int offset);
  // Releases every active voice holding the note.
  void noteOff(int note) noexcept;
  // Queues a bend (value -1..+1) for the sample `offset` of the block; false when all
  // eight slots are taken (the event is dropped).
  bool queuePitchBend(int offset, double value) noexcept;

  void renderSample();
  // count samples of renderSample at once (the same values bit for bit), for a stretch
  // of the block in which no event arrives and no parameter moves. mixNext tells that
  // none does until mixBlock either: the pool may then keep the samples waiting and
  // render them in mixBlock, each batch of voices just before it mixes (the same values
  // bit for bit, with the batch's buffers still in the cache). Every other call that
  // touches the voices' rendering renders what waits first.
  void renderSamples(int count, bool mixNext = false);
  void mixBlock(const VoiceMixTargets& out, int n);

  // Voice-wide setters of the parameter routing (k is the oscillator 0..2).
  void setLfoFrequency(int k, double v) noexcept;
  void setEnvelopeAttack(EnvelopeId e, double v);
  void setEnvelopeDecay(EnvelopeId e, double v);
  void setEnvelopeSustain(EnvelopeId e, double v);
  void setEnvelopeRelease(EnvelopeId e, double v);
  void setEnvelopeDuration(EnvelopeId e, double v);
  // "ADSR shape": the curvature of every volume envelope, and the duration of every
  // filter envelope (time scale max(v, 0.001) * 5, its curvature as built). Sounds
  // rely on it: after a program change the filter envelopes' time scale follows
  // "ADSR shape", which the routing applies after "Filter Env. Duration".
  void setEnvelopeShape(double v);
  void setUnisonDetune(double v) noexcept;
  void selectWaveform(int k, double x);
  // Re-tunes every voice, sounding or free, to the transpose ratio in slot 167.
  void applyGlobalTranspose() noexcept;
  // Fields the routing writes into every voice.
  void setPitchRatio(int k, double ratio) noexcept;
  void setTuneRatio(int k, double ratio) noexcept;
  void setUnisonCount(std::uint16_t count) noexcept;
  void setFmAmount(double v) noexcept;
  void setFilterLeftType(int k, double x);
  void setFilterRightType(int k, double x);

  // Conversions of the routing.
  // "Osc Pitch" and "Global transpose": 2^(2v - 1), exactly 1 at 0.5.
  static double pitchRatioOf(double v) noexcept;
  // "Osc Tune": about +-1 semitone, 1 at 0.5.
  static double tuneRatioOf(double v) noexcept;
  // "Unison Voices": 1 below 0.5, 2 from 0.5 on.
  static std::uint16_t unisonCountOf(double v) noexcept;

  // "C5" for 60; false (and out empty) for a note outside 0..127.
  static bool noteName(int note, char* out, std::size_t size) noexcept;
  // The name of a "Note transpose mode" position ("Standard MIDI", "Low Kick 39.2Hz"...).
  static std::string transposeModeName(int mode);

  Note& voice(int i) noexcept { return voices[i]; }
  const Note& voice(int i) const noexcept { return voices[i]; }
  int activeCount() const noexcept;
  const PendingBend& pendingBend(int i) const noexcept { return pendingBends[i]; }

  double bendTarget = 1.0;
  double bendPole = 0.9777;
  double bendGain = 0.0223;
  double bendRatio = 1.0;

private:
  AdsrEnvelope& envelope(Note& n, EnvelopeId e) noexcept
  {
    return e == kVolumeEnvelope ? n.volumeEnvelope : n.filterEnvelope;
  }

  // The pending bends' countdowns for one sample (a bend due now sets bendTarget).
  void stepPendingBends();
  // Rebuilds activeMask from the voices' envelopes.
  void updateActiveMask() noexcept;
  // The stretch of m samples from j0 on of `count` voices (indices in `batch`).
  void mixStretch(const int* batch, int count, int j0, int m);

  // Voices that mix a stretch together, with their oscillator filters side by side.
  static constexpr int kMixBatch = 8;

  std::unique_ptr<Note[]> voices;
  // The stretch records of a batch (kMixBatch of them).
  std::unique_ptr<Note::MixStretch[]> stretches;
  // A run of count samples of the voices of batch, their phase chains side by side.
  void renderBatch(const int* batch, int size, int count, const double* bend, Note::PitchRun& memo);
  // The waiting samples of the voices of batch, or of all that wait (then none waits).
  void renderWaiting(const int* batch, int size);
  void renderWaiting();
  // The stretches of the voices of group (ascending, at most kMixBatch) that mix.
  void mixGroup(const int* group, int size, const VoiceMixTargets& out,
                const VoiceMixTargets& hidden, int last, bool lastShows, int n);

  // Voices that render a run together, their phase chains side by side: the records
  // kept between the run's two steps (kRenderBatch of them), and the chains.
  static constexpr int kRenderBatch = 8;
  static_assert(kMixBatch <= kRenderBatch, "a mixing group renders as one batch");
  std::unique_ptr<Note::RunScratch[]> runScratch;
  PhaseChains chains;
  // The LFO and FM phases that only move on through a run or stretch of a batch.
  ModulatorSteps later;
  // Samples that wait for mixBlock (renderSamples with mixNext): their bend ratios, how
  // many, and the voices that render them.
  std::unique_ptr<double[]> waitingBend;
  int waitingCapacity = 0;
  int waitingCount = 0;
  std::uint64_t waitingMask = 0;
  // Bit i set while voice i is active: voices become active only in noteOn and free
  // only in mixBlock, so the per-sample pass need not look at the 64 voices.
  std::uint64_t activeMask = 0;
  PendingBend pendingBends[kPendingBendCount];
  VoiceBinding binding;
  bool bound = false;
};

} // namespace Korvane
