#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Button.h"
#include "platform/core/MenuWindow.h"
#include "platform/core/Panel.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/TextField.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/ControlRecorders.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

// Logs its key and main status and what it tells its delegate. A panel-like one takes key
// status only, as a panel does.
class TracingWindow : public NSWindow, public NSWindowDelegate {
 public:
  TracingWindow(std::vector<std::string>* log, std::string name, bool panelLike = false)
      : NSWindow(NSMakeRect(0, 0, 100, 100), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable),
        mLog(log),
        mName(std::move(name)),
        mPanelLike(panelLike) {
    setDelegate(this);
  }
  bool canBecomeMainWindow() const override { return !mPanelLike; }
  void becomeKeyWindow() override {
    mLog->push_back(mName + " become key");
    NSWindow::becomeKeyWindow();
  }
  void resignKeyWindow() override {
    mLog->push_back(mName + " resign key");
    NSWindow::resignKeyWindow();
  }
  void becomeMainWindow() override { mLog->push_back(mName + " become main"); }
  void resignMainWindow() override { mLog->push_back(mName + " resign main"); }
  bool windowShouldClose(NSWindow*) override {
    mLog->push_back(mName + " should close");
    return allowClose;
  }
  void windowWillClose(NSWindow*) override { mLog->push_back(mName + " will close"); }
  void windowDidMove(NSWindow*) override { mLog->push_back(mName + " moved"); }
  void windowDidResize(NSWindow*) override { mLog->push_back(mName + " resized"); }
  bool allowClose = false;

 private:
  std::vector<std::string>* mLog;
  std::string mName;
  bool mPanelLike;
};

class Responder : public NSView {
 public:
  Responder(std::vector<std::string>* log, std::string name, bool resigns = true)
      : NSView(NSMakeRect(0, 0, 10, 10)), mLog(log), mName(std::move(name)), mResigns(resigns) {}
  bool acceptsFirstResponder() const override { return accepts; }
  bool becomeFirstResponder() override {
    mLog->push_back(mName + " become");
    return true;
  }
  bool resignFirstResponder() override {
    mLog->push_back(mName + " resign");
    return mResigns;
  }
  bool accepts = true;

 private:
  std::vector<std::string>* mLog;
  std::string mName;
  bool mResigns;
};

// Logs the mouse events and gestures it receives, under its name.
struct Tracker : NSView {
  Tracker(std::vector<std::string>* log, std::string name, NSRect frame)
      : NSView(frame), log(log), name(std::move(name)) {}
  std::vector<std::string>* log;
  std::string name;
  void note(const char* what) { log->push_back(name + " " + what); }
  void mouseDown(const NSEvent&) override { note("down"); }
  void mouseDragged(const NSEvent&) override { note("drag"); }
  void mouseUp(const NSEvent&) override { note("up"); }
  void rightMouseDown(const NSEvent&) override { note("right down"); }
  void rightMouseDragged(const NSEvent&) override { note("right drag"); }
  void rightMouseUp(const NSEvent&) override { note("right up"); }
  void otherMouseDown(const NSEvent&) override { note("other down"); }
  void otherMouseDragged(const NSEvent&) override { note("other drag"); }
  void otherMouseUp(const NSEvent&) override { note("other up"); }
  void scrollWheel(const NSEvent&) override { note("wheel"); }
  void magnifyWithEvent(const NSEvent&) override { note("magnify"); }
  void rotateWithEvent(const NSEvent&) override { note("rotate"); }
  void swipeWithEvent(const NSEvent&) override { note("swipe"); }
};

class NSWindowTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  std::vector<std::string> log;
};

