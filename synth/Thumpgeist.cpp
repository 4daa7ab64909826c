#include "synth/Thumpgeist.h"

#include "plugin/platform/PlatformModule.h"
#include "synth/ParamIndex.h"
#include "synth/ParameterTable.h"
#include "voice/Modulator.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using Korvane::SynthParams;
using Korvane::VoicePool;
namespace P = ParamIndex;

namespace
{
// SynthParams slots the block reads.
const int kSlotBassAmount = SynthParams::slotOf(P::kBassLayerAmount);
const int kSlotBassSolo = SynthParams::slotOf(P::kBassLayerSolo);
const int kSlotBypassFx = SynthParams::slotOf(P::kBypassAllEffects);
const int kSlotLimit = SynthParams::slotOf(P::kLimitOutput);
const int kSlotPan = SynthParams::slotOf(P::kOutputPan);
const int kSlotDryWet = SynthParams::slotOf(P::kDryWet);
const int kSlotVolume = SynthParams::slotOf(P::kOutputVolume);

constexpr int kLfoStride = Korvane::VoiceMixTargets::kLfoRecordStride;
constexpr int kTempoSyncPositions = 9;
constexpr double kLfoMaxHz = 20.0;

int TempoSyncPosition(double value) { return int(std::floor(value * kTempoSyncPositions + 0.5)); }
} // namespace

PlugInfo Thumpgeist::MakeInfo()
{
  PlugInfo info;
  info.nParams = kNumParams;
  info.nPresets = kNumPrograms;
  info.channelIOText = kChannelIO;
  info.effectName = kEffectName;
  info.productName = kProductName;
  info.vendorName = kVendorName;
  info.uniqueID = kUniqueID;
  info.version = kVersion;
  info.isInstrument = true;
  info.keepsStateInChunks = true;
  info.doesMidi = true;
  return info;
}

Thumpgeist::Thumpgeist(vst::HostCallback hostCallback) : IPlugVST(MakeInfo(), hostCallback)
{
  BindVoices();
  mWaveforms.buildBaseWaveforms(PlatformModule::UserFolder("waveforms"));
  mWaveforms.buildSets();

  ParameterTable::InitAllSections(*this);
  {
    // Every parameter is applied once, so that each object starts from the table's
    // defaults.
    PlatformLockGuard lock(Mutex());
    OnParameterReset();
  }
  BindMidi();
  // Buffers for the default block size, so that a block can be rendered even before
  // the host announces its sample rate and block size.
  Reset();
}

Thumpgeist::~Thumpgeist() = default;

void Thumpgeist::BindVoices()
{
  Korvane::VoiceBinding binding;
  binding.params = &mSynthParams;
  binding.bendRatio = &mBendRatio;
  binding.provider = &mWaveforms;
  binding.pitchEnvelope = &mPitchEnvelope;
  binding.owner = this;
  binding.tempo = [](void* owner) { return static_cast<Thumpgeist*>(owner)->GetTempo(); };
  binding.noteStarted = [](void* owner, double frequency, const char* name)
  {
    auto* self = static_cast<Thumpgeist*>(owner);
    self->mNoteFrequency = frequency * self->mSynthParams[SynthParams::kTransposeRatio];
    std::strncpy(self->mNoteName, name ? name : "", sizeof self->mNoteName - 1);
  };
  mVoices.bind(binding);
}

void Thumpgeist::BindMidi()
{
  MidiQueueCallbacks callbacks;
  callbacks.context = &mVoices;
  callbacks.noteOn = [](void* pool, int note, int velocity, int offset)
  { static_cast<VoicePool*>(pool)->noteOn(note, velocity, offset); };
  callbacks.noteOff = [](void* pool, int note, int)
  { static_cast<VoicePool*>(pool)->noteOff(note); };
  callbacks.pitchBend = [](void* pool, int offset, double value)
  { static_cast<VoicePool*>(pool)->queuePitchBend(offset, value); };
  // Controllers are queued and dispatched but change nothing.
  callbacks.controlChange = nullptr;
  mMidi.setCallbacks(callbacks);
}

// --- Reset and activation ----------------------------------------------------------

void Thumpgeist::Reset()
{
  PlatformLockGuard lock(Mutex());
  const size_t n = size_t(std::max(GetBlockSize(), 1));
  for (std::vector<double>* buffer :
       {&mWorkLeft, &mWorkRight, &mBassBus, &mBassCopy, &mEnvBus, &mFilterEnvBus})
    buffer->assign(n, 0.0);
  mLfoDisplay.assign(n * kLfoStride, 0.0);
  mScope.Rebuild();

  mVoices.reset(GetSampleRate(), int(n));
  mPitchEnvelope.setSampleRate(GetSampleRate());
  mMidi.setCapacity(int(n));
  mMaster.Reset(GetSampleRate(), int(n), GetTempo());
}

