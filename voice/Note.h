#pragma once

#include "effects/AudioProcessingUnit.h"
#include "effects/PolyBLEP.h"
#include "effects/oscfilter/OscFilterUnit.h"
#include "voice/AdsrEnvelope.h"
#include "voice/ChordArpeggiator.h"
#include "voice/FmModulator.h"
#include "voice/Modulator.h"
#include "voice/Noise.h"
#include "voice/PhaseChains.h"
#include "voice/TableOscillator.h"
#include "voice/VoiceBinding.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

namespace Korvane
{

class ClickTransients;
class PitchEnvelope;

// Where mixBlock adds the voices: the stereo pair and the buses, all zeroed by the caller,
// at least the block's length long and distinct buffers (none overlaps another). lfoDisplay holds
// records of kLfoRecordStride doubles, one per sample, whose first three receive the oscillator LFO
// values of the last voice mixed. envBus, filterEnvBus and lfoDisplay may be null.
struct VoiceMixTargets
{
  static constexpr int kLfoRecordStride = 5;

  double* left = nullptr;
  double* right = nullptr;
  double* bassBus = nullptr;
  double* envBus = nullptr;
  double* filterEnvBus = nullptr;
  double* lfoDisplay = nullptr;
};

// One voice: three oscillators (each with unison, its own saturation, dual filter, LFO,
// volume and pan), a sine bass layer and a click, under a volume and a filter envelope.
// A block is rendered in two passes: renderOscillators once per sample (the raw sources
// and the pitch) and mix once per block (filters, LFOs, envelopes, pan, mixing).
class Note : public AudioProcessingUnit
{
public:
  static constexpr int kOscillators = 3;
  static constexpr int kSubVoices = 2;
  static constexpr int kStartFadeLength = 16;
  // K = 2^(1/12) - 1.
  static constexpr double kSemitone = 0.05946309435929531;
  static constexpr double kTwelveSemitones = 0.7135571323115437;

  // fade[i] = i (31 - i) / 240: 0, 1/8, ... 119/120, 1.
  static const double kStartFade[kStartFadeLength];

  // One-pole smoother, pole 0.9777. A target that is not a finite number is passed
  // over (the state holds), so no single bad value can stay in the state for good.
  struct Smoother
  {
    double pole = 0.9777;
    double gain = 0.0223;
    double state = 0.0;
    double next(double target) noexcept
    {
      if (std::isfinite(target))
        state = gain * target + pole * state;
      return state;
    }
    // True when next(target) returns the state unchanged, bit for bit (and so for every
    // sample after, as long as the target holds).
    bool holdsAt(double target) const noexcept
    {
      if (!std::isfinite(target))
        return true;
      const double moved = gain * target + pole * state;
      return std::bit_cast<std::uint64_t>(moved) == std::bit_cast<std::uint64_t>(state);
    }
  };

  Note();
  ~Note() override;
  Note(const Note&) = delete;
  Note& operator=(const Note&) = delete;

  // Stores the rate here, in both envelopes (keeping their times in seconds), the six
  // LFOs, the FM modulator and the three filters (which are cleared); rescales every
  // oscillator's increment so that it keeps its frequency; recomputes the click times.
  void setSampleRate(double rate) override;

  // (Re)allocates the five voice buffers with `length` zeroed doubles each.
  void allocateBuffers(int length);

  // Gives the voice what it reads from the instrument; re-selects the three waveforms,
  // whose tables live in the provider.
  void bind(const VoiceBinding& b);
  bool isBound() const noexcept { return bound; }

  // Sounding while either envelope is not idle.
  bool isActive() const noexcept
  {
    return volumeEnvelope.state != AdsrEnvelope::kIdle ||
           filterEnvelope.state != AdsrEnvelope::kIdle;
  }

  // Frequency by the note transpose mode, start phases, FM rate and arpeggio. Does
  // nothing while the voice is active.
  void setNote(int note);
  // Envelopes into attack, counters and buffers cleared, first pitch update, LFO and
  // FM phases to 0, filters cleared; velocity 0..127.
  void start(int velocity);
  // Every envelope that is not idle goes into release.
  void release() noexcept;

