#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/core/Responder.h"
#include "platform/core/RunLoop.h"
#include "platform/display/Event.h"

namespace platform {

class NSWindow;
class NSMenu;
class NSApplication;

enum NSApplicationTerminateReply {
  NSTerminateCancel = 0,
  NSTerminateNow = 1,
  NSTerminateLater = 2
};

using NSModalResponse = long;
inline constexpr NSModalResponse NSModalResponseOK = 1;
inline constexpr NSModalResponse NSModalResponseCancel = 0;
inline constexpr NSModalResponse NSModalResponseStop = -1000;
inline constexpr NSModalResponse NSModalResponseAbort = -1001;
inline constexpr NSModalResponse NSModalResponseContinue = -1002;

// What the application tells its delegate, and what it asks.
class NSApplicationDelegate {
 public:
  virtual ~NSApplicationDelegate() = default;
  virtual void applicationDidFinishLaunching(NSApplication* app) {}
  virtual NSApplicationTerminateReply applicationShouldTerminate(NSApplication* app) {
    return NSTerminateNow;
  }
  virtual void applicationWillTerminate(NSApplication* app) {}
  virtual void applicationDidBecomeActive(NSApplication* app) {}
  virtual void applicationDidResignActive(NSApplication* app) {}
  virtual bool applicationOpenFile(NSApplication* app, const std::string& path) { return false; }
  virtual bool applicationOpenUntitledFile(NSApplication* app) { return false; }
  virtual bool applicationShouldOpenUntitledFile(NSApplication* app) { return true; }
};

// One modal run: the window, whether it was asked to end, and with what.
struct NSModalSession {
  NSWindow* window = nullptr;
  bool stopped = false;
  NSModalResponse response = NSModalResponseContinue;
  std::uint64_t serial = 0;  // the run's number among all runs of the process, from 1
};

// The one application object: windows, key and main window, the event queue, modal
// loops and sessions, the main menu, activation and termination.
class NSApplication : public NSResponder {
 public:
  // Creates the application on first use; its creator's thread is the main thread.
  static NSApplication* sharedApplication();
  // The class of the application object: a factory that makes it on first use. Only
  // possible before the application exists (false afterwards).
  using ApplicationFactory = NSApplication* (*)();
  static bool setPrincipalClass(ApplicationFactory factory);
  // Whether the application object was made already.
  static bool sharedApplicationExists();

  NSApplicationDelegate* delegate() const { return mDelegate; }
  void setDelegate(NSApplicationDelegate* delegate) { mDelegate = delegate; }

  // Every window not yet closed, in creation order.
  std::vector<NSWindow*> windows() const { return mWindows; }
  // The visible windows, front to back.
  std::vector<NSWindow*> orderedWindows() const { return mOrdered; }
  NSWindow* keyWindow() const { return mKeyWindow; }
  NSWindow* mainWindow() const { return mMainWindow; }
  NSWindow* windowWithWindowNumber(int number) const;

  // The event queue. postEvent is safe from any thread. nextEvent runs the run loop in
  // the mode (so its timers fire) until an event of the mask is queued or the date
  // passes; it can peek without removing the event.
  void postEvent(NSEvent event, bool atStart);
  std::optional<NSEvent> nextEvent(NSEventMask mask, double untilMs, NSRunLoopMode mode,
                                   bool dequeue);
  // The wait of an event loop (the main loop, a modal run, menu tracking): the next event of
  // any kind, taken from the queue, however long it takes. What the timers change meanwhile
  // is drawn before each sleep, not only after the next event. In virtual time it comes back
  // empty after one idle step.
  std::optional<NSEvent> waitForEvent(NSRunLoopMode mode);
  void discardEvents(NSEventMask mask);
  std::size_t pendingEventCount() const;
  // Routes an event to its window (keys: the key window); runs application events.
  virtual void sendEvent(const NSEvent& event);
  // The last event taken off the queue.
  const NSEvent* currentEvent() const;

  // Ends start-up: tells the delegate that launching finished, then offers it to open
  // an untitled document. Runs once; run() calls it when nobody did.
  void finishLaunching();
  bool isLaunched() const;
  // A document to open, as when the user opens a file with the application.
  bool openFile(const std::string& path);

