#pragma once
// The master effect chain: the effect units of the instrument, kept in step with the
// effect parameters and run at fixed points of the block. Thumpgeist owns one chain;
// its Reset, parameter routing and block call the groups below.
//
// Every doubled unit (the two filter units, the two dump/expand units, the two
// distortion sections) always receives the same settings. Only the second distortion
// section processes audio; the first one holds the same settings for the editor's
// curve display and is the one whose curve the state stores.
#include "effects/delay/TempoDelay.h"
#include "effects/distortion/Distortion.h"
#include "effects/distortion/Quantizer.h"
#include "effects/dynamics/DynShaper.h"
#include "effects/dynamics/Saturator.h"
#include "effects/masterfilter/FilterUnit.h"
#include "effects/masterfilter/HqFilterUnit.h"
#include "effects/meter/EnvFollower.h"
#include "effects/modulation/Phaser.h"
#include "effects/modulation/RingModulator.h"
#include "effects/tone/DumpExpand.h"
#include "effects/tone/Equalizer.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace Korvane
{
struct SynthParams;
}

// One distortion section: sample-rate reduction, bit quantizer, gate and curve (the
// Distortion's stages around the quantizer), then the dynamic shaper. `savedCurve` is
// the curve the last loaded state brought; a state load copies it into the active
// curve once the distortion type is known.
struct DistortionChain
{
  Korvane::Quantizer quantizer;
  Korvane::Distortion distortion;
  Korvane::DynShaper shaper;
  Korvane::DistortionCurve::Points savedCurve{};
};

// Where the curve editor hands over a curve drawn while the audio runs: `take` fills
// the 512 points and returns true when there is a new drawing (clearing its flag), false
// otherwise; `applied` (optional) follows once both units hold the new curve. Called
// from the audio thread at the start of the effect section; must not block or allocate.
struct DrawnCurveSource
{
  void* context = nullptr;
  bool (*take)(void* context, double* points, int count) = nullptr;
  void (*applied)(void* context) = nullptr;
};

class MasterChain
{
public:
  // Curve-menu operations 0..12; the pending operation is kNoCurveOperation when none
  // waits for the next block.
  static constexpr int kNoCurveOperation = 13;
  static constexpr int kCurvePoints = Korvane::DistortionCurve::kLength;

  // The level meter's follower times, seconds.
  static constexpr double kMeterAttack = 0.01;
  static constexpr double kMeterRelease = 0.5;

  MasterChain();

  // --- Called from the main thread under the plug-in mutex ---------------------------
  // (Reset allocates: the tempo delay's lines. Nothing else here does.)

  // Sample rates to every unit, cleared memories, the tempo delay's lines at least a
  // block long, and the host's tempo when it has one.
  void Reset(double sampleRate, int blockSize, double hostTempo);
  // The tempo delay follows the host's tempo; 0 (no tempo from the host) keeps the old.
  void UpdateTempo(double hostTempo);
  // Effect routing: the parameter's value reaches its unit(s). Indices outside the
  // effect range (96..159) and the ones the block reads itself change nothing here.
  // After indices 128..131 the caller refreshes the tempo (UpdateTempo).
  void RouteParameter(int paramIdx, double value);

  // A curve-menu operation (0..12) on both distortion units. While the audio runs it is
  // kept for the next block (`deferred` true) instead; an operation outside 0..12 is
  // ignored. Also from the editor thread, with the plug-in mutex held by the caller.
  void SetCurveOperation(int operation, bool deferred);
  int PendingCurveOperation() const { return pendingCurveOperation; }
  void SetDrawnCurveSource(DrawnCurveSource source) { drawnCurve = source; }

  // --- The curve in the persisted state (main thread, under the plug-in mutex) -------

  // The 512 points of the first section's active curve.
  void ReadCurve(double* points) const;
  // Point i of both sections' saved curve; a non-finite point is stored as 0.
  void SetSavedCurvePoint(int index, double value);
  // Both distortion units copy their saved curve into their active curve.
  void RestoreSavedCurves();
  // A curve text (comma-separated numbers) into both sections' active curves; false and
  // nothing changed unless it holds exactly 512 finite numbers. Allocates.
  bool ImportCurveText(std::string_view text);
  std::string ExportCurveText() const { return first.distortion.exportText(); }
  // 512 finite points into both sections' active curves (a drawn curve); false and
  // nothing changed otherwise. Never allocates.
  bool ImportCurveValues(const double* points, int count);