// Key and main status each go to the front-most window that takes them, the old holder
// resigning before the new one becomes: a panel in front takes key status only, and main
// status passes it by to the document window behind.
TEST_F(NSWindowTest, KeyAndMainStatusGoToTheFrontMostWindowsThatTakeThem) {
  auto* a = new TracingWindow(&log, "a");
  auto* b = new TracingWindow(&log, "b");
  auto* panel = new TracingWindow(&log, "p", true);
  using Log = std::vector<std::string>;
  struct Step {
    std::function<void()> act;
    Log expected;
    NSWindow* key;
    NSWindow* main;
  } steps[] = {
      {[&] { a->makeKeyAndOrderFront(); }, {"a become key", "a become main"}, a, a},
      {[&] { b->makeKeyAndOrderFront(); },
       {"a resign key", "b become key", "a resign main", "b become main"},
       b,
       b},
      {[&] { panel->makeKeyAndOrderFront(); }, {"b resign key", "p become key"}, panel, b},
      {[&] { b->orderOut(); }, {"b resign main", "a become main"}, panel, a},
      {[&] { panel->close(); }, {"p will close", "p resign key", "a become key"}, a, a},
      {[&] { a->orderOut(); }, {"a resign key", "a resign main"}, nullptr, nullptr},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    log.clear();
    steps[i].act();
    EXPECT_EQ(log, steps[i].expected) << "step " << i;
    EXPECT_EQ(NSApp()->keyWindow(), steps[i].key) << "step " << i;
    EXPECT_EQ(NSApp()->mainWindow(), steps[i].main) << "step " << i;
  }
  a->close();
  b->close();
}

TEST_F(NSWindowTest, FirstResponderProtocolHonoursRefusals) {
  auto* w = new NSWindow(NSMakeRect(0, 0, 100, 100), NSWindowStyleMaskTitled);
  auto* content = new NSView(NSMakeRect(0, 0, 100, 100));
  w->setContentView(content);
  content->release();
  auto* stubborn = new Responder(&log, "stubborn", false);
  auto* other = new Responder(&log, "other");
  content->addSubview(stubborn);
  content->addSubview(other);
  stubborn->release();
  other->release();
  EXPECT_TRUE(w->makeFirstResponder(stubborn));
  EXPECT_FALSE(w->makeFirstResponder(other));
  EXPECT_EQ(w->firstResponder(), stubborn);
  log.clear();
  other->accepts = false;
  Responder* third = new Responder(&log, "third");
  content->addSubview(third);
  third->release();
  EXPECT_FALSE(w->makeFirstResponder(other));
  EXPECT_EQ(log, (std::vector<std::string>{"stubborn resign"}));
  w->close();
}

TEST_F(NSWindowTest, CloseBoxAsksTheDelegateAndReleasesWhenClosed) {
  auto* w = new TracingWindow(&log, "w");
  w->makeKeyAndOrderFront();
  h.closeBox(w);
  h.runUntilIdle();
  EXPECT_TRUE(w->isVisible());
  w->allowClose = true;
  log.clear();
  h.closeBox(w);
  h.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"w should close", "w will close", "w resign key",
                                           "w resign main"}));
  EXPECT_FALSE(isLiveObject(w));
}

TEST_F(NSWindowTest, AWindowNotReleasedWhenClosedStaysAliveAndCanReturn) {
  auto* w = new NSWindow(NSMakeRect(0, 0, 10, 10), NSWindowStyleMaskTitled);
  w->setReleasedWhenClosed(false);
  w->close();
  EXPECT_TRUE(isLiveObject(w));
  EXPECT_TRUE(NSApp()->windows().empty() || NSApp()->windows().back() != w);
  w->makeKeyAndOrderFront();
  EXPECT_TRUE(w->isVisible());
  w->close();
  w->release();
}

TEST_F(NSWindowTest, FrameContentRectMovesResizesAndLimits) {
  auto* w = new TracingWindow(&log, "w");
  EXPECT_EQ(w->contentRect(), NSMakeRect(0, 0, 100, 100));
  w->setFrameOrigin({50, 60});
  w->setContentSize({200, 80});
  EXPECT_EQ(w->contentRect(), NSMakeRect(50, 80, 200, 80));
  EXPECT_EQ(w->contentView(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"w moved", "w resized", "w moved"}));
  w->setMinSize({150, 50});
  w->setMaxSize({300, 90});
  w->resizeByUser({10, 500});
  EXPECT_EQ(w->contentRect().size, (NSSize{150, 90}));
  w->close();
}

