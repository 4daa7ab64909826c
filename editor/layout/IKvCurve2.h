#pragma once
// The distortion section's two curve views: the curve editor (the transfer curve with
// the dynamic shaper's beneath it, drawn with the mouse) and the sine preview. For now
// they hold their places over the display images and draw nothing of their own; the
// traces, drawing and the curve menu come with the curve editing.
//
// User-interface thread only.
#include "editor/controls/IControl.h"

class Thumpgeist;

class IKvCurve2 : public IControl
{
public:
  IKvCurve2(Thumpgeist* owner, const IRect& area, int count);

  void Paint(IGraphics* g) override {}
  int Count() const { return n; }

private:
  Thumpgeist* synth;
  int n;
};
