#include "editor/layout/IKvWaveformPresetMenu.h"

#include "editor/core/IPopupMenu.h"
#include "plugin/IPlugBase.h"
#include "synth/ParamIndex.h"
#include "voice/WaveformProvider.h"

#include <cmath>

namespace
{
constexpr int kLastWaveform = 39;
}

IKvWaveformPresetMenu::IKvWaveformPresetMenu(IPlugBase* owner, const IRect& area, int oscillator,
                                             const IColor& boxColour, const IText* style)
  : IKvMenuControl(owner, area, boxColour, style),
    target(ParamIndex::Osc(oscillator, ParamIndex::kOscWaveform))
{
  AddAuxParam(target);
}

int IKvWaveformPresetMenu::CurrentItem() const
{
  IParameter* param = plug ? plug->GetParam(target) : nullptr;
  return param ? int(std::floor(kLastWaveform * param->Value() + 0.5)) : -1;
}

std::string IKvWaveformPresetMenu::CurrentText() const
{
  const int position = CurrentItem();
  return position < 0 ? std::string() : Korvane::WaveformProvider::waveformName(position);
}

void IKvWaveformPresetMenu::AddItems(IPopupMenu& menu) const
{
  for (int position = 0; position <= kLastWaveform; ++position)
    menu.AddItem(Korvane::WaveformProvider::waveformName(position));
}

void IKvWaveformPresetMenu::Choose(int k) { SetParameter(target, double(k) / kLastWaveform); }
