#pragma once
// The program box: the current program's number and name; a click opens the menu of
// all programs (a choice restores that program and tells the host about it and every
// parameter), a right click opens a text field over the box holding the program's
// name, and the committed text renames the current program. It is redrawn whenever the
// current program or its name changes, from here or from the host.
//
// User-interface thread only.
#include "editor/controls/IKvMenuControl.h"

class Thumpgeist;

class IKvPresetMenu : public IKvMenuControl
{
public:
  static constexpr int kNameEntryLength = 253;
  static constexpr int kMaxNameLength = 255;

  IKvPresetMenu(Thumpgeist* owner, const IRect& area, const IColor& boxColour,
                const IText* style = nullptr);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void AcceptEnteredText(const char* enteredText) override;
  bool NeedsPaint() override;
  void Paint(IGraphics* g) override;

  std::string CurrentText() const override;
  void AddItems(IPopupMenu& menu) const override;
  int CurrentItem() const override;
  void Choose(int k) override;

private:
  Thumpgeist* synth;
  std::string shown;
};
