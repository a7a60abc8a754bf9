#include "windowing/core/RunLoopControl.h"

#include <atomic>

#include "platform/core/Application.h"
#include "platform/core/RunLoop.h"
#include "platform/system/Clock.h"
#include "windowing/core/Timers.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/TestHooks.h"

namespace {
std::atomic<int> gQuitting{0};
std::atomic<bool> gRightClickEmulate{true};
constexpr int kMaxEventsPerRun = 100;
constexpr double kEventWaitMs = 1;
}  // namespace

namespace swell {
bool isQuitting() {
  return gQuitting.load() != 0;
}
void resetQuittingForTesting() {
  gQuitting.store(0);
}
}  // namespace swell

void SWELL_PostQuitMessage(void* sender) {
  gQuitting.store(1);
  platform::NSApp()->terminate(platform::liveObject(sender));
}

void SWELL_EnableRightClickEmulate(BOOL enable) {
  gRightClickEmulate.store(enable != 0);
}

BOOL SWELL_IsRightClickEmulateEnabled() {
  return gRightClickEmulate.load() ? 1 : 0;
}

void SWELL_RunEvents() {
  platform::NSAutoreleasePool pool;
  platform::NSApplication* app = platform::NSApp();
  for (int i = 0; i < kMaxEventsPerRun; ++i) {
    auto e = app->nextEvent(platform::NSEventMaskAny, platform::nowMs() + kEventWaitMs,
                            platform::NSDefaultRunLoopMode, true);
    if (!e) break;
    app->sendEvent(*e);
  }
}

void SWELL_RunLoopFor(int ms) {
  platform::NSRunLoop::mainRunLoop().runUntilDate(platform::nowMs() + ms);
}

void SWELL_RunLoopForWindow(int ms, HWND hwnd) {
  HWND previous = swell::timerRestriction();
  swell::setTimerRestriction(hwnd);
  SWELL_RunLoopFor(ms);
  // A restriction changed meanwhile is left as it is now.
  if (swell::timerRestriction() == hwnd) swell::setTimerRestriction(previous);
}
