#include "windowing/core/Capture.h"

#include "platform/core/View.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowInterfaces.h"

namespace {
HWND gCapture = nullptr;
bool gCaptureWantsNotice = false;

bool wantsNotice(HWND hwnd) {
  auto* object = swell::objectFromHandleAs<SwellWindowObject>(hwnd);
  return object && object->swellCapChangeNotify();
}
}  // namespace

HWND SetCapture(HWND hwnd) {
  if (hwnd && !platform::isLiveObject(hwnd)) return nullptr;
  HWND previous = gCapture;
  bool previousWanted = gCaptureWantsNotice;
  gCapture = hwnd;
  gCaptureWantsNotice = hwnd && wantsNotice(hwnd);
  if (previous && previous != hwnd && previousWanted && platform::isLiveObject(previous))
    SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

HWND GetCapture() {
  // A capturer that was freed no longer holds the capture.
  if (gCapture && !platform::isLiveObject(gCapture)) gCapture = nullptr;
  return gCapture;
}

void ReleaseCapture() {
  HWND previous = gCapture;
  bool wanted = gCaptureWantsNotice;
  gCapture = nullptr;
  gCaptureWantsNotice = false;
  if (previous && wanted && platform::isLiveObject(previous))
    SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
}
