#pragma once
// A read-only curve display (the envelope, pitch-envelope and waveform displays): the
// values it is given drawn as a polyline across its rectangle, +1 at the top, -1 at
// the bottom. The editor does not give these displays their values yet, so for now
// each shows only the display image beneath it; IdleTick redraws it when asked to.
//
// User-interface thread only.
#include "editor/controls/IControl.h"

class IKvCurve : public IControl
{
public:
  IKvCurve(IPlugBase* owner, const IRect& area, const double* curveValues = nullptr, int count = 0);

  void Paint(IGraphics* g) override;
  void IdleTick() override;
  void RequestRefresh() { refresh = true; }
  void SetValues(const double* curveValues, int count);

private:
  const double* values;
  int n;
  bool refresh = false;
};
