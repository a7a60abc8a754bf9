// Windows of the X11 backend as a user meets them, with and without a window manager:
// shown, moved, resized, retitled, ordered, hidden, minimised and closed, with no protocol
// error; and screens that change while the program runs.

#include <gtest/gtest.h>
// Xlib after gtest: its macros (Bool, None) would rename gtest's names.
#include <X11/extensions/Xrandr.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/core/Menu.h"
#include "platform/core/MenuWindow.h"
#include "platform/objects/Screen.h"
#include "platform/system/Clock.h"
#include "support/X11Fixture.h"

using namespace platform;
using testsupport::RecordingView;
using testsupport::X11Display;

namespace {

class X11Windows : public X11Display, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override { start({}, GetParam()); }

  // The child of the root holding the window: its window manager's frame, or itself.
  Window topLevelOf(Window xid) {
    for (;;) {
      Window root, parent, *children = nullptr;
      unsigned count = 0;
      if (!XQueryTree(x->display(), xid, &root, &parent, &children, &count)) return 0;
      if (children) XFree(children);
      if (parent == root) return xid;
      xid = parent;
    }
  }
  // Where the window stands among the root's children, bottom first.
  int stackIndex(Window xid) { return indexOf(rootChildren(), topLevelOf(xid)); }
  std::vector<Window> rootChildren() {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(x->display(), DefaultRootWindow(x->display()), &root, &parent, &children, &count);
    std::vector<Window> out(children, children + count);
    if (children) XFree(children);
    return out;
  }
  static int indexOf(const std::vector<Window>& list, Window xid) {
    auto at = std::find(list.begin(), list.end(), xid);
    return at == list.end() ? -1 : static_cast<int>(at - list.begin());
  }
  // Gone from the server: neither a child of the root nor a client of the window manager
  // (asked so that asking is no error).
  bool gone(Window xid) {
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    std::vector<Window> clients;
    if (XGetWindowProperty(x->display(), DefaultRootWindow(x->display()),
                           XInternAtom(x->display(), "_NET_CLIENT_LIST", False), 0, 4096, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data && format == 32)
      clients.assign(reinterpret_cast<unsigned long*>(data),
                     reinterpret_cast<unsigned long*>(data) + count);
    if (data) XFree(data);
    return indexOf(rootChildren(), xid) < 0 && indexOf(clients, xid) < 0;
  }
  long wmState(Window xid) {
    // WM_STATE is the window manager's: 1 normal, 3 iconic; none when withdrawn.
    return cardinalProperty(xid, "WM_STATE");
  }
};

TEST_P(X11Windows, AWindowsLifeReachesTheServerWithoutProtocolErrors) {
  const bool managed = GetParam();
  NSWindow* a = show(NSMakeRect(100, 100, 300, 200));
  Ref<RecordingView> aView = view;
  NSWindow* b = show(NSMakeRect(150, 150, 200, 150));
  ASSERT_TRUE(waitViewable(a) && waitViewable(b));
  const Window ax = xidOf(a), bx = xidOf(b);
  struct Row {
    const char* step;
    std::function<void()> act;
    std::function<bool()> reached;
  };
  const Row rows[] = {
      // The content lands where it was asked for (screen y up), whatever frame a window
      // manager puts around it.
      {"moved", [&] { a->setFrameOrigin(NSMakePoint(400, 300)); },
       [&] {
         XWindowAttributes g = rootGeometry(ax);
         return g.x == 400 && g.y == 800 - 300 - 200 && a->contentRect().origin.x == 400;
       }},
      {"resized", [&] { a->setContentSize(NSMakeSize(360, 240)); },
       [&] {
         XWindowAttributes g = rootGeometry(ax);
         return g.width == 360 && g.height == 240 && g.x == 400;
       }},
      {"made key", [&] { a->makeKeyWindow(); },
       [&] { return focused(ax) && a->isKeyWindow() && NSApp()->isActive(); }},
      {"retitled", [&] { a->setTitle("\xC3\x84nderung"); },
       [&] { return textProperty(ax, "_NET_WM_NAME") == "\xC3\x84nderung"; }},
      {"ordered front", [&] { a->orderFront(); }, [&] { return stackIndex(ax) > stackIndex(bx); }},
      {"ordered back", [&] { a->orderBack(); }, [&] { return stackIndex(ax) < stackIndex(bx); }},
      {"hidden", [&] { a->orderOut(); }, [&] { return !viewable(ax) && !a->isVisible(); }},
      {"shown again and drawn", [&] { a->makeKeyAndOrderFront(); },
       [&] { return viewable(ax) && screenPixel(ax, 10, 10) == 0xff0000; }},
      {"minimised", [&] { a->miniaturize(); },
       [&] { return !viewable(ax) && (!managed || wmState(ax) == IconicState); }},
      {"restored", [&] { a->deminiaturize(); },
       [&] { return viewable(ax) && (!managed || wmState(ax) == NormalState); }},
      // The focus goes on to the program's other window.
      {"closed", [&] { a->close(); },
       [&] {
         return xidOf(a) == 0 && gone(ax) && focused(bx) && b->isKeyWindow() && NSApp()->isActive();
       }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.step);
    r.act();
    NSApp()->updateWindows();
    EXPECT_TRUE(x->pumpUntil(r.reached, 3000))
        << "X window at " << rootGeometry(ax).x << "," << rootGeometry(ax).y << " "
        << rootGeometry(ax).width << "x" << rootGeometry(ax).height << ", content at "
        << a->contentRect().origin.x << "," << a->contentRect().origin.y;
    x->settle();
    ASSERT_FALSE(x->platform().logged("X error"));
  }
  EXPECT_TRUE(viewable(bx));
  b->close();
  x->settle();
  EXPECT_FALSE(x->platform().logged("X error"));
}

TEST_P(X11Windows, MenusAreOverrideRedirectPopUpsAboveTheWindows) {
  NSWindow* w = show(NSMakeRect(100, 100, 300, 200));
  ASSERT_TRUE(waitViewable(w));
  auto* menu = new NSWindow(NSMakeRect(150, 150, 120, 80), NSWindowStyleMaskBorderless);
  menu->setLevel(NSPopUpMenuWindowLevel);
  menu->setContentView(
      Ref<RecordingView>::adopt(new RecordingView(NSMakeRect(0, 0, 120, 80))).get());
  menu->orderFront();
  NSApp()->updateWindows();
  ASSERT_TRUE(waitViewable(menu));
  Window mx = xidOf(menu);
  XWindowAttributes a{};
  XGetWindowAttributes(x->display(), mx, &a);
  EXPECT_TRUE(a.override_redirect);
  EXPECT_EQ(topLevelOf(mx), mx);  // no frame around it
  // The document window raised by a click stays under the menu.
  w->orderFront();
  NSApp()->updateWindows();
  x->settle();
  EXPECT_GT(stackIndex(mx), stackIndex(xidOf(w)));
  menu->close();
  w->close();
  x->settle();
  EXPECT_FALSE(x->platform().logged("X error"));
}

TEST_P(X11Windows, ASubmenuClosingHandsTheKeyboardBackToItsMenu) {
  auto menu = Ref<NSMenu>::adopt(new NSMenu);
  auto more = Ref<NSMenu>::adopt(new NSMenu);
  for (const char* title : {"A", "B"})
    more->addItem(Ref<NSMenuItem>::adopt(new NSMenuItem(title)).get());
  for (const char* title : {"One", "More", "Three"}) {
    auto item = Ref<NSMenuItem>::adopt(new NSMenuItem(title));
    if (std::string(title) == "More") item->setSubmenu(more.get());
    menu->addItem(item.get());
  }
  // Real time: the menu's loop waits on the X connection. Into the submenu and out of it
  // again, then on in the menu.
  setClock(nullptr);
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    x->server().run({"xdotool", "key", "--delay", "60", "Down", "Down", "Right", "Down", "Escape",
                     "Down", "Return"});
  });
  NSMenuItem* chosen = NSMenuWindow::popUpMenu(menu.get(), NSMakePoint(100, 500));
  user.join();
  setClock(&x->platform().clock());
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->title(), "Three");
  x->settle();
  EXPECT_FALSE(x->platform().logged("X error"));
  EXPECT_FALSE(x->platform().logged("could not take the pointer"));
}

