// Top-level windows as X windows: creation, properties, geometry, stacking, focus, and
// the presentation of backing stores.

#include <X11/Xatom.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/Log.h"
#include "base/Utf8.h"
#include "platform/core/Application.h"
#include "platform/core/MenuWindow.h"
#include "platform/core/Panel.h"
#include "platform/core/Window.h"
#include "platform/system/Clock.h"
#include "platform/x11/detail/X11Backend.h"

namespace platform::x11 {

namespace {

constexpr cairo_user_data_key_t kSharedPixelsKey{};
// How long a display pass waits for the server to read the previous one.
constexpr double kPutWaitLimitMs = 1000;
// A window manager's frame gets events for the first of these pointers only.
constexpr long kSourceIndicationApplication = 1;
constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;
constexpr int kMaxPosition = SHRT_MAX;
constexpr int kMinPosition = SHRT_MIN;
constexpr unsigned kMaxSize = SHRT_MAX;

void freeSharedPixels(void* data) {
  auto* pixels = static_cast<SharedPixels*>(data);
  pixels->detachServer();
  shmdt(pixels->segment.shmaddr);
  delete pixels;
}

bool isMenuLike(NSWindow* window) {
  return window->styleMask() == NSWindowStyleMaskBorderless &&
         window->level() > NSNormalWindowLevel;
}

}  // namespace

int X11Backend::clampPosition(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<int>(
      std::clamp(std::round(value), double(kMinPosition), double(kMaxPosition)));
}

unsigned X11Backend::clampSize(double value) {
  if (!std::isfinite(value) || value < 1) return 1;
  return static_cast<unsigned>(std::min(std::round(value), double(kMaxSize)));
}

NSPoint X11Backend::screenPointOfRoot(int x, int y) const {
  return {double(x - mOriginX), double(mOriginBottom - y)};
}

X11Backend::PixelRect X11Backend::rootRectOf(NSWindow* window) const {
  // The X window holds the window's menu bar above the content.
  NSRect content = window->drawnRect();
  double scale = window->backingScaleFactor();
  PixelRect r;
  r.x = clampPosition(content.minX() + mOriginX);
  r.y = clampPosition(mOriginBottom - content.maxY());
  // An empty window keeps a size of 1 for X, and is unmapped.
  r.width = static_cast<int>(clampSize(content.size.width * scale));
  r.height = static_cast<int>(clampSize(content.size.height * scale));
  return r;
}

namespace {
bool isEmptyWindow(NSWindow* window) {
  NSRect content = window->contentRect();
  double scale = window->backingScaleFactor();
  return !(std::round(content.size.width * scale) >= 1) ||
         !(std::round(content.size.height * scale) >= 1);
}
}  // namespace

X11Backend::WindowRecord* X11Backend::realize(NSWindow* window) {
  auto record = std::make_unique<WindowRecord>();
  record->window = window;
  record->geometry = rootRectOf(window);
  record->overrideRedirect = isMenuLike(window);
  XSetWindowAttributes a{};
  a.colormap = mColormap;
  a.border_pixel = 0;
  a.background_pixmap = None;  // Expose is answered from the backing store
  a.bit_gravity = NorthWestGravity;
  a.override_redirect = record->overrideRedirect;
  a.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                 ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                 LeaveWindowMask | FocusChangeMask | PropertyChangeMask;
  const PixelRect& g = record->geometry;
  record->xid = XCreateWindow(
      mDisplay, mRoot, g.x, g.y, unsigned(g.width), unsigned(g.height), 0, mDepth, InputOutput,
      mVisual,
      CWColormap | CWBorderPixel | CWBackPixmap | CWBitGravity | CWOverrideRedirect | CWEventMask,
      &a);
  record->gc = XCreateGC(mDisplay, record->xid, 0, nullptr);

  XClassHint hint;
  const char* program = program_invocation_short_name;
  hint.res_name = const_cast<char*>(program);
  hint.res_class = const_cast<char*>(program);
  XSetClassHint(mDisplay, record->xid, &hint);
  long pid = getpid();
  XChangeProperty(mDisplay, record->xid, mNetWmPid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);
  Atom protocols[] = {mWmDeleteWindow};
  XSetWMProtocols(mDisplay, record->xid, protocols, 1);
  long dndVersion = 5;
  XChangeProperty(mDisplay, record->xid, mXdndAware, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&dndVersion), 1);
  WindowRecord* raw = record.get();
  mRecords[raw->xid] = std::move(record);
  applyAttributes(raw);
  // A backing store made before the window had an X window is not in shared memory.
  window->discardBackingStore();
  return raw;
}

