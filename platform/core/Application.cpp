#include "platform/core/Application.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

#include "platform/core/Menu.h"
#include "platform/core/Text.h"
#include "platform/core/Window.h"
#include "platform/core/detail/TestHooks.h"
#include "platform/display/DisplayBackend.h"
#include "platform/system/Clock.h"
#include "platform/system/MainThread.h"

namespace platform {

NSApplication::NSApplication() {
  setMainThread(std::this_thread::get_id());
}

namespace {
NSApplication* makeDefaultApplication();
std::atomic<NSApplication::ApplicationFactory> gFactory{nullptr};
std::atomic<bool> gAppMade{false};

// Where the application is in its life, and what its modal loops call. A process has one
// application, so this is the process's: tests put it back to the start between them.
struct Lifecycle {
  std::optional<NSEvent> currentEvent;  // the last event taken off the queue
  bool launched = false;
  bool running = false;
  bool terminatePending = false;
  bool terminated = false;
  std::function<void(NSWindow*)> modalHook;
};

Lifecycle& lifecycle() {
  // Lives for the whole program, like the application.
  static Lifecycle* state = new Lifecycle;
  return *state;
}
}  // namespace

NSApplication* NSApplication::sharedApplication() {
  // Lives for the whole program, like the platform's.
  static NSApplication* app = [] {
    ApplicationFactory factory = gFactory.load();
    NSApplication* made = factory ? factory() : nullptr;
    gAppMade.store(true);
    return made ? made : makeDefaultApplication();
  }();
  return app;
}

bool NSApplication::setPrincipalClass(ApplicationFactory factory) {
  if (gAppMade.load()) return false;
  gFactory.store(factory);
  return true;
}

bool NSApplication::sharedApplicationExists() {
  return gAppMade.load();
}

namespace {
NSApplication* makeDefaultApplication() {
  struct DefaultApplication : NSApplication {};
  return new DefaultApplication;
}
}  // namespace

NSWindow* NSApplication::windowWithWindowNumber(int number) const {
  for (NSWindow* w : mWindows)
    if (w->windowNumber() == number) return w;
  return nullptr;
}

void NSApplication::registerWindow(NSWindow* window) {
  mWindows.push_back(window);
}

void NSApplication::windowClosed(NSWindow* window) {
  orderWindow(window, NSWindowOut);
  mWindows.erase(std::remove(mWindows.begin(), mWindows.end(), window), mWindows.end());
  displayBackend().windowClosed(window);
}

void NSApplication::unregisterWindow(NSWindow* window) {
  mOrdered.erase(std::remove(mOrdered.begin(), mOrdered.end(), window), mOrdered.end());
  mWindows.erase(std::remove(mWindows.begin(), mWindows.end(), window), mWindows.end());
  if (mKeyWindow == window) mKeyWindow = nullptr;
  if (mMainWindow == window) mMainWindow = nullptr;
  for (NSModalSession* s : mModalStack)
    if (s->window == window) s->window = nullptr;
}

void NSApplication::orderWindow(NSWindow* window, NSWindowOrderingMode place) {
  bool wasVisible = window->isVisible();
  mOrdered.erase(std::remove(mOrdered.begin(), mOrdered.end(), window), mOrdered.end());
  if (place == NSWindowOut) {
    if (wasVisible) displayBackend().windowVisibilityChanged(window);
    if (wasVisible && (mKeyWindow == window || mMainWindow == window)) chooseNewKeyWindow(window);
    return;
  }
  auto it = mOrdered.begin();
  if (place == NSWindowAbove) {
    while (it != mOrdered.end() && (*it)->level() > window->level())
      ++it;
  } else {
    while (it != mOrdered.end() && (*it)->level() >= window->level())
      ++it;
  }
  mOrdered.insert(it, window);
  displayBackend().windowVisibilityChanged(window);
  // Child windows stay in front of their parent.
  for (NSWindow* child : window->childWindows())
    if (child->isVisible()) orderWindow(child, NSWindowAbove);
}

void NSApplication::chooseNewKeyWindow(NSWindow* leaving) {
  // Each status goes to the front-most window that can take it: a panel in front takes key
  // status, and main status goes past it to the document window behind.
  auto frontMost = [&](bool (NSWindow::*can)() const) -> NSWindow* {
    for (NSWindow* w : mOrdered)
      if (w != leaving && (w->*can)()) return w;
    return nullptr;
  };
  if (mKeyWindow == leaving) setKeyWindow(frontMost(&NSWindow::canBecomeKeyWindow));
  if (mMainWindow == leaving) setMainWindowInternal(frontMost(&NSWindow::canBecomeMainWindow));
}

void NSApplication::setKeyWindow(NSWindow* window) {
  if (mKeyWindow == window) return;
  Ref<NSWindow> oldKey(mKeyWindow), newKey(window);
  mKeyWindow = window;
  // A focus ring, and a caret, show only in the key window.
  for (NSWindow* w : {oldKey.get(), newKey.get()}) {
    if (!w) continue;
    w->focusRingNeedsDisplay();
    if (auto* text = dynamic_cast<NSText*>(w->firstResponder())) text->keyWindowChanged();
  }
  if (oldKey) oldKey->resignKeyWindow();
  // The resign hook may have moved key status on already.
  if (newKey && mKeyWindow == window) {
    newKey->becomeKeyWindow();
    displayBackend().windowBecameKey(window);
  }
}

void NSApplication::setMainWindowInternal(NSWindow* window) {
  if (mMainWindow == window) return;
  Ref<NSWindow> oldMain(mMainWindow), newMain(window);
  mMainWindow = window;
  if (oldMain) oldMain->resignMainWindow();
  if (newMain && mMainWindow == window) newMain->becomeMainWindow();
}

void NSApplication::postEvent(NSEvent event, bool atStart) {
  {
    std::lock_guard<std::mutex> lock(mQueueMutex);
    if (atStart)
      mQueue.push_front(std::move(event));
    else
      mQueue.push_back(std::move(event));
  }
  NSRunLoop::mainRunLoop().wakeUp();
}

std::optional<NSEvent> NSApplication::takeEvent(NSEventMask mask, bool dequeue) {
  std::lock_guard<std::mutex> lock(mQueueMutex);
  for (auto it = mQueue.begin(); it != mQueue.end(); ++it) {
    if (!(mask & NSEventMaskFromType(it->type))) continue;
    if (!dequeue) return *it;
    NSEvent e = std::move(*it);
    mQueue.erase(it);
    // A key goes to the key window: the display's focus follows the program's choice late (once a
    // new window is mapped, or through a window manager), and a key typed in between names the
    // window that had the focus, which a modal run would drop. Menus, never key, keep theirs.
    if (e.isKeyEvent() && mKeyWindow && e.window && e.window != mKeyWindow &&
        isLiveObject(static_cast<const NSObject*>(e.window)) && e.window->canBecomeKeyWindow())
      e.window = mKeyWindow;
    return e;
  }
  return std::nullopt;
}

std::optional<NSEvent> NSApplication::nextEvent(NSEventMask mask, double untilMs,
                                                NSRunLoopMode mode, bool dequeue) {
  NSRunLoop& loop = NSRunLoop::mainRunLoop();
  NSRunLoop::ModeScope scope(loop, mode);
  bool manual = clock().isManual();
  const bool display = std::exchange(mDisplayBeforeWaiting, false);
  auto take = [&] {
    std::optional<NSEvent> e = takeEvent(mask, dequeue);
    if (e && dequeue) {
      if (e->type == NSEventTypeLeftMouseUp || e->type == NSEventTypeRightMouseUp ||
          e->type == NSEventTypeOtherMouseUp)
        ++mReleasesTaken;
      lifecycle().currentEvent = *e;
    }
    return e;
  };
  for (;;) {
    if (auto e = take()) return e;
    loop.fireDueTimers(mode);
    if (auto e = take()) return e;
    // Written so that a date that is no number ends the wait too.
    if (!(nowMs() < untilMs)) return std::nullopt;
    // What the timers just did is seen now, not at the next input event.
    if (display) updateWindows();
    loop.waitUntil(untilMs, mode);
    // In virtual time an endless wait is one idle step, so that a loop waiting for
    // nothing comes back to its caller (and a test's watchdog) instead of spinning here.
    if (manual && std::isinf(untilMs)) {
      loop.fireDueTimers(mode);
      return take();
    }
  }
}

std::optional<NSEvent> NSApplication::waitForEvent(NSRunLoopMode mode) {
  mDisplayBeforeWaiting = true;
  return nextEvent(NSEventMaskAny, kDistantFutureMs, mode, true);
}

void NSApplication::discardEvents(NSEventMask mask) {
  std::lock_guard<std::mutex> lock(mQueueMutex);
  mQueue.erase(
      std::remove_if(mQueue.begin(), mQueue.end(),
                     [mask](const NSEvent& e) { return mask & NSEventMaskFromType(e.type); }),
      mQueue.end());
}

std::size_t NSApplication::pendingEventCount() const {
  std::lock_guard<std::mutex> lock(mQueueMutex);
  return mQueue.size();
}

void NSApplication::sendEvent(const NSEvent& e) {
  // An event may outlive its window in the queue.
  if (e.window && !isLiveObject(static_cast<const NSObject*>(e.window))) return;
  // Key states are asked from any thread (GetAsyncKeyState): each input event tells them.
  if (e.isInputEvent()) NSEvent::noteModifierFlags(e.modifierFlags);
  switch (e.type) {
    case NSEventTypeAppKitDefined:
      if (e.subtype == NSEventSubtypeApplicationActivated)
        activateIgnoringOtherApps(true);
      else if (e.subtype == NSEventSubtypeApplicationDeactivated)
        deactivate();
      return;
    case NSEventTypeApplicationDefined:
      if (e.action) e.action();
      return;
    case NSEventTypeKeyDown:
    case NSEventTypeKeyUp:
    case NSEventTypeFlagsChanged: {
      Ref<NSWindow> target(e.window ? e.window : mKeyWindow);
      if (target) target->sendEvent(e);
      return;
    }
    default:
      if (e.window) {
        Ref<NSWindow> target(e.window);
        // Pointer events move the pointer the layer reports.
        if (e.isMouseEvent() || e.type == NSEventTypeScrollWheel || e.type == NSEventTypeMagnify ||
            e.type == NSEventTypeRotate || e.type == NSEventTypeSwipe)
          NSEvent::noteMouseEvent(e, target->convertPointToScreen(e.locationInWindow));
        target->sendEvent(e);
      }
      return;
  }
}

void NSApplication::finishLaunching() {
  if (lifecycle().launched) return;
  lifecycle().launched = true;
  if (!mDelegate) return;
  mDelegate->applicationDidFinishLaunching(this);
  if (mDelegate && mDelegate->applicationShouldOpenUntitledFile(this))
    mDelegate->applicationOpenUntitledFile(this);
}

bool NSApplication::openFile(const std::string& path) {
  return mDelegate && mDelegate->applicationOpenFile(this, path);
}

void NSApplication::run() {
  // Running already while launching: a stop from the launch handler ends the loop at once.
  lifecycle().running = true;
  finishLaunching();
  while (lifecycle().running && !lifecycle().terminated) {
    NSAutoreleasePool pool;
    if (auto e = waitForEvent(NSDefaultRunLoopMode)) sendEvent(*e);
    updateWindows();
  }
  lifecycle().running = false;
}

void NSApplication::stop() {
  const bool wasRunning = lifecycle().running;
  lifecycle().running = false;
  // The main loop sees the stop only when its wait for an event ends: a stop from a timer
  // or a signal's callback posts one, so the loop ends now rather than at the next input.
  if (wasRunning) {
    NSEvent wake;
    wake.type = NSEventTypeApplicationDefined;
    postEvent(wake, false);
  }
  NSRunLoop::mainRunLoop().wakeUp();
}

void NSApplication::updateWindows() {
  for (NSWindow* w : std::vector<NSWindow*>(mOrdered))
    if (isLiveObject(w)) w->displayIfNeeded();
}

bool NSApplication::blockedByModal(const NSEvent& e) const {
  if (!e.isInputEvent() || mModalStack.empty()) return false;
  // An event that outlived its window is dropped by sendEvent, unread.
  if (e.window && !isLiveObject(static_cast<const NSObject*>(e.window))) return false;
  NSWindow* modal = mModalStack.back()->window;
  NSWindow* w = e.window ? e.window : (e.isKeyEvent() ? mKeyWindow : nullptr);
  // An event of a window freed since it was queued (a menu's, after the menu closed) is not
  // looked into here: sendEvent drops it.
  if (!w || !modal || !isLiveObject(static_cast<const NSObject*>(w))) return false;
  for (NSWindow* p = w; p; p = p->parentWindow())
    if (p == modal) return false;
  return true;
}

void NSApplication::callModalHook(NSWindow* window) {
  if (lifecycle().modalHook) {
    auto hook = lifecycle().modalHook;  // the hook may replace itself
    hook(window);
  }
}

NSModalSession* NSApplication::beginModalSession(NSWindow* window) {
  auto* session = new NSModalSession;
  session->window = window;
  session->serial = ++mModalRuns;
  mModalStack.push_back(session);
  if (window) displayBackend().windowAttributesChanged(window);
  if (window) window->makeKeyAndOrderFront();
  return session;
}

void NSApplication::endIfTerminated(NSModalSession* session) {
  // The program is ending: no modal run outlives it (the main loop cannot end under one).
  if (session->stopped || !lifecycle().terminated) return;
  session->stopped = true;
  session->response = NSModalResponseAbort;
}

NSModalResponse NSApplication::runModalSession(NSModalSession* session) {
  if (!session) return NSModalResponseAbort;
  endIfTerminated(session);
  callModalHook(session->window);
  while (!session->stopped) {
    auto e = nextEvent(NSEventMaskAny, nowMs(), NSModalPanelRunLoopMode, true);
    if (!e) break;
    if (!blockedByModal(*e)) sendEvent(*e);
    endIfTerminated(session);
  }
  if (!session->stopped) updateWindows();
  return session->stopped ? session->response : NSModalResponseContinue;
}

void NSApplication::endModalSession(NSModalSession* session) {
  auto it = std::find(mModalStack.begin(), mModalStack.end(), session);
  if (it == mModalStack.end()) return;
  NSWindow* window = session->window;
  mModalStack.erase(it);
  delete session;
  if (window && isLiveObject(window)) displayBackend().windowAttributesChanged(window);
}

NSModalResponse NSApplication::runModalForWindow(NSWindow* window,
                                                 const std::function<bool()>& endRequested) {
  if (!window) return NSModalResponseAbort;
  Ref<NSWindow> keep(window);
  NSModalSession* session = beginModalSession(window);
  callModalHook(window);
  auto checkEnd = [&] {
    endIfTerminated(session);
    if (!session->stopped && endRequested && endRequested()) {
      session->stopped = true;
      session->response = NSModalResponseStop;
    }
  };
  checkEnd();
  while (!session->stopped) {
    NSAutoreleasePool pool;
    if (auto e = waitForEvent(NSModalPanelRunLoopMode)) {
      if (!blockedByModal(*e)) sendEvent(*e);
    }
    checkEnd();
    if (session->stopped) break;
    updateWindows();
    callModalHook(window);
    checkEnd();
  }
  NSModalResponse response = session->response;
  endModalSession(session);
  return response;
}

void NSApplication::stopModalWithCode(NSModalResponse code) {
  if (mModalStack.empty()) return;
  NSModalSession* top = mModalStack.back();
  top->stopped = true;
  top->response = code;
  // As with stop: the modal loop sees the stop only when its wait for an event ends, so a stop
  // from a timer or a signal's callback posts one rather than waiting for the next input.
  NSEvent wake;
  wake.type = NSEventTypeApplicationDefined;
  postEvent(wake, false);
  NSRunLoop::mainRunLoop().wakeUp();
}

bool NSApplication::isModalRunEnding(std::uint64_t serial) const {
  if (serial == 0) return false;
  for (NSModalSession* s : mModalStack)
    if (s->serial == serial) return s->stopped;
  return true;
}

bool NSApplication::isInModalRun(const NSWindow* window) const {
  for (NSModalSession* s : mModalStack)
    if (s->window == window) return true;
  return false;
}

NSWindow* NSApplication::modalWindow() const {
  return mModalStack.empty() ? nullptr : mModalStack.back()->window;
}

void NSApplication::setMainMenu(NSMenu* menu) {
  if (menu == mMainMenu) return;
  if (menu) menu->retain();
  if (mMainMenu) mMainMenu->release();
  mMainMenu = menu;
}

void NSApplication::activateIgnoringOtherApps(bool) {
  if (mActive) return;
  mActive = true;
  if (mDelegate) mDelegate->applicationDidBecomeActive(this);
}

void NSApplication::deactivate() {
  if (!mActive) return;
  mActive = false;
  if (mDelegate) mDelegate->applicationDidResignActive(this);
}

void NSApplication::terminate(NSObject*) {
  if (lifecycle().terminated) return;
  NSApplicationTerminateReply reply =
      mDelegate ? mDelegate->applicationShouldTerminate(this) : NSTerminateNow;
  if (reply == NSTerminateNow)
    finishTerminate();
  else if (reply == NSTerminateLater)
    lifecycle().terminatePending = true;
}

void NSApplication::replyToApplicationShouldTerminate(bool shouldTerminate) {
  if (!lifecycle().terminatePending) return;
  lifecycle().terminatePending = false;
  if (shouldTerminate) finishTerminate();
}

const NSEvent* NSApplication::currentEvent() const {
  const std::optional<NSEvent>& e = lifecycle().currentEvent;
  return e ? &*e : nullptr;
}

bool NSApplication::isLaunched() const {
  return lifecycle().launched;
}

bool NSApplication::isRunning() const {
  return lifecycle().running;
}

bool NSApplication::isTerminated() const {
  return lifecycle().terminated;
}

void resetApplicationForTesting() {
  NSApplication& app = *NSApp();
  app.discardEvents(NSEventMaskAny);
  app.setDelegate(nullptr);
  app.setMainMenu(nullptr);
  // Without a delegate nobody is told.
  app.deactivate();
  app.unhide();
  lifecycle() = Lifecycle{};
}

void setModalHookForTesting(std::function<void(NSWindow*)> hook) {
  lifecycle().modalHook = std::move(hook);
}

void NSApplication::finishTerminate() {
  if (mDelegate) mDelegate->applicationWillTerminate(this);
  lifecycle().terminated = true;
  stop();
}

}  // namespace platform
