#include "synth/Thumpgeist.h"

#include "dsp/Lanes.h"
#include "effects/distortion/DistortionTypes.h"
#include "plugin/IEditor.h"
#include "plugin/platform/PlatformModule.h"
#include "synth/FactoryPrograms.h"
#include "synth/ParamIndex.h"
#include "synth/ParameterTable.h"
#include "synth/StateChunk.h"
#include "synth/VstXSynthProgram.h"
#include "voice/Modulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using Korvane::RingModulator;
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

// Every sample of the bus into -limit..+limit as std::clamp puts it, two at a time.
// With Peak, returns the largest magnitude among them (a NaN, which the clamp keeps, counts
// for none, as std::max passes it over), else 0. Called from the audio thread.
template <bool Peak>
double ClampBus(double* bus, int n, double limit)
{
  // Two running maxima (four samples a step), so that one's compare need not wait for
  // the other's.
  Dsp::Pair peakA{}, peakB{};
  const auto clampPair = [bus, limit](int at)
  {
    const Dsp::Pair v = Dsp::clampLanes(Dsp::loadPair(bus + at), -limit, limit);
    Dsp::storePair(bus + at, v);
    return Dsp::absLanes(v);
  };
  int k = 0;
  for (; k + 4 <= n; k += 4)
  {
    const Dsp::Pair a = clampPair(k), b = clampPair(k + 2);
    if constexpr (Peak)
    {
      peakA = Dsp::maxLanes(a, peakA);
      peakB = Dsp::maxLanes(b, peakB);
    }
  }
  for (; k + 2 <= n; k += 2)
  {
    const Dsp::Pair a = clampPair(k);
    peakA = Dsp::maxLanes(a, peakA);
  }
  double top = std::max(std::max(peakA[0], peakA[1]), std::max(peakB[0], peakB[1]));
  for (; k < n; ++k)
  {
    bus[k] = std::clamp(bus[k], -limit, limit);
    top = std::max(top, std::fabs(bus[k]));
  }
  return Peak ? top : 0.0;
}
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

Thumpgeist::Thumpgeist(Vst::HostCallback callback) : IPlugVST(MakeInfo(), callback)
{
  BindVoices();
  waveforms.buildBaseWaveforms(PlatformModule::UserFolder("waveforms"));
  waveforms.buildSets();

  ParameterTable::InitAllSections(*this);
  {
    // Every parameter is applied once, so that each object starts from the table's
    // defaults.
    PlatformLockGuard lock(Mutex());
    OnParameterReset();
  }
  BindMidi();
  master.SetDrawnCurveSource(displays.Source());
  // Buffers for the default block size, so that a block can be rendered even before
  // the host announces its sample rate and block size.
  Reset();
  // The slots receive the factory programs; the instrument itself keeps the parameter
  // defaults until a program is selected.
  LoadFactoryPrograms();
}

Thumpgeist::~Thumpgeist() = default;

void Thumpgeist::BindVoices()
{
  Korvane::VoiceBinding binding;
  binding.params = &synthParams;
  binding.bendRatio = &bendRatio;
  binding.provider = &waveforms;
  binding.pitchEnvelope = &pitchEnvelope;
  // One generator for the whole instrument: the provider seeds it with 1800 as it builds
  // its noise cycles, right after this, and the noise oscillators continue from there.
  binding.random = &waveforms.getRandom();
  binding.owner = this;
  binding.tempo = [](void* owner) { return static_cast<Thumpgeist*>(owner)->GetTempo(); };
  binding.noteStarted = [](void* owner, double frequency, const char* name)
  {
    auto* self = static_cast<Thumpgeist*>(owner);
    self->noteFrequency = frequency * self->synthParams[SynthParams::kTransposeRatio];
    std::strncpy(self->noteName, name ? name : "", sizeof self->noteName - 1);
  };
  voices.bind(binding);
}

void Thumpgeist::BindMidi()
{
  MidiQueueCallbacks callbacks;
  callbacks.context = &voices;
  callbacks.noteOn = [](void* pool, int note, int velocity, int offset)
  { static_cast<VoicePool*>(pool)->noteOn(note, velocity, offset); };
  callbacks.noteOff = [](void* pool, int note, int)
  { static_cast<VoicePool*>(pool)->noteOff(note); };
  callbacks.pitchBend = [](void* pool, int offset, double value)
  { static_cast<VoicePool*>(pool)->queuePitchBend(offset, value); };
  // Controllers are queued and dispatched but change nothing.
  callbacks.controlChange = nullptr;
  midi.SetCallbacks(callbacks);
}

