// Screens from RandR monitors, cursors, moving the pointer, raising other programs, the
// keyboard layout's name, and files dropped from other programs (XDND).

#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/Xrender.h>

#include <cstring>

#include "base/Log.h"
#include "platform/core/Application.h"
#include "platform/core/Cursor.h"
#include "platform/core/DragAndDrop.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/Window.h"
#include "platform/objects/Screen.h"
#include "platform/x11/detail/X11Backend.h"

namespace platform::x11 {

namespace {

// How many windows of the root a search for another program's windows reads at most.
constexpr long kMaxClientWindows = 4096;
// The most of a dropped file list read (paths, one a line).
constexpr long kMaxUriListBytes = 1 << 20;
constexpr int kXdndVersion = 5;

std::string hexDecoded(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() &&
        std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> pathsOfUriList(const std::string& list) {
  std::vector<std::string> paths;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find('\n', start);
    if (end == std::string::npos) end = list.size();
    std::string line = list.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::string scheme = "file://";
    if (line.compare(0, scheme.size(), scheme) != 0) continue;
    std::string rest = line.substr(scheme.size());
    // "file://host/path": only the path counts (the host is this one, or empty).
    std::size_t slash = rest.find('/');
    if (slash == std::string::npos) continue;
    std::string path = hexDecoded(rest.substr(slash));
    if (path.find('\0') != std::string::npos) continue;
    paths.push_back(std::move(path));
  }
  return paths;
}

void X11Backend::updateScreens() {
  int count = 0;
  XRRMonitorInfo* monitors =
      mRandrEventBase >= 0 ? XRRGetMonitors(mDisplay, mRoot, True, &count) : nullptr;
  struct Area {
    int x, y, width, height;
    bool primary;
  };
  std::vector<Area> areas;
  for (int i = 0; i < count; ++i)
    if (monitors[i].width > 0 && monitors[i].height > 0)
      areas.push_back({monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height,
                       monitors[i].primary != 0});
  if (monitors) XRRFreeMonitors(monitors);
  if (areas.empty())
    areas.push_back(
        {0, 0, DisplayWidth(mDisplay, mScreen), DisplayHeight(mDisplay, mScreen), true});
  // The main screen comes first; its bottom left is the origin of screen coordinates.
  std::stable_partition(areas.begin(), areas.end(), [](const Area& a) { return a.primary; });
  mOriginX = areas.front().x;
  mOriginBottom = areas.front().y + areas.front().height;
  std::vector<NSScreen> screens;
  for (std::size_t i = 0; i < areas.size(); ++i) {
    const Area& a = areas[i];
    NSScreen s;
    NSPoint bottomLeft = screenPointOfRoot(a.x, a.y + a.height);
    s.frame = NSMakeRect(bottomLeft.x, bottomLeft.y, a.width, a.height);
    s.visibleFrame = s.frame;
    s.number = static_cast<int>(i) + 1;
    screens.push_back(std::move(s));
  }
  NSScreen::setScreens(std::move(screens));
}

Cursor X11Backend::cursorFor(NSCursor* cursor) {
  if (!cursor) {
    // Hidden: a cursor of one transparent pixel.
    if (!mBlankCursor) {
      char empty = 0;
      Pixmap bitmap = XCreateBitmapFromData(mDisplay, mRoot, &empty, 1, 1);
      XColor black{};
      mBlankCursor = XCreatePixmapCursor(mDisplay, bitmap, bitmap, &black, &black, 0, 0);
      XFreePixmap(mDisplay, bitmap);
    }
    return mBlankCursor;
  }
  if (const NSCursorImage* image = cursor->image()) {
    // Image cursors are made each time they are set: they are few and short-lived.
    XRenderPictFormat* format = XRenderFindStandardFormat(mDisplay, PictStandardARGB32);
    int w = image->width, h = image->height;
    if (!format || w < 1 || h < 1 || image->pixels.size() != std::size_t(w) * std::size_t(h))
      return cursorFor(NSCursor::arrowCursor());
    Pixmap pixmap = XCreatePixmap(mDisplay, mRoot, unsigned(w), unsigned(h), 32);
    XImage* ximage =
        XCreateImage(mDisplay, nullptr, 32, ZPixmap, 0,
                     reinterpret_cast<char*>(const_cast<std::uint32_t*>(image->pixels.data())),
                     unsigned(w), unsigned(h), 32, w * 4);
    GC gc = XCreateGC(mDisplay, pixmap, 0, nullptr);
    XPutImage(mDisplay, pixmap, gc, ximage, 0, 0, 0, 0, unsigned(w), unsigned(h));
    XFreeGC(mDisplay, gc);
    ximage->data = nullptr;
    XDestroyImage(ximage);
    Picture picture = XRenderCreatePicture(mDisplay, pixmap, format, 0, nullptr);
    NSPoint hot = cursor->hotSpot();
    Cursor made = XRenderCreateCursor(mDisplay, picture, unsigned(hot.x), unsigned(hot.y));
    XRenderFreePicture(mDisplay, picture);
    XFreePixmap(mDisplay, pixmap);
    return made;
  }
  Cursor& slot = mCursors[cursor->name()];
  if (!slot) {
    struct Shape {
      const char* name;
      unsigned shape;
    };
    static const Shape kShapes[] = {
        {"arrow", XC_left_ptr},
        {"ibeam", XC_xterm},
        {"pointing-hand", XC_hand2},
        {"crosshair", XC_crosshair},
        {"resize-left-right", XC_sb_h_double_arrow},
        {"resize-up-down", XC_sb_v_double_arrow},
        {"closed-hand", XC_fleur},
        {"open-hand", XC_hand1},
        {"not-allowed", XC_X_cursor},
    };
    unsigned shape = XC_left_ptr;
    for (const Shape& s : kShapes)
      if (cursor->name() == s.name) shape = s.shape;
    slot = XCreateFontCursor(mDisplay, shape);
  }
  return slot;
}

void X11Backend::cursorChanged(NSCursor* cursor) {
  if (mLost) return;
  Cursor previous = mCurrentCursor;
  bool previousWasImage = previous && previous != mBlankCursor && [&] {
    for (auto& [name, c] : mCursors)
      if (c == previous) return false;
    return true;
  }();
  mCurrentCursor = cursorFor(cursor);
  for (auto& [xid, record] : mRecords)
    XDefineCursor(mDisplay, xid, mCurrentCursor);
  if (previousWasImage && previous != mCurrentCursor) XFreeCursor(mDisplay, previous);
  XFlush(mDisplay);
}

bool X11Backend::warpPointer(NSPoint p) {
  if (mLost) return false;
  XWarpPointer(mDisplay, None, mRoot, 0, 0, 0, 0, clampPosition(p.x + mOriginX),
               clampPosition(mOriginBottom - p.y));
  XFlush(mDisplay);
  return true;
}

bool X11Backend::bringProcessToFront(long pid) {
  if (mLost) return false;
  // The window manager's list of clients, else the root's children.
  std::vector<Window> candidates;
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(mDisplay, mRoot, mNetClientList, 0, kMaxClientWindows, False, XA_WINDOW,
                         &type, &format, &count, &after, &data) == Success &&
      data && format == 32) {
    auto* ids = reinterpret_cast<unsigned long*>(data);
    candidates.assign(ids, ids + count);
  }
  if (data) XFree(data);
  if (candidates.empty()) {
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(mDisplay, mRoot, &root, &parent, &children, &n) && children)
      candidates.assign(children, children + n);
    if (children) XFree(children);
  }
  bool found = false;
  for (Window w : candidates) {
    data = nullptr;
    if (XGetWindowProperty(mDisplay, w, mNetWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) != Success)
      continue;
    bool matches = data && format == 32 && count == 1 &&
                   static_cast<long>(*reinterpret_cast<unsigned long*>(data)) == pid;
    if (data) XFree(data);
    if (!matches) continue;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(mDisplay, w, &attributes) || attributes.map_state != IsViewable)
      continue;
    found = true;
    if (mWindowManager) {
      XEvent e{};
      e.xclient.type = ClientMessage;
      e.xclient.window = w;
      e.xclient.message_type = mNetActiveWindow;
      e.xclient.format = 32;
      e.xclient.data.l[0] = 2;  // a pager's request: obeyed without focus-stealing rules
      e.xclient.data.l[1] = long(mLastEventTime);
      XSendEvent(mDisplay, mRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else {
      XRaiseWindow(mDisplay, w);
      XSetInputFocus(mDisplay, w, RevertToParent, CurrentTime);
    }
  }
  XFlush(mDisplay);
  return found;
}

void X11Backend::handleDnd(WindowRecord* record, const XClientMessageEvent& event) {
  auto reply = [&](Atom type, long flags, Atom action) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = Window(event.data.l[0]);
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(record->xid);
    e.xclient.data.l[1] = flags;
    e.xclient.data.l[2] = type == mXdndFinished ? long(action) : 0;
    e.xclient.data.l[4] = type == mXdndStatus ? long(action) : 0;
    XSendEvent(mDisplay, e.xclient.window, False, NoEventMask, &e);
    XFlush(mDisplay);
  };
  if (event.message_type == mXdndEnter) {
    mDrop = {};
    mDrop.source = Window(event.data.l[0]);
    mDrop.target = record->xid;
    // Only file lists are taken; the version must be one the protocol here speaks.
    int version = static_cast<int>(event.data.l[1] >> 24);
    bool offers = false;
    if (event.data.l[1] & 1) {
      Atom type;
      int format;
      unsigned long count = 0, after;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(mDisplay, mDrop.source, XInternAtom(mDisplay, "XdndTypeList", False),
                             0, 64, False, XA_ATOM, &type, &format, &count, &after,
                             &data) == Success &&
          data && format == 32) {
        auto* atoms = reinterpret_cast<unsigned long*>(data);
        for (unsigned long i = 0; i < count; ++i)
          offers |= Atom(atoms[i]) == mUriList;
      }
      if (data) XFree(data);
    } else {
      for (int i = 2; i <= 4; ++i)
        offers |= Atom(event.data.l[i]) == mUriList;
    }
    mDrop.accepted = offers && version <= kXdndVersion;
  } else if (event.message_type == mXdndPosition) {
    if (Window(event.data.l[0]) != mDrop.source || mDrop.target != record->xid) return;
    int rootX = static_cast<int>((event.data.l[2] >> 16) & 0xffff);
    int rootY = static_cast<int>(event.data.l[2] & 0xffff);
    const PixelRect& g = record->geometry;
    double scale = record->window->backingScaleFactor();
    mDrop.location = {(rootX - g.x) / scale,
                      record->window->drawnRect().size.height - (rootY - g.y) / scale};
    reply(mXdndStatus, mDrop.accepted ? 1 : 0, mDrop.accepted ? mXdndActionCopy : None);
  } else if (event.message_type == mXdndLeave) {
    mDrop = {};
  } else if (event.message_type == mXdndDrop) {
    if (Window(event.data.l[0]) != mDrop.source || !mDrop.accepted) {
      reply(mXdndFinished, 0, None);
      mDrop = {};
      return;
    }
    XConvertSelection(mDisplay, mXdndSelection, mUriList, mXdndTarget, mHelperWindow,
                      Time(event.data.l[2]));
    XFlush(mDisplay);
  }
}