INSTANTIATE_TEST_SUITE_P(WindowManager, X11Windows, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p) {
                           return p.param ? "Openbox" : "None";
                         });

// Titles as a document's file name makes them: bytes that are no UTF-8 (a Latin-1 name) go
// to the server as U+FFFD, a very long one whole, an empty one as empty; none is an error.
TEST_F(X11Display, TitlesReachTheServerAsValidUtf8WhateverTheirBytes) {
  NSWindow* w = show(NSMakeRect(10, 10, 200, 100));
  ASSERT_TRUE(waitViewable(w));
  const std::string longTitle(200000, 'T');
  struct Case {
    std::string title, shown;
  } cases[] = {
      {"Gr\xFC\xDF.mid", "Gr\xEF\xBF\xBD\xEF\xBF\xBD.mid"},
      {"caf\xC3\xA9 \xE2\x82", "caf\xC3\xA9 \xEF\xBF\xBD\xEF\xBF\xBD"},
      {longTitle, longTitle},
      {"", ""},
  };
  for (const Case& c : cases) {
    w->setTitle(c.title);
    x->settle();
    EXPECT_EQ(textProperty(xidOf(w), "_NET_WM_NAME"), c.shown.substr(0, 4096));
    EXPECT_EQ(textProperty(xidOf(w), "WM_NAME"), c.shown.substr(0, 4096));
    EXPECT_EQ(w->title(), c.title);  // the window keeps what it was given
  }
  EXPECT_FALSE(x->platform().logged("X error"));
}

