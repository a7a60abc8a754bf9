#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/MenuWindow.h"
#include "platform/core/Panel.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Timer.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

// A view that logs the events it receives.
class LogView : public NSView {
 public:
  using NSView::NSView;
  std::vector<std::string>* log = nullptr;
  std::string name;
  void mouseDown(const NSEvent&) override { log->push_back(name + " down"); }
  void mouseUp(const NSEvent&) override { log->push_back(name + " up"); }
  void keyDown(const NSEvent& e) override { log->push_back(name + " key " + e.characters); }
  bool acceptsFirstResponder() const override { return true; }
  bool acceptsFirstMouse(const NSEvent*) override { return true; }
};

NSWindow* makeWindow(std::vector<std::string>* log, const std::string& name, double x = 100) {
  auto* w = new NSWindow(NSMakeRect(x, 100, 200, 100),
                         NSWindowStyleMaskTitled | NSWindowStyleMaskClosable);
  auto* v = new LogView(NSMakeRect(0, 0, 200, 100));
  v->log = log;
  v->name = name;
  w->setContentView(v);
  v->release();
  w->setTitle(name);
  return w;
}

class ApplicationTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  NSApplication* app = NSApp();
};

TEST_F(ApplicationTest, EventQueuePeeksFiltersByMaskAndTimesOutInVirtualTime) {
  NSEvent key;
  key.type = NSEventTypeKeyDown;
  key.characters = "a";
  NSEvent click;
  click.type = NSEventTypeLeftMouseDown;
  h.post(click);
  h.post(key);
  auto peeked =
      app->nextEvent(NSEventMaskFromType(NSEventTypeKeyDown), h.now(), NSDefaultRunLoopMode, false);
  ASSERT_TRUE(peeked);
  EXPECT_EQ(peeked->characters, "a");
  EXPECT_EQ(app->pendingEventCount(), 2u);
  auto first = app->nextEvent(NSEventMaskAny, h.now(), NSDefaultRunLoopMode, true);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->type, NSEventTypeLeftMouseDown);
  EXPECT_EQ(app->currentEvent()->type, NSEventTypeLeftMouseDown);
  app->discardEvents(NSEventMaskAny);
  // Waiting for nothing moves virtual time to the deadline and fires timers meanwhile.
  int ticks = 0;
  Ref<NSTimer> t = NSTimer::timerWithTimeInterval(0.010, true, [&](NSTimer*) { ++ticks; });
  NSRunLoop::mainRunLoop().addTimer(t.get(), NSDefaultRunLoopMode);
  double start = h.now();
  EXPECT_FALSE(app->nextEvent(NSEventMaskAny, start + 45, NSDefaultRunLoopMode, true));
  EXPECT_EQ(h.now(), start + 45);
  EXPECT_EQ(ticks, 4);
  t->invalidate();
}

TEST_F(ApplicationTest, EventsPostedFromManyThreadsAllArriveInPerThreadOrder) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 250; ++i) {
        NSEvent e;
        e.data1 = t;
        e.data2 = i;
        NSApp()->postEvent(e, false);
      }
    });
  for (auto& t : threads)
    t.join();
  std::vector<int> next(4, 0);
  int count = 0;
  while (auto e = app->nextEvent(NSEventMaskAny, h.now(), NSDefaultRunLoopMode, true)) {
    EXPECT_EQ(e->data2, next[static_cast<std::size_t>(e->data1)]++);
    ++count;
  }
  EXPECT_EQ(count, 1000);
}

TEST_F(ApplicationTest, ClicksGoToTheHitViewAndKeysToTheFirstResponder) {
  std::vector<std::string> log;
  NSWindow* w = makeWindow(&log, "w");
  w->makeKeyAndOrderFront();
  h.click(w, {50, 50});
  h.key(w, 0, "x");
  h.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"w down", "w up", "w key x"}));
  EXPECT_EQ(w->firstResponder(), w->contentView());
}

TEST_F(ApplicationTest, EventsForAClosedWindowAreDropped) {
  std::vector<std::string> log;
  NSWindow* w = makeWindow(&log, "gone");
  h.click(w, {50, 50});
  w->close();  // released: the queued events now name a freed window
  EXPECT_EQ(h.runUntilIdle(), 2);
  EXPECT_TRUE(log.empty());
}

