#include "editor/layout/IKvFileSelector.h"

#include "editor/core/IGraphics.h"
#include "synth/Thumpgeist.h"

IKvFileSelector::IKvFileSelector(Thumpgeist* owner, const IRect& area, const IBitmap& buttonImage,
                                 FileAction fileAction)
  : IFileSelectorControl(owner, area, -1, buttonImage, fileAction), synth(owner), mode(fileAction),
    image(buttonImage)
{
}

void IKvFileSelector::MouseDown(int x, int y, const IMouseMod& mod)
{
  // Only a path the dialog gives counts, not the one chosen the time before.
  SetLastSelectedFileFromPlug("");
  IFileSelectorControl::MouseDown(x, y, mod);
  const std::string path = GetLastSelectedFileForPlug();
  if (!synth || path.empty())
    return;
  const bool programFile = path.find(".fxp") != std::string::npos;
  if (mode == FileAction::Open)
  {
    if (programFile)
      synth->LoadProgramFile(path.c_str());
    else
      synth->LoadPresetTextFile(path.c_str());
    synth->RedrawParameterControls();
  }
  else if (programFile)
    synth->SaveProgramFile(path.c_str());
  else
    synth->SavePresetTextFile(path.c_str());
}

void IKvFileSelector::Paint(IGraphics* g)
{
  if (GetState() == kDialogOpen)
    g->DrawBitmap(image, rect, 2, &blend);
}