void Thumpgeist::OnActivate(bool active)
{
  {
    PlatformLockGuard lock(Mutex());
  }
  mProcessingActive = active;
  if (active)
    ResyncTempo();
}

void Thumpgeist::ResyncTempo()
{
  for (int osc = 0; osc < P::kNumOscillators; ++osc)
    ApplyTempoSync(osc);
  mMaster.UpdateTempo(GetTempo());
}

// --- Parameter routing -------------------------------------------------------------

void Thumpgeist::OnParameterChange(int paramIdx)
{
  PlatformLockGuard lock(Mutex());
  IParameter* param = GetParam(paramIdx);
  if (!param)
    return;
  const double value = param->Value();
  const int slot = SynthParams::slotOf(paramIdx);
  if (slot >= 0)
    mSynthParams[slot] = value;
  RouteSynthesis(paramIdx, value);
  mMaster.RouteParameter(paramIdx, mSynthParams);
  // The editor's feedback stages come with the editor.
}

void Thumpgeist::RouteSynthesis(int paramIdx, double value)
{
  if (paramIdx < P::kNumOscillators * P::kOscStride)
  {
    RouteOscillator(paramIdx / P::kOscStride, paramIdx % P::kOscStride, value);
    return;
  }
  using Env = VoicePool::EnvelopeId;
  switch (paramIdx)
  {
  case P::kVolEnvAttack:
    mVoices.setEnvelopeAttack(Env::kVolumeEnvelope, value);
    break;
  case P::kVolEnvDecay:
    mVoices.setEnvelopeDecay(Env::kVolumeEnvelope, value);
    break;
  case P::kVolEnvSustain:
    mVoices.setEnvelopeSustain(Env::kVolumeEnvelope, value);
    break;
  case P::kVolEnvRelease:
    mVoices.setEnvelopeRelease(Env::kVolumeEnvelope, value);
    break;
  case P::kVolEnvDuration:
    mVoices.setEnvelopeDuration(Env::kVolumeEnvelope, value);
    break;
  case P::kFilterEnvAttack:
    mVoices.setEnvelopeAttack(Env::kFilterEnvelope, value);
    break;
  case P::kFilterEnvDecay:
    mVoices.setEnvelopeDecay(Env::kFilterEnvelope, value);
    break;
  case P::kFilterEnvSustain:
    mVoices.setEnvelopeSustain(Env::kFilterEnvelope, value);
    break;
  case P::kFilterEnvRelease:
    mVoices.setEnvelopeRelease(Env::kFilterEnvelope, value);
    break;
  case P::kFilterEnvDuration:
    mVoices.setEnvelopeDuration(Env::kFilterEnvelope, value);
    break;
  case P::kAdsrShape:
    mVoices.setEnvelopeShape(value);
    break;
  case P::kGlobalTranspose:
    mSynthParams[SynthParams::kTransposeRatio] = VoicePool::pitchRatioOf(value);
    mVoices.applyGlobalTranspose();
    break;
  case P::kPitchBendRange:
    mPitchEnvelope.setBendRange(value);
    break;
  case P::kPitchEnvOnOff:
    mPitchEnvelope.setOnOff(value);
    break;
  case P::kPitchAmount:
    mPitchEnvelope.setAmount(value);
    break;
  case P::kPitchDuration:
    mPitchEnvelope.setDuration(value);
    break;
  case P::kPitchPower:
    mPitchEnvelope.setPower(value);
    break;
  case P::kPitchDown:
    mPitchEnvelope.setDown(value);
    break;
  case P::kUnisonVoices:
    mVoices.setUnisonCount(VoicePool::unisonCountOf(value));
    break;
  case P::kUnisonDetune:
    mVoices.setUnisonDetune(value);
    break;
  case P::kFmAmount:
    mVoices.setFmAmount(value);
    break;
  default:
    break; // stored in SynthParams only, or an effect parameter
  }
}

