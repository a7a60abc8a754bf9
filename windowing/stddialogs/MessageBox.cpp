#include <array>

#include "base/Log.h"
#include "platform/objects/Object.h"
#include "platform/panels/Alert.h"
#include "platform/system/MainThread.h"
#include "windowing/stddialogs/StandardDialogs.h"

namespace {

constexpr UINT kButtonSetMask = 0xF;

// The ids of the default, alternate and other buttons; 0 where the set has no such button.
struct MessageBoxButtons {
  int defaultId, alternateId, otherId;
};

MessageBoxButtons buttonsOf(UINT type) {
  bool second = type & MB_DEFBUTTON2;
  bool third = type & MB_DEFBUTTON3;
  switch (type & kButtonSetMask) {
    case MB_OKCANCEL:
      return second ? MessageBoxButtons{IDCANCEL, IDOK, 0} : MessageBoxButtons{IDOK, IDCANCEL, 0};
    case MB_ABORTRETRYIGNORE:
      if (third) return {IDIGNORE, IDRETRY, IDABORT};
      if (second) return {IDRETRY, IDABORT, IDIGNORE};
      return {IDABORT, IDIGNORE, IDRETRY};
    case MB_YESNOCANCEL:
      if (third) return {IDCANCEL, IDNO, IDYES};
      if (second) return {IDNO, IDYES, IDCANCEL};
      return {IDYES, IDCANCEL, IDNO};
    case MB_YESNO:
      return second ? MessageBoxButtons{IDNO, IDYES, 0} : MessageBoxButtons{IDYES, IDNO, 0};
    case MB_RETRYCANCEL:
      return second ? MessageBoxButtons{IDCANCEL, IDRETRY, 0}
                    : MessageBoxButtons{IDRETRY, IDCANCEL, 0};
    default:
      return {IDOK, 0, 0};
  }
}

const char* labelOf(int id) {
  static constexpr std::array<const char*, 8> kLabels = {"",      "OK",     "Cancel", "Abort",
                                                         "Retry", "Ignore", "Yes",    "No"};
  return id > 0 && id < static_cast<int>(kLabels.size()) ? kLabels[id] : "";
}

}  // namespace

int MessageBox(HWND, const char* text, const char* caption, UINT type) {
  if (!platform::isMainThread()) {
    base::warn("swell-cocoa", "MessageBox called off the main thread; nothing shown");
    return 0;
  }
  platform::NSAutoreleasePool pool;
  MessageBoxButtons b = buttonsOf(type);
  platform::NSModalResponse answer =
      platform::NSRunAlertPanel(caption ? caption : "", text ? text : "", labelOf(b.defaultId),
                                labelOf(b.alternateId), labelOf(b.otherId));
  switch (answer) {
    case platform::NSAlertDefaultReturn:
      return b.defaultId;
    case platform::NSAlertAlternateReturn:
      return b.alternateId;
    case platform::NSAlertOtherReturn:
      return b.otherId;
    default:
      // An aborted run is no answer: it counts as Cancel where there is one.
      return b.alternateId == IDCANCEL || b.otherId == IDCANCEL || b.defaultId == IDCANCEL
                 ? IDCANCEL
                 : 0;
  }
}
