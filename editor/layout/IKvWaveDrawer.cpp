#include "editor/layout/IKvWaveDrawer.h"

#include "editor/core/IGraphics.h"
#include "synth/Thumpgeist.h"

IKvWaveDrawer::IKvWaveDrawer(Thumpgeist* owner, const IRect& area)
  : IControl(owner, area), synth(owner)
{
}

void IKvWaveDrawer::Paint(IGraphics* g)
{
  const IColor centreLine(255, 110, 110, 120);
  const IBlend half(BlendKind::None, 0.5f);
  const int a = Amplitude();
  for (int lane : {rect.top + a, rect.top + 3 * a})
    g->DrawLine(centreLine, float(rect.left), float(lane), float(rect.right - 1), float(lane),
                &half);
}
