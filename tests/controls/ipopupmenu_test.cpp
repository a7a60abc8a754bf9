// The popup-menu model: ownership of items and submenus, placement and clearing.

#include <gtest/gtest.h>

#include "base/detail/TestHooks.h"
#include "graphics/IPopupMenu.h"

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

TEST(PopupMenu, PrefixStylesNumberItemsFromOneAndUnknownStylesNumberNothing) {
  IPopupMenu m("", {"x", "y"});
  WDL_String text;
  const std::pair<int, const char*> cases[] = {{0, "y"},      {1, "2: y"}, {2, "02: y"},
                                               {3, "002: y"}, {4, "y"},    {-1, "y"}};
  for (const auto& [prefix, expected] : cases) {
    m.SetPrefix(prefix);
    m.FormatItemText(1, text);
    EXPECT_STREQ(text.Get(), expected) << "prefix " << prefix;
  }
  m.FormatItemText(2, text);
  EXPECT_STREQ(text.Get(), "");
}

TEST(PopupMenu, AnItemBelongsToOneMenuOnlyAndRefusalsAreLogged) {
  IPopupMenu a("", {"a"});
  IPopupMenu b;
  IPopupMenu::Item* item = a.GetItem(0);
  base::LogCapture logged;
  EXPECT_EQ(b.AddItem(item), nullptr);
  EXPECT_EQ(a.AddItem(item, IPopupMenu::kSorted), nullptr);
  EXPECT_EQ(logged.count(), 2u);
  EXPECT_EQ(a.NItems(), 1);
  EXPECT_EQ(b.NItems(), 0);
  EXPECT_EQ(item->GetMenu(), &a);
  b.RemoveItem(item);  // not b's
  EXPECT_EQ(a.NItems(), 1);
}

TEST(PopupMenu, AMenuNeverContainsItself) {
  IPopupMenu root;
  auto* sub = new IPopupMenu();
  ASSERT_TRUE(root.AddItem("sub", sub));
  EXPECT_EQ(root.AddItem("self", &root), nullptr);
  EXPECT_EQ(sub->AddItem("root", &root), nullptr);
  EXPECT_EQ(root.AddItem("again", sub), nullptr) << "another item holds it already";
  // An item made around an ancestor is dropped without touching the ancestor.
  EXPECT_EQ(sub->AddItem(new IPopupMenu::Item("loop", &root)), nullptr);
  EXPECT_EQ(root.GetParentItem(), nullptr);
  EXPECT_EQ(root.NItems(), 1);
  EXPECT_EQ(sub->NItems(), 0);
}

TEST(PopupMenu, DeletingAnItemOrSubmenuDirectlyUnlinksIt) {
  IPopupMenu m("", {"a", "b"});
  auto* sub = new IPopupMenu("", {"deep"});
  m.AddItem("more", sub);
  delete sub;
  EXPECT_EQ(m.GetItem(2)->GetSubmenu(), nullptr);
  delete m.GetItem(0);
  EXPECT_EQ(Texts(m), (std::vector<std::string>{"b", "more"}));
}

}  // namespace
