#pragma once
// The instrument: owns the parameter table, the voices, the MIDI queue, the master
// chain and the block buffers, and turns the host's notes into sound.
#include "plugin/IPlugVST.h"
#include "synth/CurveDisplays.h"
#include "synth/MasterChain.h"
#include "synth/MidiQueue.h"
#include "synth/OutputStage.h"
#include "synth/Scope.h"
#include "synth/VersionInfo.h"
#include "voice/AdsrEnvelope.h"
#include "voice/PitchEnvelope.h"
#include "voice/SynthParams.h"
#include "voice/VoicePool.h"
#include "voice/WaveformProvider.h"

#include <cstdint>
#include <string>
#include <vector>

class Thumpgeist : public IPlugVST
{
public:
  static constexpr int kNumParams = 160;
  static constexpr int kNumPrograms = 128;
  static constexpr int32_t kUniqueID = Vst::FourCC('q', 'z', 'v', 't');
  static constexpr int32_t kVersion = 0x00010800; // 1.8.0
  static constexpr const char* kChannelIO = "0-1 0-2";
  static constexpr const char* kEffectName = "Thumpgeist 1.8 FREE";
  static constexpr const char* kProductName = "Thump::Geist 1.8 FREE VST";
  static constexpr const char* kVendorName = "Korvane";

  // Output bounds: "Limit output" on, and off.
  static constexpr double kLimitOn = 0.98777;
  static constexpr double kLimitOff = 3.1622777;

  // What the editor's page buttons show (and so what the block feeds).
  enum EDisplayMode
  {
    kDisplayNone = 0,
    kDisplayScope = 1,
    kDisplayAbout = 2,
  };

  explicit Thumpgeist(Vst::HostCallback hostCallback);
  ~Thumpgeist() override;

  // Called from the host's main thread under the plug-in mutex (sample rate, block
  // size, processing on/off, parameter changes, chunk loads and program changes). Reset
  // is the only place besides construction where buffers are sized (it allocates).
  void Reset() override;
  void OnActivate(bool active) override;
  // Also from the audio thread when a host automates there: routes only, never allocates.
  void OnParameterChange(int paramIdx) override;
  // The editor's curve views (when it offers them, ICurveViews) are attached with it.
  void AttachEditor(IEditor* editor) override;

  // Called from the audio thread under the plug-in mutex; allocates nothing, makes no
  // system call and writes no more than frames samples (never more than the block size).
  void ProcessBlock(double** inputs, double** outputs, int frames) override;
  // effProcessEvents: the host's pushes may grow the queue (outside the audio callback).
  void ProcessMidiMessage(const MidiMessage& msg) override;

  // The persisted state (hosts' chunks, banks, program files, program slots): the
  // first distortion section's curve and the 160 parameter values. Under the mutex.
  // A short state loads what it holds and returns -1; a non-finite curve point loads
  // as 0 and a non-finite value as the parameter's default, and the load fails.
  bool SerializeState(ByteBuffer& chunk) override;
  int UnserializeState(const ByteBuffer& chunk, int position) override;
  bool CompareState(const ByteBuffer& chunk, int position) override;

  // Main thread, under the mutex (editor buttons and host tempo changes). Brings every
  // tempo-dependent setting up to the host's current tempo.
  void ResyncTempo();
  // Copies the volume envelope onto the filter envelope (direction 0) or back (1).
  void CopyEnvelope(int direction);
  // A sync button: kinds 1 to 3 apply the tempo-sync rule to that oscillator's LFO;
  // kind 0 tunes the ring modulator to factor times the last note's frequency (at most
  // 4000 Hz), telling the editor but not the host.
  void ApplySync(int kind, double factor);
  // The factor a sync button holds after a press: each press doubles it, and past 32 it
  // returns to 1 (1, 2, 4, 8, 16, 32, 1, ...). A button starts at 1.
  static double NextSyncFactor(double factor);
  // A curve-menu operation (0..12) on both distortion curves: at once when the audio
  // is not running, otherwise at the start of the next block; the curve views follow.
  // Editor thread.
  void SetDistortionCurveOperation(int operation);

  // The editor's curve views (main thread, under the mutex): AttachEditor hands them
  // over, and every display is computed for them then; null detaches them. The
  // displays' arrays follow the parameters while views are attached.
  void SetCurveViews(ICurveViews* views);
  const CurveDisplays& Displays() const { return displays; }
  // The curve editor's drawing becomes both distortion curves (when it was drawn on).
  void ApplyDrawnCurve();
  // Curve files hold the first distortion section's active curve as its curve text.
  // Only a path with ".csv" or ".CSV" in it is used. The import takes exactly 512
  // numbers into both sections and reloads the curve views; anything else leaves the
  // curves as they were (false). The export is false when the file cannot be written.
  static bool IsCurveFilePath(const char* path);
  bool ImportCurveFile(const char* path);
  bool ExportCurveFile(const char* path);

