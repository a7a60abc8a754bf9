// The X11 display backend on an Xvfb of each test's own: windows, presentation, input,
// focus, screens, pointer, and the faults of a display that other programs share.

#include <gtest/gtest.h>
// Xlib after gtest: its macros (Bool, None) would rename gtest's names.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>

#include "platform/core/Application.h"
#include "platform/core/Cursor.h"
#include "platform/core/DisplaySwitch.h"
#include "platform/core/DragAndDrop.h"
#include "platform/core/Menu.h"
#include "platform/core/MenuWindow.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/display/KeyboardLayout.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/objects/Screen.h"
#include "platform/system/Clock.h"
#include "platform/system/RunningApplication.h"
#include "platform/x11/detail/X11Backend.h"
#include "support/X11Fixture.h"

using namespace platform;
using testsupport::X11Harness;

using testsupport::kDocumentStyle;
using testsupport::X11Display;

TEST_F(X11Display, WindowsAreXWindowsAtTheirContentWithTheirProperties) {
  NSWindow* w = show(NSMakeRect(100, 100, 300, 200));
  w->setTitle(
      "Gr\xC3\xBC\xC3\x9F"
      "e");
  Window xid = xidOf(w);
  ASSERT_NE(xid, 0u);
  ASSERT_TRUE(waitViewable(w));
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(x->display(), xid, &a));
  // Screen coordinates are y up from the bottom of the 800-pixel screen.
  EXPECT_EQ(a.x, 100);
  EXPECT_EQ(a.y, testbed::XvfbServer::kHeight - 300);
  EXPECT_EQ(a.width, 300);
  EXPECT_EQ(a.height, 200);
  EXPECT_EQ(textProperty(xid, "_NET_WM_NAME"),
            "Gr\xC3\xBC\xC3\x9F"
            "e");
  EXPECT_EQ(textProperty(xid, "WM_NAME"),
            "Gr\xC3\xBC\xC3\x9F"
            "e");
  EXPECT_FALSE(textProperty(xid, "WM_CLASS").empty());
  EXPECT_EQ(cardinalProperty(xid, "_NET_WM_PID"), static_cast<long>(getpid()));

  // Size limits become the hints; a window that cannot be resized is fixed.
  w->setMinSize(NSMakeSize(150, 120));
  XSizeHints hints;
  long supplied;
  ASSERT_TRUE(XGetWMNormalHints(x->display(), xid, &hints, &supplied));
  EXPECT_EQ(hints.min_width, 150);
  EXPECT_EQ(hints.min_height, 120);
  NSWindow* fixed = show(NSMakeRect(10, 10, 80, 60), NSWindowStyleMaskTitled);
  ASSERT_TRUE(XGetWMNormalHints(x->display(), xidOf(fixed), &hints, &supplied));
  EXPECT_EQ(hints.min_width, 80);
  EXPECT_EQ(hints.max_width, 80);
  EXPECT_EQ(hints.max_height, 60);

  // An owned window stays with its owner.
  w->addChildWindow(fixed, NSWindowAbove);
  Window owner = 0;
  ASSERT_TRUE(XGetTransientForHint(x->display(), xidOf(fixed), &owner));
  EXPECT_EQ(owner, xid);

  // Closing destroys the X window: its id leaves the map.
  w->close();
  EXPECT_EQ(xidOf(w), 0u);
}

TEST_F(X11Display, SizesAreClampedToSixteenBitsAndEmptyWindowsAreUnmapped) {
  struct Row {
    double width, height;
    bool mapped;
    int xWidth, xHeight;
  };
  const Row rows[] = {
      {120, 90, true, 120, 90},     {0, 90, false, 1, 90},       {120, 0, false, 120, 1},
      {40000, 50, true, 32767, 50}, {1e12, 50, true, 32767, 50}, {0.4, 0.4, false, 1, 1},
  };
  NSWindow* w = show(NSMakeRect(20, 20, 100, 100));
  ASSERT_TRUE(waitViewable(w));
  Window xid = xidOf(w);
  for (const Row& r : rows) {
    w->setContentSize(NSMakeSize(r.width, r.height));
    w->display();
    x->settle();
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(x->display(), xid, &a));
    EXPECT_EQ(a.map_state == IsViewable, r.mapped) << r.width << "x" << r.height;
    EXPECT_EQ(a.width, r.xWidth) << r.width << "x" << r.height;
    EXPECT_EQ(a.height, r.xHeight) << r.width << "x" << r.height;
  }
}

