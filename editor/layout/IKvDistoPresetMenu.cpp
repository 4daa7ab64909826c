#include "editor/layout/IKvDistoPresetMenu.h"

#include "editor/core/IPopupMenu.h"
#include "effects/distortion/DistortionTypes.h"
#include "plugin/IPlugBase.h"
#include "synth/ParamIndex.h"

#include <cmath>
#include <cstdio>

namespace
{
constexpr int kLastType = Korvane::DistortionTypes::kCount - 1;
}

IKvDistoPresetMenu::IKvDistoPresetMenu(IPlugBase* owner, const IRect& area, const IColor& boxColour,
                                       const IText* style)
  : IKvMenuControl(owner, area, boxColour, style)
{
  AddAuxParam(ParamIndex::kDistoType);
}

int IKvDistoPresetMenu::CurrentItem() const
{
  IParameter* param = plug ? plug->GetParam(ParamIndex::kDistoType) : nullptr;
  return param ? int(std::floor(kLastType * param->Value() + 0.5)) : -1;
}

std::string IKvDistoPresetMenu::CurrentText() const
{
  const int type = CurrentItem();
  if (type < 0)
    return {};
  char shownText[64];
  std::snprintf(shownText, sizeof shownText, "%02d: %s", type,
                Korvane::DistortionTypes::name(type));
  return shownText;
}

void IKvDistoPresetMenu::AddItems(IPopupMenu& menu) const
{
  for (int type = 0; type <= kLastType; ++type)
    menu.AddItem(Korvane::DistortionTypes::name(type));
}

void IKvDistoPresetMenu::Choose(int k)
{
  SetParameter(ParamIndex::kDistoType, double(k) / kLastType);
}
