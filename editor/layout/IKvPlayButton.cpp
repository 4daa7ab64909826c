#include "editor/layout/IKvPlayButton.h"

#include "synth/Thumpgeist.h"

IKvPlayButton::IKvPlayButton(Thumpgeist* owner, int x, int y, const IBitmap& image)
  : IBitmapControl(owner, x, y, -1, image), synth(owner)
{
}

void IKvPlayButton::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  MarkDirty(false);
  if (!synth)
    return;
  PlatformLockGuard lock(synth->Mutex());
  PlayButtonRequest& request = synth->PlayButton();
  request.pendingNote = kNote;
  request.playState = mod.right ? PlayButtonRequest::kStop : PlayButtonRequest::kPlay;
}

void IKvPlayButton::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