TEST_F(X11Display, EventsOfAWindowClosedMeanwhileAreDropped) {
  NSWindow* w = show(NSMakeRect(50, 50, 200, 150));
  ASSERT_TRUE(waitViewable(w));
  Window xid = xidOf(w);
  ASSERT_TRUE(x->xdotool({"mousemove", "--window", std::to_string(xid), "20", "20", "click", "1",
                          "key", "--window", std::to_string(xid), "a"}));
  // The clicks are on their way; the window closes before they are read.
  w->close();
  x->settle();
  EXPECT_TRUE(view->events.empty());
}

TEST_F(X11Display, ProtocolErrorsAreLoggedAndTheProgramGoesOn) {
  XDestroyWindow(x->display(), 0x7fff0001);
  XSync(x->display(), False);
  EXPECT_TRUE(x->platform().logged("X error"));
  EXPECT_FALSE(x->backend().connectionLost());
  NSWindow* w = show(NSMakeRect(0, 0, 50, 50));
  EXPECT_TRUE(waitViewable(w));
}

TEST_F(X11Display, ALostConnectionEndsThroughTermination) {
  show(NSMakeRect(0, 0, 50, 50));
  x->settle();
  // The server goes away under the program.
  XSync(x->display(), False);
  x->stopServer();
  x->pumpUntil([] { return NSApp()->isTerminated(); }, 3000);
  EXPECT_TRUE(x->backend().connectionLost());
  EXPECT_TRUE(NSApp()->isTerminated());
  EXPECT_TRUE(x->platform().logged("connection to the X server was lost"));
}

