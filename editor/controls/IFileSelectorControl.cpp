#include "editor/controls/IFileSelectorControl.h"

#include "editor/core/IGraphics.h"

IFileSelectorControl::IFileSelectorControl(IPlugBase* owner, const IRect& area, int boundParam,
                                           const IBitmap& image, FileAction fileAction,
                                           const char* startFolder, const char* fileExtensions)
    : IControl(owner, area, boundParam), bitmap(image), action(fileAction),
      folder(startFolder ? startFolder : ""), extensions(fileExtensions ? fileExtensions : "")
{
}

void IFileSelectorControl::MouseDown(int x, int y, const IMouseMod& mod)
{
  state = kDialogOpen;
  MarkDirty(false);
  if (graphics)
    graphics->AskForFile(file, action, folder, extensions.c_str());
  value += 1.0;
  if (value > 1.0)
    value = 0.0;
  state = kDone;
  MarkDirty(true);
}

void IFileSelectorControl::Paint(IGraphics* g)
{
  if (state == kDialogOpen)
    g->DrawBitmap(bitmap, rect, 1, &blend);
}

bool IFileSelectorControl::NeedsPaint()
{
  if (dirty)
    return true;
  if (state == kDone)
  {
    state = kIdle;
    return true;
  }
  return false;
}
