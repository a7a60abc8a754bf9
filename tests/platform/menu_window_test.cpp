// Menus shown as windows of their own, tracked by the mouse and the keys.

#include <gtest/gtest.h>

#include "platform/DisplayBackend.h"
#include "platform/Menu.h"
#include "platform/MenuWindow.h"
#include "platform/Window.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

class MenuWindowTest : public ::testing::Test {
 protected:
  MenuWindowTest() : menu(Ref<NSMenu>::adopt(new NSMenu("Edit"))) {
    for (const char* title : {"Alpha", "-", "Beta", "Gamma"}) {
      NSMenuItem* item =
          std::string(title) == "-" ? NSMenuItem::separatorItem() : new NSMenuItem(title);
      menu->addItem(item);
      item->release();
    }
    menu->itemAtIndex(2)->setEnabled(false);  // Beta
    auto* hidden = new NSMenuItem("Hidden");
    hidden->setHidden(true);
    menu->addItem(hidden);
    hidden->release();
  }
  testsupport::PlatformHarness h;
  Ref<NSMenu> menu;
};

}  // namespace

TEST_F(MenuWindowTest, KeysAndClicksChooseOrDismiss) {
  constexpr std::uint16_t kDown = 0x7D, kUp = 0x7E, kReturn = 0x24, kEscape = 0x35;
  struct Row {
    const char* name;
    std::function<void(testsupport::PlatformHarness&, NSMenuWindow*, NSWindow* other)> act;
    const char* chosen;  // null: dismissed
  };
  auto mid = [](NSMenuWindow* w, int i) {
    NSRect r = w->rectOfItem(i);
    return NSMakePoint(r.midX(), r.midY());
  };
  const Row rows[] = {
      {"down twice skips the separator and the disabled item",
       [](auto& h, auto* w, auto*) {
         h.key(w, kDown, "");
         h.key(w, kDown, "");
         h.key(w, kReturn, "\r");
       },
       "Gamma"},
      {"up from nothing wraps to the last",
       [](auto& h, auto* w, auto*) {
         h.key(w, kUp, "");
         h.key(w, kReturn, "\r");
       },
       "Gamma"},
      {"return with nothing highlighted dismisses",
       [](auto& h, auto* w, auto*) { h.key(w, kReturn, "\r"); }, nullptr},
      {"escape dismisses", [](auto& h, auto* w, auto*) { h.key(w, kEscape, "\x1b"); }, nullptr},
      {"a click on an item chooses it", [&](auto& h, auto* w, auto*) { h.click(w, mid(w, 0)); },
       "Alpha"},
      {"a release on a disabled item chooses nothing",
       [&](auto& h, auto* w, auto*) {
         h.click(w, mid(w, 2));
         h.key(w, kEscape, "\x1b");
       },
       nullptr},
      {"a click outside dismisses",
       [](auto& h, auto* w, auto* other) { h.click(other, NSMakePoint(5, 5)); }, nullptr},
      {"a drag onto an item and release there chooses it",
       [&](auto& h, auto* w, auto*) {
         h.mouseDown(w, mid(w, 3));
         h.mouseUp(w, mid(w, 0));
       },
       "Alpha"},
  };
  auto* other = new NSWindow(NSMakeRect(600, 100, 100, 100), NSWindowStyleMaskTitled);
  other->makeKeyAndOrderFront();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    auto window = Ref<NSMenuWindow>::adopt(new NSMenuWindow(menu.get(), NSMakePoint(100, 500)));
    r.act(h, window.get(), other);
    NSMenuItem* chosen = window->track();
    EXPECT_EQ(chosen ? chosen->title() : std::string("(none)"), r.chosen ? r.chosen : "(none)");
    EXPECT_FALSE(window->isVisible());
    window->close();
    NSApp()->discardEvents(NSEventMaskAny);
  }
}

TEST_F(MenuWindowTest, ItLaysOutItsShownItemsOnTheScreen) {
  auto window = Ref<NSMenuWindow>::adopt(new NSMenuWindow(menu.get(), NSMakePoint(1270, 10)));
  ASSERT_EQ(window->shownItems().size(), 4u);  // the hidden item is left out
  NSRect frame = window->frame();
  // Kept on the 1280 x 800 screen.
  EXPECT_LE(frame.maxX(), 1280);
  EXPECT_GE(frame.minY(), 0);
  EXPECT_EQ(window->level(), NSPopUpMenuWindowLevel);
  EXPECT_EQ(window->itemAtPoint(NSMakePoint(10, window->rectOfItem(0).midY())), 0);
  EXPECT_EQ(window->itemAtPoint(NSMakePoint(10, window->rectOfItem(1).midY())), 1);
  EXPECT_EQ(window->itemAtPoint(NSMakePoint(-5, 5)), -1);
  // Nobody answers: the menu is dismissed in virtual time instead of spinning.
  EXPECT_EQ(window->track(), nullptr);
  window->close();
  // The pop-up call shows and tracks one of its own.
  h.key(nullptr, 0x7D, "");
  h.key(nullptr, 0x24, "\r");
  NSMenuItem* chosen = NSMenuWindow::popUpMenu(menu.get(), NSMakePoint(100, 500));
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->title(), "Alpha");
}

// Where a display shows windows, NSMenu's own pop-up call shows menu windows; a tracker
// installed by someone else (the harness's answers) is left in place, and headless
// programs go back to none.
TEST_F(MenuWindowTest, ShownDisplaysPopUpMenusAsMenuWindows) {
  struct ShownBackend final : DisplayBackend {
    const char* name() const override { return "shown"; }
  };
  MenuTracker* harness = menuTracker();
  setDisplayBackend(std::make_unique<ShownBackend>());
  EXPECT_EQ(menuTracker(), harness);
  setDisplayBackend(nullptr);
  setMenuTracker(nullptr);
  setDisplayBackend(std::make_unique<ShownBackend>());
  ASSERT_EQ(menuTracker(), NSMenuWindow::tracker());
  h.key(nullptr, 0x7D, "");
  h.key(nullptr, 0x24, "\r");
  Ref<NSMenuItem> chosen = menu->popUpMenu(NSMakePoint(100, 500), nullptr);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->title(), "Alpha");
  setDisplayBackend(nullptr);
  EXPECT_EQ(menuTracker(), nullptr);
  setMenuTracker(harness);
}
