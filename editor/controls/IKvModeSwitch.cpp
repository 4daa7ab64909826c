#include "editor/controls/IKvModeSwitch.h"

#include "editor/core/IGraphics.h"
#include "plugin/IPlugBase.h"

#include <algorithm>
#include <cmath>

IKvModeSwitch::IKvModeSwitch(IPlugBase* owner, int x, int y, const IBitmap& image, int targetParam,
                             int nPositions, bool stepsForward, bool wraps)
  : IBitmapControl(owner, x, y, -1, image), target(targetParam), positions(std::max(nPositions, 2)),
    forward(stepsForward), wrap(wraps)
{
  AddAuxParam(targetParam);
}

double IKvModeSwitch::Step(double current, int nPositions, bool stepsForward, bool wraps,
                           bool tenPositions)
{
  const int last = std::max(nPositions, 2) - 1;
  const int k = int(std::floor(last * current + 0.5));
  if (tenPositions)
    return std::clamp(double(k + (stepsForward ? 10 : -10)) / last, 0.0, 1.0);
  if (stepsForward)
    return k >= last ? (wraps ? 0.0 : double(last) / last) : double(k + 1) / last;
  return k <= 0 ? (wraps ? 1.0 : 0.0) : double(k - 1) / last;
}

void IKvModeSwitch::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  MarkDirty(false);
  IParameter* param = plug ? plug->GetParam(target) : nullptr;
  if (!param)
    return;
  const double next = Step(param->GetNormalized(), positions, forward, wrap, mod.right);
  plug->SetParameterFromEditor(target, next);
  // The menus and knobs showing the parameter follow.
  if (graphics)
    graphics->ApplyParameterToControls(target, param->GetNormalized(), true);
}

void IKvModeSwitch::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
