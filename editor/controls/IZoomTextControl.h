#pragma once
// A text whose mouse wheel steps a zoom that the plug-in keeps (the scope's), then
// steps the control's own value like any wheel.
#include "editor/controls/ITextControl.h"

#include <functional>

class IZoomTextControl : public ITextControl
{
public:
  // zoomStep receives the notches: positive zooms in, negative out.
  IZoomTextControl(IPlugBase* owner, const IRect& area, const IText& style, const char* initial,
                   std::function<void(int)> zoomStep);

  void MouseWheel(int x, int y, const IMouseMod& mod, int notches) override;

private:
  std::function<void(int)> zoom;
};