TEST_F(NSWindowTest, ChildWindowsStayInFrontAndLeaveWithTheirParent) {
  auto* parent = new NSWindow(NSMakeRect(0, 0, 10, 10), NSWindowStyleMaskTitled);
  auto* child = new NSPanel(NSMakeRect(0, 0, 10, 10), NSWindowStyleMaskTitled);
  auto* other = new NSWindow(NSMakeRect(0, 0, 10, 10), NSWindowStyleMaskTitled);
  parent->addChildWindow(child, NSWindowAbove);
  child->orderFront();
  parent->orderFront();
  other->orderFront();
  parent->orderFront();
  EXPECT_EQ(NSApp()->orderedWindows(), (std::vector<NSWindow*>{child, parent, other}));
  EXPECT_EQ(child->parentWindow(), parent);
  parent->close();
  EXPECT_EQ(child->parentWindow(), nullptr);
  EXPECT_FALSE(child->isVisible());
  child->close();
  other->close();
}

// Windows keep in front of those of lower levels however they are ordered: a floating
// panel over the document windows, a menu over everything; within a level the last ordered
// front is in front, the last ordered back behind.
TEST_F(NSWindowTest, WindowsStayInFrontOfLowerLevels) {
  auto make = [](int level) {
    auto* w = new NSWindow(NSMakeRect(0, 0, 10, 10), NSWindowStyleMaskTitled);
    w->setLevel(level);
    return w;
  };
  NSWindow* a = make(NSNormalWindowLevel);
  NSWindow* b = make(NSNormalWindowLevel);
  NSWindow* palette = make(NSFloatingWindowLevel);
  NSWindow* menu = make(NSPopUpMenuWindowLevel);
  using Order = std::vector<NSWindow*>;
  struct Step {
    std::function<void()> act;
    Order front;
  } steps[] = {
      {[&] { menu->orderFront(); }, {menu}},
      {[&] { palette->orderFront(); }, {menu, palette}},
      {[&] { a->orderFront(); }, {menu, palette, a}},
      {[&] { b->makeKeyAndOrderFront(); }, {menu, palette, b, a}},
      {[&] { palette->orderBack(); }, {menu, palette, b, a}},
      {[&] { b->orderBack(); }, {menu, palette, a, b}},
      {[&] { palette->setLevel(NSNormalWindowLevel); }, {menu, palette, a, b}},
      {[&] { b->orderFront(); }, {menu, b, palette, a}},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    EXPECT_EQ(NSApp()->orderedWindows(), steps[i].front) << "step " << i;
  }
  for (NSWindow* w : Order{a, b, palette, menu})
    w->close();
}

TEST_F(NSWindowTest, FirstClickOnAnInactiveWindowActivatesItOnly) {
  struct Clicky : NSView {
    using NSView::NSView;
    int downs = 0;
    bool firstMouse = false;
    void mouseDown(const NSEvent&) override { ++downs; }
    bool acceptsFirstMouse(const NSEvent*) override { return firstMouse; }
  };
  auto* a = new NSWindow(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  auto* b = new NSWindow(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  auto* view = new Clicky(NSMakeRect(0, 0, 50, 50));
  a->setContentView(view);
  view->release();
  b->makeKeyAndOrderFront();
  h.click(a, {5, 5});
  h.runUntilIdle();
  EXPECT_TRUE(a->isKeyWindow());
  EXPECT_EQ(view->downs, 0);
  h.click(a, {5, 5});
  h.runUntilIdle();
  EXPECT_EQ(view->downs, 1);
  b->makeKeyAndOrderFront();
  view->firstMouse = true;
  h.click(a, {5, 5});
  h.runUntilIdle();
  EXPECT_EQ(view->downs, 2);
  a->close();
  b->close();
}

TEST_F(NSWindowTest, DragAndReleaseGoToTheViewThatTookThePress) {
  auto* w = new NSWindow(NSMakeRect(0, 0, 100, 50), NSWindowStyleMaskTitled);
  auto* content = new NSView(NSMakeRect(0, 0, 100, 50));
  w->setContentView(content);
  content->release();
  auto* left = new Tracker(&log, "left", NSMakeRect(0, 0, 50, 50));
  auto* right = new Tracker(&log, "right", NSMakeRect(50, 0, 50, 50));
  content->addSubview(left);
  content->addSubview(right);
  left->release();
  right->release();
  w->makeKeyAndOrderFront();
  h.drag(w, {10, 10}, {90, 10}, 2);
  h.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"left down", "left drag", "left drag", "left up"}));
  w->close();
}

