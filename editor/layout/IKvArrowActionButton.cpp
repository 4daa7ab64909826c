#include "editor/layout/IKvArrowActionButton.h"

#include "synth/Thumpgeist.h"

IKvArrowActionButton::IKvArrowActionButton(Thumpgeist* owner, int x, int y, const IBitmap& image,
                                           int envelopeAction)
  : IBitmapControl(owner, x, y, -1, image), synth(owner), action(envelopeAction)
{
}

void IKvArrowActionButton::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  MarkDirty(false);
  if (!synth)
    return;
  synth->CopyEnvelope(action);
  synth->RedrawParameterControls();
}

void IKvArrowActionButton::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
