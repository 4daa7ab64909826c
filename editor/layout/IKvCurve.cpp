#include "editor/layout/IKvCurve.h"

#include "editor/core/IGraphics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
const IColor kCurveColour(255, 255, 120, 50);
const IColor kFrameColour(255, 90, 94, 102);
} // namespace

IKvCurve::IKvCurve(IPlugBase* owner, const IRect& area, const double* curveValues, int count)
  : IControl(owner, area), values(curveValues), n(count),
    scale(std::floor((area.bottom - area.top) / 2.0) - 0.5)
{
}

void IKvCurve::SetValues(const double* curveValues, int count)
{
  values = curveValues;
  n = count;
  RequestRefresh();
}

void IKvCurve::DrawPolyline(IGraphics* g, const IRect& area, const double* curveValues, int count,
                            double curveScale, bool clamp,
                            const std::function<IColor(int)>& colourOf)
{
  if (!curveValues || count <= 0)
    return;
  auto yOf = [&](int i)
  {
    const double v = clamp ? std::clamp(curveValues[i], -1.0, 1.0) : curveValues[i];
    return float(int(area.top + curveScale - v * curveScale));
  };
  float px = float(area.left);
  float py = yOf(0);
  for (int i = 0; i < count; ++i)
  {
    const float x = float(int(area.left + double(i) / count * area.W()));
    const float y = yOf(i);
    g->DrawLine(colourOf(i), px, py, x, y);
    px = x;
    py = y;
  }
}

void IKvCurve::Paint(IGraphics* g)
{
  DrawPolyline(g, rect, values, n, scale, clampValues,
               [this](int i)
               {
                 if (!shaded)
                   return kCurveColour;
                 const int grey = int(100.0 + 155.0 * std::sin(std::numbers::pi * i / n));
                 return IColor(255, grey, grey, grey);
               });
  if (frame)
    g->DrawRect(kFrameColour, rect);
}

void IKvCurve::IdleTick()
{
  if (refresh.exchange(false, std::memory_order_relaxed))
    MarkDirty(false);
}
