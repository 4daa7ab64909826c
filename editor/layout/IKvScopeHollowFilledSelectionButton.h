#pragma once
// The scope's fill-mode button (hollow, half filled, filled; three frames), showing
// the half-filled look the scope starts with.
// What a press does comes with the scope's live drawing (see IKvScopeButton).
//
// User-interface thread only.
#include "editor/layout/IKvScopeButton.h"

class IKvScopeHollowFilledSelectionButton : public IKvScopeButton
{
public:
  IKvScopeHollowFilledSelectionButton(IPlugBase* owner, int x, int y, const IBitmap& image)
    : IKvScopeButton(owner, x, y, image, 0.5)
  {
  }
};
