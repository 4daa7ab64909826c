#include "editor/layout/IKvVuEyeDrawer.h"

#include "editor/core/IGraphics.h"
#include "synth/Thumpgeist.h"

#include <algorithm>
#include <cmath>

IKvVuEyeDrawer::IKvVuEyeDrawer(Thumpgeist* owner, const IRect& area, bool leftEye)
  : IControl(owner, area), synth(owner), left(leftEye)
{
}

void IKvVuEyeDrawer::Paint(IGraphics* g)
{
  const Korvane::EnvFollower& follower = synth->Master().LevelFollower();
  const double level = left ? follower.getEnvLeft() : follower.getEnvRight();
  const int red = int(std::clamp(std::fabs(level), 0.0, 1.0) * 255.0);
  const IColor eye(255, red, 0, 0);
  const int r = rect.right - 1;
  const int b = rect.bottom - 1;
  if (left)
    g->FillTriangle(eye, rect.left, rect.top, rect.left, b, r, b, &blend);
  else
    g->FillTriangle(eye, rect.left, b, r, b, r, rect.top, &blend);
}