void Thumpgeist::RouteOscillator(int osc, int param, double value)
{
  switch (param)
  {
  case P::kOscWaveform:
    mVoices.selectWaveform(osc, value);
    break;
  case P::kOscTune:
    mVoices.setTuneRatio(osc, VoicePool::tuneRatioOf(value));
    break;
  case P::kOscPitch:
    mVoices.setPitchRatio(osc, VoicePool::pitchRatioOf(value));
    break;
  case P::kOscFilterTypeLeft:
    mVoices.setFilterLeftType(osc, value);
    break;
  case P::kOscFilterTypeRight:
    mVoices.setFilterRightType(osc, value);
    break;
  case P::kOscLfoFreq:
    mVoices.setLfoFrequency(osc, value);
    ApplyLinkRule(osc);
    break;
  case P::kOscLfoLinkAll:
    // At most one oscillator is linked at a time.
    if (value > 0.0)
    {
      for (int other = 0; other < P::kNumOscillators; ++other)
      {
        const int idx = P::Osc(other, P::kOscLfoLinkAll);
        if (other != osc && ParamValue(idx) > 0.0)
        {
          mSynthParams[SynthParams::slotOf(idx)] = 0.0;
          SetParameterFromEditor(idx, 0.0);
        }
      }
    }
    break;
  case P::kOscLfoTempoSync:
    ApplyTempoSync(osc);
    break;
  default:
    break;
  }
}

// A linked oscillator's LFO rate is given to the other two LFOs.
void Thumpgeist::ApplyLinkRule(int osc)
{
  auto linked = [this](int k) { return ParamValue(P::Osc(k, P::kOscLfoLinkAll)) >= 0.5; };
  if (!linked(osc))
    return;
  for (int other = 0; other < P::kNumOscillators; ++other)
    if (other != osc && linked(other))
      return;
  const double rate = ParamValue(P::Osc(osc, P::kOscLfoFreq));
  for (int other = 0; other < P::kNumOscillators; ++other)
    if (other != osc)
      SetParameterFromEditor(P::Osc(other, P::kOscLfoFreq), rate);
}

// A tempo-synchronised LFO runs at the host tempo times the chosen ratio; its rate
// parameter covers 0 to 20 Hz.
void Thumpgeist::ApplyTempoSync(int osc)
{
  const int position = TempoSyncPosition(ParamValue(P::Osc(osc, P::kOscLfoTempoSync)));
  if (position == 0)
    return;
  const double hz = GetTempo() * Korvane::syncRatio(position) / 60.0;
  SetParameterFromEditor(P::Osc(osc, P::kOscLfoFreq), hz / kLfoMaxHz);
}

void Thumpgeist::ApplySync(int kind, double factor)
{
  // Kind 0 ties the ring modulator to the last note; it comes with the master chain.
  if (kind >= 1 && kind <= P::kNumOscillators)
    ApplyTempoSync(kind - 1);
}

void Thumpgeist::CopyEnvelope(int direction)
{
  const int from = direction == 0 ? P::kVolEnvAttack : P::kFilterEnvAttack;
  const int to = direction == 0 ? P::kFilterEnvAttack : P::kVolEnvAttack;
  // Attack, decay, sustain, release and duration, in that order.
  for (int i = 0; i < 5; ++i)
  {
    const double value = ParamValue(from + i);
    mSynthParams[SynthParams::slotOf(to + i)] = value;
    SetParameterFromEditor(to + i, GetParam(to + i)->GetNormalized(value));
  }
}

// --- MIDI and display --------------------------------------------------------------

void Thumpgeist::ProcessMidiMessage(const MidiMessage& msg) { mMidi.pushFromHost(msg); }

void Thumpgeist::SetDisplayMode(int mode)
{
  if (mode == kDisplayScope && mDisplayMode != kDisplayScope)
    mScope.ClearAll();
  mDisplayMode = mode;
}

// --- The block ---------------------------------------------------------------------

