#pragma once
// A menu the platform shows at a point: items with text, an optional submenu and
// flags. After the platform ran it, the menu that holds the chosen item records the
// item's index.
#include <memory>
#include <string>
#include <vector>

class IPopupMenu
{
public:
  enum ItemFlags
  {
    kNoFlags = 0,
    kDisabled = 1,
    kGreyed = 2,
    kChecked = 4,
    kSeparator = 8
  };
  // How item texts are numbered when shown: not at all, "%1d: %s", "%02d: %s" or
  // "%03d: %s" (from 1).
  enum class Prefix
  {
    None,
    OneDigit,
    TwoDigits,
    ThreeDigits
  };

  struct Item
  {
    std::string text;
    std::unique_ptr<IPopupMenu> submenu;
    int flags = kNoFlags;
  };

  explicit IPopupMenu(Prefix numbering = Prefix::None) : prefix(numbering) {}

  void AddItem(const char* text, int flags = kNoFlags);
  void AddSubmenu(const char* text, std::unique_ptr<IPopupMenu> submenu);
  void AddSeparator();
  int NItems() const { return int(items.size()); }
  const Item& GetItem(int index) const { return items[std::size_t(index)]; }
  void SetChecked(int index, bool checked);
  // The text as shown, with its number when the menu numbers its items.
  std::string DisplayText(int index) const;

  int GetChosenItemIdx() const { return chosen; }
  void SetChosenItemIdx(int index) { chosen = index; }

private:
  std::vector<Item> items;
  Prefix prefix;
  int chosen = -1;
};
