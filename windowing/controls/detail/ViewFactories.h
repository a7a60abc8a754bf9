#pragma once

#include "windowing/Win32Types.h"

namespace swell {
// A list view ("SysListView32") or list box ("SysListView32_LB") in a scroll view, made
// by the current layout state; the handle is the list itself.
HWND makeListViewControl(int id, bool listBox, int style, int x, int y, int w, int h);
}  // namespace swell
