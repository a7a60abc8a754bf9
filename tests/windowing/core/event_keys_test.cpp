#include <cmath>
#include <limits>
#include <thread>

#include "platform/display/detail/TestHooks.h"
#include "support/EventTest.h"
#include "windowing/Win32.h"
#include "windowing/core/EventSupport.h"

using testsupport::EventTest;
using testsupport::messagesMatch;
using testsupport::messagesOf;

namespace {

class KeyTest : public EventTest {
 protected:
  void focus(HWND hwnd) { window->makeFirstResponder(view(hwnd)); }
};

TEST_F(KeyTest, KeysReachTheFocusedWindowWithVirtualKeyAndFlags) {
  HWND c = child(main, 0, 0, 100, 80);
  focus(c);
  log.clear();
  h.key(window, 0, "a", platform::NSEventModifierFlagShift);
  h.keyUp(window, 0, "a", platform::NSEventModifierFlagShift);
  h.runUntilIdle();
  EXPECT_TRUE(
      messagesMatch(messagesOf(log.messages(), c),
                    {{WM_KEYDOWN, 'A', FVIRTKEY | FSHIFT}, {WM_KEYUP, 'A', FVIRTKEY | FSHIFT}},
                    {WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(KeyTest, AKeyAnswered69GoesOnToTheParentAndAnyOtherAnswerStopsIt) {
  HWND c = child(main, 0, 0, 100, 80);
  focus(c);
  log.clear();
  // The default procedure answers 69: the parent window object gets the key too.
  h.key(window, 0, "x");
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_KEYDOWN, c), 1);
  EXPECT_EQ(log.count(WM_KEYDOWN, main), 1);
  log.clear();
  log.answer([c](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == c && msg == WM_KEYDOWN) return 0;
    return std::nullopt;
  });
  h.key(window, 0, "x");
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_KEYDOWN, c), 1);
  EXPECT_EQ(log.count(WM_KEYDOWN, main), 0);
}

struct KeyCase {
  std::uint16_t keyCode;
  const char* characters;
  std::uint64_t modifiers;
  int key;
  int flags;
};

TEST(KeyTranslation, KeyCodesCharactersAndFlags) {
  SWELL_EnableRightClickEmulate(1);
  const KeyCase cases[] = {
      {76, "\x03", 0, 0x800D, FVIRTKEY},                                     // keypad Enter
      {36, "\r", 0, VK_RETURN, FVIRTKEY},                                    // Return
      {0, "a", platform::NSEventModifierFlagShift, 'A', FVIRTKEY | FSHIFT},  // Shift+a
      {18, "!", platform::NSEventModifierFlagShift, '!', 0},                 // Shift+1: a character
      {48, "\x19", platform::NSEventModifierFlagShift, VK_TAB, FVIRTKEY | FSHIFT},  // back-tab
      // Control is the right button while emulation is on, so it is not reported.
      {0, "c", platform::NSEventModifierFlagControl, 'C', FVIRTKEY},
      {10, "", 0, 1034, FVIRTKEY},              // no characters: the code, unmapped
      {0, "\xEF\x9C\x84", 0, VK_F1, FVIRTKEY},  // the platform's F1 character
      {0, "\xC3\xA9", platform::NSEventModifierFlagShift, 0xE9, 0},
      {0, "\xC3", 0, 1024, FVIRTKEY},  // a cut sequence is no character
  };
  for (const auto& kc : cases) {
    platform::NSEvent e;
    e.type = platform::NSEventTypeKeyDown;
    e.keyCode = kc.keyCode;
    e.charactersIgnoringModifiers = kc.characters;
    e.modifierFlags = kc.modifiers;
    int flags = -1;
    EXPECT_EQ(SWELL_MacKeyToWindowsKey(const_cast<platform::NSEvent*>(&e), &flags), kc.key)
        << kc.keyCode;
    EXPECT_EQ(flags, kc.flags) << kc.keyCode;
  }
  EXPECT_EQ(SWELL_MacKeyToWindowsKey(nullptr, nullptr), 0);
  SWELL_EnableRightClickEmulate(0);
  platform::NSEvent e;
  e.charactersIgnoringModifiers = "c";
  e.modifierFlags = platform::NSEventModifierFlagControl;
  int flags = 0;
  SWELL_MacKeyToWindowsKey(const_cast<platform::NSEvent*>(&e), &flags);
  EXPECT_EQ(flags, FVIRTKEY | FLWIN);
  SWELL_EnableRightClickEmulate(1);
}

TEST(KeyTranslation, TypedCharactersAndTheLayoutInModeOne) {
  struct ModeCase {
    std::uint16_t keyCode;
    const char* typed;
    const char* ignoringModifiers;
    int key;
  };
  const ModeCase cases[] = {
      {18, "!", "1", '!'},  // typed characters first
      {0, "", "", 'a'},     // none typed: the US layout's character for the key
  };
  for (const auto& c : cases) {
    platform::NSEvent e;
    e.type = platform::NSEventTypeKeyDown;
    e.keyCode = c.keyCode;
    e.characters = c.typed;
    e.charactersIgnoringModifiers = c.ignoringModifiers;
    e.modifierFlags = platform::NSEventModifierFlagShift;
    int flags = -1;
    EXPECT_EQ(SWELL_MacKeyToWindowsKeyEx(&e, &flags, 1), c.key) << c.keyCode;
    EXPECT_EQ(flags & FSHIFT, 0) << c.keyCode;
  }
  int flags = FVIRTKEY | FSHIFT;
  EXPECT_EQ(SWELL_KeyToASCII('2', flags, &flags), '@');
  EXPECT_EQ(flags, 0);
  flags = FVIRTKEY | FSHIFT | FCONTROL;
  EXPECT_EQ(SWELL_KeyToASCII('2', flags, &flags), 0);
  EXPECT_EQ(flags, FVIRTKEY | FSHIFT | FCONTROL);
}

