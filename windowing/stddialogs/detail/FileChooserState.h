#pragma once

#include "windowing/Win32Types.h"

namespace platform {
class NSSavePanel;
}

namespace swell {

// The extension (inside the caller's filter list) the "File type:" chooser of the save
// panel last selected; null when none. Cleared as each save panel starts.
const char*& selectedFileType();

// What the "File type:" accessory is created with.
struct FileTypeAccessoryParams {
  const char* filters;
  const char* initialFile;
};

// The "File type:" chooser shown under a save panel's list: a dialog without a resource,
// whose creation parameter points to FileTypeAccessoryParams.
inline constexpr int kFileTypeLabelId = 1001;
inline constexpr int kFileTypeComboId = 1000;
inline constexpr int kFileTypeAccessoryWidth = 338;
inline constexpr int kFileTypeAccessoryHeight = 22;
INT_PTR fileTypeAccessoryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace swell