void X11Backend::destroyRecord(WindowRecord* record) {
  NSWindow* window = record->window;
  if (record->pixels) record->pixels->detachServer(mLost);
  if (!mLost && record->mapped) releaseGrabs(record);
  // Without a connection this only frees Xlib's memory of the GC.
  XFreeGC(mDisplay, record->gc);
  if (!mLost) {
    XDestroyWindow(mDisplay, record->xid);
    XFlush(mDisplay);
  }
  if (mDrop.target == record->xid) mDrop = {};
  if (mFocusRequest == record->xid) mFocusRequest = 0;
  mRecords.erase(record->xid);
  // Its pixels can no longer reach the server; the next pass makes ordinary ones.
  if (isLiveObject(window) && !window->isDeallocating()) window->discardBackingStore();
}

void X11Backend::applyAttributes(WindowRecord* record) {
  NSWindow* w = record->window;
  Window xid = record->xid;
  // A title made from a file name may hold bytes that are no UTF-8; the properties are
  // typed UTF-8, so those bytes go as U+FFFD.
  const std::string title =
      base::isValidUtf8(w->title()) ? w->title() : base::sanitizeUtf8(w->title());
  auto* text = reinterpret_cast<const unsigned char*>(title.data());
  XChangeProperty(mDisplay, xid, mNetWmName, mUtf8String, 8, PropModeReplace, text,
                  static_cast<int>(title.size()));
  XChangeProperty(mDisplay, xid, XA_WM_NAME, mUtf8String, 8, PropModeReplace, text,
                  static_cast<int>(title.size()));

  XSizeHints* hints = XAllocSizeHints();
  hints->flags = PMinSize | PMaxSize | USPosition | PPosition | PWinGravity;
  const PixelRect& g = record->geometry;
  hints->x = g.x;
  hints->y = g.y;
  // The position asked for is the content's: a window manager puts its frame around the
  // window where it stands, instead of the frame there and the window moved by its border.
  hints->win_gravity = StaticGravity;
  if (w->styleMask() & NSWindowStyleMaskResizable) {
    NSSize lo = w->minSize(), hi = w->maxSize();
    hints->min_width = int(clampSize(lo.width));
    hints->min_height = int(clampSize(lo.height + w->menuBarHeight()));
    hints->max_width = int(clampSize(std::max(lo.width, hi.width)));
    hints->max_height = int(clampSize(std::max(lo.height, hi.height) + w->menuBarHeight()));
  } else {
    hints->min_width = hints->max_width = g.width;
    hints->min_height = hints->max_height = g.height;
  }
  XSetWMNormalHints(mDisplay, xid, hints);
  XFree(hints);

  // Owned windows and dialogs stay with their owner.
  NSWindow* owner = w->parentWindow();
  bool modal = NSApp()->isInModalRun(w);
  if (!owner && (modal || dynamic_cast<NSPanel*>(w))) {
    NSWindow* main = NSApp()->mainWindow();
    if (main != w) owner = main;
  }
  WindowRecord* ownerRecord = owner ? recordOf(owner) : nullptr;
  if (ownerRecord)
    XSetTransientForHint(mDisplay, xid, ownerRecord->xid);
  else
    XDeleteProperty(mDisplay, xid, XA_WM_TRANSIENT_FOR);

  Atom type = mTypeNormal;
  if (record->overrideRedirect)
    type = mTypePopupMenu;
  else if (modal || dynamic_cast<NSPanel*>(w) || owner)
    type = w->level() >= NSFloatingWindowLevel && !modal ? mTypeUtility : mTypeDialog;
  XChangeProperty(mDisplay, xid, mNetWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);
  setNetWmState(record, mNetWmStateModal, modal);
}

