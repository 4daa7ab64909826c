#pragma once
// The scope's freeze button: a press stops or restarts the plug-in's scope (a restart
// clears the 20 records after the write position); lit while frozen.
//
// User-interface thread only.
#include "editor/layout/IKvScopeButton.h"
#include "synth/Thumpgeist.h"

class IKvFreezeButton : public IKvScopeButton
{
public:
  IKvFreezeButton(Thumpgeist* owner, int x, int y, const IBitmap& image)
    : IKvScopeButton(owner, x, y, image, owner->GetScope().Frozen() ? 1.0 : 0.0), synth(owner)
  {
  }

  void MouseDown(int x, int y, const IMouseMod& mod) override
  {
    synth->FreezeScope(!synth->GetScope().Frozen());
    Show(synth->GetScope().Frozen() ? 1.0 : 0.0);
  }

private:
  Thumpgeist* synth;
};
