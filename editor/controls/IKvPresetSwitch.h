#pragma once
// The previous and next program buttons: a press restores the program one before or
// after the current one (ten with the right button) and tells the host about the new
// program and every parameter. Lit while pressed.
//
// User-interface thread only.
#include "editor/controls/IBitmapControl.h"

class IKvPresetSwitch : public IBitmapControl
{
public:
  IKvPresetSwitch(IPlugBase* owner, int x, int y, const IBitmap& image, bool stepsForward);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;

  // The program a press asks for; one outside the slots is refused by the restore.
  static int Target(int current, bool stepsForward, bool rightButton);

private:
  bool forward;
};
