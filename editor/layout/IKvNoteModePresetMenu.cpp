#include "editor/layout/IKvNoteModePresetMenu.h"

#include "editor/core/IPopupMenu.h"
#include "plugin/IPlugBase.h"
#include "synth/ParamIndex.h"
#include "voice/VoicePool.h"

#include <cmath>

namespace
{
constexpr int kLastMode = 9;
}

IKvNoteModePresetMenu::IKvNoteModePresetMenu(IPlugBase* owner, const IRect& area,
                                             const IColor& boxColour, const IText* style)
  : IKvMenuControl(owner, area, boxColour, style)
{
  AddAuxParam(ParamIndex::kNoteTransposeMode);
}

int IKvNoteModePresetMenu::CurrentItem() const
{
  IParameter* param = plug ? plug->GetParam(ParamIndex::kNoteTransposeMode) : nullptr;
  return param ? int(std::floor(kLastMode * param->Value() + 0.5)) : -1;
}

std::string IKvNoteModePresetMenu::CurrentText() const
{
  const int mode = CurrentItem();
  return mode < 0 ? std::string() : Korvane::VoicePool::transposeModeName(mode);
}

void IKvNoteModePresetMenu::AddItems(IPopupMenu& menu) const
{
  for (int mode = 0; mode <= kLastMode; ++mode)
    menu.AddItem(Korvane::VoicePool::transposeModeName(mode).c_str());
}

void IKvNoteModePresetMenu::Choose(int k)
{
  SetParameter(ParamIndex::kNoteTransposeMode, double(k) / kLastMode);
}
