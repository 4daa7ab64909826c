#include "editor/layout/IKvCurve.h"

#include "editor/core/IGraphics.h"

#include <algorithm>
#include <cmath>

IKvCurve::IKvCurve(IPlugBase* owner, const IRect& area, const double* curveValues, int count)
  : IControl(owner, area), values(curveValues), n(count)
{
}

void IKvCurve::SetValues(const double* curveValues, int count)
{
  values = curveValues;
  n = count;
  refresh = true;
}

void IKvCurve::Paint(IGraphics* g)
{
  if (!values || n <= 0)
    return;
  const IColor curve(255, 255, 120, 50);
  const double centre = std::floor(rect.H() / 2.0) - 0.5;
  auto yOf = [&](int i)
  { return float(int(rect.top + centre - std::clamp(values[i], -1.0, 1.0) * centre)); };
  float px = float(rect.left);
  float py = yOf(0);
  for (int i = 0; i < n; ++i)
  {
    const float x = float(int(rect.left + double(i) / n * rect.W()));
    const float y = yOf(i);
    g->DrawLine(curve, px, py, x, y);
    px = x;
    py = y;
  }
}

void IKvCurve::IdleTick()
{
  if (refresh)
  {
    refresh = false;
    MarkDirty(false);
  }
}