void X11Backend::setNetWmState(WindowRecord* record, Atom state, bool on) {
  if (record->mapped) {
    // A mapped window's state belongs to the window manager: ask it.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = record->xid;
    e.xclient.message_type = mNetWmState;
    e.xclient.format = 32;
    e.xclient.data.l[0] = on ? kNetWmStateAdd : kNetWmStateRemove;
    e.xclient.data.l[1] = long(state);
    e.xclient.data.l[3] = kSourceIndicationApplication;
    XSendEvent(mDisplay, mRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  }
  if (on) {
    XChangeProperty(mDisplay, record->xid, mNetWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&state), 1);
  } else {
    XDeleteProperty(mDisplay, record->xid, mNetWmState);
  }
}

void X11Backend::windowVisibilityChanged(NSWindow* window) {
  if (mLost) return;
  WindowRecord* record = recordOf(window);
  bool wanted = window->isVisible() && !isEmptyWindow(window);
  if (!record) {
    if (!wanted) return;
    record = realize(window);
  }
  if (wanted && !record->mapped) {
    applyAttributes(record);
    record->mapped = true;
    record->mapSerial = NextRequest(mDisplay);
    XMapWindow(mDisplay, record->xid);
  } else if (!wanted && record->mapped) {
    record->mapped = false;
    releaseGrabs(record);
    record->unmapSerial = NextRequest(mDisplay);
    if (window->isMiniaturized() && mWindowManager)
      XIconifyWindow(mDisplay, record->xid, mScreen);
    else
      XWithdrawWindow(mDisplay, record->xid, mScreen);
  }
  if (wanted) restack();
  XFlush(mDisplay);
}

void X11Backend::restack() {
  std::vector<WindowRecord*> order;  // front to back
  for (NSWindow* w : NSApp()->orderedWindows())
    if (WindowRecord* r = recordOf(w); r && r->mapped) order.push_back(r);
  if (order.empty()) return;
  if (!mWindowManager) {
    // Every window is a child of the root: stacked among themselves in one request.
    std::vector<Window> ids;
    for (WindowRecord* r : order)
      ids.push_back(r->xid);
    XRaiseWindow(mDisplay, ids.front());
    if (ids.size() > 1) XRestackWindows(mDisplay, ids.data(), static_cast<int>(ids.size()));
    return;
  }
  // A window manager puts the managed windows into frames of its own, so they are no
  // siblings of each other or of the menus: it is asked to raise the front managed
  // window, and the menus, children of the root, are raised above all, back to front.
  for (WindowRecord* r : order)
    if (!r->overrideRedirect) {
      XRaiseWindow(mDisplay, r->xid);
      break;
    }
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    if ((*it)->overrideRedirect) XRaiseWindow(mDisplay, (*it)->xid);
}

void X11Backend::windowFrameChanged(NSWindow* window) {
  if (mLost) return;
  WindowRecord* record = recordOf(window);
  if (!record) return;
  PixelRect r = rootRectOf(window);
  const PixelRect& g = record->geometry;
  bool empty = isEmptyWindow(window);
  if (r.x != g.x || r.y != g.y || r.width != g.width || r.height != g.height) {
    bool resized = r.width != g.width || r.height != g.height;
    record->geometry = r;
    XMoveResizeWindow(mDisplay, record->xid, r.x, r.y, unsigned(r.width), unsigned(r.height));
    if (resized && !(window->styleMask() & NSWindowStyleMaskResizable)) applyAttributes(record);
    // A new size gets new pixels, drawn whole by the next display pass.
    if (resized) window->discardBackingStore();
  }
  // An empty window is unmapped until it has a size again.
  if (empty == record->mapped) windowVisibilityChanged(window);
  XFlush(mDisplay);
}

void X11Backend::windowAttributesChanged(NSWindow* window) {
  if (mLost) return;
  WindowRecord* record = recordOf(window);
  if (!record) return;
  if (record->overrideRedirect != isMenuLike(window)) {
    // Override-redirect can only change while unmapped.
    record->overrideRedirect = isMenuLike(window);
    XSetWindowAttributes a{};
    a.override_redirect = record->overrideRedirect;
    bool wasMapped = record->mapped;
    if (wasMapped) {
      record->unmapSerial = NextRequest(mDisplay);
      XUnmapWindow(mDisplay, record->xid);
    }
    XChangeWindowAttributes(mDisplay, record->xid, CWOverrideRedirect, &a);
    if (wasMapped) {
      record->mapSerial = NextRequest(mDisplay);
      XMapWindow(mDisplay, record->xid);
    }
  }
  applyAttributes(record);
  XFlush(mDisplay);
}