TEST_F(X11Display, InputBecomesThePlatformsEvents) {
  NSWindow* w = show(NSMakeRect(40, 40, 200, 100));
  ASSERT_TRUE(waitViewable(w));
  Window xid = xidOf(w);
  ASSERT_TRUE(x->pumpUntil([&] { return focused(xid); })) << "the window did not take the focus";
  const std::string id = std::to_string(xid);
  struct Row {
    std::vector<std::string> command;
    NSEventType type;
    std::function<void(const NSEvent&)> check;
  };
  const Row rows[] = {
      {{"mousemove", "--window", id, "30", "40"},
       NSEventTypeMouseMoved,
       [](const NSEvent& e) {
         EXPECT_EQ(e.locationInWindow.x, 30);
         EXPECT_EQ(e.locationInWindow.y, 60);  // y up from the bottom of 100
       }},
      {{"click", "1"},
       NSEventTypeLeftMouseUp,
       [](const NSEvent& e) { EXPECT_EQ(e.clickCount, 1); }},
      {{"click", "1"},
       NSEventTypeLeftMouseDown,
       [](const NSEvent& e) { EXPECT_EQ(e.clickCount, 2); }},
      {{"click", "3"},
       NSEventTypeRightMouseDown,
       [](const NSEvent& e) { EXPECT_EQ(e.clickCount, 1); }},
      {{"click", "4"}, NSEventTypeScrollWheel, [](const NSEvent& e) { EXPECT_EQ(e.deltaY, 1); }},
      {{"click", "5"}, NSEventTypeScrollWheel, [](const NSEvent& e) { EXPECT_EQ(e.deltaY, -1); }},
      {{"click", "6"}, NSEventTypeScrollWheel, [](const NSEvent& e) { EXPECT_EQ(e.deltaX, 1); }},
      {{"click", "7"}, NSEventTypeScrollWheel, [](const NSEvent& e) { EXPECT_EQ(e.deltaX, -1); }},
      // From (30, 40): the deltas run down the screen, as a hidden pointer's drag needs them.
      {{"mousedown", "1", "mousemove", "--window", id, "60", "50", "mouseup", "1"},
       NSEventTypeLeftMouseDragged,
       [](const NSEvent& e) {
         EXPECT_EQ(e.locationInWindow.x, 60);
         EXPECT_EQ(e.deltaX, 30);
         EXPECT_EQ(e.deltaY, 10);
       }},
      {{"key", "a"},
       NSEventTypeKeyDown,
       [](const NSEvent& e) {
         EXPECT_EQ(e.keyCode, 0);
         EXPECT_EQ(e.characters, "a");
         EXPECT_FALSE(e.isARepeat);
       }},
      {{"key", "ctrl+s"},
       NSEventTypeKeyDown,
       [](const NSEvent& e) {
         EXPECT_EQ(e.keyCode, 0x01);
         EXPECT_EQ(e.modifierFlags, NSEventModifierFlagCommand);
         EXPECT_EQ(e.characters, "s");
       }},
      {{"key", "Up"}, NSEventTypeKeyUp, [](const NSEvent& e) { EXPECT_EQ(e.keyCode, 0x7E); }},
      // A key without a code of the platform's sends none, never 0 (the A key).
      {{"key", "Print"},
       NSEventTypeKeyDown,
       [](const NSEvent& e) { EXPECT_EQ(e.keyCode, kNoKeyCode); }},
      {{"mousemove", "1000", "300"}, NSEventTypeMouseExited, [](const NSEvent&) {}},
      {{"mousemove", "--window", id, "10", "10"}, NSEventTypeMouseEntered, [](const NSEvent&) {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.command.front() + " " + r.command.back());
    view->events.clear();
    ASSERT_TRUE(x->xdotool(r.command));
    ASSERT_TRUE(x->pumpUntil([&] { return view->last(r.type) != nullptr; }))
        << "no event of type " << r.type;
    r.check(*view->last(r.type));
  }
  // A held key repeats as presses without releases between them, flagged as repeats.
  view->events.clear();
  for (int type : {KeyPress, KeyPress, KeyRelease}) {
    XEvent e{};
    e.xkey.type = type;
    e.xkey.window = xid;
    e.xkey.keycode = 56;  // B
    XSendEvent(x->display(), xid, False, NoEventMask, &e);
  }
  ASSERT_TRUE(x->pumpUntil([&] { return view->last(NSEventTypeKeyUp) != nullptr; }));
  std::vector<bool> repeats;
  for (const NSEvent& e : view->events)
    if (e.type == NSEventTypeKeyDown) repeats.push_back(e.isARepeat);
  EXPECT_EQ(repeats, (std::vector<bool>{false, true}));
}

TEST_F(X11Display, FocusMovingBetweenOwnWindowsKeepsTheProgramActive) {
  NSWindow* a = show(NSMakeRect(0, 0, 100, 100));
  NSWindow* b = show(NSMakeRect(200, 0, 100, 100));
  ASSERT_TRUE(x->pumpUntil([&] { return focused(xidOf(b)) && NSApp()->isActive(); }));
  a->makeKeyWindow();
  ASSERT_TRUE(x->pumpUntil([&] { return focused(xidOf(a)); }));
  x->settle();
  EXPECT_TRUE(NSApp()->isActive());
  EXPECT_EQ(NSApp()->keyWindow(), a);
  // The focus goes to another program: the program resigns.
  XSetInputFocus(x->display(), PointerRoot, RevertToPointerRoot, CurrentTime);
  EXPECT_TRUE(x->pumpUntil([] { return !NSApp()->isActive(); }));
}

TEST_F(X11Display, TheKeyboardLayoutIsTheServersKeymap) {
  auto layout = NSKeyboardLayout::current();
  ASSERT_TRUE(layout);
  EXPECT_NE(dynamic_cast<const platform::x11::XkbKeyboardLayout*>(layout.get()), nullptr);
  std::uint32_t dead = 0;
  EXPECT_EQ(layout->translate(0x00, dead), u"a");
  EXPECT_EQ(layout->translate(kVK_Space, dead), u" ");
  EXPECT_EQ(layout->translate(kNoKeyCode, dead), u"");
}

TEST_F(X11Display, ScreensComeFromTheServersMonitors) {
  const auto& screens = NSScreen::screens();
  ASSERT_EQ(screens.size(), 1u);
  EXPECT_EQ(screens[0].frame, NSMakeRect(0, 0, 1280, 800));
  EXPECT_EQ(screens[0].localizedName(), "DisplayID 1");
}

TEST_F(X11Display, ThePointerMovesHidesAndTakesShapesWithoutErrors) {
  NSWindow* w = show(NSMakeRect(0, 0, 100, 100));
  ASSERT_TRUE(waitViewable(w));
  NSCursor::warpCursorPosition(NSMakePoint(300, 200));
  Window root, child;
  int rx, ry, wx, wy;
  unsigned mask;
  XQueryPointer(x->display(), DefaultRootWindow(x->display()), &root, &child, &rx, &ry, &wx, &wy,
                &mask);
  EXPECT_EQ(rx, 300);
  EXPECT_EQ(ry, 600);
  NSCursor::warpCursorPosition(NSMakePoint(NAN, 0));  // refused, nothing sent
  NSCursor::IBeamCursor()->set();
  NSCursor::hide();
  NSCursor::unhide();
  NSCursorImage picture;
  picture.width = picture.height = 16;
  picture.pixels.assign(16 * 16, 0xff00ff00);
  auto* custom = new NSCursor(picture, NSMakePoint(40, -3));
  custom->set();
  NSCursor::arrowCursor()->set();
  custom->release();
  x->settle();
  EXPECT_FALSE(x->platform().logged("X error"));
}

TEST_F(X11Display, BringingAProcessToFrontFindsItsWindowsByPid) {
  NSWindow* w = show(NSMakeRect(0, 0, 100, 100));
  ASSERT_TRUE(waitViewable(w));
  EXPECT_TRUE(NSRunningApplication::activateProcess(getpid()));
  EXPECT_FALSE(NSRunningApplication::activateProcess(0x7ffffff0));
}

TEST_F(X11Display, AWorkersPostedEventEndsTheWaitAtOnce) {
  // A real wait: the poll on the X connection and the wake-up descriptor.
  setClock(nullptr);
  std::thread worker([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    NSEvent e;
    e.subtype = 77;
    NSApp()->postEvent(e, false);
  });
  auto e = NSApp()->nextEvent(NSEventMaskAny, nowMs() + 60000, NSDefaultRunLoopMode, true);
  worker.join();
  setClock(&x->platform().clock());
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->subtype, 77);
}