TEST_F(NSWindowTest, TheViewUnderThePointerHearsItComeAndGoDragsAndHidingIncluded) {
  struct Hover : NSView {
    Hover(std::vector<std::string>* log, std::string name, NSRect frame)
        : NSView(frame), log(log), name(std::move(name)) {}
    std::vector<std::string>* log;
    std::string name;
    void mouseEntered(const NSEvent&) override { log->push_back(name + " entered"); }
    void mouseExited(const NSEvent&) override { log->push_back(name + " exited"); }
  };
  auto* w = new NSWindow(NSMakeRect(0, 0, 100, 50), NSWindowStyleMaskTitled);
  w->setReleasedWhenClosed(false);
  auto* content = new NSView(NSMakeRect(0, 0, 100, 50));
  w->setContentView(content);
  content->release();
  auto* left = new Hover(&log, "left", NSMakeRect(0, 0, 50, 50));
  auto* right = new Hover(&log, "right", NSMakeRect(50, 0, 50, 50));
  content->addSubview(left);
  content->addSubview(right);
  left->release();
  right->release();
  w->makeKeyAndOrderFront();

  using Log = std::vector<std::string>;
  struct Step {
    std::function<void()> act;
    Log expected;
  } steps[] = {
      {[&] {
         h.move(w, {10, 10});
       },
       {"left entered"}},
      {[&] {
         h.move(w, {20, 10});
       },
       {}},
      {[&] {
         h.move(w, {90, 10});
       },
       {"left exited", "right entered"}},
      {[&] { h.exitWindow(w); }, {"right exited"}},
      {[&] { h.exitWindow(w); }, {}},
      // A drag that leaves the window keeps its view until the release.
      {[&] {
         h.mouseDown(w, {10, 10});
         NSEvent drag;
         drag.type = NSEventTypeLeftMouseDragged;
         drag.window = w;
         drag.locationInWindow = {150, 10};
         h.post(drag);
         h.exitWindow(w);
       },
       {"left entered"}},
      {[&] {
         h.mouseUp(w, {150, 10});
       },
       {"left exited"}},
      {[&] {
         h.move(w, {90, 10});
       },
       {"right entered"}},
      {[&] { w->orderOut(); }, {"right exited"}},
      {[&] {
         w->makeKeyAndOrderFront();
         h.move(w, {10, 10});
       },
       {"left entered"}},
      {[&] { w->close(); }, {"left exited"}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    log.clear();
    steps[i].act();
    h.runUntilIdle();
    EXPECT_EQ(log, steps[i].expected) << "step " << i;
  }
  EXPECT_EQ(w->mouseView(), nullptr);
  w->release();
}

}  // namespace

