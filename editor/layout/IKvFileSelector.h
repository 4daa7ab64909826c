#pragma once
// The program section's load and save buttons: the file dialog offers "kv bgp fxp";
// a chosen path ending up with ".fxp" in it loads or saves a program file, any other
// a preset text file. A cancelled dialog changes nothing. It shows its lit image while
// the dialog is open (the unlit one is drawn beneath it by the section).
//
// User-interface thread only.
#include "editor/controls/IFileSelectorControl.h"

class Thumpgeist;

class IKvFileSelector : public IFileSelectorControl
{
public:
  IKvFileSelector(Thumpgeist* owner, const IRect& area, const IBitmap& buttonImage,
                  FileAction fileAction);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void Paint(IGraphics* g) override;

private:
  Thumpgeist* synth;
  FileAction mode;
  IBitmap image;
};
