#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/Panel.h"
#include "platform/core/Window.h"
#include "platform/objects/Screen.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/ModelessWindow.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/TestHooks.h"
#include "windowing/dialogs/detail/DialogBox.h"

using testsupport::MessageLog;
using testsupport::resid;

namespace {

platform::NSWindow* windowOf(HWND hwnd) {
  auto* view = swell::objectFromHandleAs<platform::NSView>(hwnd);
  return view ? view->window() : nullptr;
}

// The host's two resources: the main window and the "Preferences" dialog.
class DialogTest : public testsupport::WindowTest {
 protected:
  SWELL_DialogResourceIndex mainRes{resid(40001), "Main", 28, nullptr, 300, 300};
  SWELL_DialogResourceIndex prefsRes{resid(40002), "Preferences", 12, nullptr, 334, 195};
  SWELL_DialogResourceIndex childOnly{resid(40003), nullptr, SWELL_DLG_WS_CHILD, nullptr, 50, 50};

  void SetUp() override {
    h.registerResource(&mainRes);
    h.registerResource(&prefsRes);
    h.registerResource(&childOnly);
  }
};

TEST_F(DialogTest, HostResourcesMakeTheModelessMainWindowAndRunTheModalPreferences) {
  HWND mainView = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                     MessageLog::dialogProc, 0);
  ASSERT_NE(mainView, nullptr);
  platform::NSWindow* mainWindow = windowOf(mainView);
  ASSERT_TRUE(dynamic_cast<Swell_vCorvaneBrisko_modelesswindow*>(mainWindow));
  EXPECT_EQ(mainWindow->styleMask(), 7u);  // titled, closable, miniaturizable
  EXPECT_EQ(mainWindow->title(), "Main");
  auto* content = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(mainView);
  EXPECT_EQ(content->frame().size, (platform::NSSize{300, 300}));
  EXPECT_TRUE(content->isFlipped());
  EXPECT_TRUE(content->isOpaque());
  // Placed 50 right of and 100 below the top left of the screen area; shown later.
  RECT screen;
  SWELL_GetViewPort(&screen, nullptr, false);
  EXPECT_EQ(mainWindow->contentRect().origin.x, screen.left + 50);
  EXPECT_EQ(mainWindow->contentRect().maxY(), screen.bottom - 100);
  EXPECT_FALSE(mainWindow->isVisible());
  ShowWindow(mainView, 2);
  EXPECT_TRUE(mainWindow->isKeyWindow());

  // The preferences dialog: OK pressed from inside the modal loop.
  bool sawPanel = false;
  h.onModal([&](platform::NSWindow* w) {
    auto* box = dynamic_cast<Swell_vCorvaneBrisko_dialogbox*>(w);
    if (!box || sawPanel) return;
    sawPanel = true;
    EXPECT_EQ(box->styleMask(), 3u);  // titled, closable
    EXPECT_EQ(box->contentRect().size, (platform::NSSize{334, 195}));
    EXPECT_EQ(box->title(), "Preferences");
    SendMessage(swell::handleFromObject(box->contentView()), WM_COMMAND, IDOK, 0);
  });
  log.answer([](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_COMMAND && wParam == IDOK) {
      EndDialog(hwnd, 1);
      return 1;
    }
    return std::nullopt;
  });
  log.clear();
  int result =
      SWELL_DialogBox(SWELL_DialogResourceHead, resid(40002), mainView, MessageLog::dialogProc, 9);
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(sawPanel);
  EXPECT_EQ(platform::NSApp()->modalWindow(), nullptr);
  HWND prefs = log.messages().front().hwnd;
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(),
                                         {{WM_INITDIALOG, 0, 9}, {WM_COMMAND, IDOK}, {WM_DESTROY}},
                                         {WM_INITDIALOG, WM_COMMAND, WM_DESTROY}));
  EXPECT_FALSE(platform::isLiveObject(prefs));
  EXPECT_TRUE(mainWindow->isKeyWindow());
  DestroyWindow(mainView);
  EXPECT_FALSE(platform::isLiveObject(mainWindow));
}

