#include <cstring>

#include "platform/panels/SavePanel.h"
#include "windowing/controls/ControlFactories.h"
#include "windowing/controls/detail/ControlLayout.h"
#include "windowing/core/DefWindowProc.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/stddialogs/detail/FileChooserState.h"
#include "windowing/stddialogs/detail/FilterList.h"

namespace swell {

namespace {

constexpr WPARAM kComboSelectionChanged = (1u << 16) | kFileTypeComboId;  // CBN_SELCHANGE
constexpr int kLabelX = 0, kLabelY = 2, kLabelWidth = 80;
constexpr int kComboX = 84, kComboWidth = 250;
constexpr int kComboStyle = CBS_DROPDOWNLIST;
// Where the label and combo sit from the middle of the accessory's width.
constexpr int kLabelFromMiddle = 169, kComboFromMiddle = 85;

// The extension after the pattern part's first '.', or null when the part has none.
const char* firstExtension(const char* pattern) {
  std::size_t partLength = std::strcspn(pattern, ";");
  auto* dot = static_cast<const char*>(std::memchr(pattern, '.', partLength));
  return dot ? dot + 1 : nullptr;
}

// The extension of the pattern matching the file's (text after its last '.'), or null.
const char* matchingExtension(const char* pattern, const char* fileExtension) {
  for (const char* part = pattern; *part;) {
    if (const char* extension = firstExtension(part))
      if (sameExtension(extension, fileExtension)) return extension;
    part += std::strcspn(part, ";");
    if (*part == ';') ++part;
  }
  return nullptr;
}

void create(HWND hwnd, const FileTypeAccessoryParams* params) {
  SetOpaque(hwnd, false);
  ControlLayoutState saved = controlLayout();
  SWELL_MakeSetCurParms(hwnd, true, false, 1, 1, 0, 0);
  SWELL_MakeLabel(1, "File type:", kFileTypeLabelId, kLabelX, kLabelY, kLabelWidth,
                  kFileTypeAccessoryHeight, 0);
  HWND combo = SWELL_MakeCombo(kFileTypeComboId, kComboX, 0, kComboWidth, kFileTypeAccessoryHeight,
                               kComboStyle);
  controlLayout() = saved;
  SetWindowPos(hwnd, nullptr, 0, 0, kFileTypeAccessoryWidth, kFileTypeAccessoryHeight,
               SWP_NOMOVE | SWP_NOZORDER);
  if (!params) return;
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(params->filters));

  const char* initialDot = params->initialFile ? std::strrchr(params->initialFile, '.') : nullptr;
  int selected = -1;
  forEachFilter(params->filters, [&](const char* description, const char* pattern) {
    if (std::strcmp(pattern, "*.*") == 0) return true;
    const char* extension = firstExtension(pattern);
    if (selected < 0 && initialDot) {
      if (const char* match = matchingExtension(pattern, initialDot + 1)) {
        extension = match;
        selected = static_cast<int>(SendMessage(combo, CB_GETCOUNT, 0, 0));
        selectedFileType() = match;
      }
    }
    auto item = SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(description));
    if (item >= 0) SendMessage(combo, CB_SETITEMDATA, item, reinterpret_cast<LPARAM>(extension));
    return true;
  });
  SendMessage(combo, CB_SETCURSEL, selected < 0 ? 0 : selected, 0);
}

void selectionChanged(HWND hwnd) {
  HWND combo = GetDlgItem(hwnd, kFileTypeComboId);
  auto item = SendMessage(combo, CB_GETCURSEL, 0, 0);
  if (item < 0) return;
  selectedFileType() = reinterpret_cast<const char*>(SendMessage(combo, CB_GETITEMDATA, item, 0));
  auto* view = objectFromHandleAs<platform::NSView>(hwnd);
  auto* panel = view ? dynamic_cast<platform::NSSavePanel*>(view->window()) : nullptr;
  const char* filters = reinterpret_cast<const char*>(GetWindowLong(hwnd, GWL_USERDATA));
  if (panel) panel->setAllowedFileTypes(filterExtensions(filters, selectedFileType()));
}

}  // namespace

const char*& selectedFileType() {
  static const char* type = nullptr;
  return type;
}

INT_PTR fileTypeAccessoryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      create(hwnd, reinterpret_cast<const FileTypeAccessoryParams*>(lParam));
      return 0;
    case WM_COMMAND:
      if (wParam == kComboSelectionChanged) selectionChanged(hwnd);
      return 0;
    case WM_SIZE: {
      RECT r;
      GetClientRect(hwnd, &r);
      int middle = (r.right - r.left) / 2;
      SetWindowPos(GetDlgItem(hwnd, kFileTypeLabelId), nullptr, middle - kLabelFromMiddle, kLabelY,
                   0, 0, SWP_NOSIZE | SWP_NOZORDER);
      SetWindowPos(GetDlgItem(hwnd, kFileTypeComboId), nullptr, middle - kComboFromMiddle, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
      return 0;
    }
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace swell
