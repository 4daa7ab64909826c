#include "editor/layout/IKvVuEyeDrawer.h"

#include "editor/core/IGraphics.h"
#include "synth/Thumpgeist.h"

#include <algorithm>
#include <cmath>

IKvVuEyeDrawer::IKvVuEyeDrawer(Thumpgeist* owner, const IRect& area, bool leftEye)
  : IControl(owner, area), synth(owner), left(leftEye)
{
}

double IKvVuEyeDrawer::Level() const
{
  const Korvane::EnvFollower& follower = synth->Master().LevelFollower();
  return left ? follower.getEnvLeft() : follower.getEnvRight();
}

void IKvVuEyeDrawer::IdleTick()
{
  if (!synth || synth->DisplayMode() != Thumpgeist::kDisplayAbout)
    return;
  if (!synth->IsProcessingActive())
  {
    // One step of decay a tick, taken by the left eye for both.
    if (left)
      synth->Master().LevelFollower().decay();
    MarkDirty(false);
  }
  else if (Level() != paintedLevel)
    MarkDirty(false);
}

void IKvVuEyeDrawer::Paint(IGraphics* g)
{
  const double level = Level();
  paintedLevel = level;
  const int red = int(std::clamp(std::fabs(level), 0.0, 1.0) * 255.0);
  const IColor eye(255, red, 0, 0);
  const int r = rect.right - 1;
  const int b = rect.bottom - 1;
  if (left)
    g->FillTriangle(eye, rect.left, rect.top, rect.left, b, r, b, &blend);
  else
    g->FillTriangle(eye, rect.left, b, r, b, r, rect.top, &blend);
}
