#pragma once
// Starts the maximum-level display afresh: while the host processes, a press asks the
// next block to clear the output peaks; otherwise they become 0 at once. Lit while
// pressed.
//
// User-interface thread only.
#include "editor/controls/IBitmapControl.h"

class Thumpgeist;

class IKvResetButton : public IBitmapControl
{
public:
  IKvResetButton(Thumpgeist* owner, int x, int y, const IBitmap& image);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;

private:
  Thumpgeist* synth;
};
