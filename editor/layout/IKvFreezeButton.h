#pragma once
// The scope's freeze button, unlit while the scope runs.
// What a press does comes with the scope's live drawing (see IKvScopeButton).
//
// User-interface thread only.
#include "editor/layout/IKvScopeButton.h"

class IKvFreezeButton : public IKvScopeButton
{
public:
  IKvFreezeButton(IPlugBase* owner, int x, int y, const IBitmap& image)
    : IKvScopeButton(owner, x, y, image, 0.0)
  {
  }
};
