// Real input on an Xvfb of the test's own, made by xdotool as a user's hands would: clicks
// counted by time and distance, modifiers with the pointer and the keys, the other buttons,
// the pointer crossing between windows, and a keyboard layout changed while the program runs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/KeyboardLayout.h"
#include "support/X11Fixture.h"

using namespace platform;
using testsupport::RecordingView;
using testsupport::X11Display;

namespace {

class X11Input : public X11Display {
 protected:
  void SetUp() override {
    X11Display::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    window = show(NSMakeRect(100, 100, 200, 150));
    window->makeFirstResponder(view.get());
    ASSERT_TRUE(waitViewable(window));
    id = std::to_string(xidOf(window));
    ASSERT_TRUE(x->pumpUntil([&] { return focused(xidOf(window)); }));
  }
  // Runs the xdotool commands and waits until `count` events of the type arrived.
  std::vector<NSEvent> eventsOf(const std::vector<std::string>& command, NSEventType type,
                                int count) {
    view->events.clear();
    EXPECT_TRUE(x->xdotool(command));
    EXPECT_TRUE(x->pumpUntil([&] { return view->count(type) >= count; }))
        << view->count(type) << " events of type " << type;
    std::vector<NSEvent> out;
    for (const NSEvent& e : view->events)
      if (e.type == type) out.push_back(e);
    return out;
  }
  NSWindow* window = nullptr;
  std::string id;
};

TEST_F(X11Input, ClicksCountOnOnlyWhenSoonAndNearEnough) {
  ASSERT_TRUE(x->xdotool({"mousemove", "--window", id, "50", "50"}));
  struct Row {
    std::vector<std::string> command;  // after a middle click, which ends any run of clicks
    std::vector<int> counts;           // of the left presses
  };
  const Row rows[] = {
      {{"click", "--repeat", "3", "--delay", "60", "1"}, {1, 2, 3}},
      {{"click", "1", "mousemove_relative", "3", "3", "click", "1"}, {1, 2}},
      {{"click", "1", "mousemove_relative", "10", "0", "click", "1"}, {1, 1}},
      {{"click", "1", "sleep", "0.7", "click", "1"}, {1, 1}},
      {{"click", "1", "click", "3", "click", "1"}, {1, 1}},
  };
  for (const Row& r : rows) {
    std::vector<std::string> command = {"click", "2"};
    command.insert(command.end(), r.command.begin(), r.command.end());
    SCOPED_TRACE(::testing::PrintToString(r.command));
    std::vector<int> counts;
    for (const NSEvent& e : eventsOf(command, NSEventTypeLeftMouseDown, int(r.counts.size())))
      counts.push_back(e.clickCount);
    EXPECT_EQ(counts, r.counts);
  }
}

TEST_F(X11Input, ModifiersAndButtonsReachThePointerAndTheKeys) {
  ASSERT_TRUE(x->xdotool({"mousemove", "--window", id, "20", "30"}));
  // Ctrl is Command, Super is Control, Alt is Option.
  struct Modifier {
    const char* key;
    std::uint64_t flag;
  };
  const Modifier modifiers[] = {{"shift", NSEventModifierFlagShift},
                                {"ctrl", NSEventModifierFlagCommand},
                                {"super", NSEventModifierFlagControl},
                                {"alt", NSEventModifierFlagOption}};
  for (const Modifier& m : modifiers) {
    SCOPED_TRACE(m.key);
    auto downs =
        eventsOf({"keydown", m.key, "click", "1", "keyup", m.key}, NSEventTypeLeftMouseDown, 1);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].modifierFlags, m.flag);
    // The modifier key alone is a change of the flags, seen by whoever asks for them.
    ASSERT_TRUE(x->xdotool({"keydown", m.key}));
    EXPECT_TRUE(x->pumpUntil([&] { return NSEvent::currentModifierFlags() == m.flag; }));
    ASSERT_TRUE(x->xdotool({"keyup", m.key}));
    EXPECT_TRUE(x->pumpUntil([&] { return NSEvent::currentModifierFlags() == 0; }));
  }
  struct Key {
    const char* keys;
    const char* characters;
    const char* ignoringModifiers;
    std::uint64_t flags;
  };
  const Key keys[] = {
      {"shift+a", "A", "A", NSEventModifierFlagShift},
      {"super+a", "\x01", "a", NSEventModifierFlagControl},
      {"ctrl+shift+z", "Z", "Z", NSEventModifierFlagCommand | NSEventModifierFlagShift},
      {"Return", "\r", "\r", 0},
      {"KP_Enter", "\r", "\r", 0},
  };
  for (const Key& k : keys) {
    SCOPED_TRACE(k.keys);
    auto downs = eventsOf({"key", k.keys}, NSEventTypeKeyDown, 1);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].characters, k.characters);
    EXPECT_EQ(downs[0].charactersIgnoringModifiers, k.ignoringModifiers);
    EXPECT_EQ(downs[0].modifierFlags, k.flags);
  }
  // The middle button is 2, the side buttons follow as 3 and 4.
  for (auto [button, number] : {std::pair{"2", 2}, {"8", 3}, {"9", 4}}) {
    auto downs = eventsOf({"click", button}, NSEventTypeOtherMouseDown, 1);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].buttonNumber, number) << "button " << button;
  }
}

