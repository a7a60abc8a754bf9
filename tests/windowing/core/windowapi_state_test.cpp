#include <cstring>

#include "platform/core/Application.h"
#include "support/WindowApiFixture.h"

using testsupport::MessageLog;

namespace testsupport {
namespace {

class WindowApiState : public WindowApiFixture {};

TEST_F(WindowApiState, HidingAViewTakesTheFocusFromInsideIt) {
  ShowWindow(dialog, SW_SHOW);
  HWND child = childWindow();
  ShowWindow(child, SW_SHOWNA);
  auto* focus = addControl(swell::objectFromHandleAs<platform::NSView>(child),
                           new FocusView(platform::NSMakeRect(0, 0, 5, 5), 0), 0);
  SetFocus(swell::handleFromObject(focus));
  ASSERT_EQ(dialogWindow()->firstResponder(), focus);
  dialogView()->setNeedsDisplay(false);
  ShowWindow(child, SW_HIDE);
  EXPECT_EQ(dialogWindow()->firstResponder(), dialogWindow());
  EXPECT_FALSE(IsWindowVisible(child));
  // Its place in the parent is redrawn.
  EXPECT_TRUE(dialogView()->needsDisplay());
  ShowWindow(child, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(child));
  // A hidden ancestor hides it too.
  ShowWindow(dialog, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsWindowVisible(nullptr));
}

TEST_F(WindowApiState, AContentViewPassesTheCommandToItsWindow) {
  platform::NSWindow* window = dialogWindow();
  EXPECT_TRUE(dialogView()->isHidden());
  ShowWindow(dialog, SW_SHOWNA);
  EXPECT_FALSE(dialogView()->isHidden());
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isKeyWindow());
  ShowWindow(dialog, SW_SHOW);
  EXPECT_TRUE(window->isKeyWindow());
  ShowWindow(dialog, SW_HIDE);
  EXPECT_FALSE(window->isVisible());
  // The content view itself stays shown, ready for the next showing.
  EXPECT_FALSE(dialogView()->isHidden());
  ShowWindow(swell::handleFromObject(window), SW_SHOWMINIMIZED);
  EXPECT_TRUE(window->isMiniaturized());
}

TEST_F(WindowApiState, EnablingWindowObjectsAndControls) {
  EnableWindow(item(kEditId), 0);
  EXPECT_FALSE(IsWindowEnabled(item(kEditId)));
  EnableWindow(item(kEditId), 1);
  EXPECT_TRUE(IsWindowEnabled(item(kEditId)));
  // A window stands for its content view; -1000 keeps focus to the content view only.
  HWND window = swell::handleFromObject(dialogWindow());
  EnableWindow(window, -1000);
  auto* view = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(dialog);
  EXPECT_EQ(view->enabledState(), -1);
  EXPECT_TRUE(IsWindowEnabled(window));
  EnableWindow(dialog, 0);
  EXPECT_FALSE(IsWindowEnabled(dialog));
  // Objects without an enabled state read as disabled.
  EXPECT_FALSE(IsWindowEnabled(item(kNotesId)));
}

TEST_F(WindowApiState, FocusGoesOnlyToViewsThatTakeIt) {
  ShowWindow(dialog, SW_SHOWNA);
  auto* focus = addControl(dialogView(), new FocusView(platform::NSMakeRect(0, 0, 5, 5), 90), 90);
  SetFocus(item(90));
  EXPECT_TRUE(dialogWindow()->isKeyWindow());
  EXPECT_EQ(dialogWindow()->firstResponder(), focus);
  // A view that refuses leaves the focus where it was.
  SetFocus(item(kBoxId));
  SetForegroundWindow(swell::handleFromObject(dialogView()->subviews()[4]));
  EXPECT_EQ(dialogWindow()->firstResponder(), focus);
  SetFocus(swell::handleFromObject(dialogWindow()));
  EXPECT_EQ(dialogWindow()->firstResponder(), dialogView());
}

int gCalls = 0;
BOOL countCall(HWND, LPARAM) {
  ++gCalls;
  return 1;
}

// Every function that takes a window handle answers a freed window, or none, with its
// failure value and without touching memory.
TEST_F(WindowApiState, StaleAndNullHandlesGetTheFailureValue) {
  HWND gone = childWindow();
  DestroyWindow(gone);
  HWND goneTop = SWELL_CreateDialog(SWELL_DialogResourceHead,
                                    reinterpret_cast<const char*>(0x400002), nullptr, nullptr, 0);
  HWND goneWindow =
      swell::handleFromObject(swell::objectFromHandleAs<platform::NSView>(goneTop)->window());
  DestroyWindow(goneTop);
  ASSERT_FALSE(platform::isLiveObject(gone));
  ASSERT_FALSE(platform::isLiveObject(goneTop));
  ASSERT_FALSE(platform::isLiveObject(goneWindow));

  for (HWND h : {gone, goneTop, goneWindow, HWND{nullptr}}) {
    SCOPED_TRACE(testing::Message() << "handle " << h);
    EXPECT_EQ(GetWindowLong(h, GWL_STYLE), 0);
    EXPECT_EQ(SetWindowLong(h, GWL_USERDATA, 1), 0);
    EXPECT_EQ(SetWindowLong(h, GWL_STYLE, WS_CAPTION), 0);
    EXPECT_EQ(GetDlgItem(h, 0), nullptr);
    EXPECT_EQ(GetDlgItem(h, kEditId), nullptr);
    EXPECT_EQ(GetWindow(h, GW_CHILD), nullptr);
    EXPECT_FALSE(IsChild(dialog, h));
    EXPECT_FALSE(IsChild(h, item(kEditId)));
    EXPECT_FALSE(IsWindow(h));
    gCalls = 0;
    EXPECT_TRUE(EnumChildWindows(h, countCall, 0));
    EXPECT_EQ(gCalls, 0);
    EXPECT_EQ(FindWindowEx(h, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(SWELL_GetScrollRuleView(h), nullptr);
    char text[8] = "old";
    EXPECT_FALSE(GetDlgItemText(h, 0, text, sizeof text));
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(SetDlgItemText(h, 0, "x"));
    EXPECT_EQ(GetWindowTextLength(h), 0);
    EXPECT_FALSE(SetDlgItemInt(h, 0, 5, 1));
    BOOL ok = 1;
    EXPECT_EQ(GetDlgItemInt(h, 0, &ok, 1), 0);
    EXPECT_FALSE(ok);
    CheckDlgButton(h, 0, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(h, 0), 0);
    EXPECT_EQ(GetClassName(h, text, sizeof text), 0);
    SWELL_SetClassName(h, "Gone");
    EXPECT_FALSE(SWELL_IsButton(h));
    EXPECT_FALSE(SWELL_IsStaticText(h));
    EXPECT_FALSE(SWELL_IsGroupBox(h));
    ShowWindow(h, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(h));
    EnableWindow(h, 0);
    EXPECT_FALSE(IsWindowEnabled(h));
    SetFocus(h);
    SetForegroundWindow(h);
    RECT r{1, 2, 3, 4};
    EXPECT_FALSE(GetWindowRect(h, &r));
    EXPECT_EQ(r.right, 0);
    r = {1, 2, 3, 4};
    GetClientRect(h, &r);
    EXPECT_EQ(r.right, 0);
    r = {1, 2, 3, 4};
    GetWindowContentViewRect(h, &r);
    EXPECT_EQ(r.right, 0);
    POINT p{5, 6};
    ClientToScreen(h, &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_FALSE(SetWindowPos(h, nullptr, 0, 0, 10, 10, 0));
    EXPECT_FALSE(SWELL_GetDesiredControlSize(h, &r));
    EXPECT_FALSE(DestroyWindow(h));
    SWELL_CloseWindow(h);
    EXPECT_EQ(SetParent(h, dialog), nullptr);
    EXPECT_EQ(SWELL_ModalWindowStart(h), nullptr);
    EXPECT_EQ(SWELL_GetWindowWantRaiseAmt(h), 0);
    SWELL_SetWindowWantRaiseAmt(h, 3);
    EXPECT_EQ(SWELL_SetWindowLevel(h, 3), 0);
    SetOpaque(h, true);
    EXPECT_EQ(SWELL_GetDefaultButtonID(h, false), 0);
    SWELL_SetWindowRepre(h, "/tmp/x", true);
    SWELL_SetWindowTransparent(h);
    SWELL_SetWindowShadow(h, false);
    EXPECT_FALSE(SWELL_IsFieldEditorOf(h, item(kEditId)));
  }
  // A stale or unknown place among siblings or new parent moves nothing.
  const std::vector<platform::NSView*> before = dialogView()->subviews();
  EXPECT_TRUE(SetWindowPos(item(kEditId), gone, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(dialogView()->subviews(), before);
  EXPECT_EQ(SetParent(item(kEditId), gone), nullptr);
  EXPECT_EQ(FindWindowEx(dialog, gone, nullptr, nullptr), nullptr);
  EXPECT_EQ(FindWindowEx(nullptr, goneTop, nullptr, "Settings"), nullptr);
  EXPECT_EQ(dialogView()->subviews(), before);
}

}  // namespace
}  // namespace testsupport
