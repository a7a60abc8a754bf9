#include <limits>

#include "platform/drawing/GraphicsContext.h"
#include "support/EventTest.h"
#include "windowing/Win32.h"

using testsupport::EventTest;
using testsupport::messagesMatch;
using testsupport::messagesOf;

namespace {

const std::vector<UINT> kPaint = {WM_NCCALCSIZE, WM_NCPAINT, WM_PAINT};

class PaintTest : public EventTest {
 protected:
  // Paints one window object now, through its window's display pass.
  void paint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, 0);
    UpdateWindow(hwnd);
  }
};

TEST_F(PaintTest, PaintSendsNonClientSizeNonClientPaintThenPaint) {
  HWND c = child(main, 10, 10, 100, 80);
  h.runUntilIdle();
  log.clear();
  paint(c);
  auto mine = messagesOf(log.messages(), c);
  ASSERT_TRUE(messagesMatch(mine, {{WM_NCCALCSIZE, 0}, {WM_NCPAINT, 1, 0}, {WM_PAINT}}, kPaint));
  // WM_PAINT carries the drawing context, which BeginPaint gives back with the area.
  EXPECT_NE(mine.back().wParam, 0u);
}

TEST_F(PaintTest, BeginPaintInsidePaintGivesTheContextAndTheRoundedArea) {
  HWND c = child(main, 10, 10, 100, 80);
  h.runUntilIdle();
  PAINTSTRUCT seen{};
  HDC returned = nullptr;
  HDC given = nullptr;
  log.answer([c, &seen, &returned, &given](HWND hwnd, UINT msg, WPARAM wParam,
                                           LPARAM) -> std::optional<LRESULT> {
    if (hwnd != c || msg != WM_PAINT) return std::nullopt;
    given = reinterpret_cast<HDC>(wParam);
    returned = BeginPaint(hwnd, &seen);
    EndPaint(hwnd, &seen);
    return 0;
  });
  InvalidateRect(c, nullptr, 0);
  UpdateWindow(c);
  log.answer([](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return std::nullopt; });
  EXPECT_EQ(returned, given);
  EXPECT_EQ(seen.hdc, given);
  EXPECT_EQ(seen.rcPaint.left, 0);
  EXPECT_EQ(seen.rcPaint.top, 0);
  EXPECT_EQ(seen.rcPaint.right, 100);
  EXPECT_EQ(seen.rcPaint.bottom, 80);
  // Outside a paint there is nothing to begin.
  PAINTSTRUCT ps;
  ps.fErase = 7;
  EXPECT_EQ(BeginPaint(c, &ps), nullptr);
  EXPECT_EQ(ps.fErase, 0);
  EXPECT_EQ(BeginPaint(c, nullptr), nullptr);
  EXPECT_EQ(BeginPaint(nullptr, &ps), nullptr);
}

// A paint area no coordinate holds is reported with held edges: NaN as 0, anything past
// the 32-bit range at its end, and the far edges still clipped to the client area.
TEST_F(PaintTest, BeginPaintHoldsAnAreaOutsideAnyRange) {
  HWND c = child(main, 10, 10, 100, 80);
  h.runUntilIdle();
  PAINTSTRUCT seen{};
  log.answer([c, &seen](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd != c || msg != WM_PAINT) return std::nullopt;
    BeginPaint(hwnd, &seen);
    EndPaint(hwnd, &seen);
    return 0;
  });
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const LONG kMax = std::numeric_limits<LONG>::max();
  const LONG kMin = std::numeric_limits<LONG>::min();
  struct Case {
    platform::NSRect area;
    RECT expected;
  } cases[] = {
      {platform::NSMakeRect(nan, nan, 50, 50), {0, 0, 0, 0}},
      {platform::NSMakeRect(1e30, 1e30, 50, 50), {kMax, kMax, 100, 80}},
      {platform::NSMakeRect(-1e30, -1e30, 50, 50), {kMin, kMin, kMin, kMin}},
  };
  HDC hdc = SWELL_CreateGfxContextForNSContext(nullptr);
  for (const Case& k : cases) {
    seen = {};
    SWELL_PaintWindow(object(c), hdc, false, k.area);
    EXPECT_EQ(seen.hdc, hdc);
    EXPECT_EQ(seen.rcPaint.left, k.expected.left);
    EXPECT_EQ(seen.rcPaint.top, k.expected.top);
    EXPECT_EQ(seen.rcPaint.right, k.expected.right);
    EXPECT_EQ(seen.rcPaint.bottom, k.expected.bottom);
  }
  SWELL_DeleteGfxContext(hdc);
  log.answer([](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return std::nullopt; });
}

