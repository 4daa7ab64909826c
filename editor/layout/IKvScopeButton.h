#pragma once
// What the scope page's buttons (trace selection, fill mode, freeze, zoom) share: a
// bitmap bound to no parameter that starts showing the scope's state and acts on the
// oscilloscope or the plug-in's scope when pressed.
//
// User-interface thread only.
#include "editor/controls/IBitmapControl.h"

class IKvScopeButton : public IBitmapControl
{
public:
  IKvScopeButton(IPlugBase* owner, int x, int y, const IBitmap& image, double startValue);

protected:
  // Shows a new look and redraws (nothing is pushed).
  void Show(double look);
};
