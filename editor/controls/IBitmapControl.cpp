#include "editor/controls/IBitmapControl.h"

#include "editor/core/IGraphics.h"

#include <algorithm>
#include <cmath>

IBitmapControl::IBitmapControl(IPlugBase* owner, int x, int y, int boundParam, const IBitmap& image,
                               const IBlend& drawBlend)
    : IControl(owner,
               IRect(x, y, x + image.w, y + (image.n > 0 ? image.h / image.n : image.h)),
               boundParam, drawBlend),
      bitmap(image)
{
}

IBitmapControl::IBitmapControl(IPlugBase* owner, const IRect& area, int boundParam,
                               const IBitmap& image, const IBlend& drawBlend)
    : IControl(owner, area, boundParam, drawBlend), bitmap(image)
{
}

int IBitmapControl::FrameForValue() const
{
  if (bitmap.n < 2)
    return 1;
  const int frame = int(std::floor((bitmap.n - 1) * value + 0.5)) + 1;
  return std::clamp(frame, 1, bitmap.n);
}

void IBitmapControl::Paint(IGraphics* g) { g->DrawBitmap(bitmap, rect, FrameForValue(), &blend); }