TEST_F(X11Display, ThePointerLeavesOneWindowAndEntersTheNext) {
  NSWindow* left = show(NSMakeRect(100, 300, 150, 100));
  Ref<RecordingView> leftView = view;
  NSWindow* right = show(NSMakeRect(300, 300, 150, 100));
  ASSERT_TRUE(waitViewable(left) && waitViewable(right));
  const std::string l = std::to_string(xidOf(left)), r = std::to_string(xidOf(right));
  ASSERT_TRUE(x->xdotool({"mousemove", "--window", l, "75", "50"}));
  ASSERT_TRUE(x->pumpUntil([&] { return leftView->count(NSEventTypeMouseEntered) > 0; }));
  leftView->events.clear();
  view->events.clear();
  ASSERT_TRUE(x->xdotool({"mousemove", "--window", r, "75", "50"}));
  ASSERT_TRUE(x->pumpUntil([&] { return view->count(NSEventTypeMouseEntered) > 0; }));
  x->settle();
  EXPECT_EQ(leftView->count(NSEventTypeMouseExited), 1);
  EXPECT_EQ(leftView->count(NSEventTypeMouseEntered), 0);
  EXPECT_EQ(view->count(NSEventTypeMouseEntered), 1);
  // Its location is the right window's own.
  EXPECT_EQ(view->last(NSEventTypeMouseEntered)->locationInWindow, NSMakePoint(75, 50));
}

TEST_F(X11Input, ALayoutSetWhileTheProgramRunsTakesEffectAtOnce) {
  if (x->server().run({"setxkbmap", "de"}) != 0) GTEST_SKIP() << "setxkbmap cannot run";
  // The key in the Y position gives z, and the layout services see it the same way.
  ASSERT_TRUE(x->pumpUntil([] {
    std::uint32_t dead = 0;
    return NSKeyboardLayout::current()->translate(0x10, dead) == u"z";
  })) << "the program kept the keymap it started with";
  auto downs = eventsOf({"key", "z"}, NSEventTypeKeyDown, 1);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].characters, "z");
  EXPECT_EQ(downs[0].keyCode, 0x10);  // where the key is, whatever it says
  ASSERT_EQ(x->server().run({"setxkbmap", "us"}), 0);
  EXPECT_TRUE(x->pumpUntil([] {
    std::uint32_t dead = 0;
    return NSKeyboardLayout::current()->translate(0x10, dead) == u"y";
  }));
  EXPECT_FALSE(x->platform().logged("X error"));
}