void Thumpgeist::ProcessBlock(double** inputs, double** outputs, int frames)
{
  if (!outputs || !outputs[0] || !outputs[1] || frames <= 0)
    return;
  const int n = std::min(frames, int(mWorkLeft.size()));
  double* left = outputs[0];
  double* right = outputs[1];
  const size_t un = size_t(n);

  // 1. Clear the buses.
  for (std::vector<double>* buffer :
       {&mWorkLeft, &mWorkRight, &mBassBus, &mBassCopy, &mEnvBus, &mFilterEnvBus})
    std::fill_n(buffer->begin(), un, 0.0);
  std::fill_n(mLfoDisplay.begin(), un * kLfoStride, 0.0);

  // 2. The editor's play button.
  mMidi.pushPlayButton(mPlayButton);
  // 3. (User waveform files are read at construction; nothing reports a change.)
  // 4. A curve operation asked for while processing.
  mMaster.ApplyPendingCurveOperation();

  // 5. Per sample: the MIDI due now, then every voice's oscillators.
  for (int k = 0; k < n; ++k)
  {
    mMidi.dispatchOneSample();
    mVoices.renderSample();
    left[k] = right[k] = 0.0;
  }

  // 6. The voices are filtered, enveloped and mixed into the buses.
  Korvane::VoiceMixTargets targets;
  targets.left = mWorkLeft.data();
  targets.right = mWorkRight.data();
  targets.bassBus = mBassBus.data();
  targets.envBus = mEnvBus.data();
  targets.filterEnvBus = mFilterEnvBus.data();
  targets.lfoDisplay = mLfoDisplay.data();
  mVoices.mixBlock(targets, n);

  // 7. The envelope buses stay within -1..+1.
  for (int k = 0; k < n; ++k)
  {
    mEnvBus[size_t(k)] = std::clamp(mEnvBus[size_t(k)], -1.0, 1.0);
    mFilterEnvBus[size_t(k)] = std::clamp(mFilterEnvBus[size_t(k)], -1.0, 1.0);
  }

  // 8. The output starts as the voices' dry mix.
  std::copy_n(mWorkLeft.begin(), un, left);
  std::copy_n(mWorkRight.begin(), un, right);

  // 9. to 11. The master chain.
  if (mSynthParams[kSlotBypassFx] != 1.0)
    mMaster.ProcessEffects(left, right, mFilterEnvBus.data(), n, mSynthParams);
  mMaster.ProcessOutputSaturation(left, right, n);
  mMaster.ProcessBassLayer(mBassBus.data(), mBassCopy.data(), n, mSynthParams);

  // 12. Dry/wet, 13. the bass layer (replacing the mix when soloed).
  const bool solo = mSynthParams[kSlotBassSolo] == 1.0;
  for (int k = 0; k < n; ++k)
  {
    const double x = mDryWet.Next(mSynthParams[kSlotDryWet]);
    left[k] = (1.0 - x) * mWorkLeft[size_t(k)] + x * left[k];
    right[k] = (1.0 - x) * mWorkRight[size_t(k)] + x * right[k];
    const double bass = mBassGain.Next(mSynthParams[kSlotBassAmount]) * mBassBus[size_t(k)];
    if (solo)
    {
      left[k] = right[k] = bass;
    }
    else
    {
      left[k] += bass;
      right[k] += bass;
    }
  }

  // 14. The tempo delay.
  mMaster.ProcessTempoDelay(left, right, n);

  // 15. Volume and pan, 16. the output limit and the peaks.
  const double limit = mSynthParams[kSlotLimit] > 0.0 ? kLimitOn : kLimitOff;
  for (int k = 0; k < n; ++k)
  {
    const double v = mVolume.Next(mSynthParams[kSlotVolume]);
    const double p = mPan.Next(mSynthParams[kSlotPan]);
    if (p < 0.5)
    {
      left[k] *= v;
      right[k] *= 2.0 * p * v;
    }
    else
    {
      left[k] *= (1.0 - 2.0 * (p - 0.5)) * v;
      right[k] *= v;
    }
    left[k] = std::clamp(left[k], -limit, limit);
    right[k] = std::clamp(right[k], -limit, limit);
    mLeftPeak = std::max(mLeftPeak, std::fabs(left[k]));
    mRightPeak = std::max(mRightPeak, std::fabs(right[k]));
  }
  if (mPeakResetRequested)
  {
    mLeftPeak = mRightPeak = 0.0;
    mPeakResetRequested = false;
  }

  // 17. What the editor shows.
  if (mDisplayMode == kDisplayScope)
    mScope.Feed(left, right, mLfoDisplay.data(), kLfoStride, mEnvBus.data(), mFilterEnvBus.data(),
                n, GetSampleRate());
  else if (mDisplayMode == kDisplayAbout)
    mMaster.FeedLevelFollower(left, right, n);

  // 18. The queue forgets this block's events and moves the rest n samples earlier.
  mMidi.endOfBlock(n);

  // Frames beyond the allocated buffers cannot be rendered (the adapter never passes
  // them); they are silent rather than left as they were.
  for (int k = n; k < frames; ++k)
    left[k] = right[k] = 0.0;
}

IPlugVST* MakePlug(vst::HostCallback hostCallback) { return new Thumpgeist(hostCallback); }
