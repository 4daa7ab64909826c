#include "editor/core/IPopupMenu.h"

#include <cstdio>

void IPopupMenu::AddItem(const char* text, int flags)
{
  Item item;
  item.text = text ? text : "";
  item.flags = flags;
  items.push_back(std::move(item));
}

void IPopupMenu::AddSubmenu(const char* text, std::unique_ptr<IPopupMenu> submenu)
{
  Item item;
  item.text = text ? text : "";
  item.submenu = std::move(submenu);
  items.push_back(std::move(item));
}

void IPopupMenu::AddSeparator()
{
  Item item;
  item.flags = kSeparator;
  items.push_back(std::move(item));
}

void IPopupMenu::SetChecked(int index, bool checked)
{
  if (index < 0 || index >= NItems())
    return;
  int& flags = items[std::size_t(index)].flags;
  flags = checked ? (flags | kChecked) : (flags & ~kChecked);
}

std::string IPopupMenu::DisplayText(int index) const
{
  if (index < 0 || index >= NItems())
    return {};
  const std::string& text = items[std::size_t(index)].text;
  static const char* const kFormats[] = {"", "%1d: ", "%02d: ", "%03d: "};
  if (prefix == Prefix::None)
    return text;
  char number[16];
  std::snprintf(number, sizeof(number), kFormats[int(prefix)], index + 1);
  return number + text;
}
