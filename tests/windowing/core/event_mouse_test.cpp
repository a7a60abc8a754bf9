#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/core/Cursor.h"
#include "support/EventTest.h"
#include "windowing/Win32.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/detail/TestHooks.h"

using testsupport::EventTest;
using testsupport::ExpectedMessage;
using testsupport::messagesMatch;
using testsupport::messagesOf;

namespace {

const std::vector<UINT> kMouse = {
    WM_NCHITTEST,   WM_LBUTTONDOWN, WM_LBUTTONUP,     WM_LBUTTONDBLCLK,
    WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_RBUTTONDBLCLK, WM_MBUTTONDOWN,
    WM_MBUTTONUP,   WM_MOUSEMOVE,   WM_SETCURSOR,     WM_NCLBUTTONDOWN,
    WM_NCLBUTTONUP, WM_NCMOUSEMOVE, WM_MOUSEWHEEL,    WM_MOUSEHWHEEL};

class MouseTest : public EventTest {
 protected:
  // The mouse messages (and context menus) one window received.
  std::vector<UINT> buttons(HWND hwnd) const {
    std::vector<UINT> out;
    for (UINT m : log.codes(hwnd))
      if (m == WM_CONTEXTMENU || (std::find(kMouse.begin(), kMouse.end(), m) != kMouse.end() &&
                                  m != WM_NCHITTEST && m != WM_SETCURSOR))
        out.push_back(m);
    return out;
  }
};

TEST_F(MouseTest, ClickSendsHitTestButtonsAndCursorWithClientPoints) {
  HWND c = child(main, 20, 30, 100, 80);
  h.click(window, at(c, 10, 15));
  h.runUntilIdle();
  LPARAM screen = screenParam(c, 10, 15);
  EXPECT_TRUE(messagesMatch(messagesOf(log.messages(), c),
                            {{WM_NCHITTEST, 0, screen},
                             {WM_LBUTTONDOWN, 0, clientParam(10, 15)},
                             {WM_NCHITTEST, 0, screen},
                             {WM_LBUTTONUP, 0, clientParam(10, 15)},
                             {WM_SETCURSOR, reinterpret_cast<WPARAM>(c),
                              static_cast<LPARAM>(HTCLIENT | (WM_LBUTTONUP << 16))}},
                            kMouse));
  // The default procedure answered WM_SETCURSOR with 0: the arrow is set.
  EXPECT_EQ(platform::NSCursor::currentCursor(), platform::NSCursor::arrowCursor());
}

TEST_F(MouseTest, AWindowThatSetsItsOwnCursorKeepsIt) {
  HWND c = child(main, 0, 0, 100, 80);
  log.answer([c](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd != c || msg != WM_SETCURSOR) return std::nullopt;
    swell::setCursor(platform::NSCursor::IBeamCursor());
    return 1;
  });
  h.move(window, at(c, 5, 5));
  h.runUntilIdle();
  EXPECT_EQ(platform::NSCursor::currentCursor(), platform::NSCursor::IBeamCursor());
  // Leaving for a place whose window answers 0 gives the arrow back.
  h.move(window, {390, 290});
  h.runUntilIdle();
  EXPECT_EQ(platform::NSCursor::currentCursor(), platform::NSCursor::arrowCursor());
}

TEST_F(MouseTest, ControlClickIsTheRightButtonOnlyWhileEmulationIsOn) {
  HWND c = child(main, 0, 0, 100, 80);
  const auto control = platform::NSEventModifierFlagControl;
  SWELL_EnableRightClickEmulate(1);
  h.click(window, at(c, 5, 5), control);
  h.runUntilIdle();
  EXPECT_EQ(buttons(c), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));
  EXPECT_FALSE(object(c)->isFakeRightMouse());
  log.clear();
  SWELL_EnableRightClickEmulate(0);
  h.click(window, at(c, 5, 5), control);
  h.runUntilIdle();
  EXPECT_EQ(buttons(c), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(MouseTest, HitTestAnsweredCaptionGivesNonClientMessagesInScreenCoordinates) {
  HWND c = child(main, 0, 0, 100, 80);
  log.answer([c](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == c && msg == WM_NCHITTEST) return HTCAPTION;
    return std::nullopt;
  });
  h.click(window, at(c, 7, 9));
  h.runUntilIdle();
  LPARAM screen = screenParam(c, 7, 9);
  EXPECT_TRUE(messagesMatch(messagesOf(log.messages(), c),
                            {{WM_NCHITTEST},
                             {WM_NCLBUTTONDOWN, HTCAPTION, screen},
                             {WM_NCHITTEST},
                             {WM_NCLBUTTONUP, HTCAPTION, screen}},
                            kMouse));
}

