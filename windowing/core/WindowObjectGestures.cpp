#include <cmath>
#include <cstdint>

#include "platform/core/Window.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSEvent;
using platform::NSPoint;
using platform::Ref;

namespace {

// Zoom arguments: 1024 is no change; the end value is 1024 plus the magnification in
// 1024ths, kept within 512..2048.
constexpr std::uint64_t kZoomNeutral = 1024;
// Rotation arguments: 32767 is no turn; the end value is 32767 plus the turn, where 60
// degrees make 32767, kept within 0..65535.
constexpr double kRotationScale = 32767.0;

// The event's pointer on the screen (y up).
NSPoint screenLocation(const NSEvent& e) {
  if (e.window && platform::isLiveObject(e.window))
    return e.window->convertPointToScreen(e.locationInWindow);
  return e.locationInWindow;
}

// Counts NaN as no movement; anything else is kept within the bounds in floating
// point, so the conversion to an integer is always defined.
double finiteWithin(double v, double lo, double hi) {
  if (std::isnan(v)) return 0;
  return std::fmax(lo, std::fmin(hi, v));
}

std::uint64_t zoomArgument(double deltaZ) {
  double scaled = 1024.0 * static_cast<double>(static_cast<float>(finiteWithin(deltaZ, -1e6, 1e6)));
  auto d = static_cast<int>(finiteWithin(scaled + 0.5, -1e7, 1e7));
  // A movement too small to count still says which way it went.
  if (d == 0) d = !(deltaZ < 0) ? 1 : -1;
  if (d < -512) return 512;
  if (d > 1024) return 2048;
  return static_cast<std::uint64_t>(d + 1024);
}

std::uint64_t rotationArgument(double rotation) {
  auto r = static_cast<int>(
      finiteWithin(kRotationScale * finiteWithin(rotation, -1e6, 1e6) / 60.0, -1e9, 1e9));
  if (r == 0) r = !(rotation < 0) ? 1 : -1;
  if (r < -32767) return 0;
  if (r > 32768) return 65535;
  return static_cast<std::uint64_t>(r + 32767);
}

}  // namespace

void Swell_vCorvaneBrisko_hwnd::sendGesture(DWORD id, std::uint64_t beginArgument,
                                            std::uint64_t endArgument, NSPoint beginScreen,
                                            NSPoint endScreen) {
  if (!canDeliver()) return;
  Ref<platform::NSView> keep(this);
  HWND hwnd = self();
  GESTUREINFO info;
  info.cbSize = sizeof(GESTUREINFO);
  info.dwID = id;
  info.hwndTarget = hwnd;
  // The 16-bit position keeps the low half of each rounded coordinate.
  auto place = [&](NSPoint p) {
    info.ptsLocation.x = static_cast<short>(swell::roundCoordinate(p.x));
    info.ptsLocation.y = static_cast<short>(swell::roundCoordinate(p.y));
  };
  place(beginScreen);
  info.dwFlags = GF_BEGIN;
  info.ullArguments = beginArgument;
  SendMessage(hwnd, WM_GESTURE, 0, reinterpret_cast<LPARAM>(&info));
  place(endScreen);
  info.dwFlags = GF_END;
  info.ullArguments = endArgument;
  SendMessage(hwnd, WM_GESTURE, endArgument, reinterpret_cast<LPARAM>(&info));
}

void Swell_vCorvaneBrisko_hwnd::magnifyWithEvent(const NSEvent& e) {
  NSPoint at = screenLocation(e);
  sendGesture(GID_ZOOM, kZoomNeutral, zoomArgument(e.deltaZ), at, at);
}

void Swell_vCorvaneBrisko_hwnd::rotateWithEvent(const NSEvent& e) {
  NSPoint at = screenLocation(e);
  sendGesture(GID_ROTATE, 0, rotationArgument(e.rotation), at, at);
}

void Swell_vCorvaneBrisko_hwnd::swipeWithEvent(const NSEvent& e) {
  NSPoint at = screenLocation(e);
  NSPoint end = at;
  platform::NSSize size = bounds().size;
  // A swipe pans by a whole view: sideways when it has a horizontal part, else up or
  // down (screen y points up). NaN deltas count as no movement.
  double dx = std::isnan(e.deltaX) ? 0 : e.deltaX;
  double dy = std::isnan(e.deltaY) ? 0 : e.deltaY;
  if (dx < 0)
    end.x -= size.width;
  else if (dx > 0)
    end.x += size.width;
  else if (dy < 0)
    end.y += size.height;
  else if (dy > 0)
    end.y -= size.height;
  sendGesture(GID_PAN, 0, 0, at, end);
}
