#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowObject.h"

using testsupport::ExpectedMessage;
using testsupport::MessageLog;

namespace {

// A focusable plain view, to stand for a control in a dialog.
class FocusableView : public platform::NSView {
 public:
  using NSView::NSView;
  bool acceptsFirstResponder() const override { return true; }
};

void addFocusable(HWND dialog, int) {
  auto* view = swell::objectFromHandleAs<platform::NSView>(dialog);
  auto* f = new FocusableView(platform::NSMakeRect(10, 10, 50, 20));
  view->addSubview(f);
  f->release();
}

class WindowObjectTest : public testsupport::WindowTest {
 protected:
  SWELL_DialogResourceIndex childRes{reinterpret_cast<const char*>(7001),
                                     nullptr,
                                     SWELL_DLG_WS_CHILD | SWELL_DLG_WS_FLIPPED,
                                     nullptr,
                                     100,
                                     80};
  SWELL_DialogResourceIndex focusRes{
      reinterpret_cast<const char*>(7002), nullptr, SWELL_DLG_WS_CHILD, addFocusable, 100, 80};
  platform::NSWindow* host = nullptr;
  HWND hostView = nullptr;

  void SetUp() override {
    h.registerResource(&childRes);
    h.registerResource(&focusRes);
    hostView = bareWindow(nullptr, nullptr);
    ASSERT_NE(hostView, nullptr);
    host = swell::objectFromHandleAs<platform::NSView>(hostView)->window();
  }
  void TearDown() override { DestroyWindow(hostView); }

  HWND child(int resid, LPARAM param = 0) {
    return SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(resid),
                              hostView, MessageLog::dialogProc, param);
  }
};

TEST_F(WindowObjectTest, BareChildGetsWmCreateWithTheParameterAndNoInitDialog) {
  HWND bare = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400000),
                                 hostView, MessageLog::windowProc, 1234);
  ASSERT_NE(bare, nullptr);
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(), {{WM_CREATE, 0, 1234}}));
  EXPECT_EQ(log.count(WM_INITDIALOG), 0);
  auto* view = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(bare);
  EXPECT_EQ(view->frame(), platform::NSMakeRect(0, 0, 300, 200));
  EXPECT_TRUE(view->isFlipped());
  EXPECT_TRUE(view->isOpaque());
  EXPECT_TRUE(view->isHidden());
  EXPECT_EQ(view->swellCreateWindowFlags(), 15u);
}

TEST_F(WindowObjectTest, InitDialogNamesTheFirstFocusableChildOrNothing) {
  HWND plain = child(7001, 5);
  ASSERT_TRUE(testsupport::messagesMatch(log.messages(), {{WM_INITDIALOG, 0, 5}}, {WM_INITDIALOG}));
  log.clear();
  HWND withControl = child(7002);
  auto* control = swell::objectFromHandleAs<platform::NSView>(withControl)->subviews().at(0);
  EXPECT_TRUE(testsupport::messagesMatch(
      log.messages(), {{WM_INITDIALOG, reinterpret_cast<WPARAM>(control), std::nullopt}},
      {WM_INITDIALOG}));
  // A nonzero answer gives that control the focus.
  log.clear();
  log.answer(WM_INITDIALOG, 1);
  HWND focused = child(7002);
  auto* focusedControl = swell::objectFromHandleAs<platform::NSView>(focused)->subviews().at(0);
  EXPECT_EQ(host->firstResponder(), focusedControl);
  DestroyWindow(plain);
  DestroyWindow(withControl);
  DestroyWindow(focused);
}

TEST_F(WindowObjectTest, AnswerBeefGivesTheFocusToTheDialogItself) {
  log.answer(WM_INITDIALOG, 0xBEEF);
  HWND dialog = child(7002);
  EXPECT_EQ(host->firstResponder(), swell::objectFromHandle(dialog));
  EXPECT_GE(log.count(WM_MOUSEACTIVATE, dialog), 1);
}

