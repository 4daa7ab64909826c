#pragma once
// One of the scope's zoom buttons: plus zooms in, minus out, one step a press, four
// with the right button; lit while pressed.
//
// User-interface thread only.
#include "editor/layout/IKvScopeButton.h"
#include "editor/layout/IKvWaveDrawer.h"

class IKvZoomSwitch : public IKvScopeButton
{
public:
  static constexpr int kStep = 1;
  static constexpr int kRightButtonStep = 4;

  IKvZoomSwitch(IPlugBase* owner, int x, int y, const IBitmap& image, IKvWaveDrawer* scopeDrawer,
                bool zoomIn)
    : IKvScopeButton(owner, x, y, image, 0.0), scope(scopeDrawer), in(zoomIn)
  {
  }

  void MouseDown(int x, int y, const IMouseMod& mod) override
  {
    const int step = mod.right ? kRightButtonStep : kStep;
    scope->Zoom(in ? step : -step);
    Show(1.0);
  }
  void MouseUp(int x, int y, const IMouseMod& mod) override { Show(0.0); }

private:
  IKvWaveDrawer* scope;
  bool in;
};
