#include "platform/objects/Screen.h"
#include "support/EventTest.h"
#include "windowing/Win32.h"
#include "windowing/core/EventSupport.h"

using testsupport::EventTest;
using testsupport::kSent;
using testsupport::messagesMatch;
using testsupport::messagesOf;

namespace {

class DefWindowProcTest : public EventTest {};

TEST_F(DefWindowProcTest, KeysAreNotHandledAndOtherMessagesAnswerZero) {
  HWND c = child(main, 0, 0, 100, 80);
  EXPECT_EQ(DefWindowProc(c, WM_KEYDOWN, 'A', 0), 69);
  EXPECT_EQ(DefWindowProc(c, WM_KEYUP, 'A', 0), 69);
  EXPECT_EQ(DefWindowProc(c, WM_USER + 5, 1, 2), 0);
  EXPECT_EQ(DefWindowProc(c, WM_CTLCOLORSTATIC, 0, 0), 0);
  EXPECT_EQ(DefWindowProc(nullptr, WM_CONTEXTMENU, 0, 0), 0);
  EXPECT_EQ(DefWindowProc(nullptr, WM_NCHITTEST, 0, 0), HTNOWHERE);
}

TEST_F(DefWindowProcTest, ContextMenuPassesUpToTheNearestWindowButNotPastTheContentView) {
  HWND c = child(main, 0, 0, 100, 80);
  HWND inner = child(c, 0, 0, 50, 50);
  SendMessage(inner, WM_CONTEXTMENU, 11, 22);
  EXPECT_TRUE(messagesMatch(log.messages(), {{inner, WM_CONTEXTMENU, kSent, 11, 22},
                                             {c, WM_CONTEXTMENU, kSent, 11, 22},
                                             {main, WM_CONTEXTMENU, kSent, 11, 22}}));
  log.clear();
  EXPECT_EQ(DefWindowProc(main, WM_CONTEXTMENU, 0, 0), 0);
  EXPECT_TRUE(log.messages().empty());
}

TEST_F(DefWindowProcTest, RightButtonUpOverAChildGivesAContextMenuNamingIt) {
  HWND c = child(main, 20, 20, 100, 80);
  // The main window's procedure lets the default handle the release at (30, 30),
  // which lies in the child.
  DefWindowProc(main, WM_RBUTTONUP, 0, clientParam(30, 30));
  EXPECT_TRUE(messagesMatch(
      log.messages(),
      {{main, WM_CONTEXTMENU, kSent, reinterpret_cast<WPARAM>(c), screenParam(main, 30, 30)}}));
  log.clear();
  DefWindowProc(main, WM_RBUTTONUP, 0, clientParam(300, 250));
  ASSERT_EQ(log.messages().size(), 1u);
  EXPECT_EQ(log.messages()[0].wParam, reinterpret_cast<WPARAM>(main));
  // A click on the child itself: the child's default handling names the child.
  log.clear();
  h.rightClick(window, at(c, 5, 5));
  h.runUntilIdle();
  auto menus = messagesOf(log.messages(), c);
  auto it =
      std::find_if(menus.begin(), menus.end(), [](auto& m) { return m.msg == WM_CONTEXTMENU; });
  ASSERT_NE(it, menus.end());
  EXPECT_EQ(it->wParam, reinterpret_cast<WPARAM>(c));
  EXPECT_EQ(DefWindowProc(c, WM_NCRBUTTONUP, 0, 1234), 1);
  EXPECT_EQ(log.messages().back().msg, WM_CONTEXTMENU);
  EXPECT_EQ(log.messages().back().lParam, 1234);
}

TEST_F(DefWindowProcTest, HitTestIsClientInsideTheRectangleTheProcedureLeaves) {
  HWND c = child(main, 20, 20, 100, 80);
  EXPECT_EQ(DefWindowProc(c, WM_NCHITTEST, 0, screenParam(c, 5, 5)), HTCLIENT);
  EXPECT_EQ(DefWindowProc(c, WM_NCHITTEST, 0, screenParam(c, 150, 5)), HTNOWHERE);
  // A procedure that takes a 10-point band off the top (in the view's own, flipped,
  // sense) makes that band non-client.
  log.answer([c](HWND hwnd, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (hwnd != c || msg != WM_NCCALCSIZE) return std::nullopt;
    reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0].top += 10;
    return 0;
  });
  EXPECT_EQ(DefWindowProc(c, WM_NCHITTEST, 0, screenParam(c, 5, 5)), HTNOWHERE);
  EXPECT_EQ(DefWindowProc(c, WM_NCHITTEST, 0, screenParam(c, 5, 15)), HTCLIENT);
  EXPECT_EQ(DefWindowProc(c, WM_NCHITTEST, 0, screenParam(c, 5, 75)), HTCLIENT);
}