TEST_F(WindowObjectTest, DestroySequenceRunsOnceAndStillDeliversFromInside) {
  HWND dialog = child(7001);
  std::vector<LRESULT> insideAnswers;
  log.answer([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd != dialog) return std::nullopt;
    if (msg == WM_DESTROY) {
      // Messages sent while WM_DESTROY is handled still arrive, but not a second
      // WM_DESTROY nor WM_CAPTURECHANGED.
      insideAnswers.push_back(SendMessage(dialog, WM_USER, 0, 0));
      insideAnswers.push_back(SendMessage(dialog, WM_DESTROY, 0, 0));
      insideAnswers.push_back(SendMessage(dialog, WM_CAPTURECHANGED, 0, 0));
      return 11;
    }
    if (msg == WM_USER) return 42;
    return std::nullopt;
  });
  log.clear();
  EXPECT_EQ(SendMessage(dialog, WM_DESTROY, 0, 0), 11);
  EXPECT_EQ(insideAnswers, (std::vector<LRESULT>{42, 0, 0}));
  EXPECT_EQ(SendMessage(dialog, WM_DESTROY, 0, 0), 0);
  EXPECT_EQ(SendMessage(dialog, WM_USER, 0, 0), 0);
  EXPECT_EQ(log.codes(dialog), (std::vector<UINT>{WM_DESTROY, WM_USER}));
  auto* view = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(dialog);
  EXPECT_EQ(view->destroyState(), 2);
  EXPECT_FALSE(view->swellCanPostMessage());
  DestroyWindow(dialog);
  EXPECT_FALSE(platform::isLiveObject(dialog));
}

TEST_F(WindowObjectTest, DestroyingAParentDestroysItsWindowObjectChildrenAfterIt) {
  HWND parent = child(7001);
  HWND kid = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(7001),
                                parent, MessageLog::dialogProc, 0);
  log.clear();
  DestroyWindow(parent);
  EXPECT_EQ(log.codes(nullptr, {WM_MOUSEACTIVATE}), (std::vector<UINT>{WM_DESTROY, WM_DESTROY}));
  EXPECT_EQ(log.messages()[0].hwnd, parent);
  EXPECT_EQ(log.messages()[1].hwnd, kid);
}

TEST_F(WindowObjectTest, ExtraDataReadsZeroAndIgnoresWritesOutsideItsRange) {
  HWND dialog = child(7001);
  SetWindowLong(dialog, 0, 10);
  SetWindowLong(dialog, 7, 11);  // the same word as index 0
  SetWindowLong(dialog, 248, 12);
  EXPECT_EQ(GetWindowLong(dialog, 0), 11);
  EXPECT_EQ(GetWindowLong(dialog, 255), 12);
  for (int bad : {256, 1000, -1, -100, -7}) {
    EXPECT_EQ(SetWindowLong(dialog, bad, 99), 0) << bad;
    EXPECT_EQ(GetWindowLong(dialog, bad), 0) << bad;
  }
  EXPECT_EQ(GetWindowLong(dialog, 0), 11);
  SetWindowLong(dialog, GWL_USERDATA, 77);
  EXPECT_EQ(GetWindowLong(dialog, GWL_USERDATA), 77);
  EXPECT_EQ(GetWindowLong(dialog, DWL_DLGPROC),
            reinterpret_cast<LONG_PTR>(&MessageLog::dialogProc));
}

BOOL collectProps(HWND, const char* name, HANDLE data, LPARAM lParam) {
  auto* out = reinterpret_cast<std::vector<std::string>*>(lParam);
  bool atom = reinterpret_cast<std::uintptr_t>(name) < 0x10000;
  out->push_back(
      (atom ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name)) : std::string(name)) +
      "=" + std::to_string(reinterpret_cast<std::uintptr_t>(data)));
  return 1;
}

