#pragma once
// A knob drawn from a filmstrip: dragging moves the value by the distance over the
// knob's size divided by the gearing (ten times finer with control or shift).
#include "editor/controls/IBitmapControl.h"

enum class Direction
{
  Vertical,
  Horizontal
};

class IKnobMultiControl : public IBitmapControl
{
public:
  IKnobMultiControl(IPlugBase* owner, int x, int y, int boundParam, const IBitmap& image,
                    Direction dragDirection = Direction::Vertical, double dragGearing = 4.0);

  void MouseDrag(int x, int y, int dx, int dy, const IMouseMod& mod) override;
  double GetGearing() const { return gearing; }

protected:
  Direction direction;
  double gearing;
};
