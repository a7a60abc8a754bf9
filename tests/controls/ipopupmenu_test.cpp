// The popup-menu model: ownership of items and submenus, placement and clearing.

#include <gtest/gtest.h>

#include "controls/IPopupMenu.h"

using namespace iplug::igraphics;

namespace {

std::vector<std::string> Texts(const IPopupMenu& m) {
  std::vector<std::string> out;
  for (int i = 0; i < m.NItems(); ++i)
    out.push_back(m.GetItemText(i));
  return out;
}

TEST(PopupMenu, ItemsArePlacedByIndexWithOutOfRangeIndicesClamped) {
  IPopupMenu m("", {"a", "b", "c"});
  m.AddItem("end", 7);
  m.AddItem("first", -5);
  m.AddItem("second", 1);
  m.AddItem(static_cast<const char*>(nullptr));
  EXPECT_EQ(Texts(m), (std::vector<std::string>{"first", "second", "a", "b", "c", "end", ""}));
}

TEST(PopupMenu, SortedItemsGoInCaseInsensitiveOrderBeforeAnEqualText) {
  IPopupMenu m;
  for (const char* t : {"b", "A", "c", "B"})
    m.AddItem(t, IPopupMenu::kSorted);
  EXPECT_EQ(Texts(m), (std::vector<std::string>{"A", "B", "b", "c"}));
}

TEST(PopupMenu, ClearDeletesItemsButKeepsTitleChoiceAndCompletion) {
  int runs = 0;
  IPopupMenu m("Title", {"x", "y"}, [&](IPopupMenu*) { ++runs; });
  m.SetPrefix(2);
  m.SetChosenItemIdx(1);
  m.Clear();
  EXPECT_EQ(m.NItems(), 0);
  EXPECT_EQ(m.GetPrefix(), 0);
  EXPECT_STREQ(m.GetTitle(), "Title");
  EXPECT_EQ(m.GetChosenItemIdx(), 1);
  m.ExecFunction();
  EXPECT_EQ(runs, 1);
}

TEST(PopupMenu, SubmenusAreOwnedAndInheritTheCompletion) {
  IPopupMenu* chosen = nullptr;
  auto* m = new IPopupMenu("", {}, [&](IPopupMenu* menu) { chosen = menu; });
  auto* sub = new IPopupMenu("", {"deep"});
  m->AddItem("More", sub);
  ASSERT_EQ(m->GetItem(0)->GetSubmenu(), sub);
  sub->ExecFunction();
  EXPECT_EQ(chosen, sub);
  delete m;  // deletes the submenu too (the leak checker would report it otherwise)
}

TEST(PopupMenu, RemoveItemTakesOnlyItemsOfThisMenu) {
  IPopupMenu m("", {"a", "b"});
  IPopupMenu::Item stranger("s");
  m.RemoveItem(&stranger);
  EXPECT_EQ(m.NItems(), 2);
  m.RemoveItem(m.GetItem(0));
  EXPECT_EQ(Texts(m), std::vector<std::string>{"b"});
}

}  // namespace
