#pragma once
// One of the About page's level eyes: a triangle filled in red of the level
// follower's level on its side (black when silent). The left eye fills the lower-left
// half of its rectangle, the right eye the lower-right half. For now it is drawn when
// the page is; the idle decay and the block's redraws come with the live meters.
//
// User-interface thread only; the level is read without a lock (display data).
#include "editor/controls/IControl.h"

class Thumpgeist;

class IKvVuEyeDrawer : public IControl
{
public:
  IKvVuEyeDrawer(Thumpgeist* owner, const IRect& area, bool leftEye);

  void Paint(IGraphics* g) override;

private:
  Thumpgeist* synth;
  bool left;
};
