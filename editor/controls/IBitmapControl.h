#pragma once
// One frame of a bitmap, chosen by the value: frame floor((N - 1) x value + 0.5) + 1.
#include "editor/controls/IControl.h"

class IBitmapControl : public IControl
{
public:
  // The rectangle is one frame of the bitmap at (x, y).
  IBitmapControl(IPlugBase* owner, int x, int y, int boundParam, const IBitmap& image,
                 const IBlend& drawBlend = IBlend());
  IBitmapControl(IPlugBase* owner, const IRect& area, int boundParam, const IBitmap& image,
                 const IBlend& drawBlend = IBlend());

  void Paint(IGraphics* g) override;
  // The 1-based frame the value shows.
  int FrameForValue() const;
  const IBitmap& GetBitmap() const { return bitmap; }

protected:
  IBitmap bitmap;
};
