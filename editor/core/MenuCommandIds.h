#pragma once
// The command ids of a native menu built from an IPopupMenu tree, depth first: each
// menu reserves a block of consecutive ids for its own items (separators and submenu
// entries included), starting after the blocks of the menus numbered before it; its
// submenus follow in the order of their items. Ids start at 1, since a menu that was
// dismissed reports 0. The window builds the native menu and maps the chosen id back
// through the same numbering.
#include <vector>

class IPopupMenu;

class MenuCommandIds
{
public:
  explicit MenuCommandIds(IPopupMenu& root);

  // The id of item index of menu (one of the tree's), or 0 when there is none.
  int IdOf(const IPopupMenu* menu, int index) const;
  // The menu holding the item with this id, and the item's index there; null (and -1)
  // for an id outside the tree's.
  IPopupMenu* Find(int id, int& index) const;
  // One past the last id.
  int NextId() const { return next; }

private:
  struct Block
  {
    IPopupMenu* menu;
    int first;
  };
  void Number(IPopupMenu& menu);

  std::vector<Block> blocks;
  int next = 1;
};
