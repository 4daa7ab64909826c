#include "editor/controls/IFaderControl.h"

#include "editor/core/IGraphics.h"

#include <cmath>

IFaderControl::IFaderControl(IPlugBase* owner, int x, int y, int trackLength, int boundParam,
                             const IBitmap& handle, Direction faderDirection, bool onlyHandle)
    : IControl(owner,
               faderDirection == Direction::Vertical
                   ? IRect(x, y, x + handle.w, y + trackLength)
                   : IRect(x, y, x + trackLength, y + handle.FrameH()),
               boundParam),
      length(trackLength), bitmap(handle),
      handleSize(faderDirection == Direction::Vertical ? handle.FrameH() : handle.w),
      direction(faderDirection), onlyHandleHits(onlyHandle)
{
}

void IFaderControl::SnapToMouse(int x, int y)
{
  const int travel = length - handleSize;
  // Half the handle in whole pixels: the pointer holds the handle's centre.
  const int halfHandle = handleSize / 2;
  // A handle as long as the track has nowhere to go.
  if (travel <= 0)
    value = 0.0;
  else if (direction == Direction::Vertical)
    value = 1.0 - double(y - halfHandle - rect.top) / double(travel);
  else
    value = double(x - halfHandle - rect.left) / double(travel);
  MarkDirty(true);
}

void IFaderControl::MouseDown(int x, int y, const IMouseMod& mod)
{
  if (mod.right)
  {
    PromptForValue();
    return;
  }
  SnapToMouse(x, y);
}

void IFaderControl::MouseDrag(int x, int y, int dx, int dy, const IMouseMod& mod)
{
  SnapToMouse(x, y);
}

IRect IFaderControl::GetHandleRect() const
{
  const int travel = length - handleSize > 0 ? length - handleSize : 0;
  if (direction == Direction::Vertical)
  {
    const int offset = int(std::floor(travel * (1.0 - value)));
    return IRect(rect.left, rect.top + offset, rect.left + bitmap.w, rect.top + offset + handleSize);
  }
  const int offset = int(std::floor(travel * value));
  return IRect(rect.left + offset, rect.top, rect.left + offset + handleSize,
               rect.top + bitmap.FrameH());
}

void IFaderControl::Paint(IGraphics* g) { g->DrawBitmap(bitmap, GetHandleRect(), 1, &blend); }

bool IFaderControl::HitTest(int x, int y)
{
  if (onlyHandleHits)
    return GetHandleRect().Contains(x, y);
  return IControl::HitTest(x, y);
}
