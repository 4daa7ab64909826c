#pragma once
// One of the six trace buttons of the scope (LFO 1, LFO 2, LFO 3, volume envelope,
// filter envelope, output), lit when its trace is on at the start.
// What a press does comes with the scope's live drawing (see IKvScopeButton).
//
// User-interface thread only.
#include "editor/layout/IKvScopeButton.h"

class IKvScopeWaveSelectionButton : public IKvScopeButton
{
public:
  IKvScopeWaveSelectionButton(IPlugBase* owner, int x, int y, const IBitmap& image, bool traceOn)
    : IKvScopeButton(owner, x, y, image, traceOn ? 1.0 : 0.0)
  {
  }
};
