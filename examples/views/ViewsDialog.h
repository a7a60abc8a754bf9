#pragma once

#include <string>
#include <vector>

#include "windowing/Win32.h"

namespace viewsdialog {

// The dialog's views by name, each a window of the dialog.
struct View {
  std::string name;
  HWND hwnd = nullptr;
};

// Makes the dialog (a top-level window, shown) with tabs, a progress bar at 40%, an
// expanded tree with a selection, a group box, an etched line, a report list (header,
// sort indicator, grid lines, a selected row) and a list box.
HWND Build();
// The dialog's views, in the order they were made.
std::vector<View> Views(HWND dialog);
// Draws the dialog and writes it to a PNG; false when it cannot.
bool Render(HWND dialog, const std::string& path);

}  // namespace viewsdialog
