#include "editor/controls/IKvGlobalTransposeKnob.h"

#include <cmath>

double IKvGlobalTransposeKnob::NextQuarter(double current)
{
  if (!(current < 1.0))
    return 0.0;
  if (current < 0.0)
    return 0.25;
  return (std::floor(current * 4.0) + 1.0) / 4.0;
}

void IKvGlobalTransposeKnob::MouseDoubleClick(int x, int y, const IMouseMod& mod)
{
  value = NextQuarter(value);
  MarkDirty(true);
}