  // The pitch-envelope factor last evaluated for a time since note-on. The envelope is
  // a pure function of that time, so voices of one sample that started together share
  // one evaluation; the pool keeps one of these for the length of a renderSample.
  struct PitchMemo
  {
    const PitchEnvelope* envelope = nullptr;
    std::uint64_t timeBits = 0;
    double factor = 1.0;
  };

  // One sample of the raw sources into the voice buffers, then the pitch for the next;
  // memo, when given, is consulted and updated for the pitch-envelope factor.
  void renderOscillators(PitchMemo* memo = nullptr);

  // The pitch-envelope factors of a run of samples, shared by the voices of the run that
  // started together (the same time since note-on at its first sample).
  static constexpr int kRunLength = 64;
  struct PitchRun
  {
    const PitchEnvelope* envelope = nullptr;
    std::uint32_t start = 0;
    double rate = 0.0;
    int count = 0;
    double factor[kRunLength];
  };

  // A sine oscillator's part of a run between its increments and its sums.
  struct SineRun
  {
    int k;
    // A steady run's increments are ratio * factor * the pitch of each sample (no tune LFO
    // moves them).
    bool steady;
    double ratio, factor;
    int twin;          // an earlier steady run known alike before its increments (-1: none)
    double end0, end1; // the sub-voices' phases after the run
    double inc0s[kRunLength], inc1s[kRunLength], phase0[kRunLength], phase1[kRunLength];
    double sine0[kRunLength], sine1[kRunLength];
  };
  // What a run keeps between its two steps.
  struct RunScratch
  {
    int count = 0; // 0: the voice renders nothing in this run
    SineRun sines[kOscillators];
    int sineCount = 0;
    int twin[kOscillators];
    int at[kRunLength];
    bool straight = false;
    // Each chain's index in the pool's PhaseChains, or -1 where it advanced alone in
    // chain[]: the bass phase, then sub-voices 0 and 1 of each sine run that is no twin.
    PhaseChain chain[1 + 2 * kOscillators];
    int chainAt[1 + 2 * kOscillators];
    bool bassChained = false;
    // Each oscillator whose buffer receives the same values as an earlier one's in this
    // run: that one's index (-1: none).
    int sameAs[kOscillators];
    double bassIncs[kRunLength + 1], bassPhases[kRunLength];
  };

  // count (1..kRunLength) samples of renderOscillators at once, the same values bit for
  // bit, in two steps so that the phase chains of several voices advance side by side:
  // renderFront does the run up to its chains of phases and appends them to chains; once
  // chains.advance(count) has run, renderBack completes the run from the chains' phases.
  // bend[j] is the bend ratio the voice reads at sample j of the run. The parameters
  // hold still for the run, and no noise oscillator may sound (the noise draws of all
  // voices interleave sample by sample; see drawsNoise).
  // The LFO and FM phases that only move on through the run are appended to later,
  // which the caller moves by count steps before the voice's next run.
  void renderFront(int count, const double* bend, PitchRun& memo, RunScratch& run,
                   PhaseChains& chains, ModulatorSteps& later);
  void renderBack(RunScratch& run, const PhaseChains& chains) noexcept;
  // The sine shape and the bass layer of a run use std::sin (the reference the tests
  // compare the fast path against) instead of sineOfTurns. For all voices.
  static inline bool referenceSine = false;

  // An oscillator that is on plays noise from the shared generator.
  bool drawsNoise() const noexcept;

