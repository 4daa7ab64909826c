#include "editor/layout/IKvPresetMenu.h"

#include "editor/core/IGraphics.h"
#include "editor/core/IPopupMenu.h"
#include "synth/Thumpgeist.h"

#include <cstring>

IKvPresetMenu::IKvPresetMenu(Thumpgeist* owner, const IRect& area, const IColor& boxColour,
                             const IText* style)
  : IKvMenuControl(owner, area, boxColour, style), synth(owner)
{
  SetTextEntryLength(kNameEntryLength);
}

std::string IKvPresetMenu::CurrentText() const
{
  if (!synth)
    return {};
  const std::string title = synth->CurrentProgramTitle();
  return title.empty() ? synth->GetPresetName(synth->GetCurrentPresetIdx()) : title;
}

void IKvPresetMenu::AddItems(IPopupMenu& menu) const
{
  if (!synth)
    return;
  for (int i = 0; i < synth->NPresets(); ++i)
    menu.AddItem(synth->GetPresetName(i).c_str());
}

int IKvPresetMenu::CurrentItem() const { return synth ? synth->GetCurrentPresetIdx() : -1; }

void IKvPresetMenu::Choose(int k)
{
  synth->RestorePreset(k);
  synth->NotifyHostOfProgramChange();
  synth->InformHostOfAllParameters();
}

void IKvPresetMenu::MouseDown(int x, int y, const IMouseMod& mod)
{
  if (!mod.right)
  {
    IKvMenuControl::MouseDown(x, y, mod);
    return;
  }
  if (graphics && synth)
  {
    const std::string name = synth->GetPresetName(synth->GetCurrentPresetIdx());
    graphics->StartTextEntry(this, text, rect, name.c_str(), -1);
  }
}

void IKvPresetMenu::AcceptEnteredText(const char* enteredText)
{
  if (!synth || !enteredText)
    return;
  const std::string name(enteredText, strnlen(enteredText, kMaxNameLength));
  synth->ModifyCurrentPreset(name.c_str());
  synth->NotifyHostOfProgramChange();
  synth->InformHostOfAllParameters();
  MarkDirty(false);
}

// A hidden box is never painted, so it would always differ from what it last showed:
// it waits until it is shown again (which redraws it), or every timer tick would find
// something to draw and the live displays would get no idle ticks.
bool IKvPresetMenu::NeedsPaint() { return dirty || (!hidden && CurrentText() != shown); }

void IKvPresetMenu::Paint(IGraphics* g)
{
  shown = CurrentText();
  IKvMenuControl::Paint(g);
}
