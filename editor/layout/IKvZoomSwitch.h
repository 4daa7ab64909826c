#pragma once
// One of the scope's zoom buttons (minus or plus), unlit until pressed.
// What a press does comes with the scope's live drawing (see IKvScopeButton).
//
// User-interface thread only.
#include "editor/layout/IKvScopeButton.h"

class IKvZoomSwitch : public IKvScopeButton
{
public:
  IKvZoomSwitch(IPlugBase* owner, int x, int y, const IBitmap& image)
    : IKvScopeButton(owner, x, y, image, 0.0)
  {
  }
};