TEST_F(ApplicationTest, ModalLoopGivesInputOnlyToTheModalWindowAndStops) {
  std::vector<std::string> log;
  NSWindow* main = makeWindow(&log, "main");
  main->makeKeyAndOrderFront();
  // The modal panel, and a child window of it, which takes input with it.
  auto* panel = new NSPanel(NSMakeRect(300, 300, 100, 100), NSWindowStyleMaskTitled);
  auto* child = new NSPanel(NSMakeRect(420, 300, 100, 100), NSWindowStyleMaskTitled);
  for (auto [window, name] : {std::pair{panel, "panel"}, std::pair{child, "child"}}) {
    auto* v = new LogView(NSMakeRect(0, 0, 100, 100));
    v->log = &log;
    v->name = name;
    window->setContentView(v);
    v->release();
  }
  panel->addChildWindow(child, NSWindowAbove);
  h.click(main, {10, 10});
  h.click(panel, {10, 10});
  // Typed before the display's focus followed the panel, a key names the main window: it goes
  // to the panel, the key window.
  h.key(main, 0, "q");
  h.click(child, {10, 10});
  bool otherEventRan = false;
  h.perform([&] { otherEventRan = true; });
  h.perform([&] { app->stopModalWithCode(7); });
  NSModalResponse r = app->runModalForWindow(panel);
  EXPECT_EQ(r, 7);
  EXPECT_TRUE(otherEventRan);
  EXPECT_EQ(log, (std::vector<std::string>{"panel down", "panel up", "panel key q", "child down",
                                           "child up"}));
  EXPECT_EQ(app->modalWindow(), nullptr);
  child->close();
  panel->close();
}

TEST_F(ApplicationTest, NestedModalLoopsStopInnermostFirstAndAbortComesBack) {
  auto* outer = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  auto* inner = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  std::vector<NSModalResponse> results;
  int ticks = 0;
  h.onModal([&](NSWindow* w) {
    ++ticks;
    if (w == outer && results.empty()) {
      results.push_back(app->runModalForWindow(inner));
      EXPECT_EQ(app->modalWindow(), outer);
      app->stopModal();
    } else if (w == inner) {
      app->abortModal();
    }
  });
  results.push_back(app->runModalForWindow(outer));
  EXPECT_EQ(results, (std::vector<NSModalResponse>{NSModalResponseAbort, NSModalResponseStop}));
  EXPECT_GE(ticks, 2);
  outer->close();
  inner->close();
}

TEST_F(ApplicationTest, EndRequestCheckedAfterEachIterationEndsALoopAfterANestedOne) {
  auto* outer = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  auto* inner = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  bool outerDone = false;
  h.perform([&] {
    h.onModal([&](NSWindow* w) {
      if (w == inner) {
        outerDone = true;  // the outer loop is asked to end while the inner one runs
        app->stopModal();
      }
    });
    app->runModalForWindow(inner);
  });
  NSModalResponse r = app->runModalForWindow(outer, [&] { return outerDone; });
  EXPECT_EQ(r, NSModalResponseStop);
  EXPECT_FALSE(h.watchdogFired());
  outer->close();
  inner->close();
}

