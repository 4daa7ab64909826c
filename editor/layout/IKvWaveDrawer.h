#pragma once
// The oscilloscope of the scope page: the last 980 records of the plug-in's scope ring,
// oldest at the left, newest at the right, so the picture scrolls as the block writes
// records. Two lanes share the rectangle: amplitude a = floor(height / 4), centres at
// top + a and top + 3a; the output trace draws the left channel in the upper lane and
// the right one in the lower lane, the LFOs and envelopes draw their value in both.
// Six traces, each switched on or off, in a fixed colour of its own; records the
// scope cleared are drawn in a neutral grey. Three fill modes: hollow (the columns
// joined into a line), half filled (a lighter line from the centre under the trace),
// filled (a band mirrored about the centre). A wheel over it steps the zoom.
//
// User-interface thread only; the ring is read without a lock (display data, so a
// picture may mix two consecutive blocks).
#include "editor/controls/IControl.h"

#include <cstdint>

class ITextControl;
class Thumpgeist;

class IKvWaveDrawer : public IControl
{
public:
  enum Trace
  {
    kLfo1 = 0,
    kLfo2,
    kLfo3,
    kVolumeEnvelope,
    kFilterEnvelope,
    kOutput,
    kTraces
  };
  enum FillMode
  {
    kHollow = 0,
    kHalfFilled = 1,
    kFilled = 2,
    kFillModes
  };

  IKvWaveDrawer(Thumpgeist* owner, const IRect& area);

  void Paint(IGraphics* g) override;
  // Redraws when the block has written records since the last picture.
  void IdleTick() override;
  void MouseWheel(int x, int y, const IMouseMod& mod, int notches) override;

  // The lanes: amplitude a = floor(height / 4), centres at top + a and top + 3a.
  int Amplitude() const { return rect.H() / 4; }
  int LaneCentre(int lane) const { return rect.top + (lane == 0 ? 1 : 3) * Amplitude(); }
  // The row a value is drawn at in a lane (kept inside the rectangle).
  int RowOf(int lane, double v) const;

  bool TraceOn(int trace) const { return trace >= 0 && trace < kTraces && traceOn[trace]; }
  // Switches a trace and redraws; the new state.
  bool ToggleTrace(int trace);
  int GetFillMode() const { return fillMode; }
  // Hollow, half filled, filled, then hollow again; the new mode.
  int NextFillMode();
  void SetFrame(bool on)
  {
    frame = on;
    MarkDirty(false);
  }

  // Steps the plug-in's zoom by |steps| (in for positive, out for negative) and shows
  // the new percent in the zoom text ("%d %%").
  void Zoom(int steps);
  // The text that shows the zoom percent (not owned).
  void SetZoomText(ITextControl* control);

  static IColor TraceColour(int trace);
  static IColor ClearedColour();

private:
  void DrawTrace(IGraphics* g, int trace);
  void ShowZoomPercent();

  Thumpgeist* synth;
  ITextControl* zoomText = nullptr;
  bool traceOn[kTraces] = {true, true, true, false, false, true};
  int fillMode = kHalfFilled;
  bool frame = false;
  // The write counter the last picture showed (-1: none yet).
  std::int32_t paintedCounter = -1;
};