TEST_F(DefWindowProcTest, DisplayChangeReachesSubviewsAndBroadcastsReachContentViews) {
  HWND c = child(main, 0, 0, 100, 80);
  SWELL_BroadcastMessage(WM_DISPLAYCHANGE, 0, 0);
  EXPECT_EQ(log.count(WM_DISPLAYCHANGE, main), 1);
  EXPECT_EQ(log.count(WM_DISPLAYCHANGE, c), 1);
  EXPECT_TRUE(view(main)->needsDisplay());
  log.clear();
  SWELL_BroadcastMessage(WM_ACTIVATEAPP, 1, 0);
  EXPECT_TRUE(messagesMatch(log.messages(), {{WM_ACTIVATEAPP, 1, 0}}));
  EXPECT_EQ(log.messages()[0].hwnd, main);
}

TEST_F(DefWindowProcTest, NonClientRoutingGivesTheEventToTheOutermostCaptionView) {
  HWND c = child(main, 0, 0, 100, 80);
  HWND inner = child(c, 0, 0, 50, 50);
  platform::NSEvent e;
  e.type = platform::NSEventTypeLeftMouseDown;
  e.window = window;
  e.locationInWindow = at(inner, 5, 5);
  e.clickCount = 1;
  EXPECT_FALSE(SWELL_RouteNonClientMouse(e));
  log.answer([c, inner](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_NCHITTEST && (hwnd == c || hwnd == inner)) return HTCAPTION;
    return std::nullopt;
  });
  log.clear();
  EXPECT_TRUE(SWELL_RouteNonClientMouse(e));
  EXPECT_EQ(log.count(WM_NCLBUTTONDOWN, c), 1);
  EXPECT_EQ(log.count(WM_NCLBUTTONDOWN, inner), 0);
  SetCapture(inner);
  EXPECT_FALSE(SWELL_RouteNonClientMouse(e));
  ReleaseCapture();
  e.type = platform::NSEventTypeKeyDown;
  EXPECT_FALSE(SWELL_RouteNonClientMouse(e));
}

TEST_F(DefWindowProcTest, CaptureChangesAreToldToTheWindowLosingIt) {
  HWND a = child(main, 0, 0, 100, 80);
  HWND b = child(main, 100, 0, 100, 80);
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(SetCapture(a), a);
  EXPECT_EQ(log.count(WM_CAPTURECHANGED), 0);
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_TRUE(messagesMatch(log.messages(), {{WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(b)}}));
  log.clear();
  ReleaseCapture();
  EXPECT_TRUE(messagesMatch(log.messages(), {{WM_CAPTURECHANGED, 0, 0}}));
  EXPECT_EQ(GetCapture(), nullptr);
  // A stale handle cannot take the capture.
  int local = 0;
  EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(&local)), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(SystemMetrics, ScreenScrollBarsAndMenuBar) {
  testsupport::PlatformHarness h;
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(2), 16);
  EXPECT_EQ(GetSystemMetrics(21), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CYMENU), 22);
  EXPECT_EQ(GetSystemMetrics(22), 0);
  EXPECT_EQ(GetSystemMetrics(-1), 0);
  platform::NSScreen::setScreens({});
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  platform::NSScreen::resetToDefault();
}

}  // namespace

namespace {

BOOL countProps(HWND, const char*, HANDLE, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST_F(DefWindowProcTest, NullAndStaleHandlesGetTheFailureValues) {
  HWND c = child(main, 0, 0, 100, 80);
  DestroyWindow(c);  // removed from its parent and freed: c is stale now
  ASSERT_FALSE(platform::isLiveObject(c));
  for (HWND bad : {HWND{nullptr}, c}) {
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(InvalidateRect(bad, &r, 0), 1);
    UpdateWindow(bad);
    SWELL_FlushWindow(bad);
    PAINTSTRUCT ps;
    EXPECT_EQ(BeginPaint(bad, &ps), nullptr);
    EXPECT_EQ(ScrollWindow(bad, 1, 1, nullptr, nullptr), 0);
    EXPECT_EQ(SetProp(bad, "x", reinterpret_cast<HANDLE>(1)), 0);
    EXPECT_EQ(GetProp(bad, "x"), nullptr);
    EXPECT_EQ(RemoveProp(bad, "x"), nullptr);
    int count = 0;
    EXPECT_EQ(EnumPropsEx(bad, countProps, reinterpret_cast<LPARAM>(&count)), -1);
    EXPECT_EQ(DefWindowProc(bad, WM_RBUTTONUP, 0, 0), 0);
    EXPECT_EQ(DefWindowProc(bad, WM_DISPLAYCHANGE, 0, 0), 0);
    EXPECT_EQ(SetCapture(bad), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
  }
  // Properties on a live window: strings are copied, atoms are numbers.
  char name[] = "SWELL_Test";
  EXPECT_EQ(SetProp(main, name, reinterpret_cast<HANDLE>(5)), 1);
  name[0] = 'X';
  EXPECT_EQ(GetProp(main, "SWELL_Test"), reinterpret_cast<HANDLE>(5));
  EXPECT_EQ(SetProp(main, reinterpret_cast<const char*>(7), reinterpret_cast<HANDLE>(6)), 1);
  int count = 0;
  EXPECT_EQ(EnumPropsEx(main, countProps, reinterpret_cast<LPARAM>(&count)), 1);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(RemoveProp(main, "SWELL_Test"), reinterpret_cast<HANDLE>(5));
  EXPECT_EQ(GetProp(main, "SWELL_Test"), nullptr);
}

}  // namespace