  // The editor's play button and page buttons (editor timer, main thread). The peaks,
  // the scope ring and the note display are written by the audio thread and read by the
  // editor's drawing without the mutex: display data only.
  PlayButtonRequest& PlayButton() { return playButton; }
  // The page shown decides what the block feeds (kDisplay...); entering the scope page
  // clears the ring. Takes the mutex, as do the scope's zoom and freeze.
  void SetDisplayMode(int mode);
  int DisplayMode() const { return displayMode; }
  Scope& GetScope() { return scope; }
  const Scope& GetScope() const { return scope; }
  void ZoomScope(bool zoomIn, double step);
  void FreezeScope(bool on);
  // Whether the host has the audio running (effMainsChanged): edits then wait for the
  // next block.
  bool IsProcessingActive() const { return processingActive; }
  void RequestPeakReset() { peakResetRequested = true; }
  // The maximum-level display starts afresh: while processing runs the next block
  // clears the peaks, otherwise they become 0 at once.
  void ResetPeaks();
  double LeftPeak() const { return leftPeak; }
  double RightPeak() const { return rightPeak; }
  // The text the editor shows beside a control for the parameter's current setting
  // (filter balances, envelope times, velocities and amounts, bend range, unison
  // count, then the effect chain's texts); false for a parameter without one.
  bool FeedbackText(int paramIdx, char* text, size_t size) const;
  // The frequency of the last note started (times the global transpose ratio).
  double DisplayedNoteFrequency() const { return noteFrequency; }
  const char* DisplayedNoteName() const { return noteName; }

  // The models behind the editor's two envelope displays: they follow the volume and
  // filter envelope settings, and both take "ADSR shape" as their curvature.
  const Korvane::AdsrEnvelope& VolumeEnvelopeDisplay() const { return volumeEnvelopeDisplay; }
  const Korvane::AdsrEnvelope& FilterEnvelopeDisplay() const { return filterEnvelopeDisplay; }

  // The program menu's text: "NN: name" for the current slot (NN from 01), "" when
  // the current index is outside the slots; at most 127 characters.
  std::string CurrentProgramTitle() const;

  // Preset text files (the editor's file selector, main thread, under the mutex). The
  // save writes the current values under the current slot's name, with the distortion
  // curve and oscillator 1's waveform as text; false when the file cannot be written.
  // The load applies a file's values and curve, then stores the sound in the current
  // slot under the file's name; a file that cannot be opened changes nothing (false).
  bool SavePresetTextFile(const char* path);
  bool LoadPresetTextFile(const char* path);

  const Korvane::SynthParams& Params() const { return synthParams; }
  MasterChain& Master() { return master; }
  const MasterChain& Master() const { return master; }
  const VersionInfo& Version() const { return versionInfo; }
  const Korvane::PitchEnvelope& PitchEnv() const { return pitchEnvelope; }
  const Korvane::VoicePool& Voices() const { return voices; }
  const MidiQueue& Midi() const { return midi; }

private:
  static PlugInfo MakeInfo();
  // Fills the program slots with the factory programs, in order (construction).
  void LoadFactoryPrograms();
  void BindVoices();
  void BindMidi();
  void RouteSynthesis(int paramIdx, double value);
  void RouteOscillator(int osc, int param, double value);
  void ApplyLinkRule(int osc);
  void ApplyTempoSync(int osc);
  double ParamValue(int paramIdx) { return GetParam(paramIdx)->Value(); }

  Korvane::SynthParams synthParams;
  std::vector<double> workLeft, workRight, bassBus, bassCopy, envBus, filterEnvBus;
  std::vector<double> lfoDisplay;
  MidiQueue midi;
  Korvane::VoicePool voices;
  OutputStage output;
  Korvane::WaveformProvider waveforms;
  Korvane::PitchEnvelope pitchEnvelope;
  double bendRatio = 1.0;
  MasterChain master;
  VersionInfo versionInfo = VersionInfo::Make(kVersion, kUniqueID);
  Korvane::AdsrEnvelope volumeEnvelopeDisplay{"Volume_Envelope"};
  Korvane::AdsrEnvelope filterEnvelopeDisplay{"Filter Envelope"};
  CurveDisplays displays{CurveDisplays::Sources{&waveforms, &pitchEnvelope, &volumeEnvelopeDisplay,
                                                &filterEnvelopeDisplay, &master, &synthParams}};

  Scope scope;
  int displayMode = kDisplayNone;
  double leftPeak = 0.0;
  double rightPeak = 0.0;
  bool peakResetRequested = false;
  bool processingActive = false;
  PlayButtonRequest playButton;
  double noteFrequency = 0.0;
  char noteName[8] = {};
};
