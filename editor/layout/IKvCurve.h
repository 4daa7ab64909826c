#pragma once
// A read-only curve display (the envelope, pitch-envelope and waveform displays): the
// values it is given (owned by the plug-in, which fills them when the parameters they
// show change) drawn as a polyline across its rectangle, +1 at the top, -1 at the
// bottom, optionally in a grey ramp and framed.
//
// User-interface thread only, except RequestRefresh: the plug-in asks for a redraw from
// whichever thread changed the values, and IdleTick redraws.
#include "editor/controls/IControl.h"

#include <atomic>
#include <functional>

class IKvCurve : public IControl
{
public:
  IKvCurve(IPlugBase* owner, const IRect& area, const double* curveValues = nullptr, int count = 0);

  void Paint(IGraphics* g) override;
  void IdleTick() override;
  void RequestRefresh() { refresh.store(true, std::memory_order_relaxed); }
  bool RefreshRequested() const { return refresh.load(std::memory_order_relaxed); }
  void SetValues(const double* curveValues, int count);
  const double* Values() const { return values; }
  int Count() const { return n; }

  // The line in a grey ramp (brightest in the middle) instead of the curve colour.
  void SetShaded(bool on) { shaded = on; }
  void SetFrame(bool on) { frame = on; }
  // Values outside -1..+1 are drawn at the edges (on at construction).
  void SetClampValues(bool on) { clampValues = on; }

  // The polyline both curve controls draw: point i at x = left + i / n of the width and
  // y = top + scale - v * scale (truncated), from the first point's height at the left
  // edge; segment i in colourOf(i).
  static void DrawPolyline(IGraphics* g, const IRect& area, const double* curveValues, int count,
                           double curveScale, bool clamp,
                           const std::function<IColor(int)>& colourOf);

private:
  const double* values;
  int n;
  double scale;
  bool shaded = false;
  bool frame = false;
  bool clampValues = true;
  std::atomic<bool> refresh = false;
};