// Presentation, with MIT-SHM and without it.
class X11Presentation : public X11Display, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    start(GetParam() ? std::vector<std::string>{}
                     : std::vector<std::string>{"-extension", "MIT-SHM"});
  }
};

TEST_P(X11Presentation, DisplayPassesReachTheScreenAndExposeIsAnsweredWithoutDrawing) {
  EXPECT_EQ(x->backend().usesSharedMemory(), GetParam());
  NSWindow* w = show(NSMakeRect(10, 10, 120, 80));
  ASSERT_TRUE(waitViewable(w));
  Window xid = xidOf(w);
  ASSERT_TRUE(x->pumpUntil([&] { return screenPixel(xid, 60, 40) == 0xff0000; }))
      << "the window shows " << std::hex << screenPixel(xid, 60, 40);
  int draws = view->draws;
  int answered = x->backend().exposesAnswered();
  w->orderOut();
  x->settle();
  w->orderFront();
  ASSERT_TRUE(x->pumpUntil([&] { return x->backend().exposesAnswered() > answered; }));
  EXPECT_EQ(view->draws, draws);
  EXPECT_EQ(screenPixel(xid, 5, 5), 0xff0000u);
  // A resize reallocates, redraws and presents.
  w->setContentSize(NSMakeSize(300, 200));
  NSApp()->updateWindows();
  // (The window grows down from its top edge; its lower part is off the screen.)
  ASSERT_TRUE(x->pumpUntil([&] { return screenPixel(xid, 250, 60) == 0xff0000; }));
}

INSTANTIATE_TEST_SUITE_P(SharedMemory, X11Presentation, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& p) {
                           return p.param ? "Shm" : "PutImage";
                         });

