#include "editor/controls/IKvPresetSwitch.h"

#include "plugin/IPlugBase.h"

IKvPresetSwitch::IKvPresetSwitch(IPlugBase* owner, int x, int y, const IBitmap& image,
                                 bool stepsForward)
  : IBitmapControl(owner, x, y, -1, image), forward(stepsForward)
{
}

int IKvPresetSwitch::Target(int current, bool stepsForward, bool rightButton)
{
  const int step = rightButton ? 10 : 1;
  return stepsForward ? current + step : current - step;
}

void IKvPresetSwitch::MouseDown(int x, int y, const IMouseMod& mod)
{
  value = 1.0;
  MarkDirty(false);
  if (!plug)
    return;
  plug->RestorePreset(Target(plug->GetCurrentPresetIdx(), forward, mod.right));
  plug->NotifyHostOfProgramChange();
  plug->InformHostOfAllParameters();
}

void IKvPresetSwitch::MouseUp(int x, int y, const IMouseMod& mod)
{
  value = 0.0;
  MarkDirty(false);
}