TEST_F(WindowObjectTest, PropertiesKeepAtomsAndStringsApartAndFreeWhatTheyRemove) {
  HWND dialog = child(7001);
  EXPECT_EQ(EnumPropsEx(dialog, collectProps, 0), -1);
  char name[] = "5";
  EXPECT_EQ(SetProp(dialog, reinterpret_cast<const char*>(5), reinterpret_cast<HANDLE>(1)), 1);
  EXPECT_EQ(SetProp(dialog, name, reinterpret_cast<HANDLE>(2)), 1);
  std::strcpy(name, "x");  // the property keeps its own copy of the name
  EXPECT_EQ(GetProp(dialog, reinterpret_cast<const char*>(5)), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(GetProp(dialog, "5"), reinterpret_cast<HANDLE>(2));
  EXPECT_EQ(GetProp(dialog, "x"), nullptr);
  SetProp(dialog, "5", reinterpret_cast<HANDLE>(3));
  std::vector<std::string> seen;
  EXPECT_EQ(EnumPropsEx(dialog, collectProps, reinterpret_cast<LPARAM>(&seen)), 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"5=3", "#5=1"}));
  EXPECT_EQ(RemoveProp(dialog, "5"), reinterpret_cast<HANDLE>(3));
  EXPECT_EQ(GetProp(dialog, "5"), nullptr);
  // Left-over properties are freed with the window (the leak checker watches).
  SetProp(dialog, "left over", reinterpret_cast<HANDLE>(4));
  DestroyWindow(dialog);
}

TEST_F(WindowObjectTest, WindowTextIsCutAt1023BytesWithoutSplittingASequence) {
  HWND dialog = child(7001);
  std::string text(1022, 'a');
  text += "\xC3\xA9";  // an e with acute accent that would straddle the limit
  text += "tail";
  SetDlgItemText(dialog, 0, text.c_str());
  char buffer[2048];
  GetDlgItemText(dialog, 0, buffer, sizeof buffer);
  EXPECT_EQ(std::strlen(buffer), 1022u);
  std::string exact(1021, 'b');
  exact += "\xC3\xA9";
  SetDlgItemText(dialog, 0, exact.c_str());
  GetDlgItemText(dialog, 0, buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), exact);
  // A small caller buffer is honoured the same way.
  char small[3];
  SetDlgItemText(dialog, 0, "a\xC3\xA9");
  GetDlgItemText(dialog, 0, small, sizeof small);
  EXPECT_STREQ(small, "a");
}

TEST_F(WindowObjectTest, DestroyingTheMainMenusWindowRemovesTheMainMenuUnlessQuitting) {
  HWND dialog = child(7001);
  HMENU menu = CreatePopupMenu();
  auto* object = platform::liveObjectAs<platform::NSMenu>(menu);
  object->addItem(new platform::NSMenuItem("Item"));
  object->itemAtIndex(0)->release();
  object->itemAtIndex(0)->setTag(40001);  // items without a command id keep their own target
  swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(dialog)->swellSetMenu(menu);
  EXPECT_EQ(object->itemAtIndex(0)->target(), swell::objectFromHandle(dialog));
  platform::NSApp()->setMainMenu(object);
  DestroyWindow(dialog);
  EXPECT_EQ(platform::NSApp()->mainMenu(), nullptr);
  EXPECT_FALSE(platform::isLiveObject(menu));

  HWND other = child(7001);
  HMENU second = CreatePopupMenu();
  swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(other)->swellSetMenu(second);
  platform::NSApp()->setMainMenu(platform::liveObjectAs<platform::NSMenu>(second));
  SWELL_PostQuitMessage(nullptr);
  DestroyWindow(other);
  EXPECT_NE(platform::NSApp()->mainMenu(), nullptr);
  platform::NSApp()->setMainMenu(nullptr);
}

