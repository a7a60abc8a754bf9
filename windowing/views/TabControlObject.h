#pragma once

#include <cstdint>

#include "platform/core/TabView.h"
#include "windowing/Win32Types.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/views/TabControl.h"

// The view object of a tab control: a platform tab view that tells its notification window
// of each change.

class Swell_vCorvaneBrisko_tabview : public SwellDirtyMarking<platform::NSTabView>,
                                     public platform::NSTabViewDelegate {
 public:
  using SwellDirtyMarking<platform::NSTabView>::SwellDirtyMarking;

  const char* swellGetClass() const { return "SysTabControl32"; }
  long tag() const override { return static_cast<long>(m_tag); }
  void setTag(std::int64_t tag) { m_tag = tag; }
  // Not retained: a window that is gone by the time of a change is not reached.
  void setNotificationWindow(HWND window) { m_dest = window; }
  HWND getNotificationWindow() const { return m_dest; }
  void tabViewDidSelectTabViewItem(platform::NSTabView* tabView,
                                   platform::NSTabViewItem* item) override;

 private:
  std::int64_t m_tag = 0;
  HWND m_dest = nullptr;
};
