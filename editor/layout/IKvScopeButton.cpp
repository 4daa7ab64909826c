#include "editor/layout/IKvScopeButton.h"

IKvScopeButton::IKvScopeButton(IPlugBase* owner, int x, int y, const IBitmap& image,
                               double startValue)
  : IBitmapControl(owner, x, y, -1, image)
{
  value = startValue;
}

void IKvScopeButton::Show(double look)
{
  value = look;
  MarkDirty(false);
}