TEST_F(ApplicationTest, WatchdogAbortsAStuckModalLoop) {
  auto* panel = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  h.setWatchdog(1000);
  bool failed = false;
  {
    ::testing::TestPartResultArray results;
    ::testing::ScopedFakeTestPartResultReporter reporter(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
    EXPECT_EQ(app->runModalForWindow(panel), NSModalResponseAbort);
    failed = results.size() == 1;
  }
  EXPECT_TRUE(failed);
  EXPECT_TRUE(h.watchdogFired());
  panel->close();
}

TEST_F(ApplicationTest, ModalSessionsRunPendingWorkWithoutWaiting) {
  auto* panel = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  NSModalSession* s = app->beginModalSession(panel);
  EXPECT_EQ(app->modalWindow(), panel);
  int ran = 0;
  h.perform([&] { ++ran; });
  double start = h.now();
  EXPECT_EQ(app->runModalSession(s), NSModalResponseContinue);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(h.now(), start);
  h.perform([&] { app->stopModalWithCode(3); });
  EXPECT_EQ(app->runModalSession(s), 3);
  app->endModalSession(s);
  EXPECT_EQ(app->modalWindow(), nullptr);
  panel->close();
}

class RecordingDelegate : public NSApplicationDelegate {
 public:
  std::vector<std::string> log;
  NSApplicationTerminateReply reply = NSTerminateNow;
  NSApplicationTerminateReply applicationShouldTerminate(NSApplication*) override {
    log.push_back("should");
    return reply;
  }
  void applicationWillTerminate(NSApplication*) override { log.push_back("will"); }
  void applicationDidBecomeActive(NSApplication*) override { log.push_back("active"); }
  void applicationDidResignActive(NSApplication*) override { log.push_back("inactive"); }
};

TEST_F(ApplicationTest, TerminateAsksNowOrLaterAndActivationNotifies) {
  RecordingDelegate d;
  app->setDelegate(&d);
  h.activate();
  h.activate();
  h.deactivate();
  h.runUntilIdle();
  EXPECT_EQ(d.log, (std::vector<std::string>{"active", "inactive"}));
  d.log.clear();
  d.reply = NSTerminateLater;
  app->terminate(nullptr);
  EXPECT_FALSE(app->isTerminated());
  app->replyToApplicationShouldTerminate(true);
  EXPECT_TRUE(app->isTerminated());
  EXPECT_EQ(d.log, (std::vector<std::string>{"should", "will"}));
}

// The program ending (a quit, the display gone) ends every modal run it interrupts, nested
// ones too, and any begun afterwards: the main loop cannot end under one.
TEST_F(ApplicationTest, TerminatingEndsEveryModalRun) {
  auto* outer = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  auto* inner = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  std::vector<NSModalResponse> results;
  h.onModal([&](NSWindow* w) {
    if (w == outer && results.empty())
      results.push_back(app->runModalForWindow(inner));
    else if (w == inner)
      h.perform([&] { app->terminate(nullptr); });
  });
  results.push_back(app->runModalForWindow(outer));
  EXPECT_FALSE(h.watchdogFired());
  EXPECT_EQ(results, (std::vector<NSModalResponse>{NSModalResponseAbort, NSModalResponseAbort}));
  NSModalSession* session = app->beginModalSession(outer);
  EXPECT_EQ(app->runModalSession(session), NSModalResponseAbort);
  app->endModalSession(session);
  EXPECT_EQ(app->modalDepth(), 0u);
  outer->close();
  inner->close();
}

// Each loop runs the timers of its own mode, and those of the common modes: the main loop
// the default mode's, a modal run the modal panel's, a menu being tracked the event
// tracking mode's.
TEST_F(ApplicationTest, EachLoopRunsTheTimersOfItsMode) {
  auto* panel = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  auto menu = Ref<NSMenu>::adopt(new NSMenu);
  menu->addItem(Ref<NSMenuItem>::adopt(new NSMenuItem("One")).get());
  const std::pair<const char*, NSRunLoopMode> modes[] = {{"default", NSDefaultRunLoopMode},
                                                         {"modal", NSModalPanelRunLoopMode},
                                                         {"tracking", NSEventTrackingRunLoopMode},
                                                         {"common", NSRunLoopCommonModes}};
  struct Loop {
    const char* name;
    std::function<void()> run;  // runs for a while, ended by a common-modes timer
    std::function<void()> end;
    std::set<std::string> expected;
  } loops[] = {
      {"main",
       [&] { app->nextEvent(NSEventMaskAny, h.now() + 50, NSDefaultRunLoopMode, true); },
       [] {},
       {"default", "common"}},
      {"modal",
       [&] { app->runModalForWindow(panel); },
       [&] { app->stopModal(); },
       {"modal", "common"}},
      {"menu",
       [&] { NSMenuWindow::popUpMenu(menu.get(), NSMakePoint(100, 500)); },
       [&] { h.key(nullptr, kVK_Escape, ""); },
       {"tracking", "common"}},
  };
  for (Loop& loop : loops) {
    SCOPED_TRACE(loop.name);
    std::set<std::string> fired;
    std::vector<Ref<NSTimer>> timers;
    for (const auto& mode : modes) {
      const char* name = mode.first;
      timers.push_back(
          NSTimer::timerWithTimeInterval(0.010, true, [&, name](NSTimer*) { fired.insert(name); }));
      NSRunLoop::mainRunLoop().addTimer(timers.back().get(), mode.second);
    }
    timers.push_back(NSTimer::timerWithTimeInterval(0.045, false, [&](NSTimer*) { loop.end(); }));
    NSRunLoop::mainRunLoop().addTimer(timers.back().get(), NSRunLoopCommonModes);
    loop.run();
    EXPECT_EQ(fired, loop.expected);
    for (auto& t : timers)
      t->invalidate();
  }
  panel->close();
}

TEST_F(ApplicationTest, MainMenuIsRetained) {
  auto* menu = new NSMenu("Main");
  app->setMainMenu(menu);
  menu->release();
  EXPECT_EQ(app->mainMenu()->title(), "Main");
  app->setMainMenu(nullptr);
}

// Records what the application tells it; may stop the main loop as launching ends.
class LaunchDelegate : public NSApplicationDelegate {
 public:
  std::vector<std::string> log;
  bool stopAtLaunch = false;
  bool opensUntitled = true;
  void applicationDidFinishLaunching(NSApplication* app) override {
    log.push_back("launched");
    if (stopAtLaunch) app->stop();
  }
  bool applicationShouldOpenUntitledFile(NSApplication*) override { return opensUntitled; }
  bool applicationOpenUntitledFile(NSApplication*) override {
    log.push_back("untitled");
    return true;
  }
  bool applicationOpenFile(NSApplication*, const std::string& path) override {
    log.push_back("open " + path);
    return true;
  }
  void applicationWillTerminate(NSApplication*) override { log.push_back("terminate"); }
};

// The main loop launches once, dispatches what is queued, and ends at a stop from
// anywhere: a timer, an event, the launch handler itself, or termination.
TEST(ApplicationRun, TheMainLoopEndsAtAStopFromAnywhere) {
  struct Row {
    const char* name;
    std::function<void(testsupport::PlatformHarness&, LaunchDelegate&)> arrange;
    std::vector<std::string> log;
  } rows[] = {
      {"a timer",
       [](testsupport::PlatformHarness& h, LaunchDelegate&) {
         h.openFile("/tmp/x.doc");
         NSTimer::scheduledTimerWithTimeInterval(0.030, false, [](NSTimer*) { NSApp()->stop(); });
       },
       {"launched", "untitled", "open /tmp/x.doc"}},
      {"an event",
       [](testsupport::PlatformHarness& h, LaunchDelegate& d) {
         d.opensUntitled = false;
         h.perform([] { NSApp()->stop(); });
       },
       {"launched"}},
      {"the launch handler",
       [](testsupport::PlatformHarness&, LaunchDelegate& d) { d.stopAtLaunch = true; },
       {"launched", "untitled"}},
      {"termination",
       [](testsupport::PlatformHarness& h, LaunchDelegate&) { h.terminate(); },
       {"launched", "untitled", "terminate"}},
  };
  for (auto& row : rows) {
    SCOPED_TRACE(row.name);
    testsupport::PlatformHarness h;
    LaunchDelegate delegate;
    NSApp()->setDelegate(&delegate);
    row.arrange(h, delegate);
    // A lost stop would leave the loop running: this one comes late and is counted.
    bool rescued = false;
    Ref<NSTimer> rescue = NSTimer::timerWithTimeInterval(5, false, [&](NSTimer*) {
      rescued = true;
      NSApp()->stop();
    });
    NSRunLoop::mainRunLoop().addTimer(rescue.get(), NSRunLoopCommonModes);
    NSApp()->run();
    rescue->invalidate();
    EXPECT_FALSE(rescued);
    EXPECT_EQ(delegate.log, row.log);
    EXPECT_FALSE(NSApp()->isRunning());
    EXPECT_TRUE(NSApp()->isLaunched());
    // Launching happens once: a second run does not tell the delegate again.
    if (!NSApp()->isTerminated()) {
      delegate.log.clear();
      h.perform([] { NSApp()->stop(); });
      NSApp()->run();
      EXPECT_EQ(delegate.log, std::vector<std::string>{});
    }
    NSApp()->setDelegate(nullptr);
    EXPECT_FALSE(NSApp()->openFile("/tmp/y.doc"));  // nobody to open it
  }
}

TEST_F(ApplicationTest, WindowsAreFoundByNumberUntilTheyClose) {
  std::vector<std::string> log;
  NSWindow* a = makeWindow(&log, "a");
  NSWindow* b = makeWindow(&log, "b");
  EXPECT_EQ(app->windowWithWindowNumber(a->windowNumber()), a);
  EXPECT_EQ(app->windowWithWindowNumber(b->windowNumber()), b);
  EXPECT_NE(a->windowNumber(), b->windowNumber());
  const int gone = a->windowNumber();
  a->close();
  EXPECT_EQ(app->windowWithWindowNumber(gone), nullptr);
  EXPECT_EQ(app->windowWithWindowNumber(0), nullptr);
  EXPECT_EQ(app->windowWithWindowNumber(-1), nullptr);
  // The application's class is chosen before it exists, never after.
  EXPECT_FALSE(NSApplication::setPrincipalClass(nullptr));
  EXPECT_TRUE(NSApplication::sharedApplicationExists());
  b->close();
}

}  // namespace
