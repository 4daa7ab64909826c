#pragma once
// Restores the current program's stored sound, undoing the edits made since it was
// chosen, and tells the host. Lit while pressed.
//
// User-interface thread only.
#include "editor/controls/IBitmapControl.h"

class IKvRestorePresetButton : public IBitmapControl
{
public:
  IKvRestorePresetButton(IPlugBase* owner, int x, int y, const IBitmap& image);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;
};
