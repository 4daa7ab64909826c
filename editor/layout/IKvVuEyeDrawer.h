#pragma once
// One of the About page's level eyes: a triangle filled in red of the level
// follower's level on its side (black when silent). The left eye fills the lower-left
// half of its rectangle, the right eye the lower-right half. While the host processes,
// the block feeds the follower and the eye redraws when its level moved; when
// processing stops on the About page, the left eye's idle tick lets the follower
// decay a step (about e^(-1/20)) and both eyes redraw, so they fade out.
//
// Editor timer, user-interface thread; the level is read without a lock (display data).
#include "editor/controls/IControl.h"

class Thumpgeist;

class IKvVuEyeDrawer : public IControl
{
public:
  IKvVuEyeDrawer(Thumpgeist* owner, const IRect& area, bool leftEye);

  void Paint(IGraphics* g) override;
  void IdleTick() override;
  // The follower's level on the eye's side.
  double Level() const;

private:
  Thumpgeist* synth;
  bool left;
  double paintedLevel = -1.0;
};
