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

namespace {

// A pop-up button and a combo box in the shared window, their lists shown by the menu
// windows. The button's items are "off", "Alpha", "Beta" (disabled) and "Gamma", "Alpha"
// selected; the combo box's "red", "green" and "blue", "green" selected.
class DropDownTest : public testsupport::ControlWindowTest {
 public:
  // One thing the user does, so many milliseconds after the one before.
  static constexpr int kOutside = -1;
  struct Step {
    enum Kind { kUp, kClick, kDrag, kKey, kStillOpen } kind;
    double afterMs;
    int at = 0;  // the row of the list (kOutside: elsewhere in the window), or the key
  };

 protected:
  void SetUp() override {
    ControlWindowTest::SetUp();
    button = add(new NSPopUpButton(NSMakeRect(20, 200, 200, 22)));
    button->setFont(NSFont::systemFontOfSize(10));
    for (const char* title : {"off", "Alpha", "Beta", "Gamma"})
      button->addItemWithTitle(title);
    button->itemAtIndex(2)->setEnabled(false);
    button->selectItemAtIndex(1);
    combo = add(new NSComboBox(NSMakeRect(20, 100, 200, 24)));
    for (const char* title : {"red", "green", "blue"})
      combo->addItemWithObjectValue(title);
    setMenuTracker(NSMenuWindow::tracker());
  }
  void TearDown() override {
    setMenuTracker(&h.menus());
    ControlWindowTest::TearDown();
  }

  // The centre of an item's row in the button's open list, in the window: the selected
  // item shows over the button, its top at the button's, the other rows above and below.
  static NSPoint row(int index) {
    return NSMakePoint(
        60, 222 - (index - 1) * NSMenuWindow::kItemHeight - NSMenuWindow::kItemHeight / 2);
  }
  // The same in the combo box's list, which drops from the field's bottom edge.
  static NSPoint comboRow(int index) {
    return NSMakePoint(60, 99 - index * NSMenuWindow::kItemHeight - NSMenuWindow::kItemHeight / 2);
  }
  static NSMenuWindow* shownList() {
    for (NSWindow* shown : NSApp()->orderedWindows())
      if (auto* list = dynamic_cast<NSMenuWindow*>(shown)) return list;
    return nullptr;
  }

  // A press at a point, then the steps, with the list's rows where rowAt puts them; while
  // the list is still open, its highlighted item is the one named.
  void play(NSPoint press, const std::vector<Step>& steps, NSPoint (*rowAt)(int),
            const char* highlighted) {
    rec->events.clear();
    h.mouseDown(w, press);
    for (const Step& step : steps) {
      h.advance(step.afterMs);
      const NSPoint at = step.at == kOutside ? NSMakePoint(350, 250) : rowAt(step.at);
      NSEvent drag;
      switch (step.kind) {
        case Step::kUp:
          h.mouseUp(w, step.at == kOutside ? press : at);
          break;
        case Step::kClick:
          h.click(w, at);
          break;
        case Step::kDrag:
          drag.type = NSEventTypeLeftMouseDragged;
          drag.window = w;
          drag.locationInWindow = at;
          h.post(drag);
          break;
        case Step::kKey:
          h.key(w, static_cast<std::uint16_t>(step.at), "");
          break;
        case Step::kStillOpen:
          h.perform([highlighted] {
            NSMenuWindow* list = shownList();
            ASSERT_NE(list, nullptr) << "the list closed";
            ASSERT_GE(list->highlightedIndex(), 0);
            EXPECT_EQ(list->shownItems()[list->highlightedIndex()]->title(), highlighted);
            EXPECT_GE(list->frame().size.width, 200) << "as wide as the control";
          });
          break;
      }
    }
    h.runUntilIdle();
    EXPECT_EQ(shownList(), nullptr);
    NSApp()->discardEvents(NSEventMaskAny);
  }

  NSPopUpButton* button = nullptr;
  NSComboBox* combo = nullptr;
};

using Step = DropDownTest::Step;
constexpr std::uint16_t kEscape = 0x35, kDown = 0x7D, kReturn = 0x24, kSpace = 0x31;

}  // namespace