TEST_F(X11Input, DragsAreOfTheButtonHeldAndCapsLockShiftsLetters) {
  struct Drag {
    const char* button;
    NSEventType type;
    int number;
  } drags[] = {{"1", NSEventTypeLeftMouseDragged, 0},
               {"3", NSEventTypeRightMouseDragged, 1},
               {"2", NSEventTypeOtherMouseDragged, 2}};
  for (const Drag& d : drags) {
    SCOPED_TRACE(d.button);
    ASSERT_TRUE(x->xdotool({"mousemove", "--window", id, "40", "40"}));
    auto moved = eventsOf(
        {"mousedown", d.button, "mousemove_relative", "15", "10", "mouseup", d.button}, d.type, 1);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].buttonNumber, d.number);
    EXPECT_EQ(moved[0].locationInWindow, NSMakePoint(55, 150 - 50));
  }
  // Caps Lock is a flag while it is on (its key itself is no key-down), and letters come out
  // capital.
  for (auto [characters, flags] :
       {std::pair{"A", NSEventModifierFlagCapsLock}, {"a", std::uint64_t{0}}}) {
    auto downs = eventsOf({"key", "Caps_Lock", "key", "a"}, NSEventTypeKeyDown, 1);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].characters, characters);
    EXPECT_EQ(downs[0].modifierFlags, flags);
  }
  EXPECT_FALSE(x->platform().logged("X error"));
}

// The buttons held, as anyone may ask for them between events: set by presses, cleared by
// releases, and cleared too when the window pressed in closed before the release.
TEST_F(X11Display, TheButtonsHeldFollowThePointerEvenWhenTheWindowPressedInCloses) {
  class ClosingView : public RecordingView {
   public:
    using RecordingView::RecordingView;
    void mouseDown(const NSEvent& e) override {
      RecordingView::mouseDown(e);
      window()->close();
    }
  };
  NSWindow* stays = show(NSMakeRect(300, 300, 150, 100));
  Ref<RecordingView> staysView = view;
  ASSERT_TRUE(waitViewable(stays));
  const std::string staysId = std::to_string(xidOf(stays));
  ASSERT_TRUE(x->xdotool({"mousemove", "--window", staysId, "20", "20"}));
  struct Press {
    const char* button;
    unsigned bit;
  } presses[] = {{"1", 1u << 0}, {"3", 1u << 1}, {"2", 1u << 2}};
  for (const Press& p : presses) {
    SCOPED_TRACE(p.button);
    ASSERT_TRUE(x->xdotool({"mousedown", p.button}));
    EXPECT_TRUE(x->pumpUntil([&] { return NSEvent::pressedMouseButtons() == p.bit; }));
    ASSERT_TRUE(x->xdotool({"mouseup", p.button}));
    EXPECT_TRUE(x->pumpUntil([&] { return NSEvent::pressedMouseButtons() == 0; }));
  }
  // A window that closes on the press: its release reaches no window of the program.
  auto* closing = new NSWindow(NSMakeRect(100, 100, 150, 100), testsupport::kDocumentStyle);
  auto closingView = Ref<ClosingView>::adopt(new ClosingView(NSMakeRect(0, 0, 150, 100)));
  closing->setContentView(closingView.get());
  closing->makeKeyAndOrderFront();
  NSApp()->updateWindows();
  ASSERT_TRUE(waitViewable(closing));
  ASSERT_TRUE(x->xdotool({"mousemove", "--window", std::to_string(xidOf(closing)), "20", "20"}));
  ASSERT_TRUE(x->xdotool({"mousedown", "1"}));
  ASSERT_TRUE(x->pumpUntil([&] { return closingView->count(NSEventTypeLeftMouseDown) == 1; }));
  ASSERT_TRUE(x->xdotool({"mouseup", "1", "mousemove", "--window", staysId, "30", "30"}));
  EXPECT_TRUE(x->pumpUntil([&] { return staysView->count(NSEventTypeMouseMoved) > 0; }));
  EXPECT_EQ(NSEvent::pressedMouseButtons(), 0u) << "a button is still held after its release";
  EXPECT_FALSE(x->platform().logged("X error"));
}

}  // namespace