void X11Backend::windowBecameKey(NSWindow* window) {
  if (mLost) return;
  if (WindowRecord* record = recordOf(window)) focus(record, mLastEventTime);
}

void X11Backend::focus(WindowRecord* record, Time time) {
  mFocusRequest = record->xid;
  mFocusRequestMs = steadyNowMs();
  for (auto& [xid, other] : mRecords)
    other->focusOnMap = false;
  if (!record->viewable) {
    // Focus can only go to a viewable window; it follows the map.
    record->focusOnMap = true;
    return;
  }
  record->focusOnMap = false;
  if (mWindowManager && !record->overrideRedirect) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = record->xid;
    e.xclient.message_type = mNetActiveWindow;
    e.xclient.format = 32;
    e.xclient.data.l[0] = kSourceIndicationApplication;
    e.xclient.data.l[1] = long(time);
    XSendEvent(mDisplay, mRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  } else {
    // Without a window manager nobody else gives the focus.
    XSetInputFocus(mDisplay, record->xid, RevertToParent, CurrentTime);
  }
  XFlush(mDisplay);
}

void X11Backend::grabFor(WindowRecord* record) {
  if (!record->overrideRedirect || record->window->level() < NSPopUpMenuWindowLevel) return;
  // Events over the program's other windows still go to them; a press anywhere else
  // comes to the menu, outside its rectangle, and dismisses it.
  unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  int pointer = XGrabPointer(mDisplay, record->xid, True, mask, GrabModeAsync, GrabModeAsync, None,
                             None, CurrentTime);
  int keyboard =
      XGrabKeyboard(mDisplay, record->xid, True, GrabModeAsync, GrabModeAsync, CurrentTime);
  if (pointer != GrabSuccess || keyboard != GrabSuccess)
    base::warn("platform", "display: a menu could not take the pointer (%d) or the keyboard (%d)",
               pointer, keyboard);
  record->grabbing = pointer == GrabSuccess || keyboard == GrabSuccess;
}

void X11Backend::releaseGrabs(WindowRecord* record) {
  if (!record->grabbing) return;
  record->grabbing = false;
  XUngrabPointer(mDisplay, CurrentTime);
  XUngrabKeyboard(mDisplay, CurrentTime);
  // A submenu closing hands the grabs back to the menu it opened from: the newest menu
  // still shown.
  WindowRecord* newest = nullptr;
  for (auto& [xid, other] : mRecords)
    if (other.get() != record && other->mapped && other->viewable && other->overrideRedirect &&
        other->window->level() >= NSPopUpMenuWindowLevel &&
        (!newest || other->window->windowNumber() > newest->window->windowNumber()))
      newest = other.get();
  if (newest) grabFor(newest);
  XFlush(mDisplay);
}

void X11Backend::windowClosed(NSWindow* window) {
  if (WindowRecord* record = recordOf(window)) destroyRecord(record);
}

void X11Backend::handleConfigure(WindowRecord* record, const XConfigureEvent& event) {
  int x = event.x, y = event.y;
  if (!event.send_event && !record->overrideRedirect) {
    // A real event under a reparenting window manager is relative to its frame; a
    // synthetic one is in root coordinates.
    Window child;
    XTranslateCoordinates(mDisplay, record->xid, mRoot, 0, 0, &x, &y, &child);
  }
  PixelRect now{x, y, event.width, event.height};
  PixelRect& g = record->geometry;
  if (now.x == g.x && now.y == g.y && now.width == g.width && now.height == g.height) return;
  bool resized = now.width != g.width || now.height != g.height;
  g = now;
  NSPoint bottomLeft = screenPointOfRoot(now.x, now.y + now.height);
  postAction(record->window, [bottomLeft, now, resized](NSWindow* w) {
    double scale = w->backingScaleFactor();
    NSRect content = NSMakeRect(bottomLeft.x, bottomLeft.y, now.width / scale,
                                std::max(0.0, now.height / scale - w->menuBarHeight()));
    w->setFrame(w->frameRectForContentRect(content), false);
    if (resized) {
      // The window manager may ignore the size hints: the limits still hold.
      NSSize size = w->contentRect().size;
      if (w->styleMask() & NSWindowStyleMaskResizable) w->resizeByUser(size);
      w->display();
    }
  });
}

