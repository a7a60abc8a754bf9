#include <string>

#include "platform/system/UserDefaults.h"
#include "windowing/drawing/Bitmaps.h"

namespace {

constexpr int kDialogFaceIndex = 2;
constexpr COLORREF kDarkDialogFace = 0x404040;

// Colours of the light appearance, by index; indices beyond the table give 0.
constexpr COLORREF kSystemColors[] = {0x606060, 0xE0E0E0, 0xC0C0C0, 0,       0xC0C0C0,
                                      0x202020, 0x303030, 0xC0C0C0, 0xFFF0C8};

// Whether the dark appearance can be in use: settled on the first call, from the
// user default that lets the program leave the light appearance.
bool darkModeSupported() {
  static const bool supported = [] {
    auto value = platform::NSUserDefaults::standardUserDefaults().objectForKey(
        "NSRequiresAquaSystemAppearance");
    const bool* flag = value ? std::get_if<bool>(&*value) : nullptr;
    return flag && !*flag;
  }();
  return supported;
}

}  // namespace

bool SWELL_osx_is_dark_mode(int query) {
  if (!darkModeSupported()) return false;
  if (query == 1) return true;
  return platform::NSUserDefaults::standardUserDefaults().stringForKey("AppleInterfaceStyle") ==
         std::string("Dark");
}

COLORREF GetSysColor(int index) {
  if (index == kDialogFaceIndex && SWELL_osx_is_dark_mode(1)) return kDarkDialogFace;
  if (index < 0 || index >= static_cast<int>(std::size(kSystemColors))) return 0;
  return kSystemColors[index];
}
