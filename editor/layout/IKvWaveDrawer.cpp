#include "editor/layout/IKvWaveDrawer.h"

#include "editor/controls/ITextControl.h"
#include "editor/core/IGraphics.h"
#include "synth/Thumpgeist.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
const IColor kCentreLine(255, 110, 110, 120);
const IColor kFrame(255, 90, 92, 100);
// Half filled: the line under the trace, in a lighter tone of the trace's colour.
constexpr int kFillAlpha = 90;

// The value a record gives a trace in a lane.
double TraceValue(const ScopeRecord& r, int trace, int lane)
{
  switch (trace)
  {
  case IKvWaveDrawer::kLfo1:
  case IKvWaveDrawer::kLfo2:
  case IKvWaveDrawer::kLfo3:
    return r.lfo[trace];
  case IKvWaveDrawer::kVolumeEnvelope:
    return r.env;
  case IKvWaveDrawer::kFilterEnvelope:
    return r.filterEnv;
  default:
    return lane == 0 ? r.left : r.right;
  }
}
} // namespace

IKvWaveDrawer::IKvWaveDrawer(Thumpgeist* owner, const IRect& area)
  : IControl(owner, area), synth(owner)
{
}

IColor IKvWaveDrawer::TraceColour(int trace)
{
  static const IColor kColours[kTraces] = {
      IColor(255, 80, 200, 255),  // LFO 1: sky blue
      IColor(255, 255, 220, 60),  // LFO 2: yellow
      IColor(255, 230, 90, 230),  // LFO 3: magenta
      IColor(255, 90, 230, 110),  // volume envelope: green
      IColor(255, 255, 140, 40),  // filter envelope: orange
      IColor(255, 250, 250, 250), // output: white
  };
  return kColours[std::clamp(trace, 0, kTraces - 1)];
}

IColor IKvWaveDrawer::ClearedColour() { return IColor(255, 128, 128, 128); }

int IKvWaveDrawer::RowOf(int lane, double v) const
{
  const double a = Amplitude();
  const double y = LaneCentre(lane) - (std::isfinite(v) ? v : 0.0) * a;
  return int(std::clamp(std::floor(y + 0.5), double(rect.top), double(rect.bottom - 1)));
}

void IKvWaveDrawer::Paint(IGraphics* g)
{
  const IBlend half(BlendKind::None, 0.5f);
  for (int lane = 0; lane < 2; ++lane)
    g->DrawLine(kCentreLine, float(rect.left), float(LaneCentre(lane)), float(rect.right - 1),
                float(LaneCentre(lane)), &half);
  if (synth)
  {
    for (int trace = 0; trace < kTraces; ++trace)
      if (traceOn[trace])
        DrawTrace(g, trace);
    paintedCounter = synth->GetScope().WriteCounter();
  }
  if (frame)
    g->DrawRect(kFrame, IRect(rect.left, rect.top, rect.right - 1, rect.bottom - 1));
}

void IKvWaveDrawer::DrawTrace(IGraphics* g, int trace)
{
  const std::vector<ScopeRecord>& ring = synth->GetScope().Ring();
  const int n = int(ring.size());
  if (n == 0)
    return;
  const int columns = std::min(n, rect.W());
  const int start = synth->GetScope().WriteCounter();
  const IColor colour = TraceColour(trace);
  const IColor cleared = ClearedColour();
  int previous[2] = {0, 0};
  for (int i = 0; i < columns; ++i)
  {
    const ScopeRecord& r = ring[size_t((start + i) % n)];
    const IColor& c = r.emptyMarker != 0 ? cleared : colour;
    const float x = float(rect.left + i);
    for (int lane = 0; lane < 2; ++lane)
    {
      const double v = TraceValue(r, trace, lane);
      const int y = RowOf(lane, v);
      const int centre = LaneCentre(lane);
      if (fillMode == kFilled)
      {
        const int mirrored = RowOf(lane, -v);
        g->DrawLine(c, x, float(y), x, float(mirrored));
      }
      else if (i > 0)
      {
        if (fillMode == kHalfFilled)
        {
          const IColor lighter(kFillAlpha, c.r, c.g, c.b);
          g->DrawLine(lighter, x, float(centre), x, float(y));
        }
        g->DrawLine(c, x, float(previous[lane]), x, float(y));
      }
      previous[lane] = y;
    }
  }
}

void IKvWaveDrawer::IdleTick()
{
  if (hidden || !synth)
    return;
  if (synth->GetScope().WriteCounter() != paintedCounter)
    MarkDirty(false);
}

void IKvWaveDrawer::MouseWheel(int x, int y, const IMouseMod& mod, int notches) { Zoom(notches); }

bool IKvWaveDrawer::ToggleTrace(int trace)
{
  if (trace < 0 || trace >= kTraces)
    return false;
  traceOn[trace] = !traceOn[trace];
  MarkDirty(false);
  return traceOn[trace];
}

int IKvWaveDrawer::NextFillMode()
{
  fillMode = (fillMode + 1) % kFillModes;
  MarkDirty(false);
  return fillMode;
}

void IKvWaveDrawer::Zoom(int steps)
{
  if (!synth || steps == 0)
    return;
  synth->ZoomScope(steps > 0, std::abs(steps));
  ShowZoomPercent();
}

void IKvWaveDrawer::SetZoomText(ITextControl* control)
{
  zoomText = control;
  ShowZoomPercent();
}

void IKvWaveDrawer::ShowZoomPercent()
{
  if (!zoomText || !synth)
    return;
  char percent[16];
  std::snprintf(percent, sizeof percent, "%d %%", synth->GetScope().ZoomPercent());
  zoomText->SetTextFromPlug(percent);
}
