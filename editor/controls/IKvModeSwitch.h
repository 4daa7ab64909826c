#pragma once
// A previous or next button for a stepped parameter of N positions: a press moves the
// parameter one position (ten with the right button, held within the range), wrapping
// past either end when asked to. The button is lit while pressed; the parameter is
// among its additional parameters, so it follows changes from elsewhere.
//
// User-interface thread only; the step goes to the plug-in through SetParameterFromEditor.
#include "editor/controls/IBitmapControl.h"

class IKvModeSwitch : public IBitmapControl
{
public:
  IKvModeSwitch(IPlugBase* owner, int x, int y, const IBitmap& image, int targetParam,
                int nPositions, bool stepsForward, bool wraps);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;
  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override { MouseDown(x, y, mod); }

  // The normalized value a press gives from the current one.
  static double Step(double current, int nPositions, bool stepsForward, bool wraps,
                     bool tenPositions);
  int GetTargetParam() const { return target; }

private:
  int target;
  int positions;
  bool forward;
  bool wrap;
};
