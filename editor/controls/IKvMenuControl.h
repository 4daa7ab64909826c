#pragma once
// What the instrument's selector menus share: the current choice as text in a filled
// box, and a click that opens a popup menu of numbered items ("01: ...") with the
// current one checked; a choice is handed to Choose. Bound to no parameter: a menu
// that serves one lists it among its additional parameters, so it is redrawn whenever
// the parameter changes.
//
// User-interface thread only.
#include "editor/controls/IControl.h"

#include <string>

class IPopupMenu;

class IKvMenuControl : public IControl
{
public:
  IKvMenuControl(IPlugBase* owner, const IRect& area, const IColor& boxColour,
                 const IText* style = nullptr);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void Paint(IGraphics* g) override;

  // The text the box shows now.
  virtual std::string CurrentText() const = 0;
  // The menu's items, and which of them is current (-1 for none).
  virtual void AddItems(IPopupMenu& menu) const = 0;
  virtual int CurrentItem() const = 0;
  // The user chose item k (0-based).
  virtual void Choose(int k) = 0;

  const IColor& GetBoxColour() const { return box; }

protected:
  // Sets a parameter from the menu and lets every control showing it follow.
  void SetParameter(int target, double normalized);

private:
  IColor box;
};
