// The depth-first command ids of a native menu, and the numbered item texts.
#include "editor/core/MenuCommandIds.h"
#include "editor/core/IPopupMenu.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
std::unique_ptr<IPopupMenu> MenuOf(int items)
{
  auto menu = std::make_unique<IPopupMenu>();
  for (int i = 0; i < items; ++i)
    menu->AddItem(("item " + std::to_string(i)).c_str());
  return menu;
}
} // namespace

TEST(MenuCommandIds, EachMenuTakesTheBlockAfterTheMenusNumberedBeforeIt)
{
  // root: a, b (2 items, the second holding 1), separator, c (3 items), d
  IPopupMenu root;
  root.AddItem("a");
  auto b = MenuOf(1);
  auto inner = MenuOf(1);
  IPopupMenu* innerPtr = inner.get();
  b->AddSubmenu("b2", std::move(inner));
  IPopupMenu* bPtr = b.get();
  root.AddSubmenu("b", std::move(b));
  root.AddSeparator();
  auto c = MenuOf(3);
  IPopupMenu* cPtr = c.get();
  root.AddSubmenu("c", std::move(c));
  root.AddItem("d");

  const MenuCommandIds ids(root);
  const struct
  {
    IPopupMenu* menu;
    int index;
    int id;
  } cases[] = {
      {&root, 0, 1},    {&root, 1, 2}, {&root, 2, 3}, {&root, 3, 4},
      {&root, 4, 5},    {bPtr, 0, 6},  {bPtr, 1, 7}, // b's block, then the block of its own submenu
      {innerPtr, 0, 8}, {cPtr, 0, 9},  {cPtr, 2, 11},
  };
  for (const auto& k : cases)
  {
    EXPECT_EQ(ids.IdOf(k.menu, k.index), k.id);
    int index = -1;
    EXPECT_EQ(ids.Find(k.id, index), k.menu) << "id " << k.id;
    EXPECT_EQ(index, k.index) << "id " << k.id;
  }
  EXPECT_EQ(ids.NextId(), 12);
  // A dismissed menu reports 0; ids beyond the tree and items beyond a menu are none.
  for (int id : {0, 12, -1})
  {
    int index = 7;
    EXPECT_EQ(ids.Find(id, index), nullptr) << "id " << id;
    EXPECT_EQ(index, -1);
  }
  EXPECT_EQ(ids.IdOf(&root, 5), 0);
  IPopupMenu stranger;
  stranger.AddItem("x");
  EXPECT_EQ(ids.IdOf(&stranger, 0), 0);
}

TEST(MenuCommandIds, NumberedMenusPrefixTheirItemsFromOne)
{
  const struct
  {
    IPopupMenu::Prefix prefix;
    int index;
    const char* shown;
  } cases[] = {
      {IPopupMenu::Prefix::None, 0, "Kick"},
      {IPopupMenu::Prefix::OneDigit, 0, "1: Kick"},
      {IPopupMenu::Prefix::OneDigit, 11, "12: Kick"},
      {IPopupMenu::Prefix::TwoDigits, 0, "01: Kick"},
      {IPopupMenu::Prefix::TwoDigits, 11, "12: Kick"},
      {IPopupMenu::Prefix::ThreeDigits, 8, "009: Kick"},
      {IPopupMenu::Prefix::ThreeDigits, 127, "128: Kick"},
  };
  for (const auto& c : cases)
  {
    IPopupMenu menu(c.prefix);
    for (int i = 0; i <= c.index; ++i)
      menu.AddItem("Kick");
    EXPECT_EQ(menu.DisplayText(c.index), c.shown);
  }
}
