#pragma once
// The note transpose mode box: the name of the current mode; the menu lists the ten
// modes and a choice sets "Note transpose mode" to k / 9.
//
// User-interface thread only.
#include "editor/controls/IKvMenuControl.h"

class IKvNoteModePresetMenu : public IKvMenuControl
{
public:
  IKvNoteModePresetMenu(IPlugBase* owner, const IRect& area, const IColor& boxColour,
                        const IText* style = nullptr);

  std::string CurrentText() const override;
  void AddItems(IPopupMenu& menu) const override;
  int CurrentItem() const override;
  void Choose(int k) override;
};
