#pragma once
// One of the six trace buttons of the scope (LFO 1, LFO 2, LFO 3, volume envelope,
// filter envelope, output): lit while its trace is drawn; a press switches the trace.
//
// User-interface thread only.
#include "editor/layout/IKvScopeButton.h"
#include "editor/layout/IKvWaveDrawer.h"

class IKvScopeWaveSelectionButton : public IKvScopeButton
{
public:
  IKvScopeWaveSelectionButton(IPlugBase* owner, int x, int y, const IBitmap& image,
                              IKvWaveDrawer* scopeDrawer, int traceNumber)
    : IKvScopeButton(owner, x, y, image, scopeDrawer->TraceOn(traceNumber) ? 1.0 : 0.0),
      scope(scopeDrawer), trace(traceNumber)
  {
  }

  void MouseDown(int x, int y, const IMouseMod& mod) override
  {
    Show(scope->ToggleTrace(trace) ? 1.0 : 0.0);
  }
  int GetTrace() const { return trace; }

private:
  IKvWaveDrawer* scope;
  int trace;
};
