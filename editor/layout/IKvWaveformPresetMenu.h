#pragma once
// An oscillator's waveform box (selector 0, 1 or 2 for oscillators 1 to 3): the name
// of the waveform its parameter selects; the menu lists the 40 waveforms and a choice
// sets the oscillator's waveform to k / 39.
//
// User-interface thread only.
#include "editor/controls/IKvMenuControl.h"

class IKvWaveformPresetMenu : public IKvMenuControl
{
public:
  IKvWaveformPresetMenu(IPlugBase* owner, const IRect& area, int oscillator,
                        const IColor& boxColour, const IText* style = nullptr);

  std::string CurrentText() const override;
  void AddItems(IPopupMenu& menu) const override;
  int CurrentItem() const override;
  void Choose(int k) override;
  int GetTargetParam() const { return target; }

private:
  int target;
};