// The keyboard in a window of controls: Tab and Shift+Tab walk the controls that can take
// the focus in reading order (whatever order they were made in), round the ends; Space
// presses the focused button or opens the focused list; the focused control is ringed
// while its window is key; a text field left by Tab ends its editing.
TEST_F(NSWindowTest, TabWalksTheControlsInReadingOrderAndRingsTheFocusedOne) {
  auto rec = Ref<testsupport::ControlRecorder>::adopt(new testsupport::ControlRecorder);
  auto* w = new NSWindow(NSMakeRect(100, 100, 400, 300), NSWindowStyleMaskTitled);
  w->setContentView(Ref<NSView>::adopt(new NSView).get());
  w->setAutorecalculatesKeyViewLoop(true);
  std::map<NSView*, std::string> names;
  auto add = [&](NSControl* control, const char* name, NSRect frame) {
    control->setFrame(frame);
    control->setTarget(rec.get());
    control->setDelegate(rec.get());
    w->contentView()->addSubview(control);
    control->release();
    names[control] = name;
    return control;
  };
  add(new NSButton, "ok", NSMakeRect(260, 20, 80, 24));
  add(new NSButton, "cancel", NSMakeRect(170, 20, 80, 24));
  add(new NSButton, "disabled", NSMakeRect(80, 20, 80, 24))->setEnabled(false);
  add(new NSButton, "hidden", NSMakeRect(20, 60, 80, 24))->setHidden(true);
  auto* label =
      static_cast<NSTextField*>(add(new NSTextField, "label", NSMakeRect(20, 150, 150, 22)));
  label->setSelectable(false);
  auto* list =
      static_cast<NSPopUpButton*>(add(new NSPopUpButton, "list", NSMakeRect(20, 200, 150, 22)));
  list->addItemWithTitle("one");
  add(new NSTextField, "field", NSMakeRect(20, 250, 150, 22));
  w->makeKeyAndOrderFront();
  auto focused = [&] {
    NSView* v = w->focusedKeyView();
    return v ? names[v] : std::string("none");
  };
  std::vector<std::string> loop;
  for (NSView* v : w->keyViewLoop())
    loop.push_back(names[v]);
  EXPECT_EQ(loop, (std::vector<std::string>{"field", "list", "cancel", "ok"}));

  constexpr std::uint16_t kTab = 48, kSpace = 49;
  const std::uint64_t kShift = NSEventModifierFlagShift;
  struct Step {
    std::uint16_t key;
    std::uint64_t modifiers;
    const char* focused;
  } steps[] = {{kTab, 0, "field"},       {kTab, 0, "list"},     {kTab, 0, "cancel"},
               {kTab, 0, "ok"},          {kTab, 0, "field"},    {kTab, kShift, "ok"},
               {kTab, kShift, "cancel"}, {kSpace, 0, "cancel"}, {kTab, kShift, "list"},
               {kSpace, 0, "list"}};
  const std::uint32_t face = testsupport::PlatformHarness::pixelAt(w, 390, 290);
  // A pixel inside a control's edges, above the line of its title.
  const auto inside = [&](const NSRect& r) {
    return testsupport::PlatformHarness::pixelAt(w, r.minX() + 4.5, r.maxY() - 3.5);
  };
  for (const Step& step : steps) {
    h.key(w, step.key, step.key == kSpace ? " " : "\t", step.modifiers);
    h.runUntilIdle();
    EXPECT_EQ(focused(), step.focused);
    // The ring runs along the focused control's edges, and nowhere else.
    for (const auto& [view, name] : names) {
      if (view->isHidden()) continue;
      const NSRect r = view->frame();
      const bool ringed =
          testsupport::PlatformHarness::pixelAt(w, r.minX() + 1.5, r.midY()) ==
              testsupport::PlatformHarness::pixelAt(w, r.maxX() - 1.5, r.midY()) &&
          testsupport::PlatformHarness::pixelAt(w, r.minX() + 1.5, r.midY()) != inside(r) &&
          testsupport::PlatformHarness::pixelAt(w, r.minX() + 1.5, r.midY()) != face;
      EXPECT_EQ(ringed, name == step.focused) << name << " after " << step.focused;
    }
  }
  // Space pressed the button once and opened the list once; each time Tab left the field
  // its editing ended.
  EXPECT_EQ(std::count(rec->events.begin(), rec->events.end(), "action 0"), 1);
  EXPECT_EQ(h.menus().popped().size(), 1u);
  EXPECT_EQ(std::count(rec->events.begin(), rec->events.end(), "end "), 2);
  // The ring shows only in the key window.
  auto* other = new NSWindow(NSMakeRect(600, 100, 100, 100), NSWindowStyleMaskTitled);
  other->makeKeyAndOrderFront();
  w->displayIfNeeded();
  const NSRect r = list->frame();
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, r.minX() + 1.5, r.midY()), inside(r));
  other->close();
  w->close();
}

