#pragma once
// The distortion type box: "NN: name" of the current type (numbered from 00); the menu
// lists the 36 types (numbered from 01) and a choice sets "Disto-Type" to k / 35.
//
// User-interface thread only.
#include "editor/controls/IKvMenuControl.h"

class IKvDistoPresetMenu : public IKvMenuControl
{
public:
  IKvDistoPresetMenu(IPlugBase* owner, const IRect& area, const IColor& boxColour,
                     const IText* style = nullptr);

  std::string CurrentText() const override;
  void AddItems(IPopupMenu& menu) const override;
  int CurrentItem() const override;
  void Choose(int k) override;
};