  // The voice's part of the pool's mixBlock, in steps, for a pool that mixes its voices
  // stretch by stretch with the oscillator filters of several voices side by side:
  // mixBegin reads the block's settings and returns how many samples the voice mixes (0:
  // none, its envelopes have run); then for each stretch of m (at most kRunLength)
  // samples from j0 on, mixFront (envelopes, each oscillator up to its filter's input,
  // into a MixStretch), addFilters (appends the sounding oscillators' filters with their
  // inputs, cutoffs, resonances and outputs for OscFilterUnit::processTogether; returns
  // how many), the filters, and mixBack (adds into the targets); mixEnd once the block is
  // done.
  struct MixStretch
  {
    double fade[kRunLength], vgs[kRunLength], fes[kRunLength];
    // Per oscillator: the LFO value shown, the filter's input (then its output), cutoff,
    // gain and pan.
    double shown[kOscillators][kRunLength];
    double xs[kOscillators][kRunLength], cuts[kOscillators][kRunLength],
        fades[kOscillators][kRunLength], vols[kOscillators][kRunLength],
        pans[kOscillators][kRunLength];
    // An oscillator whose gain and pan hold still through the stretch and whose LFO moves
    // nothing: its fades, vols and pans are not written, and it shows 0.
    bool held[kOscillators];
    // Where each oscillator's filter reads its input: xs, or the voice buffer when held.
    const double* in[kOscillators];
    // Where each oscillator's filter reads its cutoffs: cuts, or those of an earlier
    // oscillator that holds the same values.
    const double* cut[kOscillators];
    double heldVolume[kOscillators], heldPan[kOscillators];
  };
  int mixBegin(const VoiceMixTargets& out, int n);
  // The LFOs that only move on through the stretch are appended to later, which the
  // caller moves by m steps before the voice's next stretch.
  void mixFront(int j0, int m, MixStretch& s, ModulatorSteps& later);
  int addFilters(MixStretch& s, OscFilterUnit** units, const double** in, const double** cutoff,
                 double* resonance, double** out);
  void mixBack(int j0, int m, const MixStretch& s);
  void mixEnd() noexcept;

  // The per-sample pitch: increments of all sub-voices for the next sample, from the
  // pitch-envelope factor e; advances the tune LFOs, the FM phase and the bass phase.
  void updatePitch(double e);

  // Waveform position floor(39 x + 0.5) for oscillator k (0..2).
  void selectWaveform(int k, double x);
  // Both LFOs of oscillator k run at 20 v Hz.
  void setLfoFrequency(int k, double v) noexcept;
  // Re-tunes to the global transpose ratio now in the parameters.
  void retune() noexcept;

  // The frequency (Hz) of oscillator k's first sub-voice for the next sample.
  double oscillatorFrequency(int k) const noexcept;
  const double* oscillatorBuffer(int k) const noexcept { return oscBuffer[k].get(); }
  const double* bassLayerBuffer() const noexcept { return bassBuffer.get(); }
  const double* clickLayerBuffer() const noexcept { return clickBuffer.get(); }
  int waveformPosition(int k) const noexcept { return waveform[k]; }

