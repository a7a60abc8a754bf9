#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/core/Slider.h"
#include "platform/core/Text.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/ControlButton.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/WindowObject.h"

using platform::NSMakeRect;
using platform::Ref;
using testsupport::addControl;
using testsupport::ExpectedMessage;
using testsupport::MessageLog;

namespace {

HWND handle(const platform::NSObject* object) {
  return swell::handleFromObject(object);
}

// A plain window that has a message entry of its own, to check where messages for its
// content view go.
class WindowWithEntry : public platform::NSWindow, public SwellMessageEntry {
 public:
  using platform::NSWindow::NSWindow;
  LRESULT onSwellMessage(UINT msg, WPARAM wParam, LPARAM) override {
    received.push_back(msg);
    return static_cast<LRESULT>(wParam) + 1000;
  }
  std::vector<UINT> received;
};

class ControlMessageTest : public testsupport::WindowTest {
 protected:
  platform::NSWindow* w = nullptr;
  platform::NSView* content = nullptr;

  void SetUp() override {
    w = new platform::NSWindow(NSMakeRect(100, 100, 300, 200), platform::NSWindowStyleMaskTitled);
    Ref<platform::NSView> view = Ref<platform::NSView>::adopt(new platform::NSView);
    w->setContentView(view.get());
    content = view.get();
    w->makeKeyAndOrderFront();
  }
  void TearDown() override { w->close(); }
};

TEST_F(ControlMessageTest, CheckStatesIncludingMixed) {
  HWND check = handle(addControl(content, new Swell_vCorvaneBrisko_button, 5));
  auto* button = swell::objectFromHandleAs<platform::NSButton>(check);
  button->setButtonType(platform::NSButtonTypeSwitch);
  struct Step {
    WPARAM set;
    LRESULT got;
  };
  for (Step s : {Step{1, 1}, Step{2, 2}, Step{0, 0}, Step{3, 2}, Step{1, 1}}) {
    EXPECT_EQ(SendMessage(check, BM_SETCHECK, s.set, 0), 0);
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), s.got) << "after setting " << s.set;
  }
  // A plain native button answers too.
  HWND plain = handle(addControl(content, new platform::NSButton, 6));
  SendMessage(plain, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessage(plain, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ControlMessageTest, ButtonImagesComeFromLiveBitmapObjects) {
  auto* button = addControl(content, new Swell_vCorvaneBrisko_button, 5);
  HWND b = handle(button);
  Ref<platform::NSObject> picture = Ref<platform::NSObject>::adopt(new platform::NSObject);
  HBITMAP bitmap = swell::makeBitmapObject(picture.get());
  HBRUSH brush = CreateSolidBrush(0x123456);

  EXPECT_EQ(SendMessage(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
  EXPECT_EQ(button->image(), picture.get());
  EXPECT_EQ(SendMessage(b, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap));
  EXPECT_EQ(SendMessage(b, BM_GETIMAGE, 2, 0), 0);
  EXPECT_EQ(SendMessage(b, BM_SETIMAGE, 2, reinterpret_cast<LPARAM>(brush)), 0);
  EXPECT_EQ(button->image(), picture.get());  // an unknown image kind changes nothing
  // Anything but a bitmap holding an image clears the image.
  EXPECT_EQ(SendMessage(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(brush)),
            reinterpret_cast<LRESULT>(bitmap));
  EXPECT_EQ(button->image(), nullptr);
  EXPECT_EQ(SendMessage(b, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  SendMessage(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  DeleteObject(bitmap);
  SendMessage(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));  // now stale
  EXPECT_EQ(button->image(), nullptr);
  DeleteObject(brush);
  // A plain native button has no image object to give.
  HWND plain = handle(addControl(content, new platform::NSButton, 6));
  EXPECT_EQ(SendMessage(plain, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

TEST_F(ControlMessageTest, SliderPositionsAndRanges) {
  auto* slider = addControl(content, new platform::NSSlider(NSMakeRect(10, 10, 150, 21)), 9);
  HWND s = handle(slider);
  EXPECT_EQ(SendMessage(s, TBM_SETRANGE, 1, 100 << 16), 1);
  EXPECT_EQ(slider->minValue(), 0);
  EXPECT_EQ(slider->maxValue(), 100);
  EXPECT_EQ(SendMessage(s, TBM_SETPOS, 1, 40), 1);
  EXPECT_EQ(SendMessage(s, TBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(SendMessage(s, TBM_SETPOS, 1, 500), 1);
  EXPECT_EQ(SendMessage(s, TBM_GETPOS, 0, 0), 100);
  slider->setDoubleValue(62.5);
  EXPECT_EQ(SendMessage(s, TBM_GETPOS, 0, 0), 63);
  EXPECT_EQ(SendMessage(s, TBM_SETTIC, 0, 5), 1);
  EXPECT_EQ(SendMessage(s, 1026, 0, 0), 0);
  // The range's words are unsigned; the position is a 32-bit signed number.
  SendMessage(s, TBM_SETRANGE, 1, static_cast<LPARAM>(0xFFFF0000u | 0x8000u));
  EXPECT_EQ(slider->minValue(), 0x8000);
  EXPECT_EQ(slider->maxValue(), 0xFFFF);
  SWELL_TB_SetRange(handle(content), 9, -50, 50);
  SendMessage(s, TBM_SETPOS, 1, static_cast<LPARAM>(0x1FFFFFFD6ll));  // low 32 bits: -42
  EXPECT_EQ(SWELL_TB_GetPos(handle(content), 9), -42);
  SWELL_TB_SetPos(handle(content), 9, 7);
  EXPECT_EQ(slider->doubleValue(), 7);
}

TEST_F(ControlMessageTest, SliderFunctionsSendToAControlWithItsOwnProcedure) {
  SWELL_DialogResourceIndex res{
      reinterpret_cast<const char*>(7201), nullptr, SWELL_DLG_WS_CHILD, nullptr, 100, 30};
  h.registerResource(&res);
  HWND parent = bareWindow(nullptr, nullptr);
  HWND custom = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(7201),
                                   parent, MessageLog::dialogProc, 0);
  ASSERT_NE(custom, nullptr);
  SetWindowLong(custom, GWL_ID, 44);
  log.answer(TBM_GETPOS, 42);
  log.clear();
  EXPECT_EQ(SWELL_TB_GetPos(parent, 44), 42);
  SWELL_TB_SetPos(parent, 44, 9);
  SWELL_TB_SetRange(parent, 44, -1, 300);
  SWELL_TB_SetTic(parent, 44, 3);
  std::vector<ExpectedMessage> expected = {
      {TBM_GETPOS, 0, 0},
      {TBM_SETPOS, 1, 9},
      {TBM_SETRANGE, 1, static_cast<LPARAM>(0xFFFFu | (300u << 16))},
      {TBM_SETTIC, 0, 3}};
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(), expected,
                                         {TBM_GETPOS, TBM_SETPOS, TBM_SETRANGE, TBM_SETTIC}));
  EXPECT_EQ(SWELL_TB_GetPos(parent, 999), 0);
  EXPECT_EQ(SWELL_TB_GetPos(nullptr, 0), 0);
  DestroyWindow(parent);
}

TEST_F(ControlMessageTest, EditSelectionActsOnlyWhileTheFieldIsEdited) {
  auto* field = addControl(content, new platform::NSTextField(NSMakeRect(10, 50, 200, 24)), 3);
  HWND f = handle(field);
  field->setStringValue("hello");
  std::int32_t start = -1, end = -1;
  SendMessage(f, EM_SETSEL, 1, 2);  // not editing: nothing happens
  SendMessage(f, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 0);

  ASSERT_TRUE(w->makeFirstResponder(field));
  platform::NSText* editor = field->currentEditor();
  ASSERT_NE(editor, nullptr);
  struct Case {
    WPARAM from;
    LPARAM to;
    platform::NSRange want;
  };
  const Case cases[] = {
      {2, -1, {2, 3}},          {static_cast<WPARAM>(-1), 3, {0, 0}},
      {4, 1, {4, 0}},           {1, 99, {1, 4}},
      {0xFFFFFFFFu, 2, {0, 0}}, {static_cast<WPARAM>(1) << 40, 0xFFFFFFFF, {5, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessage(f, EM_SETSEL, c.from, c.to), 0);
    EXPECT_EQ(editor->selectedRange(), c.want) << c.from << ", " << c.to;
  }
  SendMessage(f, EM_SETSEL, 1, 3);
  SendMessage(f, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 3);
  SendMessage(f, EM_GETSEL, 0, 0);  // null pointers are skipped
  EXPECT_EQ(SendMessage(f, EM_SETPASSWORDCHAR, '*', 0), 0);
}

TEST_F(ControlMessageTest, DispatchOrderAndWhereUnmatchedMessagesGo) {
  // A window whose content view has a procedure: the window handle reaches it.
  HWND dialog = bareWindow();
  auto* view = swell::objectFromHandleAs<platform::NSView>(dialog);
  HWND window = handle(view->window());
  log.clear();
  SendMessage(window, WM_USER + 5, 1, 2);
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(), {{WM_USER + 5, 1, 2}}));
  DestroyWindow(dialog);

  // A content view without procedure stands for a window that has an entry, also for
  // a control message of a kind it is not.
  auto* own = new WindowWithEntry(NSMakeRect(0, 0, 100, 100), platform::NSWindowStyleMaskTitled);
  Ref<platform::NSView> plain = Ref<platform::NSView>::adopt(new platform::NSView);
  own->setContentView(plain.get());
  EXPECT_EQ(SendMessage(handle(plain.get()), BM_GETCHECK, 3, 0), 1003);
  EXPECT_EQ(own->received, (std::vector<UINT>{BM_GETCHECK}));
  // A native control that is not the content view and matches no row answers 0.
  HWND slider = handle(addControl(content, new platform::NSSlider, 8));
  EXPECT_EQ(SendMessage(slider, BM_GETCHECK, 0, 0), 0);
  own->close();

  // Null and stale handles.
  EXPECT_EQ(SendMessage(nullptr, BM_GETCHECK, 0, 0), 0);
  auto* gone = new Swell_vCorvaneBrisko_button;
  HWND goneHandle = handle(gone);
  gone->release();
  EXPECT_EQ(SendMessage(goneHandle, BM_SETCHECK, 1, 0), 0);
}

}  // namespace
