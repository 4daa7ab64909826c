#pragma once
// The instrument's curve views as the plug-in sees them: the read-only curve displays
// (oscillator waveforms, pitch, volume and filter envelopes), and the distortion's
// curve editor and sine preview. The editor implements it and hands it to the plug-in
// once its controls exist (Thumpgeist::SetCurveViews); the plug-in fills the arrays the
// views show (CurveDisplays) and tells the views through this.
//
// Called under the plug-in mutex from whichever thread changed what a view shows, the
// audio thread included: every call only raises flags or copies numbers, and never
// draws, blocks or allocates. The views draw on their own timer.
class ICurveViews
{
public:
  enum Display
  {
    kWaveform1 = 0,
    kWaveform2,
    kWaveform3,
    kPitchEnvelope,
    kVolumeEnvelope,
    kFilterEnvelope,
    kDisplayCount
  };

  ICurveViews() = default;
  virtual ~ICurveViews() = default;
  ICurveViews(const ICurveViews&) = delete;
  ICurveViews& operator=(const ICurveViews&) = delete;

  // The display's array changed: it redraws at its next idle tick.
  virtual void RequestRefresh(int display) = 0;
  // Both distortion views redraw; emphasis 0 puts the distortion trace on top, 1 the
  // dynamic shaper's, and -1 keeps what they have.
  virtual void RedrawCurveViews(int emphasis) = 0;
  // The curve editor's drawn points follow the curve (count points, in the curve's
  // orientation): column i takes -curve[floor(count * i / w)].
  virtual void LoadDrawnPoints(const double* curve, int count) = 0;
  // Whether the curve editor was drawn on since its points were last applied; clears
  // the mark.
  virtual bool TakeCurveEdit() = 0;
  // The drawn line at x (0..1 across the editor), in the editor's orientation (-1 at
  // the top edge, +1 at the bottom).
  virtual double SampleDrawnCurve(double x) const = 0;
};
