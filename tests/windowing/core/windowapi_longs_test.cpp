#include "platform/core/Application.h"
#include "support/WindowApiFixture.h"
#include "windowing/Win32.h"
#include "windowing/core/ControlButton.h"
#include "windowing/core/ControlComboBox.h"
#include "windowing/core/ControlPopupButton.h"
#include "windowing/core/TopLevelWindow.h"

using testsupport::MessageLog;

namespace testsupport {
namespace {

class WindowApiLongs : public WindowApiFixture {};

constexpr LONG_PTR kVisible = 0x02000000;

// A control that keeps its creation style.
class StyledView : public platform::NSView, public SwellStyleHolder {
 public:
  using NSView::NSView;
  LONG swellGetStyle() const override { return mStyle; }
  void swellSetStyle(LONG style) override { mStyle = style; }

 private:
  LONG mStyle = 0;
};

TEST_F(WindowApiLongs, StylesOfControlsAndContentViews) {
  ShowWindow(dialog, SW_SHOW);
  EXPECT_EQ(GetWindowLong(item(kButtonId), GWL_STYLE), 0x42000003);
  auto* radio = addControl(dialogView(),
                           new Swell_vCorvaneBrisko_button(platform::NSMakeRect(0, 0, 9, 9)), 80);
  EXPECT_EQ(SetWindowLong(item(80), GWL_STYLE, BS_AUTORADIOBUTTON | WS_GROUP), 0x42000003);
  EXPECT_EQ(radio->swellGetRadioFlags(), 3);
  EXPECT_EQ(radio->buttonType(), platform::NSButtonTypeRadio);
  EXPECT_EQ(GetWindowLong(item(80), GWL_STYLE),
            LONG_PTR{WS_CHILD} | kVisible | WS_GROUP | BS_AUTORADIOBUTTON);
  SetWindowLong(item(80), GWL_STYLE, BS_AUTO3STATE);
  EXPECT_EQ(radio->swellGetRadioFlags(), 0);
  EXPECT_TRUE(radio->allowsMixedState());
  EXPECT_EQ(GetWindowLong(item(80), GWL_STYLE) & 0xF, BS_AUTO3STATE);
  ShowWindow(item(80), SW_HIDE);
  EXPECT_EQ(GetWindowLong(item(80), GWL_STYLE), LONG_PTR{WS_CHILD} | BS_AUTO3STATE);

  // A stored style never keeps the visible bit.
  auto* styled = new StyledView;
  dialogView()->addSubview(styled);
  styled->release();
  HWND styledHandle = swell::handleFromObject(styled);
  SetWindowLong(styledHandle, GWL_STYLE, kVisible | 0x1234);
  EXPECT_EQ(styled->swellGetStyle(), 0x1234);
  EXPECT_EQ(GetWindowLong(styledHandle, GWL_STYLE), LONG_PTR{WS_CHILD} | kVisible | 0x1234);

  // The content view of a titled, resizable window.
  EXPECT_EQ(GetWindowLong(dialog, GWL_STYLE), kVisible | WS_CAPTION | WS_THICKFRAME);
}

TEST_F(WindowApiLongs, ListsKeepTheirStyleWhereTheWindowLongsReachIt) {
  auto* list = addControl(dialogView(), new Swell_vCorvaneBrisko_pub, 81);
  list->setSwellStyle(CBS_DROPDOWNLIST);
  auto* combo = addControl(dialogView(), new Swell_vCorvaneBrisko_cbox, 82);
  combo->setSwellStyle(CBS_DROPDOWN | CBS_SORT);
  EXPECT_EQ(GetWindowLong(item(82), GWL_STYLE) & 0xFFFF, CBS_DROPDOWN | CBS_SORT);
  // Turning sorting on later sorts what is appended from then on.
  EXPECT_EQ(SetWindowLong(item(81), GWL_STYLE, CBS_DROPDOWNLIST | CBS_SORT), CBS_DROPDOWNLIST);
  for (const char* s : {"b", "a"})
    SWELL_CB_AddString(dialog, 81, s);
  char first[4] = "";
  SWELL_CB_GetItemText(dialog, 81, 0, first, sizeof first);
  EXPECT_STREQ(first, "a");
}

TEST_F(WindowApiLongs, FieldsOfWindowObjectsAndControls) {
  EXPECT_EQ(SetWindowLong(dialog, GWL_USERDATA, 77), 0);
  EXPECT_EQ(GetWindowLong(swell::handleFromObject(dialogWindow()), GWL_USERDATA), 77);
  EXPECT_EQ(GetWindowLong(item(kNotesId), GWL_USERDATA), LONG_PTR{0xDEADF00B});
  addControl(dialogView(), new Swell_vCorvaneBrisko_button, 83);
  EXPECT_EQ(SetWindowLong(item(83), GWL_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLong(item(83), GWL_USERDATA), 1234);
  EXPECT_EQ(SetWindowLong(item(kEditId), GWL_ID, 0x100000007), kEditId);
  EXPECT_EQ(GetWindowLong(item(7), GWL_ID), 7);
  EXPECT_EQ(SetWindowLong(dialog, 16, 5), 0);
  EXPECT_EQ(GetWindowLong(dialog, 16), 5);
  EXPECT_EQ(GetWindowLong(dialog, 300), 0);
  EXPECT_EQ(SetWindowLong(item(7), 16, 5), 0);  // a control has no extra words
  EXPECT_EQ(GetWindowLong(item(7), 16), 0);
  EXPECT_EQ(SetWindowLong(dialog, DWL_DLGPROC, 0),
            reinterpret_cast<LONG_PTR>(&MessageLog::dialogProc));
  EXPECT_EQ(GetWindowLong(dialog, DWL_DLGPROC), 0);
}

TEST_F(WindowApiLongs, OwnershipMovesBetweenTopLevelWindows) {
  HWND first = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400002),
                                  nullptr, nullptr, 0);
  HWND owned = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400002),
                                  first, nullptr, 0);
  EXPECT_EQ(SetWindowLong(owned, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(item(kEditId))),
            reinterpret_cast<LONG_PTR>(first));
  EXPECT_EQ(GetWindow(owned, GW_OWNER), dialog);
  // The old owner no longer takes it along.
  DestroyWindow(first);
  EXPECT_TRUE(IsWindow(owned));
  // The new one does.
  DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowApiLongs, ChangingTheFrameStyleRebuildsTheWindowAroundItsView) {
  HWND owned = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400002),
                                  dialog, nullptr, 0);
  ShowWindow(dialog, SW_SHOW);
  platform::NSWindow* old = dialogWindow();
  HWND oldHandle = swell::handleFromObject(old);
  platform::NSRect frame = old->frame();
  EXPECT_EQ(SetWindowLong(dialog, GWL_STYLE, WS_CAPTION), 0);
  platform::NSWindow* rebuilt = dialogWindow();
  ASSERT_NE(rebuilt, nullptr);
  EXPECT_FALSE(IsWindow(oldHandle));
  EXPECT_EQ(rebuilt->styleMask(), platform::NSWindowStyleMaskTitled);
  EXPECT_EQ(rebuilt->title(), "Settings");
  EXPECT_EQ(rebuilt->frame(), frame);
  EXPECT_TRUE(rebuilt->isVisible());
  EXPECT_EQ(GetWindow(owned, GW_OWNER), dialog);
  EXPECT_EQ(item(kEditId), swell::handleFromObject(dialogView()->subviews()[1]));
  // The same frame asked again changes nothing; no frame at all makes it borderless.
  SetWindowLong(dialog, GWL_STYLE, WS_CAPTION | WS_CHILD);
  EXPECT_EQ(dialogWindow(), rebuilt);
  SetWindowLong(dialog, GWL_STYLE, 0);
  EXPECT_EQ(dialogWindow()->styleMask(), 0u);
  EXPECT_EQ(GetWindowLong(dialog, GWL_STYLE), kVisible);
  // Destroying the view's window still takes the owned window along.
  DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(owned));
}

}  // namespace
}  // namespace testsupport
