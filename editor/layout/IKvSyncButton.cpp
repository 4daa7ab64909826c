#include "editor/layout/IKvSyncButton.h"

#include "synth/Thumpgeist.h"

IKvSyncButton::IKvSyncButton(Thumpgeist* owner, int x, int y, const IBitmap& image, int syncKind)
  : IBitmapControl(owner, x, y, -1, image), synth(owner), kind(syncKind)
{
}

void IKvSyncButton::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  MarkDirty(false);
  if (!synth)
    return;
  synth->ApplySync(kind, factor);
  factor = Thumpgeist::NextSyncFactor(factor);
  synth->RedrawParameterControls();
}

void IKvSyncButton::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
