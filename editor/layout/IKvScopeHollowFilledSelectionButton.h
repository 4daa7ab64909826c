#pragma once
// The scope's fill-mode button (hollow, half filled, filled; three frames): a press
// moves the oscilloscope to its next fill mode and shows it (value mode x 0.5).
//
// User-interface thread only.
#include "editor/layout/IKvScopeButton.h"
#include "editor/layout/IKvWaveDrawer.h"

class IKvScopeHollowFilledSelectionButton : public IKvScopeButton
{
public:
  IKvScopeHollowFilledSelectionButton(IPlugBase* owner, int x, int y, const IBitmap& image,
                                      IKvWaveDrawer* scopeDrawer)
    : IKvScopeButton(owner, x, y, image, scopeDrawer->GetFillMode() * 0.5), scope(scopeDrawer)
  {
  }

  void MouseDown(int x, int y, const IMouseMod& mod) override { Show(scope->NextFillMode() * 0.5); }

private:
  IKvWaveDrawer* scope;
};
