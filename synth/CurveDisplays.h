#pragma once
// What the editor's curve views show, kept by the plug-in: the three oscillator
// waveform displays, the pitch, volume and filter envelope displays, and the traces of
// the distortion's curve editor (the transfer curves of the distortion and of the
// dynamic shaper) and sine preview (one sine period through each). It fills the arrays
// from the units when the parameters they depend on change, and tells the views
// (ICurveViews). Nothing is computed before views are attached; attaching fills
// everything once, so the views are right when the window first opens.
//
// The previews come from the editor's distortion section (MasterChain::EditorChain).
#include "effects/distortion/Distortion.h"
#include "effects/dynamics/DynShaper.h"
#include "synth/ICurveViews.h"
#include "synth/MasterChain.h"
#include "voice/AdsrEnvelope.h"
#include "voice/PitchEnvelope.h"
#include "voice/WaveformProvider.h"

#include <array>

namespace Korvane
{
struct SynthParams;
}

class CurveDisplays
{
public:
  static constexpr int kWaveformPoints = Korvane::WaveformProvider::kDisplayPoints;
  static constexpr int kPitchPoints = Korvane::PitchEnvelope::kPreviewPoints;
  static constexpr int kEnvelopePoints = Korvane::AdsrEnvelope::kPreviewPoints;
  static constexpr int kCurvePoints = Korvane::Distortion::kPreviewCurvePoints;
  static constexpr int kSinePoints = Korvane::Distortion::kPreviewSinePoints;

  // What the displays are computed from, all owned by the plug-in.
  struct Sources
  {
    Korvane::WaveformProvider* waveforms = nullptr;
    const Korvane::PitchEnvelope* pitch = nullptr;
    const Korvane::AdsrEnvelope* volume = nullptr;
    const Korvane::AdsrEnvelope* filter = nullptr;
    MasterChain* master = nullptr;
    const Korvane::SynthParams* params = nullptr;
  };

  explicit CurveDisplays(const Sources& from);

  // --- Main thread, under the plug-in mutex ------------------------------------------

  // The views to tell (null: none); attaching computes every display once.
  void SetViews(ICurveViews* curveViews);
  ICurveViews* Views() const { return views; }
  // Applies the curve editor's drawn points to both distortion curves when it was drawn
  // on: point j of each becomes -SampleDrawnCurve(j / 512); the traces follow.
  void ApplyDrawnCurve();

  // --- Under the plug-in mutex, from whichever thread changed the parameter ----------
  // (the audio thread included: nothing here allocates or blocks)

  // The displays that depend on the parameter are recomputed and redrawn: a waveform
  // or start phase, the envelope settings, the pitch envelope, the distortion amount,
  // mode and interpolation, the type (which reloads the curve editor), the shaper.
  void Follow(int paramIdx);
  // Every display recomputed and redrawn.
  void RefreshAll();
  // The curve editor's points reloaded from the first unit's active curve, both
  // traces recomputed, the distortion trace on top and both views redrawn (after a
  // type change, a curve operation, an import or a state load).
  void RefreshCurveViews();
  // Where the master chain finds a curve drawn while the audio runs.
  DrawnCurveSource Source();

  // --- The arrays the views show (their painting reads them, unsynchronised) ---------
  const double* Waveform(int osc) const { return waveforms[size_t(osc)].data(); }
  const double* Pitch() const { return pitch.data(); }
  const double* VolumeEnvelope() const { return volume.data(); }
  const double* FilterEnvelope() const { return filter.data(); }
  const double* CurveTrace() const { return curveTransfer.data(); }
  const double* ShaperTrace() const { return shaperTransfer.data(); }
  const double* CurveSine() const { return curveSine.data(); }
  const double* ShaperSine() const { return shaperSine.data(); }

private:
  void RenderWaveform(int osc);
  void RenderEnvelope(const Korvane::AdsrEnvelope& model, std::array<double, kEnvelopePoints>& out);
  void RenderCurvePreviews();
  void RenderShaperPreviews();
  void Refresh(int display);
  // The drawn points as the 512 curve points (audio thread too).
  void SampleDrawnPoints(double* points, int count) const;

  Sources sources;
  ICurveViews* views = nullptr;
  std::array<std::array<double, kWaveformPoints>, 3> waveforms{};
  std::array<double, kPitchPoints> pitch{};
  std::array<double, kEnvelopePoints> volume{};
  std::array<double, kEnvelopePoints> filter{};
  std::array<double, kCurvePoints> curveTransfer{};
  std::array<double, kCurvePoints> shaperTransfer{};
  std::array<double, kSinePoints> curveSine{};
  std::array<double, kSinePoints> shaperSine{};
};