void X11Backend::handleExpose(WindowRecord* record, const XExposeEvent& event) {
  record->exposed.push_back({event.x, event.y, event.width, event.height});
  if (event.count > 0) return;
  std::vector<PixelRect> rects;
  rects.swap(record->exposed);
  cairo_surface_t* backing = record->window->currentBackingStore();
  if (backing && cairo_image_surface_get_width(backing) == record->geometry.width &&
      cairo_image_surface_get_height(backing) == record->geometry.height) {
    // The backing store holds the window's pixels: no view draws.
    putPixels(record, rects);
    ++mExposesAnswered;
    return;
  }
  postAction(record->window, [](NSWindow* w) { w->display(); });
}

cairo_surface_t* X11Backend::createBackingStore(NSWindow* window, int width, int height) {
  WindowRecord* record = mLost ? nullptr : recordOf(window);
  if (!record || !mShmAvailable || width < 1 || height < 1)
    return DisplayBackend::createBackingStore(window, width, height);
  auto* pixels = new SharedPixels;
  XImage* image = XShmCreateImage(mDisplay, mVisual, unsigned(mDepth), ZPixmap, nullptr,
                                  &pixels->segment, unsigned(width), unsigned(height));
  int stride = image ? image->bytes_per_line : 0;
  if (!image || stride != cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width)) {
    if (image) XDestroyImage(image);
    delete pixels;
    return DisplayBackend::createBackingStore(window, width, height);
  }
  std::size_t bytes = std::size_t(stride) * std::size_t(height);
  pixels->segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  void* address = pixels->segment.shmid >= 0 ? shmat(pixels->segment.shmid, nullptr, 0) : (void*)-1;
  if (address == (void*)-1) {
    base::warn("platform", "display: no shared memory for a %dx%d backing store; copying instead",
               width, height);
    if (pixels->segment.shmid >= 0) shmctl(pixels->segment.shmid, IPC_RMID, nullptr);
    XDestroyImage(image);
    delete pixels;
    return DisplayBackend::createBackingStore(window, width, height);
  }
  pixels->segment.shmaddr = image->data = static_cast<char*>(address);
  pixels->segment.readOnly = True;
  XShmAttach(mDisplay, &pixels->segment);
  // The segment goes away once both sides detach, even if the program dies.
  XSync(mDisplay, False);
  shmctl(pixels->segment.shmid, IPC_RMID, nullptr);
  pixels->display = mDisplay;
  pixels->image = image;
  pixels->width = width;
  pixels->height = height;
  if (record->pixels) record->pixels->detachServer();
  pixels->record = record;
  record->pixels = pixels;
  record->putPending = false;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      static_cast<unsigned char*>(address), CAIRO_FORMAT_ARGB32, width, height, stride);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_set_user_data(surface, &kSharedPixelsKey, pixels, &freeSharedPixels) !=
          CAIRO_STATUS_SUCCESS) {
    // Beyond what Cairo can draw (wider than its limit): the surface keeps nothing.
    cairo_surface_destroy(surface);
    freeSharedPixels(pixels);
    return DisplayBackend::createBackingStore(window, width, height);
  }
  return surface;
}

void X11Backend::willDrawWindow(NSWindow* window) {
  if (mLost) return;
  if (WindowRecord* record = recordOf(window); record && record->putPending) waitForPut(record);
}

void X11Backend::waitForPut(WindowRecord* record) {
  // The server reads the segment when it handles the put; drawing before then would tear.
  double limit = steadyNowMs() + kPutWaitLimitMs;
  XFlush(mDisplay);
  while (record->putPending && !mLost) {
    XEvent event;
    Window xid = record->xid;
    int type = mShmCompletionType;
    auto isCompletion = [](Display*, XEvent* e, XPointer arg) -> Bool {
      auto* want = reinterpret_cast<std::pair<int, Window>*>(arg);
      return e->type == want->first &&
             reinterpret_cast<XShmCompletionEvent*>(e)->drawable == want->second;
    };
    std::pair<int, Window> want{type, xid};
    if (XCheckIfEvent(mDisplay, &event, isCompletion, reinterpret_cast<XPointer>(&want))) {
      record->putPending = false;
      return;
    }
    double left = limit - steadyNowMs();
    if (left <= 0) {
      // A server that never answers must not stop the program.
      record->putPending = false;
      return;
    }
    pollfd fd{ConnectionNumber(mDisplay), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::ceil(std::min(left, 50.0))));
    // Reads what arrived into Xlib's queue without taking events off it.
    XEventsQueued(mDisplay, QueuedAfterReading);
  }
}

