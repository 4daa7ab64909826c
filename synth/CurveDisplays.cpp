#include "synth/CurveDisplays.h"

#include "synth/ParamIndex.h"
#include "voice/SynthParams.h"

#include <algorithm>

using Korvane::SynthParams;
namespace P = ParamIndex;

namespace
{
constexpr int kDrawnCurvePoints = MasterChain::kCurvePoints;
} // namespace

CurveDisplays::CurveDisplays(const Sources& from) : sources(from) {}

void CurveDisplays::SetViews(ICurveViews* curveViews)
{
  views = curveViews;
  RefreshAll();
}

// --- Following the parameters ---------------------------------------------------------

void CurveDisplays::Follow(int paramIdx)
{
  if (!views)
    return;
  if (paramIdx >= 0 && paramIdx < P::kNumOscillators * P::kOscStride)
  {
    const int param = paramIdx % P::kOscStride;
    if (param == P::kOscWaveform || param == P::kOscStartPhase)
    {
      RenderWaveform(paramIdx / P::kOscStride);
      Refresh(ICurveViews::kWaveform1 + paramIdx / P::kOscStride);
    }
    return;
  }
  switch (paramIdx)
  {
  case P::kVolEnvAttack:
  case P::kVolEnvDecay:
  case P::kVolEnvSustain:
  case P::kVolEnvRelease:
  case P::kVolEnvDuration:
  case P::kVolEnvAmount:
    RenderEnvelope(*sources.volume, volume);
    Refresh(ICurveViews::kVolumeEnvelope);
    break;
  case P::kFilterEnvAttack:
  case P::kFilterEnvDecay:
  case P::kFilterEnvSustain:
  case P::kFilterEnvRelease:
  case P::kFilterEnvDuration:
  case P::kFilterEnvAmount:
    RenderEnvelope(*sources.filter, filter);
    Refresh(ICurveViews::kFilterEnvelope);
    break;
  case P::kAdsrShape:
    RenderEnvelope(*sources.volume, volume);
    RenderEnvelope(*sources.filter, filter);
    Refresh(ICurveViews::kVolumeEnvelope);
    Refresh(ICurveViews::kFilterEnvelope);
    break;
  case P::kPitchEnvOnOff:
  case P::kPitchAmount:
  case P::kPitchDuration:
  case P::kPitchPower:
  case P::kPitchDown:
    sources.pitch->preview(pitch);
    Refresh(ICurveViews::kPitchEnvelope);
    break;
  case P::kDistortion:
  case P::kDistoMode:
  case P::kDistoInterpolation:
    RenderCurvePreviews();
    views->RedrawCurveViews(-1);
    break;
  case P::kDistoType:
    RefreshCurveViews();
    break;
  case P::kDynShaperAmount:
  case P::kDynShaperInvert:
  case P::kDynShaperType:
  case P::kDynShaperMode:
  case P::kDynShaperPosNeg:
    // The shaper's trace comes to the front while its settings change.
    RenderShaperPreviews();
    views->RedrawCurveViews(1);
    break;
  default:
    break;
  }
}

void CurveDisplays::RefreshAll()
{
  if (!views)
    return;
  for (int osc = 0; osc < P::kNumOscillators; ++osc)
  {
    RenderWaveform(osc);
    Refresh(ICurveViews::kWaveform1 + osc);
  }
  sources.pitch->preview(pitch);
  RenderEnvelope(*sources.volume, volume);
  RenderEnvelope(*sources.filter, filter);
  Refresh(ICurveViews::kPitchEnvelope);
  Refresh(ICurveViews::kVolumeEnvelope);
  Refresh(ICurveViews::kFilterEnvelope);
  RefreshCurveViews();
}

void CurveDisplays::RefreshCurveViews()
{
  if (!views)
    return;
  views->LoadDrawnPoints(sources.master->EditorDistortion().activeCurve->points.data(),
                         kDrawnCurvePoints);
  RenderCurvePreviews();
  RenderShaperPreviews();
  views->RedrawCurveViews(0);
}

// --- The drawn curve ------------------------------------------------------------------

void CurveDisplays::SampleDrawnPoints(double* points, int count) const
{
  for (int j = 0; j < count; ++j)
    points[j] = -views->SampleDrawnCurve(double(j) / count);
}

void CurveDisplays::ApplyDrawnCurve()
{
  if (!views || !views->TakeCurveEdit())
    return;
  double points[kDrawnCurvePoints];
  SampleDrawnPoints(points, kDrawnCurvePoints);
  sources.master->ImportCurveValues(points, kDrawnCurvePoints);
  RenderCurvePreviews();
  RenderShaperPreviews();
  views->RedrawCurveViews(-1);
}

DrawnCurveSource CurveDisplays::Source()
{
  DrawnCurveSource source;
  source.context = this;
  // Called by the audio thread at the start of the effect section.
  source.take = [](void* context, double* points, int count)
  {
    auto* self = static_cast<CurveDisplays*>(context);
    if (!self->views || !self->views->TakeCurveEdit())
      return false;
    self->SampleDrawnPoints(points, count);
    return true;
  };
  // Once both units hold the drawn curve, the traces show it.
  source.applied = [](void* context)
  {
    auto* self = static_cast<CurveDisplays*>(context);
    self->RenderCurvePreviews();
    self->RenderShaperPreviews();
    if (self->views)
      self->views->RedrawCurveViews(-1);
  };
  return source;
}

// --- Rendering ------------------------------------------------------------------------

void CurveDisplays::RenderWaveform(int osc)
{
  const SynthParams& params = *sources.params;
  const double waveform = params[SynthParams::slotOf(P::Osc(osc, P::kOscWaveform))];
  const double phase = params[SynthParams::slotOf(P::Osc(osc, P::kOscStartPhase))];
  sources.waveforms->renderDisplay(waveform, phase - 0.5, waveforms[size_t(osc)].data());
}

// The envelope's level 0 at the bottom edge of its display and 1 at the top.
void CurveDisplays::RenderEnvelope(const Korvane::AdsrEnvelope& model,
                                   std::array<double, kEnvelopePoints>& out)
{
  model.preview(out, 2.0);
  for (double& v : out)
    v -= 1.0;
}

void CurveDisplays::RenderCurvePreviews()
{
  sources.master->EditorDistortion().renderPreview(curveTransfer, curveSine);
}

void CurveDisplays::RenderShaperPreviews()
{
  sources.master->EditorChain().shaper.renderPreview(shaperTransfer, shaperSine);
}

void CurveDisplays::Refresh(int display)
{
  if (views)
    views->RequestRefresh(display);
}
