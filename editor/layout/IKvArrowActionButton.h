#pragma once
// The volume envelope's copy arrows: a press hands the button's action to the
// instrument's envelope copy (0: volume onto filter envelope, 1: filter onto volume
// envelope), after which every control shows the copied values. Lit while pressed.
//
// User-interface thread only.
#include "editor/controls/IBitmapControl.h"

class Thumpgeist;

class IKvArrowActionButton : public IBitmapControl
{
public:
  IKvArrowActionButton(Thumpgeist* owner, int x, int y, const IBitmap& image, int envelopeAction);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;
  int GetAction() const { return action; }

private:
  Thumpgeist* synth;
  int action;
};