  // --- Called from the audio thread under the plug-in mutex; never allocates ---------

  // Stage 0, at the start of the block: the curve operation asked for while processing.
  // True when one was applied.
  bool ApplyPendingCurveOperation();
  // Stage 1, unless all effects are bypassed: filter, ring modulator, phaser, a curve
  // drawn meanwhile, sample-rate reduction, quantizer, gate, curve, dynamic shaper,
  // equalizer and dump/expand on the output pair. The filter envelope modulates the
  // curve and the shaper when "Filter Env. To Distortion" / "... To Dyn. Shaper" > 0.
  void ProcessEffects(double* left, double* right, const double* filterEnvBus, int frames,
                      const Korvane::SynthParams& params);
  // Stage 2, always: output saturation on the output pair.
  void ProcessOutputSaturation(double* left, double* right, int frames);
  // Stage 3: when "Bass-Layer to filter" is exactly 1, the bass bus (with its copy as
  // the second channel) through the second dump/expand and filter unit.
  void ProcessBassLayer(double* bassBus, double* bassCopy, int frames,
                        const Korvane::SynthParams& params);
  // Stage 4: the tempo delay on the output pair.
  void ProcessTempoDelay(double* left, double* right, int frames);
  // Stage 5, while the level indicators are shown: the level follower reads the output.
  void FeedLevelFollower(const double* left, const double* right, int frames);

  // --- Feedback for the editor (any thread that changes a parameter) -----------------

  // The text the editor shows beside an effect control after a change of paramIdx
  // (value is the parameter's current value): band gains, dump/expand side,
  // interpolation, shaper type and mode, bits, rate, gate, filter balance, cutoff,
  // transition, ring waveform. Returns false (and writes "") for an index without one.
  bool FeedbackText(int paramIdx, double value, char* text, size_t size) const;

  // --- The units, for the editor's displays and for tests -----------------------------

  const DistortionChain& EditorChain() const { return first; }
  const DistortionChain& AudioChain() const { return second; }
  const Korvane::Distortion& EditorDistortion() const { return first.distortion; }
  const Korvane::FilterUnit& MainFilter() const { return mainFilter; }
  const Korvane::FilterUnit& BassFilter() const { return bassFilter; }
  const Korvane::RingModulator& Ring() const { return ring; }
  const Korvane::Phaser& GetPhaser() const { return phaser; }
  const Korvane::Equalizer& GetEqualizer() const { return equalizer; }
  const Korvane::DumpExpand& MainDumpExpand() const { return mainDump; }
  const Korvane::DumpExpand& BassDumpExpand() const { return bassDump; }
  const Korvane::TempoDelay& Delay() const { return delay; }
  const Korvane::EnvFollower& LevelFollower() const { return follower; }
  Korvane::EnvFollower& LevelFollower() { return follower; }
  const Korvane::Saturator& OutputSaturator() const { return saturator; }

private:
  template <class Action> void ForBothSections(Action action)
  {
    action(first);
    action(second);
  }
  void ApplyCurveOperation(int operation);

  // Construction order: the filter units, modulation, the two distortion sections,
  // tone, delay, meter, output saturation, and the (never run) HQ filter.
  Korvane::FilterUnit mainFilter;
  Korvane::FilterUnit bassFilter;
  Korvane::RingModulator ring;
  Korvane::Phaser phaser;
  DistortionChain first;
  DistortionChain second;
  Korvane::Equalizer equalizer;
  Korvane::DumpExpand mainDump;
  Korvane::DumpExpand bassDump;
  Korvane::TempoDelay delay;
  Korvane::EnvFollower follower;
  Korvane::Saturator saturator{0};
  Korvane::HqFilterUnit hqFilter;

  int pendingCurveOperation = kNoCurveOperation;
  DrawnCurveSource drawnCurve;
  Korvane::DistortionCurve::Points drawnPoints{};
};
