#include "editor/controls/IKvRestorePresetButton.h"

#include "plugin/IPlugBase.h"

IKvRestorePresetButton::IKvRestorePresetButton(IPlugBase* owner, int x, int y, const IBitmap& image)
  : IBitmapControl(owner, x, y, -1, image)
{
}

void IKvRestorePresetButton::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  MarkDirty(false);
  if (!plug)
    return;
  plug->RestorePreset(plug->GetCurrentPresetIdx());
  plug->NotifyHostOfProgramChange();
}

void IKvRestorePresetButton::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