TEST_F(WindowObjectTest, EnabledStateDecidesFocusAndFirstMouse) {
  HWND dialog = child(7001);
  auto* view = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(dialog);
  EXPECT_TRUE(view->acceptsFirstResponder());
  view->setEnabled(false);
  EXPECT_FALSE(view->acceptsFirstResponder());
  EXPECT_FALSE(view->acceptsFirstMouse(nullptr));
  view->setEnabledSwellNoFocus();
  EXPECT_FALSE(view->acceptsFirstResponder());  // not the content view
  auto* content = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hostView);
  content->setEnabledSwellNoFocus();
  EXPECT_TRUE(content->acceptsFirstResponder());
  log.clear();
  view->setEnabled(true);
  EXPECT_TRUE(view->acceptsFirstMouse(nullptr));
  EXPECT_EQ(log.count(WM_MOUSEACTIVATE, dialog), 1);
}

// Dialog procedures for the background painting cases.
COLORREF gBrushColor = 0;
INT_PTR paintingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  static HBRUSH brush = nullptr;
  MessageLog::dialogProc(hwnd, msg, wParam, lParam);  // recorded
  if (msg == WM_ERASEBKGND) return GetWindowLong(hwnd, GWL_USERDATA) == 1 ? 1 : 0;
  if (msg == WM_CTLCOLORDLG && gBrushColor) {
    if (brush) DeleteObject(brush);
    brush = CreateSolidBrush(static_cast<int>(gBrushColor));
    return reinterpret_cast<INT_PTR>(brush);
  }
  return 0;
}

TEST_F(WindowObjectTest, DialogWindowProcPaintsTheBackgroundUnlessErasingIsHandled) {
  SWELL_DialogResourceIndex opaque{reinterpret_cast<const char*>(7003),
                                   "Paint",
                                   SWELL_DLG_WS_FLIPPED | SWELL_DLG_WS_OPAQUE,
                                   nullptr,
                                   40,
                                   30};
  h.registerResource(&opaque);
  HWND dialog = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(7003),
                                   nullptr, paintingProc, 0);
  ASSERT_NE(dialog, nullptr);
  auto* window = swell::objectFromHandleAs<platform::NSView>(dialog)->window();
  window->setBackgroundColor({0, 0, 0, 1});
  ShowWindow(dialog, 1);
  gBrushColor = 0x00FF00;  // this layer's COLORREF: red in bits 16..23
  log.clear();
  window->display();
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(), {{WM_CTLCOLORDLG}, {WM_PAINT}},
                                         {WM_CTLCOLORDLG, WM_PAINT}));
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(window, 20, 15), 0xFF00FF00u);
  gBrushColor = 0;
  window->display();
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(window, 20, 15), 0xFFECECECu);
  // A procedure that erases itself gets no painting underneath.
  SetWindowLong(dialog, GWL_USERDATA, 1);
  log.clear();
  window->display();
  EXPECT_EQ(log.count(WM_CTLCOLORDLG), 0);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(window, 20, 15), 0xFF000000u);
  EXPECT_TRUE(testsupport::PlatformHarness::renderPNG(window, ::testing::TempDir() + "dialog.png"));
  DestroyWindow(dialog);
}

TEST_F(WindowObjectTest, HandlesOfFreedWindowsAreRefusedEverywhere) {
  HWND dialog = child(7001);
  DestroyWindow(dialog);
  ASSERT_FALSE(platform::isLiveObject(dialog));
  EXPECT_EQ(SendMessage(dialog, WM_USER, 0, 0), 0);
  EXPECT_EQ(GetWindowLong(dialog, GWL_USERDATA), 0);
  EXPECT_EQ(SetProp(dialog, "a", nullptr), 0);
  EXPECT_EQ(IsWindow(dialog), 0);
  EXPECT_EQ(DestroyWindow(dialog), 0);
  int local = 0;
  EXPECT_EQ(SendMessage(reinterpret_cast<HWND>(&local), WM_USER, 0, 0), 0);
}

}  // namespace