TEST_F(DialogTest, UnknownAndChildOnlyResourcesAreRefused) {
  EXPECT_EQ(SWELL_CreateDialog(SWELL_DialogResourceHead, resid(49999), nullptr, nullptr, 0),
            nullptr);
  EXPECT_EQ(SWELL_DialogBox(SWELL_DialogResourceHead, resid(49999), nullptr, nullptr, 0), -1);
  EXPECT_EQ(SWELL_DialogBox(SWELL_DialogResourceHead, resid(40003), nullptr, nullptr, 0), -1);
  // A child-only resource without a parent becomes a top-level window.
  HWND top = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40003), nullptr, nullptr, 0);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(windowOf(top)->contentView(), swell::objectFromHandle(top));
  DestroyWindow(top);
}

TEST_F(DialogTest, EndDialogDuringInitDialogReturnsAtOnceAfterOneDestroy) {
  log.answer([](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_INITDIALOG) EndDialog(hwnd, 5);
    return std::nullopt;
  });
  int modalStarts = 0;
  h.onModal([&](platform::NSWindow*) { ++modalStarts; });
  EXPECT_EQ(
      SWELL_DialogBox(SWELL_DialogResourceHead, resid(40002), nullptr, MessageLog::dialogProc, 0),
      5);
  EXPECT_EQ(modalStarts, 0);
  EXPECT_EQ(log.count(WM_DESTROY), 1);
}

TEST_F(DialogTest, CloseBoxSendsCloseThenCancelWhichEndsTheDialog) {
  log.answer([](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_COMMAND && wParam == IDCANCEL) {
      EndDialog(hwnd, 7);
      return 1;
    }
    return std::nullopt;
  });
  bool clicked = false;
  h.onModal([&](platform::NSWindow* w) {
    if (!clicked) {
      clicked = true;
      h.closeBox(w);
    }
  });
  EXPECT_EQ(
      SWELL_DialogBox(SWELL_DialogResourceHead, resid(40002), nullptr, MessageLog::dialogProc, 0),
      7);
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(),
                                         {{WM_CLOSE}, {WM_COMMAND, IDCANCEL, 0}, {WM_DESTROY}},
                                         {WM_CLOSE, WM_COMMAND, WM_DESTROY}));
}

TEST_F(DialogTest, ACloseBoxNobodyHandlesKeepsTheWindowOpen) {
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                 MessageLog::dialogProc, 0);
  ShowWindow(view, 1);
  h.closeBox(windowOf(view));
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_CLOSE), 1);
  EXPECT_EQ(log.count(WM_COMMAND), 1);
  EXPECT_TRUE(windowOf(view)->isVisible());
  DestroyWindow(view);
}

TEST_F(DialogTest, EndDialogWhileANestedModalLoopRunsEndsTheDialogWhenItReturns) {
  auto* nested =
      new platform::NSPanel(platform::NSMakeRect(0, 0, 50, 50), platform::NSWindowStyleMaskTitled);
  HWND dialog = nullptr;
  bool nestedRan = false;
  h.onModal([&](platform::NSWindow* w) {
    if (w == nested) {
      // The dialog is ended while the nested loop is current: only the result is kept.
      EndDialog(dialog, 3);
      platform::NSApp()->stopModal();
    } else if (!nestedRan && dynamic_cast<Swell_vCorvaneBrisko_dialogbox*>(w)) {
      nestedRan = true;
      dialog = swell::handleFromObject(w->contentView());
      platform::NSApp()->runModalForWindow(nested);
    }
  });
  EXPECT_EQ(
      SWELL_DialogBox(SWELL_DialogResourceHead, resid(40002), nullptr, MessageLog::dialogProc, 0),
      3);
  EXPECT_FALSE(h.watchdogFired());
  EXPECT_EQ(log.count(WM_DESTROY), 1);
  nested->close();
}

TEST_F(DialogTest, ADialogDestroyedWithoutEndDialogStillReturns) {
  h.onModal([&](platform::NSWindow* w) {
    if (auto* box = dynamic_cast<Swell_vCorvaneBrisko_dialogbox*>(w))
      DestroyWindow(swell::handleFromObject(box->contentView()));
  });
  EXPECT_EQ(
      SWELL_DialogBox(SWELL_DialogResourceHead, resid(40002), nullptr, MessageLog::dialogProc, 0),
      0);
  EXPECT_FALSE(h.watchdogFired());
}

