#include "editor/layout/IKvFilterUnitMenu.h"

#include "editor/core/IPopupMenu.h"
#include "effects/masterfilter/FilterUnit.h"
#include "effects/oscfilter/OscFilterUnit.h"
#include "plugin/IPlugBase.h"
#include "synth/ParamIndex.h"

#include <algorithm>
#include <cmath>

namespace P = ParamIndex;

namespace
{
constexpr int kMainTypeA = 6;
constexpr int kMainTypeB = 7;
} // namespace

int IKvFilterUnitMenu::TargetParam(int filterSelector)
{
  if (filterSelector == kMainTypeA)
    return P::kFilterType1;
  if (filterSelector == kMainTypeB)
    return P::kFilterType2;
  const int osc = std::clamp(filterSelector / 2, 0, P::kNumOscillators - 1);
  return P::Osc(osc, filterSelector % 2 == 0 ? P::kOscFilterTypeLeft : P::kOscFilterTypeRight);
}

int IKvFilterUnitMenu::TypeCount(int filterSelector)
{
  if (filterSelector == kMainTypeA)
    return 4;
  return filterSelector == kMainTypeB ? 6 : 5;
}

IKvFilterUnitMenu::IKvFilterUnitMenu(IPlugBase* owner, const IRect& area, int filterSelector,
                                     const IColor& boxColour, const IText* style)
  : IKvMenuControl(owner, area, boxColour, style),
    selector(std::clamp(filterSelector, 0, kSelectors - 1)), target(TargetParam(selector))
{
  AddAuxParam(target);
}

int IKvFilterUnitMenu::CurrentItem() const
{
  IParameter* param = plug ? plug->GetParam(target) : nullptr;
  if (!param)
    return -1;
  return int(std::floor((TypeCount(selector) - 1) * param->Value() + 0.5));
}

std::string IKvFilterUnitMenu::CurrentText() const
{
  const int k = CurrentItem();
  if (k < 0)
    return {};
  if (selector == kMainTypeA)
    return Korvane::FilterUnit::shortTypeAName(k);
  if (selector == kMainTypeB)
    return Korvane::FilterUnit::shortTypeBName(k);
  return Korvane::OscFilterUnit::shortTypeName(k);
}

void IKvFilterUnitMenu::AddItems(IPopupMenu& menu) const
{
  for (int k = 0; k < TypeCount(selector); ++k)
  {
    if (selector == kMainTypeA)
      menu.AddItem(Korvane::FilterUnit::longTypeAName(k));
    else if (selector == kMainTypeB)
      menu.AddItem(Korvane::FilterUnit::longTypeBName(k));
    else
      menu.AddItem(Korvane::OscFilterUnit::longTypeName(k));
  }
}

void IKvFilterUnitMenu::Choose(int k)
{
  // The oscillator filters take quarters, whatever their parameters' step.
  SetParameter(target, double(k) / (TypeCount(selector) - 1));
}