namespace {

// Takes file drops and keeps the paths.
class DropView : public NSView, public NSDraggingDestination {
 public:
  explicit DropView(const NSRect& frame) : NSView(frame) {
    registerForDraggedTypes({NSFilenamesPboardType});
  }
  NSDragOperation draggingEntered(const NSDraggingInfo&) override { return NSDragOperationCopy; }
  bool performDragOperation(const NSDraggingInfo& info) override {
    dropped = info.draggingPasteboard->fileList();
    at = info.draggingLocation;
    return true;
  }
  std::vector<std::string> dropped;
  NSPoint at;
};

}  // namespace

TEST(X11UriList, OnlyLocalFilePathsAreTaken) {
  EXPECT_EQ(platform::x11::pathsOfUriList("file:///tmp/a%20b.txt\r\n"
                                          "# a comment\r\n"
                                          "http://example.invalid/x\r\n"
                                          "file://host/home/u/%C3%A9.wav\n"
                                          "file:///bad%00name\r\n"
                                          "file:nohost\r\n"
                                          "file:///last"),
            (std::vector<std::string>{"/tmp/a b.txt", "/home/u/\xC3\xA9.wav", "/last"}));
  EXPECT_TRUE(platform::x11::pathsOfUriList("").empty());
}

TEST_F(X11Display, FilesDroppedFromAnotherProgramTakeTheDropRoad) {
  auto* w = new NSWindow(NSMakeRect(100, 100, 200, 150), kDocumentStyle);
  auto drop = Ref<DropView>::adopt(new DropView(NSMakeRect(0, 0, 200, 150)));
  w->setContentView(drop.get());
  w->makeKeyAndOrderFront();
  ASSERT_TRUE(waitViewable(w));
  Window target = xidOf(w);
  Display* other = x->otherClient();
  auto atom = [&](const char* name) { return XInternAtom(other, name, False); };
  Window source = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(other, atom("XdndSelection"), source, CurrentTime);
  auto send = [&](const char* type, long l1, long l2, long l3, long l4) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = atom(type);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(source);
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(other, target, False, NoEventMask, &e);
    XFlush(other);
  };
  // The source offers the list, answers the request for it, and hears that the drop
  // finished. Root (130, 580) is 30 below the top of the 150-high window at root y 550:
  // (30, 120).
  auto dropList = [&](const std::string& list) {
    drop->dropped.clear();
    send("XdndEnter", 5L << 24, long(atom("text/uri-list")), 0, 0);
    send("XdndPosition", 0, (130L << 16) | 580, CurrentTime, long(atom("XdndActionCopy")));
    send("XdndDrop", 0, CurrentTime, 0, 0);
    bool finished = false;
    return x->pumpUntil([&] {
      while (XPending(other)) {
        XEvent e;
        XNextEvent(other, &e);
        if (e.type == SelectionRequest) {
          XChangeProperty(other, e.xselectionrequest.requestor, e.xselectionrequest.property,
                          e.xselectionrequest.target, 8, PropModeReplace,
                          reinterpret_cast<const unsigned char*>(list.data()), int(list.size()));
          XEvent reply{};
          reply.xselection.type = SelectionNotify;
          reply.xselection.requestor = e.xselectionrequest.requestor;
          reply.xselection.selection = e.xselectionrequest.selection;
          reply.xselection.target = e.xselectionrequest.target;
          reply.xselection.property = e.xselectionrequest.property;
          XSendEvent(other, e.xselectionrequest.requestor, False, NoEventMask, &reply);
          XFlush(other);
        } else if (e.type == ClientMessage && e.xclient.message_type == atom("XdndFinished")) {
          finished = e.xclient.data.l[1] & 1;
        }
      }
      return finished && !drop->dropped.empty();
    });
  };
  ASSERT_TRUE(dropList("file:///tmp/one%20two.txt\r\nfile:///tmp/three\r\n"));
  EXPECT_EQ(drop->dropped, (std::vector<std::string>{"/tmp/one two.txt", "/tmp/three"}));
  EXPECT_EQ(drop->at.x, 30);
  EXPECT_EQ(drop->at.y, 120);
  // A list longer than is read (1 MiB): the path cut at the end is not taken as another,
  // shorter one. A comment first puts the cut in the middle of a path.
  const std::string path = "/tmp/" + std::string(100, 'f');
  const std::string line = "file://" + path + "\r\n";
  const std::size_t cut = std::string("file://").size() + path.size() / 2;
  const std::size_t read = 1u << 20;
  const std::size_t comment = (read % line.size() + line.size() - cut) % line.size() + line.size();
  std::string longList = "#" + std::string(comment - 3, 'x') + "\r\n";
  while (longList.size() < read + line.size())
    longList += line;
  ASSERT_TRUE(dropList(longList));
  EXPECT_FALSE(drop->dropped.empty());
  for (const std::string& dropped : drop->dropped)
    ASSERT_EQ(dropped, path);
}

