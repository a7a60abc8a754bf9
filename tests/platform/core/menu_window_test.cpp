// Menus shown as windows of their own, tracked by the mouse and the keys.

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cctype>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/ComboBox.h"
#include "platform/core/DisplaySwitch.h"
#include "platform/core/Menu.h"
#include "platform/core/MenuWindow.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Timer.h"
#include "platform/core/Window.h"
#include "platform/system/Clock.h"
#include "platform/x11/detail/X11Backend.h"
#include "support/ControlWindowTest.h"
#include "support/PlatformHarness.h"
#include "support/X11Harness.h"

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
      {"another program taking the focus dismisses",
       [](auto& h, auto*, auto*) {
         h.activate();
         h.deactivate();
       },
       nullptr},
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

// Timers run while a menu is up; one may empty or rebuild the menu. The open menu keeps
// what it shows, and an item no longer in the menu is not acted on.
TEST_F(MenuWindowTest, AMenuChangedWhileItIsUpNeitherCrashesNorActsOnRemovedItems) {
  struct Target : NSObject, ActionTarget {
    void performAction(int, NSObject*) override { ++performed; }
    int performed = 0;
  };
  auto target = Ref<Target>::adopt(new Target);
  for (NSMenuItem* item : menu->itemArray())
    item->setTarget(target.get());
  Ref<NSTimer> rebuild = NSTimer::timerWithTimeInterval(0.001, false, [&](NSTimer*) {
    menu->removeAllItems();
    h.key(nullptr, 0x7D, "");
    h.key(nullptr, 0x24, "\r");
  });
  NSRunLoop::mainRunLoop().addTimer(rebuild.get(), NSRunLoopCommonModes);
  MenuTracker* previous = menuTracker();
  setMenuTracker(NSMenuWindow::tracker());
  EXPECT_FALSE(menu->popUpMenu(NSMakePoint(100, 500), nullptr));
  setMenuTracker(previous);
  EXPECT_EQ(target->performed, 0);
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

namespace {

constexpr std::uint16_t kKeyDown = 0x7D, kKeyUp = 0x7E, kKeyLeft = 0x7B, kKeyRight = 0x7C,
                        kKeyReturn = 0x24, kKeyEscape = 0x35;

NSMenuItem* addItem(NSMenu* menu, const char* title, NSMenu* submenu = nullptr) {
  auto* item = new NSMenuItem(title);
  if (submenu) item->setSubmenu(submenu);
  menu->addItem(item);
  item->release();
  return item;
}

// Records the items whose action reached it.
class ChosenItems : public NSObject, public ActionTarget {
 public:
  void performAction(int, NSObject* sender) override {
    if (auto* item = dynamic_cast<NSMenuItem*>(sender)) titles.push_back(item->title());
  }
  std::vector<std::string> titles;
};

}  // namespace

// The fixture's menu with "More" after its items: a submenu of "Sub one", "Sub two" and
// "Sub three", which has a submenu of its own.
TEST_F(MenuWindowTest, SubmenusOpenBesideTheirItemAndCloseByKeysOrMoving) {
  auto sub = Ref<NSMenu>::adopt(new NSMenu("More"));
  addItem(sub.get(), "Sub one");
  addItem(sub.get(), "Sub two");
  auto deeper = Ref<NSMenu>::adopt(new NSMenu("Deeper"));
  addItem(deeper.get(), "Deep one");
  addItem(deeper.get(), "Deep two");
  addItem(sub.get(), "Sub three", deeper.get());
  addItem(menu.get(), "More", sub.get());  // shown fifth: the hidden item is left out
  using Harness = testsupport::PlatformHarness;
  struct Row {
    const char* name;
    std::function<void(Harness&, NSMenuWindow*)> act;
    const char* chosen;
  };
  auto mid = [](NSMenuWindow* w, int i) {
    NSRect r = w->rectOfItem(i);
    return NSMakePoint(r.midX(), r.midY());
  };
  auto keys = [](std::vector<std::uint16_t> codes) {
    return [codes](Harness& h, NSMenuWindow* w) {
      for (std::uint16_t code : codes)
        h.key(w, code, "");
    };
  };
  const Row rows[] = {
      {"right opens it at its first item", keys({kKeyUp, kKeyRight, kKeyDown, kKeyReturn}),
       "Sub two"},
      {"return on the item opens it too", keys({kKeyUp, kKeyReturn, kKeyReturn}), "Sub one"},
      {"left closes it", keys({kKeyUp, kKeyRight, kKeyLeft, kKeyUp, kKeyReturn}), "Gamma"},
      {"escape closes only it", keys({kKeyUp, kKeyRight, kKeyEscape, kKeyUp, kKeyReturn}), "Gamma"},
      {"a second escape dismisses", keys({kKeyUp, kKeyRight, kKeyEscape, kKeyEscape}), nullptr},
      {"a submenu's submenu opens the same way",
       keys({kKeyUp, kKeyRight, kKeyUp, kKeyRight, kKeyDown, kKeyReturn}), "Deep two"},
      {"left closes only the innermost",
       keys({kKeyUp, kKeyRight, kKeyUp, kKeyRight, kKeyLeft, kKeyUp, kKeyReturn}), "Sub two"},
      {"moving onto another item of the top menu closes both",
       [&](Harness& h, NSMenuWindow* w) {
         keys({kKeyUp, kKeyRight, kKeyUp, kKeyRight})(h, w);
         h.move(w, mid(w, 3));
         h.key(w, kKeyReturn, "\r");
       },
       "Gamma"},
      {"resting on the item opens it; a click in it chooses",
       [&](Harness& h, NSMenuWindow* w) {
         h.move(w, mid(w, 4));
         // The submenu's first row, beside the item: in this window's coordinates.
         NSRect item = w->rectOfItem(4);
         h.click(w, NSMakePoint(item.size.width + 10, item.maxY() - 10));
       },
       "Sub one"},
      {"moving to another item closes it",
       [&](Harness& h, NSMenuWindow* w) {
         h.move(w, mid(w, 4));
         h.move(w, mid(w, 3));
         h.key(w, kKeyRight, "");
         h.key(w, kKeyReturn, "\r");
       },
       "Gamma"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    auto window = Ref<NSMenuWindow>::adopt(new NSMenuWindow(menu.get(), NSMakePoint(100, 500)));
    ASSERT_EQ(window->shownItems().size(), 5u);
    r.act(h, window.get());
    NSMenuItem* chosen = window->track();
    EXPECT_EQ(chosen ? chosen->title() : std::string("(none)"), r.chosen ? r.chosen : "(none)");
    EXPECT_EQ(window->openSubmenu(), nullptr) << "submenus close with the menu";
    for (NSWindow* shown : NSApp()->orderedWindows())
      EXPECT_EQ(dynamic_cast<NSMenuWindow*>(shown), nullptr) << "no menu window stays up";
    window->close();
    NSApp()->discardEvents(NSEventMaskAny);
  }
}

// Each menu shown, and each submenu opened, asks its delegate to update it once, before it
// shows: an application that fills a menu when asked fills it once.
TEST_F(MenuWindowTest, EachMenuShownAsksItsDelegateOnce) {
  struct Counting : NSMenuDelegate {
    std::vector<std::string> asked;
    void menuNeedsUpdate(NSMenu* m) override { asked.push_back(m->title()); }
  } counting;
  auto sub = Ref<NSMenu>::adopt(new NSMenu("More"));
  addItem(sub.get(), "Sub one");
  addItem(menu.get(), "More", sub.get());
  menu->setDelegate(&counting);
  sub->setDelegate(&counting);
  setMenuTracker(NSMenuWindow::tracker());
  for (std::uint16_t key : {kKeyUp, kKeyRight, kKeyReturn})
    h.key(nullptr, key, "");
  Ref<NSMenuItem> chosen = menu->popUpMenu(NSMakePoint(100, 500), nullptr);
  setMenuTracker(&h.menus());
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->title(), "Sub one");
  EXPECT_EQ(counting.asked, (std::vector<std::string>{"Edit", "More"}));
}

// A menu taller than the screen shows what fits on it and scrolls to every item: the keys
// bring the highlighted item into view (round the ends too), the wheel scrolls, and the
// pointer resting on the arrow at an edge scrolls on.
TEST_F(MenuWindowTest, AMenuTallerThanTheScreenScrollsToEveryItem) {
  auto tall = Ref<NSMenu>::adopt(new NSMenu);
  for (int i = 0; i < 60; ++i)
    addItem(tall.get(), ("Item " + std::to_string(i)).c_str());
  using Harness = testsupport::PlatformHarness;
  auto last = [](NSMenuWindow* w) {
    const NSRect r = w->rectOfItem(59);
    return NSMakePoint(r.midX(), r.midY());
  };
  struct Row {
    const char* name;
    std::function<void(Harness&, NSMenuWindow*)> act;
  } rows[] = {
      {"up from nothing goes round to the last item",
       [](Harness& h, NSMenuWindow* w) {
         h.key(w, kKeyUp, "");
         h.key(w, kKeyReturn, "\r");
       }},
      {"the wheel scrolls to the end",
       [&](Harness& h, NSMenuWindow* w) {
         h.scroll(w, NSMakePoint(20, 400), 0, -100);
         h.perform([&h, w, last] { h.click(w, last(w)); });
       }},
      {"resting on the arrow at the bottom scrolls on",
       [&](Harness& h, NSMenuWindow* w) {
         h.move(w, NSMakePoint(20, NSMenuWindow::kScrollBand / 2));
         Ref<NSTimer> later = NSTimer::timerWithTimeInterval(
             2, false, [&h, w, last](NSTimer*) { h.click(w, last(w)); });
         NSRunLoop::mainRunLoop().addTimer(later.get(), NSRunLoopCommonModes);
       }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    auto w = Ref<NSMenuWindow>::adopt(new NSMenuWindow(tall.get(), NSMakePoint(100, 700)));
    const NSRect frame = w->frame();
    EXPECT_GE(frame.minY(), 0);
    EXPECT_LE(frame.maxY(), 800);
    EXPECT_EQ(w->scrollOffset(), 0);
    EXPECT_LE(w->rectOfItem(59).maxY(), 0) << "the last item starts out of view";
    EXPECT_EQ(w->itemAtPoint(NSMakePoint(20, 2)), -1) << "the arrow chooses nothing";
    r.act(h, w.get());
    NSMenuItem* chosen = w->track();
    EXPECT_EQ(chosen ? chosen->title() : std::string("(none)"), "Item 59");
    EXPECT_EQ(w->scrollOffset(), w->maxScroll());
    w->close();
    NSApp()->discardEvents(NSEventMaskAny);
  }
}

// A window's own menu as a bar above its content: the content keeps its size, a press on
// a title opens that title's menu below it, a title without a menu sends its action.
TEST(NSWindowMenuBar, ShowsTitlesAboveTheContentAndOpensTheirMenus) {
  testsupport::PlatformHarness h;
  auto chosen = Ref<ChosenItems>::adopt(new ChosenItems);
  auto bar = Ref<NSMenu>::adopt(new NSMenu);
  auto file = Ref<NSMenu>::adopt(new NSMenu("File"));
  for (const char* title : {"Open", "Quit"})
    addItem(file.get(), title)->setTarget(chosen.get());
  addItem(bar.get(), "File", file.get());
  addItem(bar.get(), "Help")->setTarget(chosen.get());

  auto* w = new NSWindow(NSMakeRect(100, 100, 200, 150), NSWindowStyleMaskTitled);
  w->setContentView(Ref<NSView>::adopt(new NSView).get());
  w->makeKeyAndOrderFront();
  const NSRect frame = w->frame(), content = w->contentRect();
  w->setMenuBar(bar.get());
  EXPECT_EQ(w->contentRect(), content);
  EXPECT_EQ(w->frame().size.height, frame.size.height + NSWindow::kMenuBarHeight);
  EXPECT_EQ(cairo_image_surface_get_height(w->backingStore()), 150 + NSWindow::kMenuBarHeight);
  EXPECT_EQ(w->menuBarRect(), NSMakeRect(0, 150, 200, NSWindow::kMenuBarHeight));
  const std::uint32_t background = testsupport::PlatformHarness::pixelAt(w, 199, 5);
  EXPECT_NE(testsupport::PlatformHarness::pixelAt(w, 199, 151), background) << "the bar is drawn";

  NSRect fileTitle = w->menuBarItemRect(0), helpTitle = w->menuBarItemRect(1);
  EXPECT_EQ(w->menuBarItemAtPoint({helpTitle.midX(), helpTitle.midY()}), 1);
  EXPECT_GE(helpTitle.minX(), fileTitle.maxX());
  h.menus().add({"Quit"});
  h.click(w, {fileTitle.midX(), fileTitle.midY()});
  h.runUntilIdle();
  ASSERT_EQ(h.menus().popped().size(), 1u);
  EXPECT_EQ(h.menus().popped()[0], (std::vector<std::string>{"Open", "Quit"}));
  EXPECT_EQ(h.menus().lastScreenPoint(), w->convertPointToScreen({fileTitle.minX(), 150}));
  h.click(w, {helpTitle.midX(), helpTitle.midY()});
  h.runUntilIdle();
  EXPECT_EQ(chosen->titles, (std::vector<std::string>{"Quit", "Help"}));
  EXPECT_EQ(w->highlightedMenuBarItem(), -1);

  w->setMenuBar(nullptr);
  EXPECT_EQ(w->frame().size, frame.size);
  EXPECT_EQ(w->contentRect(), content);
  w->close();
}

// On a real display: a submenu takes the grabs while it is up and hands them back when it
// closes, and a window's menu bar makes its X window taller by the bar alone.
TEST(MenuWindowOnX11, SubmenusHandBackTheGrabsAndTheBarTopsTheXWindow) {
  testsupport::X11Harness x;
  if (!x.server().running()) GTEST_SKIP() << x.whyNot();
  ASSERT_TRUE(x.ready()) << "the X11 backend did not connect to its own Xvfb";
  auto sub = Ref<NSMenu>::adopt(new NSMenu("More"));
  addItem(sub.get(), "Sub one");
  addItem(sub.get(), "Sub two");
  auto menu = Ref<NSMenu>::adopt(new NSMenu);
  addItem(menu.get(), "One");
  addItem(menu.get(), "More", sub.get());

  auto* w = new NSWindow(NSMakeRect(100, 100, 200, 150), NSWindowStyleMaskTitled);
  w->setContentView(Ref<NSView>::adopt(new NSView).get());
  w->setMenuBar(menu.get());
  w->makeKeyAndOrderFront();
  w->display();
  Window xid = x.backend().xWindowOf(w);
  XWindowAttributes a{};
  ASSERT_TRUE(x.pumpUntil(
      [&] { return XGetWindowAttributes(x.display(), xid, &a) && a.map_state == IsViewable; }));
  EXPECT_EQ(a.width, 200);
  EXPECT_EQ(a.height, 150 + static_cast<int>(NSWindow::kMenuBarHeight));
  EXPECT_EQ(w->contentRect().size.height, 150);

  struct Row {
    std::vector<std::string> keys;
    const char* chosen;
  } rows[] = {{{"Down", "Down", "Right", "Down", "Return"}, "Sub two"},
              {{"Down", "Down", "Right", "Left", "Up", "Return"}, "One"}};
  // Real time: the menu's loop waits on the X connection.
  setClock(nullptr);
  for (const Row& r : rows) {
    std::thread user([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      std::vector<std::string> command{"xdotool"};
      for (const std::string& key : r.keys) {
        command.push_back("key");
        command.push_back(key);
      }
      x.server().run(command);
    });
    NSMenuItem* chosen = NSMenuWindow::popUpMenu(menu.get(), NSMakePoint(400, 500));
    user.join();
    EXPECT_EQ(chosen ? chosen->title() : std::string("(none)"), r.chosen);
  }
  setClock(&x.platform().clock());
  // Every grab went with the menus: another program can take the pointer.
  Display* other = x.otherClient();
  XSync(x.display(), False);
  EXPECT_EQ(XGrabPointer(other, DefaultRootWindow(other), False, ButtonPressMask, GrabModeAsync,
                         GrabModeAsync, None, None, CurrentTime),
            GrabSuccess);
  XUngrabPointer(other, CurrentTime);
  w->close();
}

// Titles are measured in the font they are drawn in, room for the drawing's inset
// included: the last glyph of the longest one is drawn whole.
TEST(MenuWindowLooks, TheLongestTitleIsDrawnWhole) {
  testsupport::PlatformHarness h;
  auto menu = Ref<NSMenu>::adopt(new NSMenu);
  for (const char* title : {"Preferences...", "Firmware Update", "Quit"})
    addItem(menu.get(), title);
  // The right edge of the ink of the first row, from the window's left edge.
  auto inkEnd = [&](double minimumWidth) {
    menu->setMinimumWidth(minimumWidth);
    auto w = Ref<NSMenuWindow>::adopt(new NSMenuWindow(menu.get(), NSMakePoint(100, 500)));
    w->display();
    const NSRect r = w->rectOfItem(1);
    const std::uint32_t paper =
        testsupport::PlatformHarness::pixelAt(w.get(), r.maxX() - 3, r.midY());
    int end = 0;
    for (int x = 0; x < static_cast<int>(r.maxX()) - 2; ++x)
      for (double y = r.minY() + 2; y < r.maxY() - 2; ++y)
        if (testsupport::PlatformHarness::pixelAt(w.get(), x + 0.5, y) != paper) end = x;
    w->close();
    return end;
  };
  const int fitted = inkEnd(0);
  EXPECT_GT(fitted, 0);
  EXPECT_EQ(fitted, inkEnd(400)) << "the title is cut where its row ends";
}

// A window's menu bar reached and walked with the keys: a click, F10 or Option with a
// title's mnemonic opens a menu (by the keys with its first item lit); Left and Right go on
// to the neighbouring titles (round the ends) with their first item lit; an item's mnemonic
// chooses it; an item's key equivalent sends its action with no menu shown. The title is
// back to normal before the chosen item acts, as that may open a dialog.
TEST(NSWindowMenuBar, TheKeysOpenAndWalkTheBarAndTheTitleGoesOutBeforeTheChoiceActs) {
  testsupport::PlatformHarness h;
  struct Recorder : NSObject, ActionTarget {
    void performAction(int, NSObject* sender) override {
      chosen.push_back(static_cast<NSMenuItem*>(sender)->title());
      litAtAction.push_back(window->highlightedMenuBarItem());
    }
    NSWindow* window = nullptr;
    std::vector<std::string> chosen;
    std::vector<int> litAtAction;
  };
  auto recorder = Ref<Recorder>::adopt(new Recorder);
  auto bar = Ref<NSMenu>::adopt(new NSMenu);
  // The arrows pass by a title without a menu ("Go") and a disabled one ("Tools"). Each
  // title's and item's first letter is its mnemonic; "Open" and "Order" share theirs.
  const std::vector<std::pair<const char*, std::vector<const char*>>> menus = {
      {"File", {"Open", "Quit", "Order"}},
      {"Go", {}},
      {"Edit", {"Cut"}},
      {"Tools", {"Tune"}},
      {"Help", {"About"}}};
  for (const auto& [title, items] : menus) {
    auto menu = Ref<NSMenu>::adopt(new NSMenu(title));
    for (const char* name : items) {
      NSMenuItem* item = addItem(menu.get(), name);
      item->setTarget(recorder.get());
      item->setMnemonicLocation(0);
      // Command+Q quits; Command+T would tune, but its menu's title is disabled.
      item->setKeyEquivalent(std::string(1, static_cast<char>(std::tolower(name[0]))));
      item->setKeyEquivalentModifierMask(NSEventModifierFlagCommand);
    }
    NSMenuItem* shown = addItem(bar.get(), title, items.empty() ? nullptr : menu.get());
    shown->setMnemonicLocation(0);
    shown->setEnabled(std::string(title) != "Tools");
  }
  auto* w = new NSWindow(NSMakeRect(100, 100, 400, 150), NSWindowStyleMaskTitled);
  w->setContentView(Ref<NSView>::adopt(new NSView).get());
  w->setMenuBar(bar.get());
  w->makeKeyAndOrderFront();
  recorder->window = w;
  setMenuTracker(NSMenuWindow::tracker());
  const NSRect file = w->menuBarItemRect(0);
  const NSPoint fileTitle{file.midX(), file.midY()};
  constexpr std::uint16_t kF10 = 0x6D, kQ = 0x0C;
  constexpr std::uint64_t kCommand = NSEventModifierFlagCommand,
                          kOption = NSEventModifierFlagOption;
  struct Stroke {
    std::uint16_t code;
    const char* characters = "";
    std::uint64_t modifiers = 0;
  };
  const Stroke right{kKeyRight}, left{kKeyLeft}, down{kKeyDown}, enter{kKeyReturn}, f10{kF10};
  struct Row {
    bool click;  // the File title clicked first
    std::vector<Stroke> keys;
    const char* chosen;
  } rows[] = {
      {true, {right, enter}, "Cut"},
      {true, {right, right, enter}, "About"},
      {true, {left, enter}, "About"},
      {true, {right, left, down, enter}, "Quit"},
      {true, {down, enter}, "Open"},  // after a click the menu waits, nothing lit
      // Keys that open nothing (a disabled title's mnemonic, F10 with Shift, a key
      // equivalent with a modifier too many) go by; F10 opens File at its first item.
      {false,
       {{0x11, "t", kOption},
        {kF10, "", NSEventModifierFlagShift},
        {kQ, "Q", kCommand | kOption},
        f10,
        enter},
       "Open"},
      {false, {f10, right, enter}, "Cut"},
      {false, {{0x0E, "e", kOption}, enter}, "Cut"},
      {false, {{0x04, "H", kOption}, left, left, down, enter}, "Quit"},
      {false, {f10, {kQ, "q"}}, "Quit"},
      {false, {f10, {0x1F, "o"}, enter}, "Order"},
      {false, {{0x11, "t", kCommand}, {kQ, "q", kCommand}}, "Quit"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.chosen);
    recorder->chosen.clear();
    recorder->litAtAction.clear();
    if (r.click) {
      h.mouseDown(w, fileTitle);
      h.advance(100);
      h.mouseUp(w, fileTitle);
    }
    for (const Stroke& key : r.keys)
      h.key(w, key.code, key.characters, key.modifiers);
    h.runUntilIdle();
    EXPECT_EQ(recorder->chosen, std::vector<std::string>{r.chosen});
    EXPECT_EQ(recorder->litAtAction, std::vector<int>{-1});
    NSApp()->discardEvents(NSEventMaskAny);
  }
  setMenuTracker(&h.menus());
  w->close();
}
