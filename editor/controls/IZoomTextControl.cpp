#include "editor/controls/IZoomTextControl.h"

IZoomTextControl::IZoomTextControl(IPlugBase* owner, const IRect& area, const IText& style,
                                   const char* initial, std::function<void(int)> zoomStep)
    : ITextControl(owner, area, style, initial), zoom(std::move(zoomStep))
{
}

void IZoomTextControl::MouseWheel(int x, int y, const IMouseMod& mod, int notches)
{
  if (zoom)
    zoom(notches);
  IControl::MouseWheel(x, y, mod, notches);
}
