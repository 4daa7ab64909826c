#include "editor/layout/IKvRestoreCurveButton.h"

#include "synth/Thumpgeist.h"

IKvRestoreCurveButton::IKvRestoreCurveButton(Thumpgeist* owner, int x, int y, const IBitmap& image)
  : IBitmapControl(owner, x, y, -1, image), synth(owner)
{
}

void IKvRestoreCurveButton::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  MarkDirty(false);
  if (!synth)
    return;
  synth->SetDistortionCurveOperation(0);
}

void IKvRestoreCurveButton::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
