#include "editor/controls/IKnobMultiControl.h"

IKnobMultiControl::IKnobMultiControl(IPlugBase* owner, int x, int y, int boundParam,
                                     const IBitmap& image, Direction dragDirection,
                                     double dragGearing)
    : IBitmapControl(owner, x, y, boundParam, image), direction(dragDirection), gearing(dragGearing)
{
}

void IKnobMultiControl::MouseDrag(int x, int y, int dx, int dy, const IMouseMod& mod)
{
  const double g = gearing * (mod.control || mod.shift ? 10.0 : 1.0);
  // Up raises the value: over g times the knob's size the whole range is swept.
  if (direction == Direction::Vertical)
  {
    if (rect.H() > 0)
      value += double(dy) / double(rect.top - rect.bottom) / g;
  }
  else if (rect.W() > 0)
    value += double(dx) / double(rect.right - rect.left) / g;
  MarkDirty(true);
}
