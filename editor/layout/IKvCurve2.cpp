#include "editor/layout/IKvCurve2.h"

#include "synth/Thumpgeist.h"

IKvCurve2::IKvCurve2(Thumpgeist* owner, const IRect& area, int count)
  : IControl(owner, area), synth(owner), n(count)
{
}