TEST_F(MouseTest, CaptureTakesTheMessagesOfOtherViewsWithoutHitTestOrCursor) {
  HWND a = child(main, 0, 0, 100, 80);
  HWND b = child(main, 200, 0, 100, 80);
  SetCapture(a);
  log.clear();
  h.click(window, at(b, 10, 10));
  h.runUntilIdle();
  EXPECT_TRUE(buttons(b).empty());
  EXPECT_EQ(log.count(WM_NCHITTEST) + log.count(WM_SETCURSOR), 0);
  // The point stays the event's, in the capturing view's coordinates.
  EXPECT_TRUE(messagesMatch(
      messagesOf(log.messages(), a),
      {{WM_LBUTTONDOWN, 0, clientParam(210, 10)}, {WM_LBUTTONUP, 0, clientParam(210, 10)}},
      kMouse));
  ReleaseCapture();
}

TEST_F(MouseTest, DisabledViewsIgnoreTheLeftButtonButTakeRightPresses) {
  HWND c = child(main, 0, 0, 100, 80);
  object(c)->setEnabled(false);
  h.click(window, at(c, 5, 5));
  h.rightClick(window, at(c, 5, 5));
  h.runUntilIdle();
  EXPECT_EQ(buttons(c), (std::vector<UINT>{WM_RBUTTONDOWN}));
}

TEST_F(MouseTest, DraggingSendsMovesAndKeepsTheChosenCursor) {
  HWND c = child(main, 0, 0, 100, 80);
  swell::setCursor(platform::NSCursor::crosshairCursor());
  h.mouseDown(window, at(c, 10, 10));
  platform::NSEvent drag;
  drag.type = platform::NSEventTypeLeftMouseDragged;
  drag.window = window;
  drag.locationInWindow = at(c, 20, 12);
  drag.clickCount = 1;
  h.post(drag);
  h.runUntilIdle();
  EXPECT_TRUE(messagesMatch(messagesOf(log.messages(), c),
                            {{WM_LBUTTONDOWN}, {WM_MOUSEMOVE, 0, clientParam(20, 12)}},
                            {WM_LBUTTONDOWN, WM_MOUSEMOVE}));
  // The move's cursor question got the default answer (the arrow), and the drag then
  // put back the cursor the window had chosen.
  EXPECT_EQ(platform::NSCursor::currentCursor(), platform::NSCursor::crosshairCursor());
  h.mouseUp(window, at(c, 20, 12));
  h.runUntilIdle();
  swell::setCursor(nullptr);
}

struct WheelCase {
  double dy;
  WPARAM wParam;
};

TEST_F(MouseTest, WheelStepsArePackedUnsignedAndLimited) {
  HWND c = child(main, 0, 0, 100, 80);
  const WheelCase cases[] = {
      {1.0, WPARAM{60} << 16},      {-1.0, WPARAM{0xFFC4} << 16},  // -60 in the high word
      {2.5, WPARAM{150} << 16},     {1e9, WPARAM{0x7FFF} << 16},
      {-1e9, WPARAM{0x8000} << 16}, {std::numeric_limits<double>::infinity(), WPARAM{0x7FFF} << 16},
  };
  for (const auto& wc : cases) {
    log.clear();
    h.scroll(window, at(c, 5, 5), 0, wc.dy);
    h.runUntilIdle();
    ASSERT_EQ(log.count(WM_MOUSEWHEEL, c), 1) << wc.dy;
    auto msgs = messagesOf(log.messages(), c);
    EXPECT_EQ(msgs.at(0).wParam, wc.wParam) << wc.dy;
    // The pointer's screen position, not the client point.
    EXPECT_EQ(msgs.at(0).lParam, screenParam(c, 5, 5));
  }
}

TEST_F(MouseTest, WheelWithoutMovementOrNaNSendsNothingAndHorizontalFollowsVertical) {
  HWND c = child(main, 0, 0, 100, 80);
  h.scroll(window, at(c, 5, 5), 0, std::nan(""));
  h.scroll(window, at(c, 5, 5), 0, 0);
  h.scroll(window, at(c, 5, 5), std::nan(""), 0);
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_MOUSEWHEEL) + log.count(WM_MOUSEHWHEEL), 0);
  h.scroll(window, at(c, 5, 5), -2, 1);
  h.runUntilIdle();
  std::vector<testsupport::RecordedMessage> msgs;
  for (const auto& m : messagesOf(log.messages(), c))
    if (m.msg == WM_MOUSEWHEEL || m.msg == WM_MOUSEHWHEEL) msgs.push_back(m);
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[0].msg, WM_MOUSEWHEEL);
  EXPECT_EQ(msgs[1].msg, WM_MOUSEHWHEEL);
  EXPECT_EQ(msgs[1].wParam, WPARAM{0xFF88} << 16);  // -120
}

TEST_F(MouseTest, UnansweredWheelPassesUpToTheParentWindow) {
  HWND c = child(main, 0, 0, 100, 80);
  h.scroll(window, at(c, 5, 5), 0, 1);
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_MOUSEWHEEL, c), 1);
  EXPECT_EQ(log.count(WM_MOUSEWHEEL, main), 1);
}

