#include "windowing/core/SystemServices.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <mutex>

#include "base/Log.h"
#include "base/Utf8.h"
#include "platform/objects/CFString.h"
#include "platform/objects/Screen.h"
#include "platform/system/ProcessInfo.h"
#include "windowing/core/RunLoopControl.h"

namespace {

// The part of MONITORINFOEX before the device name.
constexpr DWORD kMonitorInfoSize = offsetof(MONITORINFOEX, szDevice);
constexpr const char* kAppNapReason = "SWELL_DisableAppNap";

int roundedEdge(double v) {
  double r = std::floor(v + 0.5);
  if (!(r > INT_MIN && r < INT_MAX)) return 0;
  return static_cast<int>(r);
}

RECT rectOf(const platform::NSRect& r) {
  return {roundedEdge(r.origin.x), roundedEdge(r.origin.y), roundedEdge(r.origin.x + r.size.width),
          roundedEdge(r.origin.y + r.size.height)};
}

const platform::NSScreen* screenOf(HMONITOR monitor) {
  for (const auto& s : platform::NSScreen::screens())
    if (&s == monitor) return &s;
  return nullptr;
}

struct AppNapState {
  std::mutex mutex;
  int count = 0;
  platform::NSActivity* activity = nullptr;  // retained
};
AppNapState& appNap() {
  static auto* state = new AppNapState;
  return *state;
}

}  // namespace

void SWELL_CFStringToCString(const void* str, char* buf, int buflen) {
  if (!buf || buflen < 1) return;
  buf[0] = 0;
  auto* string = platform::liveObjectAs<platform::CFString>(str);
  if (!string) {
    if (str) base::warn("swell-cocoa", "SWELL_CFStringToCString: %p is not a string", str);
    return;
  }
  base::copyUtf8(string->utf8(), buf, static_cast<std::size_t>(buflen));
}

void* SWELL_CStringToCFString(const char* str) {
  return platform::CFString::create(str ? str : "");
}

void SWELL_DisableAppNap(int disable) {
  if (swell::isQuitting()) return;
  AppNapState& s = appNap();
  std::lock_guard<std::mutex> lock(s.mutex);
  int sum = 0;
  bool overflowed = __builtin_add_overflow(s.count, disable, &sum);
  s.count = overflowed ? 0 : sum;
  auto& info = platform::NSProcessInfo::processInfo();
  if (s.count <= 0) {
    if (s.activity) {
      info.endActivity(s.activity);
      s.activity->release();
      s.activity = nullptr;
    }
  } else if (!s.activity) {
    s.activity = info.beginActivity(
        platform::NSActivityLatencyCritical | platform::NSActivityIdleSystemSleepDisabled,
        kAppNapReason);
  }
}

BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data) {
  if (!callback) return TRUE;
  // Looked up afresh for each screen: the callback may change the configuration, which
  // frees the screens that were there before.
  for (std::size_t i = 0; i < platform::NSScreen::screens().size(); ++i) {
    const platform::NSScreen* s = &platform::NSScreen::screens()[i];
    RECT r = rectOf(s->frame);
    if (clip) {
      RECT both{std::max(r.left, clip->left), std::max(r.top, clip->top),
                std::min(r.right, clip->right), std::min(r.bottom, clip->bottom)};
      if (both.left >= both.right || both.top >= both.bottom) continue;
      r = both;
    }
    if (!callback(s, dc, &r, data)) break;
  }
  return TRUE;
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFOEX* info) {
  const platform::NSScreen* s = screenOf(monitor);
  if (!s || !info || info->cbSize < kMonitorInfoSize) return FALSE;
  info->rcMonitor = rectOf(s->frame);
  info->rcWork = rectOf(s->visibleFrame);
  info->dwFlags = 0;
  if (info->cbSize > kMonitorInfoSize) {
    // The name never runs past the record's own name field, whatever cbSize claims.
    DWORD room = std::min<DWORD>(info->cbSize - kMonitorInfoSize, sizeof info->szDevice);
    base::copyUtf8(s->localizedName(), info->szDevice, room);
  }
  return TRUE;
}