TEST(KeyTranslation, AsyncKeyStateIsTheLastDispatchedState) {
  SWELL_EnableRightClickEmulate(0);
  platform::NSEvent::noteModifierFlags(platform::NSEventModifierFlagShift |
                                       platform::NSEventModifierFlagControl);
  platform::NSEvent down;
  down.type = platform::NSEventTypeRightMouseDown;
  platform::NSEvent::noteMouseEvent(down, {10, 10});
  const std::pair<int, WORD> keys[] = {
      {VK_SHIFT, 0x8000},   {VK_CONTROL, 0}, {VK_MENU, 0}, {VK_LWIN, 0x8000},
      {VK_RBUTTON, 0x8000}, {VK_LBUTTON, 0}, {'A', 0}};
  for (auto [key, state] : keys) {
    WORD fromThread = 0;
    std::thread([&fromThread, key = key] { fromThread = GetAsyncKeyState(key); }).join();
    EXPECT_EQ(fromThread, state) << key;
  }
  SWELL_EnableRightClickEmulate(1);
  EXPECT_EQ(GetAsyncKeyState(VK_LWIN), 0);
  platform::resetMouseStateForTesting();
  platform::NSEvent::noteModifierFlags(0);
}

class GestureTest : public EventTest {
 protected:
  std::vector<GESTUREINFO> records;
  std::vector<WPARAM> wParams;
  HWND target = nullptr;

  void SetUp() override {
    EventTest::SetUp();
    target = child(main, 0, 0, 100, 80);
    log.answer([this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
      if (hwnd != target || msg != WM_GESTURE) return std::nullopt;
      records.push_back(*reinterpret_cast<GESTUREINFO*>(lParam));
      wParams.push_back(wParam);
      return 1;
    });
  }
  std::uint64_t pinchEnd(double magnification) {
    records.clear();
    wParams.clear();
    h.pinch(window, at(target, 5, 5), magnification);
    h.runUntilIdle();
    EXPECT_EQ(records.size(), 2u);
    return records.size() == 2 ? records[1].ullArguments : 0;
  }
  std::uint64_t rotateEnd(double degrees) {
    records.clear();
    wParams.clear();
    h.rotate(window, at(target, 5, 5), degrees);
    h.runUntilIdle();
    EXPECT_EQ(records.size(), 2u);
    return records.size() == 2 ? records[1].ullArguments : 0;
  }
};

TEST_F(GestureTest, PinchSendsBeginAndEndWithZoomArguments) {
  EXPECT_EQ(pinchEnd(0.0001), 1025u);  // too small to count, but it grew
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].dwFlags, GF_BEGIN);
  EXPECT_EQ(records[0].dwID, GID_ZOOM);
  EXPECT_EQ(records[0].ullArguments, 1024u);
  EXPECT_EQ(records[0].cbSize, 56u);
  EXPECT_EQ(records[0].hwndTarget, target);
  EXPECT_EQ(wParams[0], 0u);
  EXPECT_EQ(records[1].dwFlags, GF_END);
  EXPECT_EQ(wParams[1], 1025u);
  EXPECT_EQ(pinchEnd(-0.0001), 1023u);
  EXPECT_EQ(pinchEnd(0.5), 1536u);
  EXPECT_EQ(pinchEnd(5), 2048u);
  EXPECT_EQ(pinchEnd(-5), 512u);
  EXPECT_EQ(pinchEnd(1e300), 2048u);
  EXPECT_EQ(pinchEnd(-std::numeric_limits<double>::infinity()), 512u);
  EXPECT_EQ(pinchEnd(std::nan("")), 1025u);  // no movement
}

TEST_F(GestureTest, RotationArgumentsAreLimitedInFloatingPoint) {
  EXPECT_EQ(rotateEnd(30), 32767u + 16383u);
  EXPECT_EQ(rotateEnd(-30), 32767u - 16383u);
  EXPECT_EQ(rotateEnd(0), 32768u);
  EXPECT_EQ(rotateEnd(1e12), 65535u);
  EXPECT_EQ(rotateEnd(-1e12), 0u);
  EXPECT_EQ(rotateEnd(std::nan("")), 32768u);
  EXPECT_EQ(records[0].dwID, GID_ROTATE);
}

TEST_F(GestureTest, UnansweredGesturesPassUpToTheParent) {
  HWND inner = child(target, 0, 0, 50, 50);
  h.pinch(window, at(inner, 5, 5), 0.5);
  h.runUntilIdle();
  // The inner window's default procedure passed both messages up to the target.
  EXPECT_EQ(records.size(), 2u);
}

}  // namespace
