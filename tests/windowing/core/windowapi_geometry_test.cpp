#include <climits>

#include "platform/objects/Screen.h"
#include "support/WindowApiFixture.h"
#include "windowing/Win32.h"

using testsupport::MessageLog;

namespace testsupport {
namespace {

class WindowApiGeometry : public WindowApiFixture {};

platform::NSRect frameOf(HWND hwnd) {
  return swell::objectFromHandleAs<platform::NSView>(hwnd)->frame();
}

TEST_F(WindowApiGeometry, MovesAndSizesViewsThroughTheirFrames) {
  HWND button = item(kButtonId);
  EXPECT_TRUE(SetWindowPos(button, nullptr, 0, 0, 100, -50, 0));
  EXPECT_EQ(frameOf(button), platform::NSMakeRect(0, 0, 100, 50));
  // A negative width is no width, and INT_MIN heights do not overflow.
  SetWindowPos(button, nullptr, 5, 6, -20, INT_MIN, SWP_NOZORDER);
  EXPECT_EQ(frameOf(button), platform::NSMakeRect(5, 6, 0, 2147483648.0));
  SetWindowPos(button, nullptr, 7, 8, 30, 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(frameOf(button), platform::NSMakeRect(5, 6, 30, 40));
  SetWindowPos(button, nullptr, 7, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(frameOf(button), platform::NSMakeRect(7, 8, 30, 40));
  // Single precision, as native frames hold positions.
  SetWindowPos(button, nullptr, 16777217, 0, 10, 10, SWP_NOZORDER);
  EXPECT_EQ(frameOf(button).origin.x, 16777216.0);
}

TEST_F(WindowApiGeometry, AScrolledTextViewFollowsWhereNoScrollerLetsItGrow) {
  HWND notesHandle = item(kNotesId);
  // The text view stands for its scroll view.
  SetWindowPos(notesHandle, nullptr, 0, 0, 300, 90, SWP_NOZORDER);
  EXPECT_EQ(notesScroll()->frame(), platform::NSMakeRect(0, 0, 300, 90));
  EXPECT_EQ(notes()->frame().size.width, 300 - platform::NSScrollView::kScrollerWidth);
  EXPECT_EQ(notes()->frame().size.height, 60);  // the vertical scroller lets it be taller
}

TEST_F(WindowApiGeometry, ReordersSiblingsAndKeepsTheFocus) {
  auto* focus = addControl(dialogView(), new FocusView(platform::NSMakeRect(0, 0, 5, 5), 60), 60);
  ShowWindow(dialog, SW_SHOW);
  ASSERT_TRUE(dialogWindow()->makeFirstResponder(focus));
  const auto& subs = dialogView()->subviews();
  auto order = [&] {
    std::vector<HWND> ids;
    for (platform::NSView* v : subs)
      ids.push_back(swell::handleFromObject(v));
    return ids;
  };
  std::vector<HWND> before = order();
  // After its preceding sibling: already there.
  SetWindowPos(item(kEditId), item(kLabelId), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(order(), before);
  SetWindowPos(item(60), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(subs.front(), focus);
  EXPECT_EQ(dialogWindow()->firstResponder(), focus);
  SetWindowPos(item(60), item(kEditId), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(subs[2], focus);
  SetWindowPos(item(60), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(subs.back(), focus);
  EXPECT_EQ(dialogWindow()->firstResponder(), focus);
  // Not while it holds the capture; never for the topmost places; not with NOZORDER.
  SetCapture(item(60));
  SetWindowPos(item(60), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ReleaseCapture();
  SetWindowPos(item(60), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(item(60), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(subs.back(), focus);
}

TEST_F(WindowApiGeometry, AWindowIsSizedWithinItsLimits) {
  log.answer([](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg != WM_GETMINMAXINFO) return std::nullopt;
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = {150, 100};
    info->ptMaxTrackSize = {400, 300};
    return 1;
  });
  SetWindowPos(dialog, nullptr, 20, 30, 1000, 50, SWP_NOZORDER);
  EXPECT_EQ(dialogWindow()->frame(), platform::NSMakeRect(20, 30, 400, 100));
  RECT r;
  ASSERT_TRUE(GetWindowRect(dialog, &r));
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right, 420);
  EXPECT_EQ(r.bottom, 130);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(dialogWindow()->frame(), platform::NSMakeRect(20, 30, 400, 100));
}

TEST_F(WindowApiGeometry, ClientAreaTakesTheNonClientInsetOfTheProcedure) {
  HWND child = childWindow();
  SetWindowPos(child, nullptr, 10, 20, 100, 80, SWP_NOZORDER);
  log.answer([&](HWND hwnd, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg != WM_NCCALCSIZE || hwnd != child) return std::nullopt;
    auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    p->rgrc[0].left += 5;
    p->rgrc[0].right -= 5;
    p->rgrc[0].bottom -= 100;  // more than there is
    return 0;
  });
  RECT r;
  GetClientRect(child, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 90);
  EXPECT_EQ(r.bottom, 0);
  GetClientRect(nullptr, &r);
  EXPECT_EQ(r.right, 0);
}

TEST_F(WindowApiGeometry, ScreenPointsAndContentRectangles) {
  platform::NSWindow* window = dialogWindow();
  window->setFrameOrigin({100, 200});
  POINT p{10, 15};
  ClientToScreen(dialog, &p);
  // The content view is flipped: 15 down from its top edge at 200 + 200.
  EXPECT_EQ(p.x, 110);
  EXPECT_EQ(p.y, 385);
  RECT r;
  GetWindowContentViewRect(swell::handleFromObject(window), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 400);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 200);
  // Another view: its window rectangle. The button is not flipped, so its bounds origin
  // (the first corner given) is its lower edge, 60 below the content's top.
  GetWindowContentViewRect(item(kButtonId), &r);
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.top, 340);
  EXPECT_EQ(r.bottom, 360);
}

TEST_F(WindowApiGeometry, ViewPortOfTheScreenAroundARectangle) {
  RECT r;
  platform::NSScreen::setScreens({});
  SWELL_GetViewPort(&r, nullptr, false);
  EXPECT_EQ(r.right, 1600);
  EXPECT_EQ(r.bottom, 1200);
  platform::NSScreen::setScreens(
      {{platform::NSMakeRect(0, 0, 1000, 800), platform::NSMakeRect(0, 40, 1000, 738), 1},
       {platform::NSMakeRect(1000, 0, 500, 400), platform::NSMakeRect(1000, 0, 500, 380), 2}});
  RECT near{1100, 10, 1300, 100};
  SWELL_GetViewPort(&r, &near, true);
  EXPECT_EQ(r.left, 1000);
  EXPECT_EQ(r.bottom, 380);
  // Extreme edges must not overflow while the centre is found; none holds it: the first.
  RECT huge{INT_MAX, INT_MAX, INT_MAX, INT_MAX};
  SWELL_GetViewPort(&r, &huge, false);
  EXPECT_EQ(r.right, 1000);
  platform::NSScreen::resetToDefault();
}

// A control whose content needs a given size.
class SizedControl : public platform::NSControl {
 public:
  using NSControl::NSControl;
  platform::NSSize fittingSize() const override { return {42.4, 17.6}; }
};

TEST_F(WindowApiGeometry, DesiredSizeLeavesTheControlsFrame) {
  auto* control = addControl(dialogView(), new SizedControl(platform::NSMakeRect(1, 2, 3, 4)), 70);
  RECT r{9, 9, 9, 9};
  EXPECT_TRUE(SWELL_GetDesiredControlSize(item(70), &r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 42);
  EXPECT_EQ(r.bottom, 18);
  EXPECT_EQ(control->frame(), platform::NSMakeRect(1, 2, 3, 4));
  EXPECT_FALSE(SWELL_GetDesiredControlSize(dialog, &r));
}

}  // namespace
}  // namespace testsupport