void X11Backend::presentWindow(NSWindow* window, const NSRect& region) {
  if (mLost) return;
  WindowRecord* record = recordOf(window);
  if (!record || !record->viewable) return;  // Expose brings it when it shows
  double scale = window->backingScaleFactor();
  double height = window->drawnRect().size.height;
  // A pixel edge of the backing store, which holds at most an X window's size each way: a
  // larger window's region (or one that is no number) is cut to it.
  auto edge = [](double pixels) {
    return std::isfinite(pixels) ? static_cast<int>(std::clamp(pixels, 0.0, double(kMaxSize))) : 0;
  };
  int x0 = edge(std::floor(region.minX() * scale));
  int x1 = edge(std::ceil(region.maxX() * scale));
  int y0 = edge(std::floor((height - region.maxY()) * scale));
  int y1 = edge(std::ceil((height - region.minY()) * scale));
  putPixels(record, {{x0, y0, x1 - x0, y1 - y0}});
}

void X11Backend::putPixels(WindowRecord* record, const std::vector<PixelRect>& rects) {
  NSWindow* window = record->window;
  cairo_surface_t* surface = window->backingStore();
  int width = cairo_image_surface_get_width(surface);
  int height = cairo_image_surface_get_height(surface);
  SharedPixels* pixels = record->pixels;
  bool shared = pixels && pixels->display && pixels->width == width && pixels->height == height;
  XImage* copy = nullptr;
  if (!shared) {
    // Without shared memory the pixels travel in the request.
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    if (!data || width < 1 || height < 1) return;
    if (mTrueColor24) {
      copy = XCreateImage(mDisplay, mVisual, unsigned(mDepth), ZPixmap, 0,
                          reinterpret_cast<char*>(data), unsigned(width), unsigned(height), 32,
                          stride);
    } else {
      copy = XCreateImage(mDisplay, mVisual, unsigned(mDepth), ZPixmap, 0, nullptr, unsigned(width),
                          unsigned(height), 32, 0);
      if (copy) {
        copy->data = static_cast<char*>(std::malloc(std::size_t(copy->bytes_per_line) * height));
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x) {
            std::uint32_t p = reinterpret_cast<std::uint32_t*>(data + y * stride)[x];
            XColor c{};
            c.red = std::uint16_t(((p >> 16) & 0xff) * 257);
            c.green = std::uint16_t(((p >> 8) & 0xff) * 257);
            c.blue = std::uint16_t((p & 0xff) * 257);
            XAllocColor(mDisplay, mColormap, &c);
            XPutPixel(copy, x, y, c.pixel);
          }
      }
    }
    if (!copy) return;
  }
  for (const PixelRect& r : rects) {
    int x0 = std::clamp(r.x, 0, width), y0 = std::clamp(r.y, 0, height);
    int x1 = std::clamp(r.x + r.width, 0, width), y1 = std::clamp(r.y + r.height, 0, height);
    if (x1 <= x0 || y1 <= y0) continue;
    if (shared) {
      XShmPutImage(mDisplay, record->xid, record->gc, pixels->image, x0, y0, x0, y0,
                   unsigned(x1 - x0), unsigned(y1 - y0), True);
      record->putPending = true;
    } else {
      XPutImage(mDisplay, record->xid, record->gc, copy, x0, y0, x0, y0, unsigned(x1 - x0),
                unsigned(y1 - y0));
    }
  }
  if (copy) {
    if (mTrueColor24) copy->data = nullptr;  // Cairo's
    XDestroyImage(copy);
  }
  // Not flushed here: the run loop flushes before it waits (processEvents), so the presents
  // of one display pass, and whatever follows them, reach the server in one write.
}

}  // namespace platform::x11
