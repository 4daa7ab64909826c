#include "editor/controls/IControl.h"

#include "editor/controls/ITextControl.h"
#include "editor/core/IGraphics.h"
#include "plugin/IPlugBase.h"

#include <algorithm>
#include <cmath>

IControl::IControl(IPlugBase* owner, const IRect& area, int boundParam, const IBlend& drawBlend)
    : plug(owner), rect(area), targetRect(area), paramIdx(boundParam), blend(drawBlend)
{
}

void IControl::MouseDown(int x, int y, const IMouseMod& mod)
{
  if (mod.right)
    PromptForValue();
}

void IControl::MouseDoubleClick(int x, int y, const IMouseMod& mod)
{
  if (defaultValue >= 0.0)
  {
    value = defaultValue;
    MarkDirty(true);
  }
}

void IControl::MouseWheel(int x, int y, const IMouseMod& mod, int notches)
{
  value += notches * (mod.control || mod.shift ? 0.001 : 0.01);
  MarkDirty(true);
}

void IControl::ApplyValueFromHost(double normalized)
{
  if (!std::isfinite(normalized))
    return;
  if (defaultValue < 0.0)
    defaultValue = value = normalized;
  if (value != normalized)
  {
    value = normalized;
    MarkDirty(false);
    redraw = true;
  }
}

void IControl::SetHidden(bool hide)
{
  hidden = hide;
  redraw = true;
  MarkDirty(false);
}

void IControl::SetGreyed(bool grey)
{
  greyed = grey;
  blend.weight = grey ? 0.25f : 1.0f;
  MarkDirty(false);
}

bool IControl::HitTest(int x, int y) { return targetRect.Contains(x, y); }

void IControl::MarkDirty(bool push)
{
  // A value that is not a number is never stored: it becomes the low bound.
  if (std::isnan(value))
    value = clampLo;
  value = std::clamp(value, clampLo, clampHi);
  dirty = true;
  if (push && plug && paramIdx >= 0)
    plug->SetParameterFromEditor(paramIdx, value);
  if (!plug || paramIdx < 0)
    return;
  const IParameter* param = plug->GetParam(paramIdx);
  if (!param)
    return;
  if (valueText)
  {
    char display[IParameter::kTextLength];
    param->GetDisplayText(display);
    valueText->SetTextFromPlug(display);
  }
  if (nameText)
    nameText->SetTextFromPlug(param->Name());
}

void IControl::MarkClean()
{
  dirty = redraw;
  redraw = false;
}

void IControl::ApplyAuxValueFromHost(int position, double normalized)
{
  if (position < 0 || position >= NAuxParams() || !std::isfinite(normalized))
    return;
  AuxParam& aux = auxParams[std::size_t(position)];
  if (aux.value != normalized)
  {
    aux.value = normalized;
    MarkDirty(false);
    redraw = true;
  }
}

void IControl::PromptForValue()
{
  if (paramIdx < 0 || disablePrompt || !graphics || !plug)
    return;
  const IParameter* param = plug->GetParam(paramIdx);
  if (!param)
    return;
  IRect area = rect;
  if (param->NDisplayTexts() == 0)
    area = IRect(rect.MidX() - 15, rect.MidY() - 8, rect.MidX() + 15, rect.MidY() + 8);
  graphics->PromptForValue(this, paramIdx, area);
  redraw = true;
  MarkDirty(false);
}

void IControl::SetValueFromUserInput(double normalized)
{
  value = normalized;
  MarkDirty(true);
}

void IControl::AddAuxParam(int boundParam)
{
  AuxParam aux;
  aux.paramIdx = boundParam;
  auxParams.push_back(aux);
}

const IControl::AuxParam* IControl::GetAuxParam(int position) const
{
  if (position < 0 || position >= NAuxParams())
    return nullptr;
  return &auxParams[std::size_t(position)];
}

int IControl::AuxParamPosition(int boundParam) const
{
  for (int i = 0; i < NAuxParams(); ++i)
    if (auxParams[std::size_t(i)].paramIdx == boundParam)
      return i;
  return -1;
}