TEST_F(PaintTest, NonClientInsetShrinksTheClientAreaAndClipsThePaint) {
  HWND c = child(main, 10, 10, 100, 80);
  h.runUntilIdle();
  RECT client{};
  log.answer([c, &client](HWND hwnd, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (hwnd != c) return std::nullopt;
    if (msg == WM_NCCALCSIZE) {
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
      p->rgrc[0].right -= 10;
      p->rgrc[0].bottom -= 20;
      return 0;
    }
    if (msg == WM_PAINT) {
      GetClientRect(hwnd, &client);
      return 0;
    }
    return std::nullopt;
  });
  paint(c);
  log.answer([](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return std::nullopt; });
  EXPECT_EQ(client.right, 90);
  EXPECT_EQ(client.bottom, 60);
}

TEST_F(PaintTest, InvalidateRectTakesEitherEdgeOrderAndMarksAncestors) {
  HWND c = child(main, 0, 0, 100, 100);
  h.runUntilIdle();
  platform::NSView* v = view(c);
  RECT r{10, 50, 30, 20};
  EXPECT_EQ(InvalidateRect(c, &r, 0), 1);
  EXPECT_EQ(v->dirtyRect(), platform::NSMakeRect(10, 20, 20, 30));
  EXPECT_EQ(object(c)->dirtyState() & 1, 1);
  EXPECT_EQ(object(main)->dirtyState() & 2, 2);
  h.runUntilIdle();
  RECT reversed{30, 20, 10, 50};
  InvalidateRect(c, &reversed, 0);
  EXPECT_EQ(v->dirtyRect(), platform::NSMakeRect(10, 20, 20, 30));
  h.runUntilIdle();
  // Extreme edges neither overflow nor reach outside the view.
  RECT huge{-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647};
  InvalidateRect(c, &huge, 0);
  EXPECT_EQ(v->dirtyRect(), v->bounds());
  // A handle that is not a live window is left alone.
  int local = 0;
  EXPECT_EQ(InvalidateRect(reinterpret_cast<HWND>(&local), &r, 0), 1);
}

TEST_F(PaintTest, ShowingHidingAndPlacingChildrenAreReported) {
  HWND c = child(main, 0, 0, 100, 100);
  ShowWindow(c, 0);
  ShowWindow(c, 1);
  view(c)->setFrame(platform::NSMakeRect(5, 5, 100, 100));
  view(c)->setFrame(platform::NSMakeRect(5, 5, 100, 100));
  EXPECT_TRUE(messagesMatch(
      messagesOf(log.messages(), c),
      {{WM_SHOWWINDOW, 0, 0}, {WM_SHOWWINDOW, 1, 0}, {WM_SIZE, 0, 0}, {WM_SIZE, 0, 0}},
      {WM_SHOWWINDOW, WM_SIZE}));
  // The parent is invalidated whole by a placement.
  EXPECT_EQ(view(main)->dirtyRect(), view(main)->bounds());
}

}  // namespace

namespace {

TEST_F(PaintTest, GetDcGivesThePaintContextInsidePaintAndTheBackingStoreOutside) {
  HWND c = child(main, 10, 10, 40, 30);
  h.runUntilIdle();
  HDC given = nullptr, got = nullptr;
  log.answer([&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (hwnd != c || msg != WM_PAINT) return std::nullopt;
    given = reinterpret_cast<HDC>(wParam);
    got = GetDC(c);
    ReleaseDC(c, got);
    EXPECT_EQ(SWELL_GetCtxGC(given), SWELL_GetCtxGC(got));  // still alive
    return 0;
  });
  InvalidateRect(c, nullptr, 0);
  UpdateWindow(c);
  log.answer([](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return std::nullopt; });
  EXPECT_EQ(got, given);

  HDC hdc = GetDC(c);
  ASSERT_NE(hdc, nullptr);
  const RECT r{0, 0, 5, 5};
  HBRUSH brush = CreateSolidBrush(0x112233);
  SWELL_FillRect(hdc, &r, brush);
  DeleteObject(brush);
  ReleaseDC(c, hdc);
  auto pixel = [&](double x, double y) {
    platform::NSPoint p = at(c, x, y);
    return testsupport::PlatformHarness::pixelAt(window, p.x, p.y);
  };
  EXPECT_EQ(pixel(2.5, 2.5), 0xFF112233u);
  EXPECT_NE(pixel(6.5, 6.5), 0xFF112233u);
  ReleaseDC(c, hdc);  // a second release is refused
  EXPECT_EQ(GetDC(nullptr), nullptr);
  EXPECT_FALSE(SWELL_IsRetinaHWND(c));
  EXPECT_FALSE(SWELL_IsRetinaHWND(nullptr));
}

}  // namespace
