#include "editor/core/MenuCommandIds.h"

#include "editor/core/IPopupMenu.h"

MenuCommandIds::MenuCommandIds(IPopupMenu& root) { Number(root); }

void MenuCommandIds::Number(IPopupMenu& menu)
{
  blocks.push_back({&menu, next});
  next += menu.NItems();
  for (int i = 0; i < menu.NItems(); ++i)
    if (IPopupMenu* sub = menu.GetItem(i).submenu.get())
      Number(*sub);
}

int MenuCommandIds::IdOf(const IPopupMenu* menu, int index) const
{
  for (const Block& b : blocks)
    if (b.menu == menu)
      return index >= 0 && index < menu->NItems() ? b.first + index : 0;
  return 0;
}

IPopupMenu* MenuCommandIds::Find(int id, int& index) const
{
  for (const Block& b : blocks)
  {
    if (id >= b.first && id < b.first + b.menu->NItems())
    {
      index = id - b.first;
      return b.menu;
    }
  }
  index = -1;
  return nullptr;
}
