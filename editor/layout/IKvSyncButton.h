#pragma once
// A sync button: a press applies the instrument's tempo sync for its target with the
// button's factor (kind 0: the ring modulator, tuned to factor times the last note;
// kinds 1 to 3: that oscillator's LFO), then doubles the factor (1, 2, 4, ... 32, then
// 1 again). Lit while pressed.
//
// User-interface thread only.
#include "editor/controls/IBitmapControl.h"

class Thumpgeist;

class IKvSyncButton : public IBitmapControl
{
public:
  IKvSyncButton(Thumpgeist* owner, int x, int y, const IBitmap& image, int syncKind);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;
  double GetFactor() const { return factor; }

private:
  Thumpgeist* synth;
  int kind;
  double factor = 1.0;
};