// Geometry that is no number is refused with a diagnostic: the window keeps its frame, its
// delegate hears of no move or resize, and its content view keeps its size.
TEST_F(NSWindowTest, GeometryThatIsNoNumberLeavesTheWindowAsItWas) {
  const double nan = std::nan(""), inf = HUGE_VAL;
  auto* w = new TracingWindow(&log, "w");
  w->setContentView(Ref<NSView>::adopt(new NSView).get());
  w->setFrame(NSMakeRect(40, 50, 200, 150), false);
  const NSRect frame = w->frame();
  const NSRect content = w->contentView()->frame();
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"frame x", [&] { w->setFrame(NSMakeRect(nan, 50, 200, 150), true); }},
      {"frame height", [&] { w->setFrame(NSMakeRect(40, 50, 200, inf), true); }},
      {"origin",
       [&] {
         w->setFrameOrigin({-inf, 0});
       }},
      {"content size",
       [&] {
         w->setContentSize({nan, 100});
       }},
      {"user resize",
       [&] {
         w->resizeByUser({100, nan});
       }},
  };
  for (const auto& [name, change] : changes) {
    log.clear();
    change();
    EXPECT_EQ(w->frame(), frame) << name;
    EXPECT_EQ(w->contentView()->frame(), content) << name;
    EXPECT_EQ(log, std::vector<std::string>{}) << name;
  }
  EXPECT_TRUE(h.logged("no number"));
  // Limits that are no number limit nothing; a user resize still lands on numbers.
  w->setMinSize({nan, nan});
  w->setMaxSize({inf, nan});
  w->resizeByUser({120, 80});
  EXPECT_EQ(w->contentRect().size, (NSSize{120, 80}));
  // A new style keeps the content where it was; the frame follows.
  w->setStyleMask(NSWindowStyleMaskBorderless);
  EXPECT_EQ(w->frame().size, (NSSize{120, 80}));
  w->setStyleMask(NSWindowStyleMaskTitled);
  EXPECT_EQ(w->contentRect().size, (NSSize{120, 80}));
  EXPECT_EQ(w->frame().size.height, 80 + NSWindow::kTitleBarHeight);
  w->close();
}

// Every button's press, drags and release go to the view that took the press, however far the
// pointer goes; gestures and the wheel go to the view under the pointer.
TEST_F(NSWindowTest, EachButtonsDragGoesToThePressedViewAndGesturesToTheViewUnderThePointer) {
  auto* w = new NSWindow(NSMakeRect(0, 0, 100, 50), NSWindowStyleMaskTitled);
  w->setContentView(Ref<NSView>::adopt(new NSView(NSMakeRect(0, 0, 100, 50))).get());
  for (auto [name, x] : {std::pair{"left", 0.0}, std::pair{"right", 50.0}}) {
    auto* t = new Tracker(&log, name, NSMakeRect(x, 0, 50, 50));
    w->contentView()->addSubview(t);
    t->release();
  }
  w->makeKeyAndOrderFront();
  const NSPoint inLeft{10, 10}, inRight{80, 10};
  using Log = std::vector<std::string>;
  struct Row {
    NSEventType down, dragged, up;
    Log expected;
  } rows[] = {
      {NSEventTypeRightMouseDown,
       NSEventTypeRightMouseDragged,
       NSEventTypeRightMouseUp,
       {"left right down", "left right drag", "left right up"}},
      {NSEventTypeOtherMouseDown,
       NSEventTypeOtherMouseDragged,
       NSEventTypeOtherMouseUp,
       {"left other down", "left other drag", "left other up"}},
  };
  for (const Row& row : rows) {
    log.clear();
    for (auto [type, at] : {std::pair{row.down, inLeft}, std::pair{row.dragged, inRight},
                            std::pair{row.up, inRight}}) {
      NSEvent e;
      e.type = type;
      e.window = w;
      e.locationInWindow = at;
      h.post(e);
    }
    h.runUntilIdle();
    EXPECT_EQ(log, row.expected);
  }
  log.clear();
  h.scroll(w, inRight, 0, 1);
  h.pinch(w, inLeft, 0.5);
  h.rotate(w, inRight, 10);
  h.swipe(w, inLeft, 1, 0);
  h.swipe(w, {500, 500}, 1, 0);  // over no view: nobody
  h.runUntilIdle();
  EXPECT_EQ(log, (Log{"right wheel", "left magnify", "right rotate", "left swipe"}));
  w->close();
}
