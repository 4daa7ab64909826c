#include "editor/layout/IKvResetButton.h"

#include "synth/Thumpgeist.h"

IKvResetButton::IKvResetButton(Thumpgeist* owner, int x, int y, const IBitmap& image)
  : IBitmapControl(owner, x, y, -1, image), synth(owner)
{
}

void IKvResetButton::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  MarkDirty(false);
  if (!synth)
    return;
  synth->ResetPeaks();
}

void IKvResetButton::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
