#pragma once
// A filter type box. Selectors 0 to 5 serve the oscillator filters (oscillator 1 left,
// right, oscillator 2 left, right, oscillator 3 left, right): the short name of the
// type, a menu of the five types, a choice setting the parameter to k / 4. Selector 6
// serves "Filter Type 1" (the four RBJ types, k / 3), selector 7 "Filter Type 2" (the
// six main-filter modes, k / 5).
//
// User-interface thread only.
#include "editor/controls/IKvMenuControl.h"

class IKvFilterUnitMenu : public IKvMenuControl
{
public:
  static constexpr int kSelectors = 8;

  IKvFilterUnitMenu(IPlugBase* owner, const IRect& area, int filterSelector,
                    const IColor& boxColour, const IText* style = nullptr);

  std::string CurrentText() const override;
  void AddItems(IPopupMenu& menu) const override;
  int CurrentItem() const override;
  void Choose(int k) override;
  int GetTargetParam() const { return target; }

  // The parameter a selector serves, and how many types its menu lists.
  static int TargetParam(int filterSelector);
  static int TypeCount(int filterSelector);

private:
  int selector;
  int target;
};
