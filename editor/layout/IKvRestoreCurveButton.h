#pragma once
// Restores the distortion curve of the current type from its stored table, in both
// distortion units: at once while the audio is stopped, at the next block while it
// runs; the curve views then show the restored curve. Lit while pressed.
//
// User-interface thread only.
#include "editor/controls/IBitmapControl.h"

class Thumpgeist;

class IKvRestoreCurveButton : public IBitmapControl
{
public:
  IKvRestoreCurveButton(Thumpgeist* owner, int x, int y, const IBitmap& image);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;

private:
  Thumpgeist* synth;
};