TEST_F(DialogTest, ADialogDestroyedDuringInitDialogReturnsWithoutAModalLoop) {
  log.answer([](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_INITDIALOG) DestroyWindow(hwnd);
    return std::nullopt;
  });
  EXPECT_EQ(
      SWELL_DialogBox(SWELL_DialogResourceHead, resid(40002), nullptr, MessageLog::dialogProc, 0),
      0);
  EXPECT_FALSE(h.watchdogFired());
  EXPECT_EQ(log.count(WM_DESTROY), 1);
  EXPECT_EQ(platform::NSApp()->modalWindow(), nullptr);
}

TEST_F(DialogTest, ATimerOfTheDialogEndsItFromInsideTheModalLoop) {
  log.answer([](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_INITDIALOG) SetTimer(hwnd, 1, 20, nullptr);
    if (msg == WM_TIMER && wParam == 1) EndDialog(hwnd, 4);
    return std::nullopt;
  });
  EXPECT_EQ(
      SWELL_DialogBox(SWELL_DialogResourceHead, resid(40002), nullptr, MessageLog::dialogProc, 0),
      4);
  EXPECT_FALSE(h.watchdogFired());
  EXPECT_EQ(log.count(WM_TIMER), 1);
  EXPECT_EQ(swell::timerCount(), 0);
}

TEST_F(DialogTest, OwnedWindowsAreDestroyedFirstAndHandKeyStatusBack) {
  HWND owner = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                  MessageLog::dialogProc, 0);
  HWND owned =
      SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), owner, MessageLog::dialogProc, 0);
  HWND ownedOfOwned =
      SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), owned, MessageLog::dialogProc, 0);
  ShowWindow(owner, 2);
  ShowWindow(owned, 2);
  EXPECT_EQ(GetWindowLong(owned, GWL_HWNDPARENT), reinterpret_cast<LONG_PTR>(owner));
  // Destroying an owned key window hands key status back to its owner.
  log.clear();
  DestroyWindow(owned);
  EXPECT_TRUE(windowOf(owner)->isKeyWindow());
  auto destroyOrder = [&] {
    std::vector<HWND> order;
    for (const auto& m : log.messages())
      if (m.msg == WM_DESTROY) order.push_back(m.hwnd);
    return order;
  };
  EXPECT_EQ(destroyOrder(), (std::vector<HWND>{owned, ownedOfOwned}));
  EXPECT_FALSE(platform::isLiveObject(ownedOfOwned));
  // Destroying the owner destroys what it still owns, after its own WM_DESTROY.
  HWND again =
      SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), owner, MessageLog::dialogProc, 0);
  log.clear();
  DestroyWindow(owner);
  EXPECT_EQ(destroyOrder(), (std::vector<HWND>{owner, again}));
  EXPECT_FALSE(platform::isLiveObject(again));
}

TEST_F(DialogTest, SizesThatTruncateAlikeSendOneWmSize) {
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                 MessageLog::dialogProc, 0);
  platform::NSWindow* w = windowOf(view);
  platform::NSRect f = w->frame();
  log.clear();
  w->setFrame(platform::NSMakeRect(f.origin.x, f.origin.y, 400.2, 300.4), false);
  w->setFrame(platform::NSMakeRect(f.origin.x, f.origin.y, 400.7, 300.9), false);
  w->setFrame(platform::NSMakeRect(f.origin.x + 5, f.origin.y, 400.7, 300.9), false);
  EXPECT_EQ(log.count(WM_SIZE), 1);
  EXPECT_EQ(log.count(WM_MOVE), 1);
  auto move = std::find_if(log.messages().begin(), log.messages().end(),
                           [](const auto& m) { return m.msg == WM_MOVE; });
  LPARAM expected = (static_cast<LPARAM>(std::floor(f.origin.y + 0.5)) << 16) |
                    static_cast<LPARAM>(std::floor(f.origin.x + 5.5));
  EXPECT_EQ(move->lParam, expected);
  DestroyWindow(view);
}

