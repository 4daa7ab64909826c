#include "editor/controls/IKvMenuControl.h"

#include "editor/core/IGraphics.h"
#include "editor/core/IPopupMenu.h"
#include "plugin/IPlugBase.h"

IKvMenuControl::IKvMenuControl(IPlugBase* owner, const IRect& area, const IColor& boxColour,
                               const IText* style)
  : IControl(owner, area), box(boxColour)
{
  text = style
             ? *style
             : IText(14, IColor(255, 230, 230, 230), "Arial", TextStyle::Normal, TextAlign::Center);
}

void IKvMenuControl::MouseDown(int x, int y, const IMouseMod& mod)
{
  if (graphics)
  {
    IPopupMenu menu(IPopupMenu::Prefix::TwoDigits);
    AddItems(menu);
    const int current = CurrentItem();
    if (current >= 0 && current < menu.NItems())
      menu.SetChecked(current, true);
    IPopupMenu* chosen = graphics->RunPopupMenu(&menu, rect);
    if (chosen == &menu && chosen->GetChosenItemIdx() >= 0)
      Choose(chosen->GetChosenItemIdx());
  }
  SetRedraw();
  MarkDirty(false);
}

void IKvMenuControl::Paint(IGraphics* g)
{
  const IBlend fill(BlendKind::None, 1.0f);
  g->FillRect(box, rect, &fill);
  const std::string shown = CurrentText();
  // The text sits in the middle of the box's height, 4 pixels in from its sides.
  IRect measured = rect;
  g->MeasureText(text, shown.c_str(), measured);
  const int top = rect.top + (rect.H() - measured.H()) / 2;
  g->DrawStyledText(text, shown.c_str(), IRect(rect.left + 4, top, rect.right - 4, rect.bottom));
}

void IKvMenuControl::SetParameter(int target, double normalized)
{
  if (!plug || !plug->GetParam(target))
    return;
  plug->SetParameterFromEditor(target, normalized);
  if (graphics)
    graphics->ApplyParameterToControls(target, plug->GetParam(target)->GetNormalized(), true);
}