TEST_F(MouseTest, MovesGoToTheViewUnderThePointer) {
  HWND a = child(main, 0, 0, 100, 80);
  HWND b = child(main, 200, 0, 100, 80);
  h.move(window, at(b, 4, 6));
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_MOUSEMOVE, a), 0);
  EXPECT_TRUE(messagesMatch(messagesOf(log.messages(), b),
                            {{WM_NCHITTEST}, {WM_MOUSEMOVE, 0, clientParam(4, 6)}, {WM_SETCURSOR}},
                            kMouse));
  // A move delivered to the wrong view is handed to the one under the pointer.
  log.clear();
  platform::NSEvent e;
  e.type = platform::NSEventTypeMouseMoved;
  e.window = window;
  e.locationInWindow = at(b, 4, 6);
  object(a)->mouseMoved(e);
  EXPECT_EQ(log.count(WM_MOUSEMOVE, a), 0);
  EXPECT_EQ(log.count(WM_MOUSEMOVE, b), 1);
}

TEST_F(MouseTest, MovesOverAnotherWindowInFrontGoToThatWindow) {
  SWELL_DialogResourceIndex otherRes{
      reinterpret_cast<const char*>(7102), "Other", SWELL_DLG_WS_FLIPPED, nullptr, 200, 100};
  h.registerResource(&otherRes);
  HWND other = SWELL_CreateDialog(SWELL_DialogResourceHead, otherRes.resid, nullptr,
                                  testsupport::MessageLog::dialogProc, 0);
  platform::NSWindow* front = view(other)->window();
  // The other window lies over the main window's content, in front of it.
  platform::NSRect content = window->contentRect();
  front->setFrameOrigin({content.origin.x + 10, content.origin.y + 10});
  ShowWindow(other, 1);
  log.clear();
  // An event for the main window at a point covered by the other window.
  h.move(window, {20, 20});
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_MOUSEMOVE, main), 0);
  EXPECT_EQ(log.count(WM_MOUSEMOVE, other), 1);
  DestroyWindow(other);
}

TEST_F(MouseTest, DestroyedOrNullViewsGetNothing) {
  HWND c = child(main, 0, 0, 100, 80);
  platform::NSEvent e;
  e.type = platform::NSEventTypeLeftMouseDown;
  e.window = window;
  EXPECT_EQ(SWELL_SendMouseMessage(nullptr, WM_LBUTTONDOWN, e), 0);
  platform::Ref<platform::NSView> keep(view(c));
  object(c)->onSwellMessage(WM_DESTROY, 0, 0);
  log.clear();
  EXPECT_EQ(SWELL_SendMouseMessage(object(c), WM_LBUTTONDOWN, e), -1);
  h.click(window, at(c, 5, 5));
  h.runUntilIdle();
  EXPECT_TRUE(log.codes(c).empty());
}

// A procedure may destroy its own top-level window while it handles a press or a key:
// the rest of the gesture reaches nobody, and nothing touches the freed window.
TEST_F(MouseTest, AWindowDestroyedWhileHandlingAPressOrKeyGetsNothingMore) {
  HWND c = child(main, 0, 0, 100, 80);
  for (UINT trigger : {UINT{WM_LBUTTONDOWN}, UINT{WM_RBUTTONDOWN}, UINT{WM_KEYDOWN}}) {
    SCOPED_TRACE(trigger);
    if (!IsWindow(main)) {
      main = SWELL_CreateDialog(SWELL_DialogResourceHead, mainRes.resid, nullptr,
                                testsupport::MessageLog::dialogProc, 0);
      window = view(main)->window();
      ShowWindow(main, 2);
      c = child(main, 0, 0, 100, 80);
    }
    window->makeFirstResponder(view(c));
    HWND top = main;
    log.answer([top, trigger](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (msg == trigger && IsWindow(top)) DestroyWindow(top);
      return std::nullopt;
    });
    platform::NSPoint p = at(c, 5, 5);
    h.mouseDown(window, p);
    h.drag(window, p, {p.x + 10, p.y + 10}, 2);
    h.mouseUp(window, {p.x + 10, p.y + 10});
    h.rightClick(window, p);
    h.key(window, 0, "a");
    h.keyUp(window, 0, "a");
    h.scroll(window, p, 0, 1);
    h.runUntilIdle();
    EXPECT_FALSE(IsWindow(top));
    auto afterDestroy = std::find_if(log.messages().begin(), log.messages().end(),
                                     [](const auto& m) { return m.msg == WM_DESTROY; });
    ASSERT_NE(afterDestroy, log.messages().end());
    for (auto it = afterDestroy; it != log.messages().end(); ++it)
      EXPECT_EQ(it->msg, UINT{WM_DESTROY});
    log.answer([](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return std::nullopt; });
    log.clear();
  }
}

}  // namespace
