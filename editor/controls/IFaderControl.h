#pragma once
// A slider: a handle bitmap moving along a track of a given length. Pressing or
// dragging puts the handle's centre under the pointer.
#include "editor/controls/IControl.h"
#include "editor/controls/IKnobMultiControl.h"

class IFaderControl : public IControl
{
public:
  IFaderControl(IPlugBase* owner, int x, int y, int trackLength, int boundParam,
                const IBitmap& handle, Direction faderDirection = Direction::Vertical,
                bool onlyHandle = false);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseDrag(int x, int y, int dx, int dy, const IMouseMod& mod) override;
  void Paint(IGraphics* g) override;
  bool HitTest(int x, int y) override;
  // Where the handle is drawn for the current value.
  IRect GetHandleRect() const;

private:
  void SnapToMouse(int x, int y);

  int length;
  IBitmap bitmap;
  int handleSize;
  Direction direction;
  bool onlyHandleHits;
};