void X11Backend::handleDndSelection(const XSelectionEvent& event) {
  WindowRecord* record = recordOf(mDrop.target);
  Window source = mDrop.source;
  NSPoint location = mDrop.location;
  mDrop = {};
  std::string list;
  if (event.property != None) {
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(mDisplay, mHelperWindow, mXdndTarget, 0, kMaxUriListBytes / 4, True,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data && format == 8) {
      list.assign(reinterpret_cast<char*>(data), count);
      if (after > 0) {
        // Longer than is read: the last line is cut short, and would name another file.
        std::size_t lastEnd = list.rfind('\n');
        list.erase(lastEnd == std::string::npos ? 0 : lastEnd + 1);
        base::warn("platform", "display: a dropped file list was cut at %ld bytes",
                   kMaxUriListBytes);
      }
    }
    if (data) XFree(data);
    // A property read only in part is not deleted by the read.
    if (after > 0) XDeleteProperty(mDisplay, mHelperWindow, mXdndTarget);
  }
  std::vector<std::string> paths = pathsOfUriList(list);
  bool taken = false;
  if (record && !paths.empty()) {
    // The drop takes the same road as one made in this program, in queue order.
    taken = true;
    postAction(record->window, [paths, location](NSWindow* w) {
      NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
      board.declareTypes({NSFilenamesPboardType});
      board.setFileList(paths);
      NSPerformDrop(w, location, board, nullptr);
    });
  }
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = source;
  e.xclient.message_type = mXdndFinished;
  e.xclient.format = 32;
  e.xclient.data.l[0] = record ? long(record->xid) : 0;
  e.xclient.data.l[1] = taken ? 1 : 0;
  e.xclient.data.l[2] = taken ? long(mXdndActionCopy) : 0;
  XSendEvent(mDisplay, source, False, NoEventMask, &e);
  XFlush(mDisplay);
}

}  // namespace platform::x11
