#pragma once

// A test fixture of the X11 display backend on an Xvfb of each test's own, and a view that
// records what reaches it.

#include <gtest/gtest.h>
// Xlib after gtest: its macros (Bool, None) would rename gtest's names.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/x11/detail/X11Backend.h"
#include "support/X11Harness.h"

namespace testsupport {

constexpr platform::NSWindowStyleMask kDocumentStyle = platform::NSWindowStyleMaskTitled |
                                                       platform::NSWindowStyleMaskClosable |
                                                       platform::NSWindowStyleMaskResizable;

// Paints itself one colour, counts its draws and keeps the events it is given.
class RecordingView : public platform::NSView {
 public:
  using NSView::NSView;
  void drawRect(const platform::NSRect&) override {
    ++draws;
    platform::CGContext* cg = platform::NSGraphicsContext::currentContext();
    cg->setFillColor(1, 0, 0, 1);
    cg->fillRect(bounds());
  }
  bool acceptsFirstResponder() const override { return true; }
  bool acceptsFirstMouse(const platform::NSEvent*) override { return true; }
  void mouseDown(const platform::NSEvent& e) override { events.push_back(e); }
  void mouseUp(const platform::NSEvent& e) override { events.push_back(e); }
  void mouseDragged(const platform::NSEvent& e) override { events.push_back(e); }
  void mouseMoved(const platform::NSEvent& e) override { events.push_back(e); }
  void mouseEntered(const platform::NSEvent& e) override { events.push_back(e); }
  void mouseExited(const platform::NSEvent& e) override { events.push_back(e); }
  void rightMouseDown(const platform::NSEvent& e) override { events.push_back(e); }
  void rightMouseUp(const platform::NSEvent& e) override { events.push_back(e); }
  void rightMouseDragged(const platform::NSEvent& e) override { events.push_back(e); }
  void otherMouseDown(const platform::NSEvent& e) override { events.push_back(e); }
  void otherMouseUp(const platform::NSEvent& e) override { events.push_back(e); }
  void otherMouseDragged(const platform::NSEvent& e) override { events.push_back(e); }
  void scrollWheel(const platform::NSEvent& e) override { events.push_back(e); }
  void keyDown(const platform::NSEvent& e) override { events.push_back(e); }
  void keyUp(const platform::NSEvent& e) override { events.push_back(e); }

  const platform::NSEvent* last(platform::NSEventType type) const {
    for (auto it = events.rbegin(); it != events.rend(); ++it)
      if (it->type == type) return &*it;
    return nullptr;
  }
  int count(platform::NSEventType type) const {
    int n = 0;
    for (const platform::NSEvent& e : events)
      n += e.type == type;
    return n;
  }
  int draws = 0;
  std::vector<platform::NSEvent> events;
};

class X11Display : public ::testing::Test {
 protected:
  void SetUp() override { start({}); }
  void start(std::vector<std::string> xvfbArguments, bool withWindowManager = false) {
    x = std::make_unique<X11Harness>(std::move(xvfbArguments), withWindowManager);
    if (!x->ready() && !x->whyNot().empty()) GTEST_SKIP() << x->whyNot();
    ASSERT_TRUE(x->ready()) << "the X11 backend did not connect to its own Xvfb";
  }
  void TearDown() override {
    view.reset();
    x.reset();
  }

  // A window at the content rectangle with a recording view (`view`), shown and key.
  platform::NSWindow* show(platform::NSRect content,
                           platform::NSWindowStyleMask style = kDocumentStyle) {
    auto* w = new platform::NSWindow(content, style);
    view = platform::Ref<RecordingView>::adopt(
        new RecordingView(platform::NSMakeRect(0, 0, content.size.width, content.size.height)));
    w->setContentView(view.get());
    w->setAcceptsMouseMovedEvents(true);
    w->makeKeyAndOrderFront();
    platform::NSApp()->updateWindows();
    return w;
  }
  Window xidOf(platform::NSWindow* w) { return x->backend().xWindowOf(w); }
  bool viewable(Window xid) {
    XWindowAttributes a;
    return XGetWindowAttributes(x->display(), xid, &a) && a.map_state == IsViewable;
  }
  bool waitViewable(platform::NSWindow* w) {
    return x->pumpUntil([&] { return viewable(xidOf(w)); });
  }
  // The window's top left in root coordinates, and its size.
  XWindowAttributes rootGeometry(Window xid) {
    XWindowAttributes a{};
    XGetWindowAttributes(x->display(), xid, &a);
    Window child;
    XTranslateCoordinates(x->display(), xid, DefaultRootWindow(x->display()), 0, 0, &a.x, &a.y,
                          &child);
    return a;
  }
  std::string textProperty(Window xid, const char* name) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string out;
    if (XGetWindowProperty(x->display(), xid, XInternAtom(x->display(), name, False), 0, 1024,
                           False, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success &&
        data && format == 8)
      out.assign(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    return out;
  }
  long cardinalProperty(Window xid, const char* name) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long out = -1;
    if (XGetWindowProperty(x->display(), xid, XInternAtom(x->display(), name, False), 0, 1, False,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
      out = *reinterpret_cast<long*>(data);
    if (data) XFree(data);
    return out;
  }
  unsigned long screenPixel(Window xid, int px, int py) {
    XImage* image = XGetImage(x->display(), xid, px, py, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    unsigned long p = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return p;
  }
  bool focused(Window xid) {
    Window f;
    int revert;
    XGetInputFocus(x->display(), &f, &revert);
    return f == xid;
  }

  std::unique_ptr<X11Harness> x;
  platform::Ref<RecordingView> view;
};

}  // namespace testsupport
