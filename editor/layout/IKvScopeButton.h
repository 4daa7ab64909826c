#pragma once
// The scope page's buttons (trace selection, fill mode, freeze, zoom): each shows its
// starting state from its image; what a press does to the scope comes with the scope's
// live drawing, so for now a press changes nothing.
//
// User-interface thread only.
#include "editor/controls/IBitmapControl.h"

class IKvScopeButton : public IBitmapControl
{
public:
  IKvScopeButton(IPlugBase* owner, int x, int y, const IBitmap& image, double startValue);
};