// --- Reset and activation ----------------------------------------------------------

void Thumpgeist::Reset()
{
  PlatformLockGuard lock(Mutex());
  const size_t n = size_t(std::max(GetBlockSize(), 1));
  for (std::vector<double>* buffer :
       {&workLeft, &workRight, &bassBus, &bassCopy, &envBus, &filterEnvBus})
    buffer->assign(n, 0.0);
  lfoDisplay.assign(n * kLfoStride, 0.0);
  scope.Rebuild();

  voices.reset(GetSampleRate(), int(n));
  pitchEnvelope.setSampleRate(GetSampleRate());
  midi.SetCapacity(int(n));
  master.Reset(GetSampleRate(), int(n), GetTempo());
}

void Thumpgeist::OnActivate(bool active)
{
  {
    PlatformLockGuard lock(Mutex());
  }
  processingActive = active;
  if (active)
    ResyncTempo();
}

void Thumpgeist::ResyncTempo()
{
  for (int osc = 0; osc < P::kNumOscillators; ++osc)
    ApplyTempoSync(osc);
  master.UpdateTempo(GetTempo());
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
    synthParams[slot] = value;
  RouteSynthesis(paramIdx, value);
  master.RouteParameter(paramIdx, value);
  if (paramIdx >= P::kTempoDelayAmount && paramIdx <= P::kTempoDelaySpread)
    master.UpdateTempo(GetTempo());
  // The curve views that show what changed follow it.
  displays.Follow(paramIdx);
  IEditor* editor = GetGUI();
  if (!editor)
    return;
  // Switching the limit starts the peak display afresh.
  if (paramIdx == P::kLimitOutput)
    ResetPeaks();
  // The editor's texts are painted from the routed settings; every control serving the
  // parameter (also the texts that show it as a further parameter) now redraws. This
  // also reaches the editor with the values the routing itself sets.
  editor->SetParameterFromPlug(paramIdx, value, false);
}