// What follows the press that opens a list, with the user's timing: a click leaves the list
// open on the current item, the arrows going on from it; a release elsewhere, or after a
// while, picks the row under it; a click on a row of the open list picks it; Escape or a
// click outside closes it unchanged. A pop-up button's list opens over the button, a combo
// box's below the field from a press on its arrow.
TEST_F(DropDownTest, ThePressThatOpensAListIsAClickOrAPick) {
  struct Row {
    const char* name;
    bool combo;
    std::vector<Step> steps;  // after the press on the button or the arrow
    const char* text;         // the control's text afterwards
    std::size_t actions;
  };
  const Step click{Step::kUp, 120, 1}, comboClick{Step::kUp, 120, DropDownTest::kOutside};
  const Row rows[] = {
      {"a click leaves it open; Escape closes it unchanged",
       false,
       {click, {Step::kStillOpen, 0}, {Step::kKey, 0, kEscape}},
       "Alpha",
       0},
      {"after a click the arrows start from the current item",
       false,
       {click, {Step::kKey, 0, kDown}, {Step::kKey, 0, kReturn}},
       "Gamma",
       1},
      {"a click on a row of the open list picks it",
       false,
       {click, {Step::kClick, 400, 0}},
       "off",
       1},
      {"press, drag and release on a row picks it",
       false,
       {{Step::kDrag, 60, 3}, {Step::kUp, 60, 3}},
       "Gamma",
       1},
      {"a quick flick to another row picks it", false, {{Step::kUp, 80, 0}}, "off", 1},
      {"a press held and let go where it went down picks that row",
       false,
       {{Step::kUp, 900, 1}},
       "Alpha",
       1},
      {"a click outside closes it unchanged",
       false,
       {click, {Step::kClick, 300, DropDownTest::kOutside}},
       "Alpha",
       0},
      {"a release on a disabled row leaves it open",
       false,
       {{Step::kUp, 60, 2}, {Step::kStillOpen, 0}, {Step::kKey, 0, kEscape}},
       "Alpha",
       0},
      {"a combo box's list: a click leaves it open on the current item",
       true,
       {comboClick, {Step::kStillOpen, 0}, {Step::kKey, 0, kEscape}},
       "green",
       0},
      {"a combo box's list: the arrows go on from the current item; Space picks",
       true,
       {comboClick, {Step::kKey, 0, kDown}, {Step::kKey, 0, kSpace}},
       "blue",
       1},
      {"a combo box's list: a click on a row picks it",
       true,
       {comboClick, {Step::kClick, 300, 0}},
       "red",
       1},
      {"a combo box's list: press, drag and release on a row picks it",
       true,
       {{Step::kDrag, 60, 2}, {Step::kUp, 60, 2}},
       "blue",
       1},
      {"a combo box's list: a click outside closes it unchanged",
       true,
       {comboClick, {Step::kClick, 300, DropDownTest::kOutside}},
       "green",
       0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    button->selectItemAtIndex(1);
    combo->selectItemAtIndex(1);
    if (r.combo)
      play({20 + 200 - 5, 112}, r.steps, &comboRow, "green");
    else
      play(row(1), r.steps, &row, "Alpha");
    EXPECT_EQ(r.combo ? combo->stringValue() : button->stringValue(), r.text);
    EXPECT_EQ(rec->events.size(), r.actions);
    EXPECT_FALSE(combo->isPopUpVisible());
  }
}

// A context menu opens at a right press, its top left under the pointer: let go at once,
// it stays up for a choice by the keys; pressed, dragged onto an item and let go there, it
// picks that item.
TEST_F(DropDownTest, AContextMenuTakesAQuickRightClickOrAPick) {
  struct Context : NSView {
    using NSView::NSView;
    Ref<NSMenu> menu = Ref<NSMenu>::adopt(new NSMenu);
    std::string chosen;
    void rightMouseDown(const NSEvent& e) override {
      Ref<NSMenuItem> item =
          menu->popUpMenu(convertPointFromView(e.locationInWindow, nullptr), this);
      chosen = item ? item->title() : "(none)";
    }
  };
  auto* view = add(new Context(NSMakeRect(240, 20, 150, 270)));
  for (const char* title : {"Cut", "Copy", "Paste"})
    view->menu->addItem(Ref<NSMenuItem>::adopt(new NSMenuItem(title)).get());
  const NSPoint press{250, 250};
  auto right = [&](NSEventType type, NSPoint at) {
    NSEvent e;
    e.type = type;
    e.window = w;
    e.locationInWindow = at;
    e.buttonNumber = 1;
    h.post(e);
  };
  auto itemCentre = [&](int i) {
    return NSMakePoint(press.x + 30, press.y - 1 - NSMenuWindow::kItemHeight * (i + 0.5));
  };
  right(NSEventTypeRightMouseDown, press);
  h.advance(100);
  right(NSEventTypeRightMouseUp, press);
  h.key(w, kDown, "");
  h.key(w, kDown, "");
  h.key(w, kReturn, "\r");
  h.runUntilIdle();
  EXPECT_EQ(view->chosen, "Copy");
  right(NSEventTypeRightMouseDown, press);
  right(NSEventTypeRightMouseDragged, itemCentre(2));
  h.advance(100);
  right(NSEventTypeRightMouseUp, itemCentre(2));
  h.runUntilIdle();
  EXPECT_EQ(view->chosen, "Paste");
  EXPECT_EQ(shownList(), nullptr);
}

// A dialog ended while its list is open (the program quitting) takes the list down with
// it: the run returns at once and the keys after it choose nothing.
TEST_F(DropDownTest, AListOpenInAModalRunClosesWhenTheRunEnds) {
  bool started = false;
  h.onModal([&](NSWindow*) {
    if (std::exchange(started, true)) return;
    h.mouseDown(w, row(1));
    h.advance(120);
    h.mouseUp(w, row(1));
    h.perform([] { NSApp()->abortModal(); });
    h.key(w, 0x7D, "");
    h.key(w, 0x24, "\r");
  });
  EXPECT_EQ(NSApp()->runModalForWindow(w), NSModalResponseAbort);
  EXPECT_FALSE(h.watchdogFired());
  EXPECT_EQ(button->titleOfSelectedItem(), "Alpha");
  EXPECT_TRUE(rec->events.empty());
  EXPECT_EQ(shownList(), nullptr);
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

// On a real display, with and without a window manager that frames the windows: a list
// clicked with a person's timing (press, 120 ms, release) stays open, the arrows and
// Return pick from it, and no request of the program is refused with an X error.
class PopUpListOnX11 : public ::testing::TestWithParam<bool> {};

TEST_P(PopUpListOnX11, AClickedListStaysOpenAndNoRequestFails) {
  testsupport::X11Harness x({}, GetParam());
  if (!x.ready()) GTEST_SKIP() << x.whyNot();
  auto* main = new NSWindow(NSMakeRect(100, 100, 600, 400), NSWindowStyleMaskTitled);
  main->setContentView(Ref<NSView>::adopt(new NSView).get());
  main->makeKeyAndOrderFront();
  auto* dialog = new NSWindow(NSMakeRect(200, 200, 400, 300), NSWindowStyleMaskTitled);
  dialog->setContentView(Ref<NSView>::adopt(new NSView).get());
  auto* button = new NSPopUpButton(NSMakeRect(20, 200, 200, 22));
  for (const char* title : {"off", "Alpha", "Gamma"})
    button->addItemWithTitle(title);
  button->selectItemAtIndex(1);
  dialog->contentView()->addSubview(button);
  button->release();
  dialog->makeKeyAndOrderFront();
  const std::string xid = std::to_string(x.backend().xWindowOf(dialog));
  ASSERT_TRUE(x.pumpUntil([&] {
    XWindowAttributes a{};
    return XGetWindowAttributes(x.display(), x.backend().xWindowOf(dialog), &a) &&
           a.map_state == IsViewable;
  }));
  setMenuTracker(NSMenuWindow::tracker());
  // Real time: the list's loop waits on the X connection, and the user keeps time.
  setClock(nullptr);
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // The button's middle, from the top left of the window's content.
    x.server().run({"xdotool", "mousemove", "--window", xid, "60", "89", "mousedown", "1"});
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    x.server().run({"xdotool", "mouseup", "1"});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    x.server().run({"xdotool", "key", "Down", "key", "Return"});
  });
  const bool picked = x.pumpUntil([&] { return button->indexOfSelectedItem() == 2; }, 10000);
  user.join();
  setClock(&x.platform().clock());
  setMenuTracker(&x.platform().menus());
  EXPECT_TRUE(picked) << "the list closed on the click, or did not open";
  x.settle();
  EXPECT_FALSE(x.platform().logged("X error"));
  dialog->close();
  main->close();
}

INSTANTIATE_TEST_SUITE_P(WindowManager, PopUpListOnX11, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "Framed" : "Bare"; });
