#pragma once
// A button that opens a web page: the primary address, and the fallback only when the
// primary cannot be opened. It shows pressed while the mouse is down.
#include "editor/controls/IBitmapControl.h"

#include <string>

class IKvUrlButton : public IBitmapControl
{
public:
  IKvUrlButton(IPlugBase* owner, int x, int y, const IBitmap& image, const char* primaryUrl,
               const char* fallbackUrl, const char* captionText);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;

private:
  std::string primary;
  std::string fallback;
  std::string caption;
};