// Coordinates no 16-bit word holds are rounded like every other coordinate before
// packing: anything past the 32-bit range is held at its end. A frame that is no number
// never gets that far: the window refuses it, and nothing moves.
TEST_F(DialogTest, WmMoveOfAFrameOutsideAnyRangeIsPackedFromHeldCoordinates) {
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                 MessageLog::dialogProc, 0);
  platform::NSWindow* w = windowOf(view);
  platform::NSSize size = w->frame().size;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  log.clear();
  w->setFrame({{nan, nan}, size}, false);
  EXPECT_EQ(log.count(WM_MOVE), 0);
  struct Case {
    double x, y;
    LPARAM packed;
  } cases[] = {
      {1e30, -1e30, 0x0000FFFF},  // 0x7FFFFFFF and 0x80000000 cut to their low words
      {-3, 1e30, 0xFFFFFFFD},
  };
  for (const Case& c : cases) {
    log.clear();
    w->setFrame({{c.x, c.y}, size}, false);
    ASSERT_EQ(log.count(WM_MOVE), 1) << c.x << "," << c.y;
    auto move = std::find_if(log.messages().begin(), log.messages().end(),
                             [](const auto& m) { return m.msg == WM_MOVE; });
    EXPECT_EQ(move->lParam, c.packed) << c.x << "," << c.y;
  }
  DestroyWindow(view);
}

TEST_F(DialogTest, SizeLimitsComeFromWmGetMinMaxInfo) {
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                 MessageLog::dialogProc, 0);
  log.answer([](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg != WM_GETMINMAXINFO) return std::nullopt;
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = {200, 100};
    info->ptMaxTrackSize.x = 500;  // the height stays at the unlimited preset
    return 0;
  });
  platform::NSWindow* w = windowOf(view);
  EXPECT_EQ(w->minSize(), (platform::NSSize{200, 100}));
  EXPECT_EQ(w->maxSize().width, 500);
  EXPECT_EQ(w->maxSize().height, 1e6);
  DestroyWindow(view);
}

TEST_F(DialogTest, BareRequestsPickTheirFrameStyleOrBecomeChildren) {
  HWND closable = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(0x400002), nullptr,
                                     MessageLog::windowProc, 77);
  ASSERT_NE(closable, nullptr);
  platform::NSWindow* w = windowOf(closable);
  EXPECT_EQ(w->styleMask(), 3u);
  EXPECT_EQ(w->contentRect().size, (platform::NSSize{10, 10}));
  EXPECT_TRUE(
      testsupport::messagesMatch(log.messages(), {{WM_CREATE, 0, 77}}, {WM_CREATE, WM_INITDIALOG}));
  EXPECT_EQ(
      windowOf(SWELL_CreateDialog(SWELL_DialogResourceHead, resid(0x400007), nullptr, nullptr, 0))
          ->styleMask(),
      platform::NSWindowStyleMaskTitled | platform::NSWindowStyleMaskResizable);
  // Without style bits and with a parent view: a child; with them: a top-level window
  // owned by the parent's window.
  HWND child = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(0x400000), closable,
                                  MessageLog::windowProc, 0);
  EXPECT_EQ(swell::objectFromHandleAs<platform::NSView>(child)->superview(),
            swell::objectFromHandle(closable));
  HWND owned = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(0x400002), child,
                                  MessageLog::windowProc, 0);
  auto* ownedWindow = dynamic_cast<SwellTopLevelWindow*>(windowOf(owned));
  EXPECT_EQ(ownedWindow->swellGetOwner(), w);
  DestroyWindow(closable);
  EXPECT_FALSE(platform::isLiveObject(owned));
}

