#include "editor/controls/IKvTabButton.h"

#include "editor/controls/IKvPageSet.h"

IKvTabButton::IKvTabButton(IPlugBase* owner, int x, int y, const IBitmap& image,
                           IKvPageSet* pageSet, int pageNumber)
    : IBitmapControl(owner, x, y, -1, image), pages(pageSet), page(pageNumber)
{
}

void IKvTabButton::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  if (pages)
    pages->ShowPage(page);
  MarkDirty(false);
}
