#include "editor/controls/IKvUrlButton.h"

#include "editor/core/IGraphics.h"

IKvUrlButton::IKvUrlButton(IPlugBase* owner, int x, int y, const IBitmap& image,
                           const char* primaryUrl, const char* fallbackUrl,
                           const char* captionText)
    : IBitmapControl(owner, x, y, -1, image), primary(primaryUrl ? primaryUrl : ""),
      fallback(fallbackUrl ? fallbackUrl : ""), caption(captionText ? captionText : "")
{
}

void IKvUrlButton::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  if (graphics && !graphics->OpenUrl(primary.c_str(), caption.c_str(), nullptr, nullptr))
    graphics->OpenUrl(fallback.c_str(), caption.c_str(), nullptr, nullptr);
  MarkDirty(false);
}

void IKvUrlButton::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
