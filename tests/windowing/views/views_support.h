#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"

namespace testsupport {

// A notification as the parent received it: the header and, for the tree records that
// carry one (selection, expansion, drag), the action and the item with its parameter.
struct Notification {
  WPARAM id = 0;
  UINT code = 0;
  HWND from = nullptr;
  UINT action = 0;
  HTREEITEM item = nullptr;
  LPARAM param = 0;
  bool operator==(const Notification&) const = default;
};

inline void PrintTo(const Notification& n, std::ostream* os) {
  *os << "{id " << n.id << ", code " << static_cast<int>(n.code) << ", action " << n.action
      << ", item " << static_cast<const void*>(n.item) << ", param " << n.param << "}";
}

inline bool carriesTreeRecord(UINT code) {
  return code == TVN_SELCHANGED || code == TVN_ITEMEXPANDING || code == TVN_BEGINDRAG;
}

// What the views tests start from: a shown dialog (flipped, 400 x 300) whose procedure
// records every message, controls made in it by the factory, and the notifications it got.
class ViewsTest : public WindowTest {
 protected:
  void SetUp() override {
    h.registerResource(&resource);
    window = SWELL_CreateDialog(SWELL_DialogResourceHead, resource.resid, nullptr,
                                MessageLog::dialogProc, 0);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    h.runUntilIdle();
    SWELL_MakeSetCurParms(window, false, false, 1, 1, 0, 0);
    log.answer([this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
      if (msg == WM_NOTIFY && lParam) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        Notification n{wParam, header->code, header->hwndFrom};
        if (carriesTreeRecord(header->code)) {
          const auto* record = reinterpret_cast<const NMTREEVIEW*>(lParam);
          n.action = record->action;
          n.item = record->itemNew.hItem;
          n.param = record->itemNew.lParam;
        }
        notifications.push_back(n);
        if (onNotify) return onNotify(header);
      }
      return std::nullopt;
    });
  }
  void TearDown() override { DestroyWindow(window); }

  HWND make(const char* className, int id, int style = 0, int x = 10, int y = 10, int w = 200,
            int h = 100) {
    return SWELL_MakeControl("", id, className, style, x, y, w, h, 0);
  }
  platform::NSWindow* nsWindow() const { return viewOf(window)->window(); }
  // A point of a view (in its own coordinates) in its window's, where clicks go.
  static platform::NSPoint inWindow(HWND control, platform::NSPoint p) {
    return viewOf(control)->convertPointToView(p, nullptr);
  }

  SWELL_DialogResourceIndex resource{reinterpret_cast<const char*>(7201),
                                     "Views",
                                     SWELL_DLG_WS_FLIPPED | SWELL_DLG_WS_OPAQUE,
                                     nullptr,
                                     400,
                                     300};
  HWND window = nullptr;
  std::vector<Notification> notifications;
  std::function<std::optional<LRESULT>(const NMHDR*)> onNotify;
};

}  // namespace testsupport
