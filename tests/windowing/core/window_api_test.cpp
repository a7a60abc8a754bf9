#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Box.h"
#include "platform/core/Button.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowObject.h"

using testsupport::MessageLog;

namespace {

// Builds a dialog's controls the way a resource's create function does.
void makeControls(HWND dialog, int) {
  auto* view = swell::objectFromHandleAs<platform::NSView>(dialog);
  auto* imageButton = new platform::NSButton(platform::NSMakeRect(0, 0, 20, 20));
  auto* image = new platform::NSObject;
  imageButton->setImage(image);
  image->release();
  auto* box = new platform::NSBox(platform::NSMakeRect(0, 30, 50, 50));
  auto* label = new platform::NSTextField(platform::NSMakeRect(0, 90, 50, 20));
  label->setEditable(false);
  auto* field = new platform::NSTextField(platform::NSMakeRect(0, 120, 50, 20));
  for (platform::NSView* v : std::vector<platform::NSView*>{imageButton, box, label, field}) {
    view->addSubview(v);
    v->release();
  }
}

class WindowApiTest : public testsupport::WindowTest {
 protected:
  SWELL_DialogResourceIndex controlsRes{reinterpret_cast<const char*>(7101),
                                        "Controls",
                                        SWELL_DLG_WS_FLIPPED,
                                        makeControls,
                                        200,
                                        160};
  void SetUp() override { h.registerResource(&controlsRes); }
};

TEST_F(WindowApiTest, LabelsTakeTheColoursTheDialogProcedureSets) {
  log.answer([](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_CTLCOLORSTATIC) SetTextColor(reinterpret_cast<HDC>(wParam), 0xFF0000);
    return std::nullopt;
  });
  HWND dialog = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(7101),
                                   nullptr, MessageLog::dialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  const auto& subs = swell::objectFromHandleAs<platform::NSView>(dialog)->subviews();
  auto* button = dynamic_cast<platform::NSButton*>(subs[0]);
  auto* box = dynamic_cast<platform::NSBox*>(subs[1]);
  auto* label = dynamic_cast<platform::NSTextField*>(subs[2]);
  auto* field = dynamic_cast<platform::NSTextField*>(subs[3]);
  platform::NSColor red{1, 0, 0, 1};
  EXPECT_EQ(box->titleColor(), red);
  EXPECT_EQ(label->textColor(), red);
  EXPECT_EQ(field->textColor(), platform::NSColor::textColor());
  // The button's colour was asked for but not set, and no default was wanted.
  EXPECT_FALSE(button->titleColor().has_value());
  EXPECT_EQ(log.count(WM_CTLCOLORSTATIC), 1);
  EXPECT_EQ(log.count(WM_CTLCOLORBTN), 1);
  // With the default wanted, an unset colour becomes the text colour.
  SWELL_ColorButtonSubviews(swell::objectFromHandleAs<platform::NSView>(dialog),
                            MessageLog::dialogProc, true);
  EXPECT_EQ(button->titleColor(), platform::NSColor::textColor());
  DestroyWindow(dialog);
}

TEST_F(WindowApiTest, AModelessDialogAskingForFocusBecomesKeyWhenFirstShown) {
  log.answer(WM_INITDIALOG, 1);
  HWND dialog = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(7101),
                                   nullptr, MessageLog::dialogProc, 0);
  platform::NSWindow* window = swell::objectFromHandleAs<platform::NSView>(dialog)->window();
  ShowWindow(dialog, 1);
  EXPECT_TRUE(window->isKeyWindow());
  // Only the first time.
  ShowWindow(dialog, 0);
  HWND other = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400002),
                                  nullptr, nullptr, 0);
  ShowWindow(other, 2);
  ShowWindow(dialog, 1);
  EXPECT_FALSE(window->isKeyWindow());
  DestroyWindow(other);
  DestroyWindow(dialog);
}

TEST_F(WindowApiTest, IsWindowKnowsTheLayersWindowsAndTheirInsides) {
  HWND dialog = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(7101),
                                   nullptr, MessageLog::dialogProc, 0);
  auto* view = swell::objectFromHandleAs<platform::NSView>(dialog);
  HWND label = swell::handleFromObject(view->subviews()[2]);
  HWND window = swell::handleFromObject(view->window());
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_TRUE(IsWindow(label));
  EXPECT_TRUE(IsWindow(window));
  auto* loose = new platform::NSView;
  EXPECT_FALSE(IsWindow(swell::handleFromObject(loose)));
  loose->release();
  DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(label));
  EXPECT_FALSE(IsWindow(nullptr));
}

TEST_F(WindowApiTest, RectanglesOfWindowsAndFlippedViewsInScreenCoordinates) {
  HWND dialog = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(7101),
                                   nullptr, MessageLog::dialogProc, 0);
  platform::NSWindow* window = swell::objectFromHandleAs<platform::NSView>(dialog)->window();
  window->setFrameOrigin({100, 200});
  RECT r;
  ASSERT_TRUE(GetWindowRect(dialog, &r));  // the content view stands for the window
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 200);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 200 + 160 + 22);
  // A child of the flipped content view: its top edge is the larger screen y.
  HWND child = bareWindow(dialog);
  swell::objectFromHandleAs<platform::NSView>(child)->setFrame(
      platform::NSMakeRect(10, 20, 30, 40));
  ASSERT_TRUE(GetWindowRect(child, &r));
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.top, 200 + 160 - 20);
  EXPECT_EQ(r.bottom, 200 + 160 - 60);
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 30);
  EXPECT_EQ(r.bottom, 40);
  DestroyWindow(dialog);
}

TEST_F(WindowApiTest, RunEventsDispatchesWhatIsQueuedAndQuitTerminates) {
  int ran = 0;
  for (int i = 0; i < 3; ++i)
    h.perform([&] { ++ran; });
  SWELL_RunEvents();
  EXPECT_EQ(ran, 3);
  double start = h.now();
  SWELL_RunLoopFor(25);
  EXPECT_GE(h.now(), start + 25);
  EXPECT_FALSE(swell::isQuitting());
  SWELL_PostQuitMessage(nullptr);
  EXPECT_TRUE(swell::isQuitting());
  EXPECT_TRUE(platform::NSApp()->isTerminated());
}

}  // namespace
