#pragma once

#include <gtest/gtest.h>

#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowObject.h"

namespace testsupport {

// A shown main window (a flipped dialog of 400 x 300 whose dialog procedure records)
// with bare child windows whose window procedures record, for driving windows with
// events and reading the messages they receive.
class EventTest : public WindowTest {
 protected:
  SWELL_DialogResourceIndex mainRes{reinterpret_cast<const char*>(7101),
                                    "Main",
                                    SWELL_DLG_WS_FLIPPED | SWELL_DLG_WS_OPAQUE,
                                    nullptr,
                                    400,
                                    300};
  HWND main = nullptr;
  platform::NSWindow* window = nullptr;

  void SetUp() override {
    h.registerResource(&mainRes);
    main = SWELL_CreateDialog(SWELL_DialogResourceHead, mainRes.resid, nullptr,
                              MessageLog::dialogProc, 0);
    ASSERT_NE(main, nullptr);
    window = view(main)->window();
    ShowWindow(main, 2);
    h.runUntilIdle();
    log.clear();
  }
  void TearDown() override {
    if (IsWindow(main)) DestroyWindow(main);
  }

  static platform::NSView* view(HWND hwnd) {
    return swell::objectFromHandleAs<platform::NSView>(hwnd);
  }
  static Swell_vCorvaneBrisko_hwnd* object(HWND hwnd) {
    return swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  }
  // A shown bare child window at a place in its parent's (flipped) coordinates.
  HWND child(HWND parent, double x, double y, double w, double hgt) {
    HWND c = bareWindow(parent);
    view(c)->setFrame(platform::NSMakeRect(x, y, w, hgt));
    ShowWindow(c, 1);
    log.clear();
    return c;
  }
  // A point of a view in the window's coordinates (what events carry).
  static platform::NSPoint at(HWND hwnd, double x, double y) {
    return view(hwnd)->convertPointToView({x, y}, nullptr);
  }
  // The packed screen position of a point of a view.
  LPARAM screenParam(HWND hwnd, double x, double y) const {
    platform::NSPoint p = window->convertPointToScreen(at(hwnd, x, y));
    auto px = static_cast<std::uint32_t>(static_cast<int>(p.x)) & 0xFFFFu;
    auto py = static_cast<std::uint32_t>(static_cast<int>(p.y)) & 0xFFFFu;
    return static_cast<LPARAM>((py << 16) | px);
  }
  static LPARAM clientParam(int x, int y) {
    return static_cast<LPARAM>(((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16) |
                               (static_cast<std::uint32_t>(x) & 0xFFFFu));
  }
};

}  // namespace testsupport