// The shared-memory segments of this process, as the system lists them.
int sharedSegmentsOfThisProcess() {
  std::ifstream list("/proc/sysvipc/shm");
  std::string line;
  std::getline(list, line);  // the heading
  int count = 0;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    long key, id, perms, size, creator;
    if (fields >> key >> id >> perms >> size >> creator && creator == getpid()) ++count;
  }
  return count;
}

TEST_F(X11Display, ResizesAndClosesGiveTheirSharedMemoryBack) {
  if (!x->backend().usesSharedMemory()) GTEST_SKIP() << "the server has no MIT-SHM";
  const int before = sharedSegmentsOfThisProcess();
  NSWindow* w = show(NSMakeRect(10, 10, 100, 100));
  ASSERT_TRUE(waitViewable(w));
  for (int i = 1; i <= 20; ++i) {
    w->setContentSize(NSMakeSize(100 + 10 * i, 100 + 5 * i));
    w->display();
    x->settle();
  }
  EXPECT_EQ(sharedSegmentsOfThisProcess(), before + 1);
  w->close();
  x->settle();
  EXPECT_EQ(sharedSegmentsOfThisProcess(), before);
  EXPECT_FALSE(x->platform().logged("X error"));
}

TEST_F(X11Display, ScreensFollowTheServersMonitorsAsTheyChange) {
  Display* other = x->otherClient();
  ASSERT_NE(other, nullptr);
  Window root = DefaultRootWindow(other);
  // Another program adds two monitors beside the server's own one, the right one primary.
  auto monitor = [&](const char* name, int left, bool primary) {
    XRRMonitorInfo* m = XRRAllocateMonitor(other, 0);
    m->name = XInternAtom(other, name, False);
    m->primary = primary;
    m->x = left;
    m->width = 640;
    m->height = 800;
    m->mwidth = 160;
    m->mheight = 200;
    XRRSetMonitor(other, root, m);
    XFree(m);
  };
  monitor("LEFT", 0, false);
  monitor("RIGHT", 640, true);
  XSync(other, False);
  // The main screen (the primary monitor) holds the origin.
  ASSERT_TRUE(x->pumpUntil([] { return NSScreen::screens().size() == 3; }))
      << NSScreen::screens().size() << " screens";
  EXPECT_EQ(NSScreen::screens()[0].frame, NSMakeRect(0, 0, 640, 800));
  EXPECT_EQ(NSScreen::mainScreen()->frame, NSMakeRect(0, 0, 640, 800));
  // A window placed on the main screen lands on the right half of the root.
  NSWindow* w = show(NSMakeRect(10, 10, 100, 100));
  ASSERT_TRUE(waitViewable(w));
  EXPECT_EQ(rootGeometry(xidOf(w)).x, 650);
  XRRDeleteMonitor(other, root, XInternAtom(other, "LEFT", False));
  XRRDeleteMonitor(other, root, XInternAtom(other, "RIGHT", False));
  XSync(other, False);
  EXPECT_TRUE(x->pumpUntil([] { return NSScreen::screens().size() == 1; }));
  EXPECT_FALSE(x->platform().logged("X error"));
}

}  // namespace