void Thumpgeist::RouteSynthesis(int paramIdx, double value)
{
  if (paramIdx < P::kNumOscillators * P::kOscStride)
  {
    RouteOscillator(paramIdx / P::kOscStride, paramIdx % P::kOscStride, value);
    return;
  }
  // Envelope settings reach every voice and the matching display model.
  using Env = VoicePool::EnvelopeId;
  switch (paramIdx)
  {
  case P::kVolEnvAttack:
    voices.setEnvelopeAttack(Env::kVolumeEnvelope, value);
    volumeEnvelopeDisplay.setAttack(value);
    break;
  case P::kVolEnvDecay:
    voices.setEnvelopeDecay(Env::kVolumeEnvelope, value);
    volumeEnvelopeDisplay.setDecay(value);
    break;
  case P::kVolEnvSustain:
    voices.setEnvelopeSustain(Env::kVolumeEnvelope, value);
    volumeEnvelopeDisplay.setSustain(value);
    break;
  case P::kVolEnvRelease:
    voices.setEnvelopeRelease(Env::kVolumeEnvelope, value);
    volumeEnvelopeDisplay.setRelease(value);
    break;
  case P::kVolEnvDuration:
    voices.setEnvelopeDuration(Env::kVolumeEnvelope, value);
    volumeEnvelopeDisplay.setDuration(value);
    break;
  case P::kFilterEnvAttack:
    voices.setEnvelopeAttack(Env::kFilterEnvelope, value);
    filterEnvelopeDisplay.setAttack(value);
    break;
  case P::kFilterEnvDecay:
    voices.setEnvelopeDecay(Env::kFilterEnvelope, value);
    filterEnvelopeDisplay.setDecay(value);
    break;
  case P::kFilterEnvSustain:
    voices.setEnvelopeSustain(Env::kFilterEnvelope, value);
    filterEnvelopeDisplay.setSustain(value);
    break;
  case P::kFilterEnvRelease:
    voices.setEnvelopeRelease(Env::kFilterEnvelope, value);
    filterEnvelopeDisplay.setRelease(value);
    break;
  case P::kFilterEnvDuration:
    voices.setEnvelopeDuration(Env::kFilterEnvelope, value);
    filterEnvelopeDisplay.setDuration(value);
    break;
  case P::kAdsrShape:
    voices.setEnvelopeShape(value);
    volumeEnvelopeDisplay.setShape(value);
    filterEnvelopeDisplay.setShape(value);
    break;
  case P::kGlobalTranspose:
    synthParams[SynthParams::kTransposeRatio] = VoicePool::pitchRatioOf(value);
    voices.applyGlobalTranspose();
    break;
  case P::kPitchBendRange:
    pitchEnvelope.setBendRange(value);
    break;
  case P::kPitchEnvOnOff:
    pitchEnvelope.setOnOff(value);
    break;
  case P::kPitchAmount:
    pitchEnvelope.setAmount(value);
    break;
  case P::kPitchDuration:
    pitchEnvelope.setDuration(value);
    break;
  case P::kPitchPower:
    pitchEnvelope.setPower(value);
    break;
  case P::kPitchDown:
    pitchEnvelope.setDown(value);
    break;
  case P::kUnisonVoices:
    voices.setUnisonCount(VoicePool::unisonCountOf(value));
    break;
  case P::kUnisonDetune:
    voices.setUnisonDetune(value);
    break;
  case P::kFmAmount:
    voices.setFmAmount(value);
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
    voices.selectWaveform(osc, value);
    break;
  case P::kOscTune:
    voices.setTuneRatio(osc, VoicePool::tuneRatioOf(value));
    break;
  case P::kOscPitch:
    voices.setPitchRatio(osc, VoicePool::pitchRatioOf(value));
    break;
  case P::kOscFilterTypeLeft:
    voices.setFilterLeftType(osc, value);
    break;
  case P::kOscFilterTypeRight:
    voices.setFilterRightType(osc, value);
    break;
  case P::kOscLfoFreq:
    voices.setLfoFrequency(osc, value);
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
          synthParams[SynthParams::slotOf(idx)] = 0.0;
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
  if (kind >= 1 && kind <= P::kNumOscillators)
  {
    ApplyTempoSync(kind - 1);
    return;
  }
  if (kind != 0)
    return;
  PlatformLockGuard lock(Mutex());
  const double hz = std::min(factor * noteFrequency, RingModulator::kMaxFrequency);
  if (!std::isfinite(hz))
    return;
  const double value = std::clamp(hz / RingModulator::kMaxFrequency, 0.0, 1.0);
  synthParams[SynthParams::slotOf(P::kRingFreq)] = value;
  master.RouteParameter(P::kRingFreq, value);
  GetParam(P::kRingFreq)->SetNormalized(value);
  if (IEditor* editor = GetGUI())
    editor->SetParameterFromPlug(P::kRingFreq, value, true);
}

double Thumpgeist::NextSyncFactor(double factor)
{
  const double doubled = 2.0 * factor;
  return doubled > 32.0 || !(doubled >= 1.0) ? 1.0 : doubled;
}

void Thumpgeist::SetDistortionCurveOperation(int operation)
{
  PlatformLockGuard lock(Mutex());
  master.SetCurveOperation(operation, processingActive);
  if (!processingActive)
    displays.RefreshCurveViews();
}

void Thumpgeist::CopyEnvelope(int direction)
{
  const int from = direction == 0 ? P::kVolEnvAttack : P::kFilterEnvAttack;
  const int to = direction == 0 ? P::kFilterEnvAttack : P::kVolEnvAttack;
  // Attack, decay, sustain, release and duration, in that order.
  for (int i = 0; i < 5; ++i)
  {
    const double value = ParamValue(from + i);
    synthParams[SynthParams::slotOf(to + i)] = value;
    SetParameterFromEditor(to + i, GetParam(to + i)->GetNormalized(value));
  }
}

// --- The persisted state -----------------------------------------------------------

bool Thumpgeist::SerializeState(ByteBuffer& chunk)
{
  PlatformLockGuard lock(Mutex());
  chunk.PutInt32(StateChunk::kCount);
  double curve[StateChunk::kCurvePoints];
  master.ReadCurve(curve);
  for (double point : curve)
    chunk.PutDouble(point);
  return SerializeParams(chunk);
}

int Thumpgeist::UnserializeState(const ByteBuffer& chunk, int position)
{
  PlatformLockGuard lock(Mutex());
  // The count is skipped, never checked: exactly 512 points and 160 values follow.
  position = position >= 0 && chunk.Size() - position >= 4 ? position + 4 : -1;
  double last = 0.0;
  for (int i = 0; i < StateChunk::kCurvePoints; ++i)
  {
    double point = last;
    if (position >= 0)
      position = chunk.GetDouble(&point, position);
    if (position < 0)
      point = last; // the data ran out: the rest repeat the last point read
    else if (!std::isfinite(point))
    {
      point = 0.0;
      RejectLoadedValue();
    }
    master.SetSavedCurvePoint(i, point);
    last = point;
  }
  // The values (each clamped, then every parameter routed, which selects the
  // distortion type), then the curve goes into the type's active curve.
  position = UnserializeParams(chunk, position);
  master.RestoreSavedCurves();
  displays.RefreshCurveViews();
  return position;
}

bool Thumpgeist::CompareState(const ByteBuffer& chunk, int position)
{
  PlatformLockGuard lock(Mutex());
  if (position < 0 || chunk.Size() - position < StateChunk::kSize)
    return false;
  double curve[StateChunk::kCurvePoints];
  master.ReadCurve(curve);
  position += 4;
  for (double point : curve)
  {
    double stored = 0.0;
    position = chunk.GetDouble(&stored, position);
    if (stored != point)
      return false;
  }
  return IPlugBase::CompareState(chunk, position);
}

// --- Programs and preset text files -----------------------------------------------

namespace
{
int DistortionTypeOf(double value)
{
  return int(
      std::floor(std::clamp(value, 0.0, 1.0) * (Korvane::DistortionTypes::kCount - 1) + 0.5));
}
} // namespace

void Thumpgeist::LoadFactoryPrograms()
{
  for (int index = 0; index < Korvane::FactoryPrograms::kCount; ++index)
  {
    const Korvane::VstXSynthProgram program = Korvane::FactoryPrograms::Make(index);
    double values[kNumParams];
    for (int i = 0; i < kNumParams; ++i)
      values[i] = program.Get(i); // 0 for 137 and the reserved entries
    // The curve of the program's distortion type, as the instrument holds it.
    const int type = DistortionTypeOf(values[P::kDistoType]);
    const Korvane::DistortionCurve& curve = master.EditorDistortion().curves[size_t(type)];
    ByteBuffer slotState;
    StateChunk::Append(slotState, curve.points.data(), values);
    FillNextEmptyPreset(program.Name().c_str(), slotState);
  }
}

std::string Thumpgeist::CurrentProgramTitle() const
{
  const int index = GetCurrentPresetIdx();
  if (index < 0 || index >= kNumPrograms)
    return {};
  char title[128];
  std::snprintf(title, sizeof title, "%02d: %s", index + 1, GetPresetName(index).c_str());
  return title;
}

bool Thumpgeist::SavePresetTextFile(const char* path)
{
  PlatformLockGuard lock(Mutex());
  const std::string curveText = master.ExportCurveText();
  const std::string waveText = waveforms.exportText(ParamValue(P::Osc(0, P::kOscWaveform)));
  Korvane::VstXSynthProgram program;
  program.SetName(GetPresetName(GetCurrentPresetIdx()));
  program.values = synthParams;
  return program.WritePresetText(path, curveText, waveText);
}

bool Thumpgeist::LoadPresetTextFile(const char* path)
{
  PlatformLockGuard lock(Mutex());
  Korvane::VstXSynthProgram program;
  std::string curveText;
  if (!program.ReadPresetText(path, &curveText))
    return false;
  synthParams = program.values;
  for (int i = 0; i < kNumParams; ++i)
  {
    IParameter* param = GetParam(i);
    if (!param)
      continue;
    param->Set(param->Clamp(program.Get(i)));
    OnParameterChange(i);
  }
  if (!curveText.empty() && master.ImportCurveText(curveText))
    displays.RefreshCurveViews();
  ModifyCurrentPreset(program.Name().c_str());
  OnPresetsModified();
  RedrawParameterControls();
  return true;
}

// --- MIDI and display --------------------------------------------------------------

void Thumpgeist::ProcessMidiMessage(const MidiMessage& msg) { midi.PushFromHost(msg); }

void Thumpgeist::SetDisplayMode(int mode)
{
  PlatformLockGuard lock(Mutex());
  if (mode == kDisplayScope && displayMode != kDisplayScope)
    scope.ClearAll();
  displayMode = mode;
}

void Thumpgeist::ZoomScope(bool zoomIn, double step)
{
  PlatformLockGuard lock(Mutex());
  scope.ZoomStep(zoomIn, step);
}

void Thumpgeist::FreezeScope(bool on)
{
  PlatformLockGuard lock(Mutex());
  scope.Freeze(on);
}

void Thumpgeist::ResetPeaks()
{
  if (processingActive)
    peakResetRequested = true;
  else
    leftPeak = rightPeak = 0.0;
}

// --- The block ---------------------------------------------------------------------

void Thumpgeist::ProcessBlock(double** inputs, double** outputs, int frames)
{
  if (!outputs || !outputs[0] || !outputs[1] || frames <= 0)
    return;
  const int n = std::min(frames, int(workLeft.size()));
  double* left = outputs[0];
  double* right = outputs[1];
  const size_t un = size_t(n);

  // 1. Clear the buses.
  for (std::vector<double>* buffer :
       {&workLeft, &workRight, &bassBus, &bassCopy, &envBus, &filterEnvBus})
    std::fill_n(buffer->begin(), un, 0.0);
  // The LFO records are only shown by the scope; without it they are not written.
  const bool scopeShown = displayMode == kDisplayScope;
  if (scopeShown)
    std::fill_n(lfoDisplay.begin(), un * kLfoStride, 0.0);

  // 2. The editor's play button.
  midi.PushPlayButton(playButton);
  // 3. (User waveform files are read at construction; nothing reports a change.)
  // 4. A curve operation asked for while processing; the curve views follow.
  if (master.ApplyPendingCurveOperation())
    displays.RefreshCurveViews();

  // 5. Per sample: the MIDI due now, then every voice's oscillators; the samples up to
  // the next event render together.
  for (int k = 0; k < n;)
  {
    midi.DispatchOneSample();
    const int next = midi.Front() < midi.Count() ? midi.Event(midi.Front()).offset : n;
    const int run = std::clamp(next, k + 1, n) - k;
    midi.DispatchSamples(run - 1);
    // The last run of the block renders in the mixing pass, voice batch by batch.
    voices.renderSamples(run, k + run == n);
    k += run;
  }

  // 6. The voices are filtered, enveloped and mixed into the buses.
  Korvane::VoiceMixTargets targets;
  targets.left = workLeft.data();
  targets.right = workRight.data();
  targets.bassBus = bassBus.data();
  targets.envBus = envBus.data();
  targets.filterEnvBus = filterEnvBus.data();
  targets.lfoDisplay = scopeShown ? lfoDisplay.data() : nullptr;
  voices.mixBlock(targets, n);

  // 7. The envelope buses stay within -1..+1.
  ClampBus<false>(envBus.data(), n, 1.0);
  ClampBus<false>(filterEnvBus.data(), n, 1.0);

  // 8. The output starts as the voices' dry mix.
  std::copy_n(workLeft.begin(), un, left);
  std::copy_n(workRight.begin(), un, right);

  // 9. to 11. The master chain.
  if (synthParams[kSlotBypassFx] != 1.0)
    master.ProcessEffects(left, right, filterEnvBus.data(), n, synthParams);
  master.ProcessOutputSaturation(left, right, n);
  master.ProcessBassLayer(bassBus.data(), bassCopy.data(), n, synthParams);

  // 12. Dry/wet, 13. the bass layer (replacing the mix when soloed).
  output.MixDryWet(workLeft.data(), workRight.data(), left, right, n, synthParams[kSlotDryWet]);
  output.AddBassLayer(bassBus.data(), left, right, n, synthParams[kSlotBassAmount],
                      synthParams[kSlotBassSolo] == 1.0);

  // 14. The tempo delay.
  master.ProcessTempoDelay(left, right, n);

  // 15. Volume and pan, 16. the output limit and the peaks.
  output.ApplyVolumeAndPan(left, right, n, synthParams[kSlotVolume], synthParams[kSlotPan]);
  const double limit = synthParams[kSlotLimit] > 0.0 ? kLimitOn : kLimitOff;
  leftPeak = std::max(leftPeak, ClampBus<true>(left, n, limit));
  rightPeak = std::max(rightPeak, ClampBus<true>(right, n, limit));
  if (peakResetRequested)
  {
    leftPeak = rightPeak = 0.0;
    peakResetRequested = false;
  }

  // 17. What the editor shows.
  if (scopeShown)
    scope.Feed(left, right, lfoDisplay.data(), kLfoStride, envBus.data(), filterEnvBus.data(), n,
               GetSampleRate());
  else if (displayMode == kDisplayAbout)
    master.FeedLevelFollower(left, right, n);

  // 18. The queue forgets this block's events and moves the rest n samples earlier.
  midi.EndOfBlock(n);

  // Frames beyond the allocated buffers cannot be rendered (the adapter never passes
  // them); they are silent rather than left as they were.
  for (int k = n; k < frames; ++k)
    left[k] = right[k] = 0.0;
}