TEST_F(X11Display, AMenuWindowHoldsThePointerAndKeyboardWhileItIsUp) {
  auto menu = Ref<NSMenu>::adopt(new NSMenu);
  for (const char* title : {"One", "Two"}) {
    auto* item = new NSMenuItem(title);
    menu->addItem(item);
    item->release();
  }
  // Real time: the menu's loop waits on the X connection.
  setClock(nullptr);
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    x->server().run({"xdotool", "key", "Down", "key", "Down", "key", "Return"});
  });
  NSMenuItem* chosen = NSMenuWindow::popUpMenu(menu.get(), NSMakePoint(100, 500));
  user.join();
  setClock(&x->platform().clock());
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->title(), "Two");
  // The grabs went with the menu: another program can take the pointer.
  Display* other = x->otherClient();
  XSync(x->display(), False);
  EXPECT_EQ(XGrabPointer(other, DefaultRootWindow(other), False, ButtonPressMask, GrabModeAsync,
                         GrabModeAsync, None, None, CurrentTime),
            GrabSuccess);
  XUngrabPointer(other, CurrentTime);
}

TEST_F(X11Display, TheWindowManagersRequestsReachTheWindow) {
  NSWindow* w = show(NSMakeRect(100, 100, 200, 150));
  w->setReleasedWhenClosed(false);
  Ref<NSWindow> keep(w);
  w->setMinSize(NSMakeSize(150, 120));
  ASSERT_TRUE(waitViewable(w));
  Window xid = xidOf(w);
  Display* other = x->otherClient();
  auto xSize = [&] {
    XWindowAttributes a{};
    XGetWindowAttributes(x->display(), xid, &a);
    return NSMakeSize(a.width, a.height);
  };

  // Moved by someone else: the frame follows (y up from the screen's bottom).
  XMoveWindow(other, xid, 300, 200);
  XSync(other, False);
  ASSERT_TRUE(x->pumpUntil([&] { return w->contentRect().origin.x == 300; }));
  EXPECT_EQ(w->contentRect().origin.y, 800 - 200 - 150);

  // Shrunk below the minimum: the window keeps its minimum and says so to X.
  XResizeWindow(other, xid, 50, 40);
  XSync(other, False);
  ASSERT_TRUE(x->pumpUntil([&] { return xSize() == NSMakeSize(150, 120); }));
  EXPECT_EQ(w->contentRect().size, NSMakeSize(150, 120));

  // A modal run marks the window modal for the window manager.
  NSModalSession* session = NSApp()->beginModalSession(w);
  x->settle();
  auto modal = [&] {
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(x->display(), xid, XInternAtom(x->display(), "_NET_WM_STATE", False), 0,
                           16, False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
        data)
      for (unsigned long i = 0; i < count; ++i)
        found |= reinterpret_cast<Atom*>(data)[i] ==
                 XInternAtom(x->display(), "_NET_WM_STATE_MODAL", False);
    if (data) XFree(data);
    return found;
  };
  EXPECT_TRUE(modal());
  NSApp()->endModalSession(session);
  x->settle();
  EXPECT_FALSE(modal());

  // The window manager's close button takes the close box's road.
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = xid;
  e.xclient.message_type = XInternAtom(other, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = long(XInternAtom(other, "WM_DELETE_WINDOW", False));
  XSendEvent(other, xid, False, NoEventMask, &e);
  XSync(other, False);
  EXPECT_TRUE(x->pumpUntil([&] { return w->isClosed(); }));
  EXPECT_EQ(xidOf(w), 0u);
}
