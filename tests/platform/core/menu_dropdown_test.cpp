// Drop-down lists: the menus of pop-up buttons and combo boxes, opened by a press, a click or
// the keys, in the headless backend and on a real display.

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
