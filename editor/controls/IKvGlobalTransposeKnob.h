#pragma once
// The global transpose knob: a drag turns it like any knob; a double click steps it to
// the next quarter (below 0.25 to 0.25, ... below 1 to 1) and from 1 back to 0.
//
// User-interface thread only.
#include "editor/controls/IKnobMultiControl.h"

class IKvGlobalTransposeKnob : public IKnobMultiControl
{
public:
  using IKnobMultiControl::IKnobMultiControl;

  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override;
  // The value a double click gives.
  static double NextQuarter(double current);
};