TEST_F(DialogTest, ActivationMessagesAndTheMenuOfTheKeyWindow) {
  HWND a = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                              MessageLog::dialogProc, 0);
  HWND b = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), a, MessageLog::dialogProc, 0);
  HMENU menu = CreatePopupMenu();
  swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(a)->swellSetMenu(menu);
  ShowWindow(a, 2);
  EXPECT_EQ(platform::NSApp()->mainMenu(), platform::liveObject(menu));
  platform::NSApp()->setMainMenu(nullptr);
  log.clear();
  ShowWindow(b, 2);
  // The owned window has no menu: its owner's is found.
  EXPECT_EQ(platform::NSApp()->mainMenu(), platform::liveObject(menu));
  EXPECT_TRUE(testsupport::messagesMatch(
      log.messages(),
      {{WM_ACTIVATE, 0, 0}, {WM_ACTIVATE, 1, reinterpret_cast<LPARAM>(a)}, {WM_MOUSEACTIVATE}},
      {WM_ACTIVATE, WM_MOUSEACTIVATE}));
  DestroyWindow(a);
}

// A modal dialog opens centred over its owner, kept on the screen, and a dialog procedure
// that places it itself keeps its place.
TEST_F(DialogTest, AModalDialogOpensCentredOverItsOwnerUnlessItPlacesItself) {
  const platform::NSRect area = platform::NSScreen::mainScreen()->visibleFrame;
  const platform::NSSize frameSize =
      platform::NSWindow::frameRectForContentRect(platform::NSMakeRect(0, 0, 334, 195), 3).size;
  struct Case {
    const char* name;
    bool owned;
    platform::NSPoint ownerOrigin;  // of the owner's 300 x 300 content
    int initDialog;                 // 1: the procedure moves the dialog, 2: it resizes it
    platform::NSPoint expected;     // the dialog frame's origin
  };
  const platform::NSSize ownerFrame =
      platform::NSWindow::frameRectForContentRect(platform::NSMakeRect(0, 0, 300, 300), 7).size;
  auto centredOver = [&](platform::NSPoint origin) {
    return platform::NSPoint{std::round(origin.x + ownerFrame.width / 2 - frameSize.width / 2),
                             std::round(origin.y + ownerFrame.height / 2 - frameSize.height / 2)};
  };
  const Case cases[] = {
      {"owner in the middle", true, {400, 200}, 0, centredOver({400, 200})},
      {"owner at the left edge", true, {0, 200}, 0, {area.minX(), centredOver({0, 200}).y}},
      {"owner off the top",
       true,
       {400, area.maxY() - 100},
       0,
       {centredOver({400, 0}).x, area.maxY() - frameSize.height}},
      {"no owner",
       false,
       {},
       0,
       {std::round(area.midX() - frameSize.width / 2),
        std::round(area.midY() - frameSize.height / 2)}},
      {"placed by its procedure", true, {400, 200}, 1, {10, 20}},
      {"resized by its procedure",
       true,
       {400, 200},
       2,
       {std::round(400 + ownerFrame.width / 2 - (frameSize.width + 100) / 2),
        std::round(200 + ownerFrame.height / 2 - (195 + 60) / 2.0)}},  // a window size
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND mainView = nullptr;
    if (c.owned) {
      mainView = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                    MessageLog::dialogProc, 0);
      ASSERT_NE(mainView, nullptr);
      windowOf(mainView)->setFrameOrigin(c.ownerOrigin);
      ShowWindow(mainView, SW_SHOW);
    }
    log.answer([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (msg == WM_INITDIALOG && c.initDialog == 1) windowOf(hwnd)->setFrameOrigin({10, 20});
      if (msg == WM_INITDIALOG && c.initDialog == 2)
        SetWindowPos(hwnd, nullptr, 0, 0, 334 + 100, 195 + 60, SWP_NOMOVE | SWP_NOZORDER);
      return std::nullopt;
    });
    platform::NSPoint seen{-1, -1};
    h.onModal([&](platform::NSWindow* w) {
      if (!dynamic_cast<Swell_vCorvaneBrisko_dialogbox*>(w)) return;
      seen = w->frame().origin;
      EndDialog(swell::handleFromObject(w->contentView()), 1);
    });
    EXPECT_EQ(SWELL_DialogBox(SWELL_DialogResourceHead, resid(40002), mainView,
                              MessageLog::dialogProc, 0),
              1);
    EXPECT_EQ(seen, c.expected);
    if (mainView) DestroyWindow(mainView);
  }
}

}  // namespace
