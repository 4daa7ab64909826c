#include "editor/controls/IKvPageSet.h"

#include "editor/controls/IKvTabButton.h"
#include "editor/core/IGraphics.h"

void IKvPageSet::AddToPage(int page, int controlIdx)
{
  if (page >= 0 && page < kPages)
    pages[std::size_t(page)].push_back(controlIdx);
}

void IKvPageSet::SetTabButton(int page, IKvTabButton* button)
{
  if (page >= 0 && page < kPages)
    tabs[std::size_t(page)] = button;
}

void IKvPageSet::HidePage(int page)
{
  if (page < 0 || page >= kPages)
    return;
  for (int idx : pages[std::size_t(page)])
    if (IControl* c = graphics->GetControl(idx))
      c->SetHidden(true);
}

void IKvPageSet::ShowPage(int page)
{
  if (page < 0 || page >= kPages)
    return;
  current = page;
  for (int p = 0; p < kPages; ++p)
    for (int idx : pages[std::size_t(p)])
      if (IControl* c = graphics->GetControl(idx))
        c->SetHidden(p != page);
  for (int p = 0; p < kPages; ++p)
  {
    if (IKvTabButton* tab = tabs[std::size_t(p)])
    {
      tab->SetValue(p == page ? 1.0 : 0.0);
      tab->MarkDirty(false);
    }
  }
  if (onShow)
    onShow(page);
}