namespace {

class X11UnderAWindowManager : public X11Display {
 protected:
  void SetUp() override { start({}, true); }
};

// The window manager's iconify and restore, as a user's clicks on its buttons and task list
// would make them, and the program's own, each reaching the other side.
TEST_F(X11UnderAWindowManager, IconifiedAndRestoredFromEitherSide) {
  NSWindow* w = show(NSMakeRect(100, 100, 200, 150));
  w->setReleasedWhenClosed(false);
  Ref<NSWindow> keep(w);
  ASSERT_TRUE(waitViewable(w));
  const std::string id = std::to_string(xidOf(w));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(x->xdotool({"windowminimize", id}));
    ASSERT_TRUE(x->pumpUntil([&] { return w->isMiniaturized(); }));
    EXPECT_FALSE(w->isVisible());
    ASSERT_TRUE(x->xdotool({"windowactivate", id}));
    ASSERT_TRUE(x->pumpUntil([&] { return w->isVisible() && viewable(xidOf(w)); }));
    EXPECT_FALSE(w->isMiniaturized());
  }
  w->miniaturize();
  ASSERT_TRUE(x->pumpUntil([&] { return !viewable(xidOf(w)); }));
  w->deminiaturize();
  ASSERT_TRUE(x->pumpUntil([&] { return viewable(xidOf(w)); }));
  // Iconified or hidden, and shown again once the server has done it but before its notice
  // is read: the late notice is not taken for the window manager iconifying the window.
  const std::pair<void (NSWindow::*)(), void (NSWindow::*)()> hideAndShow[] = {
      {&NSWindow::miniaturize, &NSWindow::deminiaturize},
      {&NSWindow::orderOut, &NSWindow::orderFront}};
  for (auto [hide, show] : hideAndShow) {
    (w->*hide)();
    XFlush(x->display());
    for (int i = 0; i < 1000 && viewable(xidOf(w)); ++i)
      usleep(2000);  // asking the server reads its notices without handling them
    (w->*show)();
    // Watched while the notices are handled: hidden even for a moment is a fault.
    bool hidden = false;
    x->pumpUntil(
        [&] {
          hidden |= !w->isVisible() || w->isMiniaturized();
          return false;
        },
        300);
    EXPECT_FALSE(hidden);
    EXPECT_TRUE(w->isVisible());
  }
  EXPECT_TRUE(x->pumpUntil([&] { return viewable(xidOf(w)); }));
  w->close();
  x->settle();
  EXPECT_FALSE(x->platform().logged("X error"));
}

// Another program's window, found by its process number through the window manager's list
// of clients, is activated through the window manager; one iconified is not a window to raise.
TEST_F(X11UnderAWindowManager, AnotherProgramsWindowIsBroughtToFrontThroughTheWindowManager) {
  NSWindow* ours = show(NSMakeRect(100, 100, 200, 150));
  ASSERT_TRUE(waitViewable(ours));
  Display* other = x->otherClient();
  const long pid = 0x7ffff00;  // no process of this machine's
  Window theirs = XCreateSimpleWindow(other, DefaultRootWindow(other), 400, 300, 120, 80, 0, 0, 0);
  const unsigned long pidValue = static_cast<unsigned long>(pid);
  XChangeProperty(other, theirs, XInternAtom(other, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pidValue), 1);
  XMapWindow(other, theirs);
  XSync(other, False);
  ASSERT_TRUE(
      x->pumpUntil([&] { return viewable(theirs) && cardinalProperty(theirs, "WM_STATE") == 1; }));
  // Ours is made active again, then theirs is asked to the front.
  ASSERT_TRUE(x->xdotool({"windowactivate", std::to_string(xidOf(ours))}));
  auto active = [&] {
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    Window w = 0;
    if (XGetWindowProperty(x->display(), DefaultRootWindow(x->display()),
                           XInternAtom(x->display(), "_NET_ACTIVE_WINDOW", False), 0, 1, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data && count == 1)
      w = *reinterpret_cast<Window*>(data);
    if (data) XFree(data);
    return w;
  };
  ASSERT_TRUE(x->pumpUntil([&] { return active() == xidOf(ours); }));
  EXPECT_TRUE(x->backend().bringProcessToFront(pid));
  EXPECT_TRUE(x->pumpUntil([&] { return active() == theirs; }));
  EXPECT_FALSE(x->backend().bringProcessToFront(pid + 1));
  // Iconified: not found.
  XIconifyWindow(other, theirs, DefaultScreen(other));
  XSync(other, False);
  ASSERT_TRUE(x->pumpUntil([&] { return !viewable(theirs); }));
  EXPECT_FALSE(x->backend().bringProcessToFront(pid));
  XDestroyWindow(other, theirs);
  XSync(other, False);
  x->settle();
  EXPECT_FALSE(x->platform().logged("X error"));
}

}  // namespace
