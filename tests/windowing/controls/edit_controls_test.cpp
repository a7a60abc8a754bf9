#include <gtest/gtest.h>

#include <string>

#include "platform/core/ComboBox.h"
#include "platform/core/TextView.h"
#include "platform/display/Event.h"
#include "support/WindowTest.h"
#include "windowing/controls/ControlClasses.h"
#include "windowing/core/ControlComboBox.h"

using testsupport::MessageLog;
using testsupport::resid;

namespace {

// A dialog at scale 1 with the three kinds of editable text control the factories make: a
// single-line field, a multi-line view in a scroll view and an editable combo box.
class EditControlsTest : public testsupport::WindowTest {
 protected:
  static constexpr int kField = 301;
  static constexpr int kView = 302;
  static constexpr int kCombo = 303;

  SWELL_DialogResourceIndex res{resid(7301), "Edits", SWELL_DLG_WS_FLIPPED, makeEdits, 300, 200};
  HWND dlg = nullptr;

  static void makeEdits(HWND view, int) {
    SWELL_MakeSetCurParms(view, false, false, 1, 1, 0, 0);
    SWELL_MakeEditField(kField, 10, 10, 150, 14, 0);
    SWELL_MakeEditField(kView, 10, 40, 150, 60, static_cast<int>(WS_VSCROLL));
    SWELL_MakeCombo(kCombo, 10, 120, 150, 0, CBS_DROPDOWN);
  }

  void SetUp() override {
    h.registerResource(&res);
    dlg = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(7301), nullptr, MessageLog::dialogProc,
                             0);
    ASSERT_NE(dlg, nullptr);
    ShowWindow(dlg, SW_SHOW);
    window()->makeKeyAndOrderFront();
    h.runUntilIdle();
  }
  void TearDown() override { DestroyWindow(dlg); }

  platform::NSWindow* window() const { return viewOf(dlg)->window(); }
  platform::NSView* control(int id) const { return viewOf(GetDlgItem(dlg, id)); }
  void clickInto(int id) {
    platform::NSView* v = control(id);
    h.click(window(), v->convertPointToView({5, 5}, nullptr));
    h.runUntilIdle();
  }
};

// Each editable text control the user clicks into tells its parent with EN_SETFOCUS, the
// control itself as lParam, once.
TEST_F(EditControlsTest, EveryEditableControlTellsItsParentWhenItTakesTheFocus) {
  for (int id : {kField, kView, kCombo}) {
    SCOPED_TRACE(id);
    clickInto(kField == id ? kView : kField);  // the focus starts elsewhere
    log.clear();
    clickInto(id);
    int told = 0;
    for (const auto& m : testsupport::messagesOf(log.messages(), dlg)) {
      if (m.msg != WM_COMMAND || (m.wParam >> 16) != EN_SETFOCUS) continue;
      ++told;
      EXPECT_EQ(m.wParam & 0xFFFF, static_cast<WPARAM>(id));
      EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
    }
    EXPECT_EQ(told, 1);
  }
}

// The multi-line view starts with the dialog font of its scale, as the field does, and takes
// the font of a font object sent with WM_SETFONT; anything but a font object changes nothing.
TEST_F(EditControlsTest, TheMultiLineViewFollowsTheFontRuleAndWmSetFont) {
  auto* view = dynamic_cast<platform::NSTextView*>(control(kView));
  auto* field = dynamic_cast<platform::NSTextField*>(control(kField));
  ASSERT_NE(view, nullptr);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(view->font().pointSize(), 10);
  EXPECT_EQ(view->font(), field->font());

  HFONT font = CreateFont(-17, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Serif");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(SendMessage(GetDlgItem(dlg, kView), WM_SETFONT, reinterpret_cast<WPARAM>(font), 1), 0);
  const platform::NSFont chosen = view->font();
  EXPECT_EQ(chosen.fontName(), "DejaVu Serif");
  EXPECT_EQ(chosen.pointSize(), 17);
  DeleteObject(font);
  // The font object is gone; the view keeps what it was given.
  EXPECT_EQ(view->font(), chosen);

  HPEN pen = CreatePen(0, 1, 0);
  SendMessage(GetDlgItem(dlg, kView), WM_SETFONT, reinterpret_cast<WPARAM>(pen), 1);
  SendMessage(GetDlgItem(dlg, kView), WM_SETFONT, 0, 1);
  EXPECT_EQ(view->font(), chosen);
  DeleteObject(pen);
}

// SWELL_DisableContextMenu takes the context menu off each text control: a right click in
// it then shows none.
TEST_F(EditControlsTest, ADisabledContextMenuIsNotShown) {
  for (int id : {kField, kView, kCombo}) {
    SCOPED_TRACE(id);
    clickInto(id);
    auto* editor = dynamic_cast<platform::NSTextView*>(window()->firstResponder());
    ASSERT_NE(editor, nullptr);
    const platform::NSPoint at = editor->convertPointToView({5, 5}, nullptr);
    h.rightClick(window(), at);
    h.runUntilIdle();
    EXPECT_NE(editor->lastContextMenu(), nullptr);
    SWELL_DisableContextMenu(GetDlgItem(dlg, id), true);
    h.rightClick(window(), at);
    h.runUntilIdle();
    EXPECT_EQ(editor->lastContextMenu(), nullptr);
    SWELL_DisableContextMenu(GetDlgItem(dlg, id), false);
  }
}

}  // namespace