  // The main loop: takes and dispatches events until stop() or termination.
  void run();
  void stop();
  bool isRunning() const;
  // The display pass of every visible window.
  void updateWindows();

  // Modal loops. runModalForWindow nests: it orders the window front, makes it key and
  // runs the modal-panel mode, giving input events only to that window (and its child
  // windows) while other events pass; it returns the stop or abort response. The
  // optional check ends the loop with NSModalResponseStop as soon as it answers true.
  NSModalResponse runModalForWindow(NSWindow* window,
                                    const std::function<bool()>& endRequested = {});
  void stopModal() { stopModalWithCode(NSModalResponseStop); }
  void stopModalWithCode(NSModalResponse code);
  void abortModal() { stopModalWithCode(NSModalResponseAbort); }
  NSModalSession* beginModalSession(NSWindow* window);
  // Handles what is pending now (events and due timers) without waiting.
  NSModalResponse runModalSession(NSModalSession* session);
  void endModalSession(NSModalSession* session);
  NSWindow* modalWindow() const;
  // The serial of the innermost modal run or session, 0 when none goes on.
  std::uint64_t modalSerial() const { return mModalStack.empty() ? 0 : mModalStack.back()->serial; }
  // Whether the modal run or session with this serial was asked to end or has ended; a
  // loop nested in it (a menu's) ends too. Never for 0, the main loop.
  bool isModalRunEnding(std::uint64_t serial) const;
  // Whether the window is the window of a modal run or session still going on.
  bool isInModalRun(const NSWindow* window) const;
  std::size_t modalDepth() const { return mModalStack.size(); }

  NSMenu* mainMenu() const { return mMainMenu; }
  void setMainMenu(NSMenu* menu);

  bool isActive() const { return mActive; }
  void activateIgnoringOtherApps(bool ignoring);
  void deactivate();
  bool isHidden() const { return mHidden; }
  void hide() { mHidden = true; }
  void unhide() { mHidden = false; }
  unsigned presentationOptions() const { return mPresentationOptions; }
  void setPresentationOptions(unsigned options) { mPresentationOptions = options; }

  // Asks the delegate; terminates now, later (after the reply) or not at all. Terminating
  // ends the main loop and every modal run and session (with NSModalResponseAbort).
  void terminate(NSObject* sender);
  void replyToApplicationShouldTerminate(bool shouldTerminate);
  bool isTerminated() const;

 protected:
  // Subclasses are made through setPrincipalClass.
  NSApplication();

 private:
  friend class NSWindow;
  void registerWindow(NSWindow* window);
  void windowClosed(NSWindow* window);
  void unregisterWindow(NSWindow* window);
  void orderWindow(NSWindow* window, NSWindowOrderingMode place);
  void setKeyWindow(NSWindow* window);
  void setMainWindowInternal(NSWindow* window);
  void chooseNewKeyWindow(NSWindow* leaving);
  std::optional<NSEvent> takeEvent(NSEventMask mask, bool dequeue);
  bool blockedByModal(const NSEvent& event) const;
  void callModalHook(NSWindow* window);
  void endIfTerminated(NSModalSession* session);
  void finishTerminate();

  NSApplicationDelegate* mDelegate = nullptr;
  std::vector<NSWindow*> mWindows;
  std::vector<NSWindow*> mOrdered;
  NSWindow* mKeyWindow = nullptr;
  NSWindow* mMainWindow = nullptr;
  mutable std::mutex mQueueMutex;
  std::deque<NSEvent> mQueue;
  std::vector<NSModalSession*> mModalStack;
  // Mouse releases taken off the queue: a window tells from it that a loop run by a press
  // (a menu's, a drag's) took the press's release.
  std::uint64_t mReleasesTaken = 0;
  std::uint64_t mModalRuns = 0;
  NSMenu* mMainMenu = nullptr;
  bool mActive = false;
  // Set by waitForEvent for its own nextEvent: a nested wait (a peek from a timer's handler)
  // leaves drawing to the loop around it.
  bool mDisplayBeforeWaiting = false;
  bool mHidden = false;
  unsigned mPresentationOptions = 0;
};

// The application object, created on first use.
inline NSApplication* NSApp() {
  return NSApplication::sharedApplication();
}

}  // namespace platform