  double pitchRatio[kOscillators] = {1.0, 1.0, 1.0};
  double tuneRatio[kOscillators] = {1.0, 1.0, 1.0};
  std::uint16_t unisonCount = 1;
  double detune = 0.0;
  double bassPhase = 0.0;
  AdsrEnvelope volumeEnvelope{"Volume Envelope"};
  AdsrEnvelope filterEnvelope{"Filter Envelope"};
  std::int32_t noteNumber = -1;
  std::int32_t startOffset = 0;
  std::uint32_t samplesSinceStart = 0;
  std::uint32_t fadeIndex = 0;
  std::int32_t bufferIndex = 0;
  double voiceGain = 0.0;
  double velocity = 0.0;
  double baseFrequency = 0.0;
  double noteFrequency = 0.0;
  double baseIncrement = 0.0;
  std::int32_t clickLength = 8820;
  std::int32_t clickStart = 44;
  double clickPhase = 0.0;
  std::int32_t bufferLength = 0;
  double mixRight = 0.0, mixLeft = 0.0, bassOut = 0.0, clickOut = 0.0;
  OscFilterUnit oscFilter[kOscillators];
  Modulator lfo[kOscillators];
  Modulator tuneLfo[kOscillators];
  FmModulator fm;
  Smoother volumeSmoother[kOscillators];
  Smoother panSmoother[kOscillators];
  Smoother saturationSmoother[kOscillators];
  PolyBLEP blep[kOscillators][kSubVoices];
  TableOscillator table[kOscillators][kSubVoices];
  PinkNoiseState pink[kOscillators];
  bool useBlep[kOscillators] = {true, true, true};
  std::int32_t noiseKind[kOscillators] = {0, 0, 0};
  ChordArpeggiator arpeggiator;
  const double* startFade = kStartFade;

private:
  double oscillatorSample(int k) noexcept;
  double clickSample(double amount) noexcept;
  std::int64_t clickPosition(std::int64_t n) const noexcept;
  // True when the click (of an amount above 0) gives 0.0 at the time n since note-on and
  // at every time after.
  bool clickOver(std::int64_t n) const noexcept;
  void applyWaveform(int k) noexcept;
  // The bodies of renderFront, finishSines, mixFront and mixBack are compiled twice:
  // inlined into their AVX2 twins, whose loops vectorise four lanes wide (the target
  // adds AVX2 alone, not FMA: the same IEEE operations lane by lane), and into the calls
  // for other processors, which choose the twin where the processor has AVX2.
  [[gnu::always_inline]] inline void renderFrontBody(int count, const double* bend, PitchRun& memo,
                                                     RunScratch& scratch, PhaseChains& chains,
                                                     ModulatorSteps& later);
  __attribute__((target("avx2"))) void renderFrontAvx2(int count, const double* bend,
                                                       PitchRun& memo, RunScratch& scratch,
                                                       PhaseChains& chains, ModulatorSteps& later);
  [[gnu::always_inline]] inline void finishSinesBody(RunScratch& scratch,
                                                     const PhaseChains& chains) noexcept;
  __attribute__((target("avx2"))) void finishSinesAvx2(RunScratch& scratch,
                                                       const PhaseChains& chains) noexcept;
  [[gnu::always_inline]] inline void mixFrontBody(int j0, int m, MixStretch& s,
                                                  ModulatorSteps& later);
  __attribute__((target("avx2"))) void mixFrontAvx2(int j0, int m, MixStretch& s,
                                                    ModulatorSteps& later);
  [[gnu::always_inline]] inline void mixBackBody(int j0, int m, const MixStretch& s);
  __attribute__((target("avx2"))) void mixBackAvx2(int j0, int m, const MixStretch& s);
  // The sine runs' chains into chains (or advanced alone), then their sines and sums.
  void startSines(RunScratch& run, PhaseChains& chains) noexcept;
  void finishSines(RunScratch& run, const PhaseChains& chains) noexcept;

  // Brings detuneFactor and samplePeriod up to the current detune and rate.
  void refreshQuotients() noexcept;

  // The block's settings of each oscillator, read by mixBegin.
  struct MixOsc
  {
    bool on = false;
    bool lfoNeeded = false;
    int mode = 0;
    double volume = 0.0, saturation = 0.0, pan = 0.0, lfoToPan = 0.0, lfoToVolume = 0.0,
           lfoToFilter = 0.0, cutoff = 0.0, resonance = 0.0;
    bool faded = false;
    double* buffer = nullptr;
  };
  MixOsc mixOsc[kOscillators];
  double mixVolumeScale = 0.0, mixFilterScale = 0.0;
  VoiceMixTargets mixTargets;

  VoiceBinding binding;
  bool bound = false;
  // 1 / (1 + K detune) and 1 / rate, for the detune and rate they were computed from
  // (NaN: not yet).
  double cachedDetune = std::numeric_limits<double>::quiet_NaN();
  double detuneFactor = 1.0;
  double cachedRate = std::numeric_limits<double>::quiet_NaN();
  double samplePeriod = 1.0 / 44100.0;
  const ClickTransients* clicks = nullptr;
  int waveform[kOscillators] = {0, 0, 0};
  std::unique_ptr<double[]> oscBuffer[kOscillators];
  std::unique_ptr<double[]> bassBuffer;
  std::unique_ptr<double[]> clickBuffer;
  // Positions layersDirtyFrom .. layersDirtyTo-1 of the bass and click buffers may hold
  // other values than +0.0; all other positions hold +0.0 (an empty range: all do).
  int layersDirtyFrom = 0, layersDirtyTo = 0;
  void markLayers(int i) noexcept;
  // Each oscillator whose buffer holds the same values as an earlier one's through what
  // the block has rendered: that one's index; -1: not known; kNothingRendered before the
  // block's first run.
  static constexpr int kNothingRendered = -2;
  int sameBufferAs[kOscillators] = {kNothingRendered, kNothingRendered, kNothingRendered};
  // Positions from .. to-1 of both buffers become +0.0, writing only where they may not be.
  void clearLayers(int from, int to) noexcept;
};

} // namespace Korvane
