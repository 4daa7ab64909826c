#pragma once
// A page tab: a press lights it and shows its page; it stays lit until another tab is
// pressed.
#include "editor/controls/IBitmapControl.h"

class IKvPageSet;

class IKvTabButton : public IBitmapControl
{
public:
  IKvTabButton(IPlugBase* owner, int x, int y, const IBitmap& image, IKvPageSet* pageSet,
               int pageNumber);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  // A double click is a second press.
  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override { MouseDown(x, y, mod); }
  int GetPage() const { return page; }

private:
  IKvPageSet* pages;
  int page;
};
