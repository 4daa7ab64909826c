#include "editor/controls/ISwitchControl.h"

void ISwitchControl::MouseDown(int x, int y, const IMouseMod& mod)
{
  value += bitmap.n > 1 ? 1.0 / (bitmap.n - 1) : 1.0;
  if (value > 1.001)
    value = 0.0;
  MarkDirty(true);
}
