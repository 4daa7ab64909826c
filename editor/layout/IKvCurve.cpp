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

void IKvCurve::Paint(IGraphics* g)
{
  if (values && n > 0)
  {
    const double centre = scale;
    const double w = rect.W();
    auto yOf = [&](int i)
    {
      const double v = clampValues ? std::clamp(values[i], -1.0, 1.0) : values[i];
      return float(int(rect.top + centre - v * scale));
    };
    float px = float(rect.left);
    float py = yOf(0);
    for (int i = 0; i < n; ++i)
    {
      const float x = float(int(rect.left + double(i) / n * w));
      const float y = yOf(i);
      IColor colour = kCurveColour;
      if (shaded)
      {
        const int grey = int(100.0 + 155.0 * std::sin(std::numbers::pi * i / n));
        colour = IColor(255, grey, grey, grey);
      }
      g->DrawLine(colour, px, py, x, y);
      px = x;
      py = y;
    }
  }
  if (frame)
    g->DrawRect(kFrameColour, rect);
}

void IKvCurve::IdleTick()
{
  if (refresh.exchange(false, std::memory_order_relaxed))
    MarkDirty(false);
}
