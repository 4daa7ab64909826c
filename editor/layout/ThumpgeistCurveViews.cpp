// The curve displays of the editor and what the plug-in tells them: the read-only
// displays show the plug-in's arrays and redraw when asked; the distortion's two views
// take the emphasis and the curve editor's drawn points.
#include "editor/layout/IKvCurve.h"
#include "editor/layout/IKvCurve2.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/Thumpgeist.h"

// Main thread, at the end of construction.
void ThumpgeistEditor::ConnectCurveDisplays()
{
  if (!plug)
    return;
  const CurveDisplays& shown = plug->Displays();
  for (int osc = 0; osc < 3; ++osc)
    if (waveformDisplays[osc])
      waveformDisplays[osc]->SetValues(shown.Waveform(osc), CurveDisplays::kWaveformPoints);
  if (pitchDisplay)
    pitchDisplay->SetValues(shown.Pitch(), CurveDisplays::kPitchPoints);
  if (volumeDisplay)
    volumeDisplay->SetValues(shown.VolumeEnvelope(), CurveDisplays::kEnvelopePoints);
  if (filterDisplay)
    filterDisplay->SetValues(shown.FilterEnvelope(), CurveDisplays::kEnvelopePoints);
}

// --- Under the plug-in mutex, any thread: flags and numbers only ----------------------

void ThumpgeistEditor::RequestRefresh(int display)
{
  IKvCurve* shown = nullptr;
  if (display >= kWaveform1 && display <= kWaveform3)
    shown = waveformDisplays[display - kWaveform1];
  else if (display == kPitchEnvelope)
    shown = pitchDisplay;
  else if (display == kVolumeEnvelope)
    shown = volumeDisplay;
  else if (display == kFilterEnvelope)
    shown = filterDisplay;
  if (shown)
    shown->RequestRefresh();
}

void ThumpgeistEditor::RedrawCurveViews(int emphasis)
{
  for (IKvCurve2* view : {curveEditor, sinePreview})
  {
    if (!view)
      continue;
    if (emphasis >= 0)
      view->SetEmphasis(emphasis);
    view->RequestRefresh();
  }
}

void ThumpgeistEditor::LoadDrawnPoints(const double* curve, int count)
{
  if (curveEditor)
    curveEditor->LoadDrawnPoints(curve, count);
}

bool ThumpgeistEditor::TakeCurveEdit() { return curveEditor && curveEditor->TakeCurveEdit(); }

double ThumpgeistEditor::SampleDrawnCurve(double x) const
{
  return curveEditor ? curveEditor->SampleDrawnCurve(x) : 0.0;
}
