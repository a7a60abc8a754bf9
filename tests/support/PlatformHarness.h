#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/detail/TestHooks.h"
#include "platform/core/Application.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/display/Event.h"
#include "support/MenuAnswers.h"
#include "support/VirtualClock.h"

namespace testsupport {

// The platform test harness. While it lives: time is virtual (it only moves through
// advance() or waits inside run loops), the application starts clean, diagnostics are
// captured, and windows the test leaves open are closed at the end.
//
// Events are built well formed and queued; runUntilIdle() dispatches them through
// NSApplication::sendEvent as the main loop would. Modal loops are reached through
// onModal() (called when a loop starts and on each iteration) or events queued before
// the loop starts; a watchdog in virtual time aborts a loop that does not end and
// fails the test.
class PlatformHarness {
 public:
  PlatformHarness();
  ~PlatformHarness();
  PlatformHarness(const PlatformHarness&) = delete;
  PlatformHarness& operator=(const PlatformHarness&) = delete;

  VirtualClock& clock() { return mClock; }
  double now() const { return mClock.nowMs(); }
  // Moves virtual time, firing due timers in order in the current run-loop mode.
  void advance(double ms) { mClock.advance(ms); }

  // Event injection. Points are in the window's coordinates (y up).
  void post(platform::NSEvent event);
  void click(platform::NSWindow* w, platform::NSPoint p, std::uint64_t modifiers = 0,
             int clickCount = 1);
  void rightClick(platform::NSWindow* w, platform::NSPoint p, std::uint64_t modifiers = 0);
  void otherClick(platform::NSWindow* w, platform::NSPoint p);
  void mouseDown(platform::NSWindow* w, platform::NSPoint p, std::uint64_t modifiers = 0,
                 int clickCount = 1);
  void mouseUp(platform::NSWindow* w, platform::NSPoint p, std::uint64_t modifiers = 0,
               int clickCount = 1);
  void drag(platform::NSWindow* w, platform::NSPoint from, platform::NSPoint to, int steps = 4);
  void move(platform::NSWindow* w, platform::NSPoint p);
  // The pointer leaves the window, as a display backend reports it.
  void exitWindow(platform::NSWindow* w);
  void scroll(platform::NSWindow* w, platform::NSPoint p, double dx, double dy);
  void pinch(platform::NSWindow* w, platform::NSPoint p, double magnification);
  void rotate(platform::NSWindow* w, platform::NSPoint p, double degrees);
  void swipe(platform::NSWindow* w, platform::NSPoint p, double dx, double dy);
  void key(platform::NSWindow* w, std::uint16_t keyCode, const std::string& characters,
           std::uint64_t modifiers = 0, bool repeat = false);
  void keyUp(platform::NSWindow* w, std::uint16_t keyCode, const std::string& characters,
             std::uint64_t modifiers = 0);
  // One key-down and key-up per character (code points of the text, UTF-8).
  void typeText(platform::NSWindow* w, const std::string& text);
  void activate();
  void deactivate();
  // Application-defined events that act in queue order.
  void closeBox(platform::NSWindow* w);
  void resizeWindow(platform::NSWindow* w, platform::NSSize contentSize);
  void moveWindow(platform::NSWindow* w, platform::NSPoint frameOrigin);
  void perform(std::function<void()> action);
  void terminate();
  // Drags onto a window and drops at a point: files, or promises of files of the given
  // types, from a source view (null: from outside the application). The operation the
  // window took is kept in lastDropOperation().
  void dropFiles(platform::NSWindow* w, platform::NSPoint p, std::vector<std::string> paths,
                 platform::NSObject* source = nullptr);
  void dropPromisedFiles(platform::NSWindow* w, platform::NSPoint p,
                         std::vector<std::string> types);
  unsigned lastDropOperation() const { return mLastDropOperation; }
  // Opening a document with the application.
  void openFile(std::string path);

  // Dispatches every queued event (and what they queue) and fires due timers, then
  // runs the display pass. Returns the number of events dispatched.
  int runUntilIdle();

  // Modal loops.
  void onModal(std::function<void(platform::NSWindow*)> hook);
  // A modal loop running longer than this in virtual time is aborted and fails the test.
  void setWatchdog(double virtualMs) { mWatchdogMs = virtualMs; }
  bool watchdogFired() const { return mWatchdogFired; }

  // Menus: pop-ups take their answers from menus().add(...) in order; chooseMenuItem
  // picks an item of a menu shown elsewhere (the main menu) by title path, opening each
  // menu on the way, and sends its action. False when the path names no enabled item.
  MenuAnswers& menus() { return mMenus; }
  static bool chooseMenuItem(platform::NSMenu* menu, const std::string& path);

  // Inspection.
  static std::string describeWindows();
  static std::string describeViewTree(const platform::NSView* root);
  // Renders the window (a full display pass) and writes its backing store as PNG.
  static bool renderPNG(platform::NSWindow* w, const std::string& path);
  // The backing store pixel (0xAARRGGBB) at window coordinates (y up).
  static std::uint32_t pixelAt(platform::NSWindow* w, double x, double y);
  // True when a diagnostic logged since the harness started holds the fragment.
  bool logged(const std::string& fragment) const { return mLog.contains(fragment); }

 private:
  platform::NSEvent mouseEvent(platform::NSEventType type, platform::NSWindow* w,
                               platform::NSPoint p, std::uint64_t modifiers, int clicks);
  void modalTick(platform::NSWindow* w);

  VirtualClock mClock{1000.0};
  std::vector<platform::NSWindow*> mWindowsAtStart;
  std::function<void(platform::NSWindow*)> mUserHook;
  double mWatchdogMs = 60000;
  std::vector<std::pair<platform::NSWindow*, double>> mModalStarts;
  bool mWatchdogFired = false;
  unsigned mLastDropOperation = 0;
  base::LogCapture mLog;
  MenuAnswers mMenus;
};

}  // namespace testsupport
