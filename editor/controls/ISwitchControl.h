#pragma once
// A button with N states: each press steps the value by 1 / (N - 1) and wraps to 0
// past the last state.
#include "editor/controls/IBitmapControl.h"

class ISwitchControl : public IBitmapControl
{
public:
  using IBitmapControl::IBitmapControl;

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override { MouseDown(x, y, mod); }
};
