#include "platform/x11/detail/X11Backend.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/extensions/Xrandr.h>
#include <xkbcommon/xkbcommon-x11.h>

#include <cstdlib>

#include "base/Log.h"
#include "platform/core/Application.h"
#include "platform/core/Window.h"
#include "platform/system/Clock.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/detail/X11Clipboard.h"

namespace platform {

std::unique_ptr<DisplayBackend> makeX11DisplayBackend(const char* displayName) {
  return x11::X11Backend::connect(displayName);
}

}  // namespace platform

namespace platform::x11 {

namespace {
// The backend whose connection the process-wide Xlib handlers speak for.
X11Backend* gBackend = nullptr;
}  // namespace

double steadyNowMs() {
  static const SteadyClock steady;
  return steady.nowMs();
}

std::unique_ptr<X11Backend> X11Backend::connect(const char* displayName) {
  // Xlib's handlers are process-wide: they must be ours before the first request, so a
  // refused connection or an early error never ends the program.
  XSetErrorHandler(&X11Backend::onError);
  XSetIOErrorHandler(&X11Backend::onIOError);
  Display* display = XOpenDisplay(displayName);
  if (!display) return nullptr;
  std::unique_ptr<X11Backend> backend(new X11Backend(display));
  if (!backend->setUp()) return nullptr;
  return backend;
}

X11Backend::X11Backend(Display* display) : mDisplay(display) {
  gBackend = this;
  XSetIOErrorExitHandler(display, &X11Backend::onIOErrorExit, this);
}

X11Backend::~X11Backend() {
  // Windows keep their backing stores; the server lets go of the segments.
  while (!mRecords.empty())
    destroyRecord(mRecords.begin()->second.get());
  mClipboard.reset();
  mKeys.reset();
  if (mXkbContext) xkb_context_unref(mXkbContext);
  if (!mLost) {
    for (auto& [name, cursor] : mCursors)
      XFreeCursor(mDisplay, cursor);
    if (mBlankCursor) XFreeCursor(mDisplay, mBlankCursor);
    if (mHelperWindow) XDestroyWindow(mDisplay, mHelperWindow);
    if (mColormap) XFreeColormap(mDisplay, mColormap);
  }
  // After a lost connection this only frees Xlib's memory: requests fail at once.
  XCloseDisplay(mDisplay);
  if (gBackend == this) gBackend = nullptr;
}

bool X11Backend::setUp() {
  mScreen = DefaultScreen(mDisplay);
  mRoot = RootWindow(mDisplay, mScreen);
  XVisualInfo info;
  // Cairo's ARGB32 pixels are the 24-bit TrueColor pixels of such a visual when the
  // server's byte order is the host's.
  const bool hostLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
  const int hostOrder = hostLittleEndian ? LSBFirst : MSBFirst;
  if (XMatchVisualInfo(mDisplay, mScreen, 24, TrueColor, &info) && info.red_mask == 0xff0000 &&
      info.green_mask == 0xff00 && info.blue_mask == 0xff) {
    mVisual = info.visual;
    mDepth = 24;
    mTrueColor24 = true;
  } else {
    mVisual = DefaultVisual(mDisplay, mScreen);
    mDepth = DefaultDepth(mDisplay, mScreen);
    base::warn("platform",
               "display: no 24-bit TrueColor visual; windows are converted pixel by pixel");
  }
  mColormap = XCreateColormap(mDisplay, mRoot, mVisual, AllocNone);
  int major, minor;
  Bool pixmaps;
  int opcode, event, error;
  mShmAvailable = mTrueColor24 && ImageByteOrder(mDisplay) == hostOrder &&
                  XQueryExtension(mDisplay, "MIT-SHM", &opcode, &event, &error) &&
                  XShmQueryVersion(mDisplay, &major, &minor, &pixmaps) &&
                  std::getenv("PLATFORM_X11_NO_SHM") == nullptr;
  if (mShmAvailable) mShmCompletionType = XShmGetEventBase(mDisplay) + ShmCompletion;
  int randrError;
  if (XRRQueryExtension(mDisplay, &mRandrEventBase, &randrError))
    XRRSelectInput(mDisplay, mRoot, RRScreenChangeNotifyMask);
  else
    mRandrEventBase = -1;
  // Monitors set by a program (a screen split in two) are announced by a configure event
  // of the root alone, not by RandR's screen change.
  XSelectInput(mDisplay, mRoot, StructureNotifyMask);
  internAtoms();

  // The helper window owns selections and takes server timestamps.
  XSetWindowAttributes attributes{};
  attributes.event_mask = PropertyChangeMask;
  mHelperWindow = XCreateWindow(mDisplay, mRoot, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                                CopyFromParent, CWEventMask, &attributes);

  // A window manager announces itself through a check window on the root.
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(mDisplay, mRoot, mNetSupportingWmCheck, 0, 1, False, XA_WINDOW, &type,
                         &format, &count, &after, &data) == Success &&
      data) {
    mWindowManager = count == 1 && format == 32;
    XFree(data);
  }
  setUpKeyboard();
  updateScreens();
  mClipboard = std::make_unique<Clipboard>(mDisplay, mHelperWindow, mLastEventTime, mLost);
  XFlush(mDisplay);
  return !mLost;
}

void X11Backend::internAtoms() {
  struct Name {
    Atom* atom;
    const char* name;
  };
  const Name names[] = {
      {&mUtf8String, "UTF8_STRING"},
      {&mNetWmName, "_NET_WM_NAME"},
      {&mNetWmPid, "_NET_WM_PID"},
      {&mWmProtocols, "WM_PROTOCOLS"},
      {&mWmDeleteWindow, "WM_DELETE_WINDOW"},
      {&mNetWmWindowType, "_NET_WM_WINDOW_TYPE"},
      {&mNetWmState, "_NET_WM_STATE"},
      {&mNetWmStateModal, "_NET_WM_STATE_MODAL"},
      {&mNetActiveWindow, "_NET_ACTIVE_WINDOW"},
      {&mNetSupportingWmCheck, "_NET_SUPPORTING_WM_CHECK"},
      {&mNetClientList, "_NET_CLIENT_LIST"},
      {&mWmChangeState, "WM_CHANGE_STATE"},
      {&mTypeNormal, "_NET_WM_WINDOW_TYPE_NORMAL"},
      {&mTypeDialog, "_NET_WM_WINDOW_TYPE_DIALOG"},
      {&mTypeUtility, "_NET_WM_WINDOW_TYPE_UTILITY"},
      {&mTypePopupMenu, "_NET_WM_WINDOW_TYPE_POPUP_MENU"},
      {&mXdndAware, "XdndAware"},
      {&mXdndEnter, "XdndEnter"},
      {&mXdndPosition, "XdndPosition"},
      {&mXdndStatus, "XdndStatus"},
      {&mXdndLeave, "XdndLeave"},
      {&mXdndDrop, "XdndDrop"},
      {&mXdndFinished, "XdndFinished"},
      {&mXdndSelection, "XdndSelection"},
      {&mXdndActionCopy, "XdndActionCopy"},
      {&mUriList, "text/uri-list"},
      {&mXdndTarget, "PLATFORM_XDND_TARGET"},
  };
  std::vector<char*> texts;
  for (const Name& n : names)
    texts.push_back(const_cast<char*>(n.name));
  std::vector<Atom> atoms(texts.size());
  XInternAtoms(mDisplay, texts.data(), static_cast<int>(texts.size()), False, atoms.data());
  for (std::size_t i = 0; i < texts.size(); ++i)
    *names[i].atom = atoms[i];
}

void X11Backend::setUpKeyboard() {
  mKeys.reset();
  mLayout.reset();
  if (!mXkbContext) mXkbContext = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  xcb_connection_t* connection = XGetXCBConnection(mDisplay);
  if (!mXkbContext || !connection ||
      !xkb_x11_setup_xkb_extension(
          connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
          XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
    base::warn("platform", "display: the X server has no XKB; keys give no characters");
    return;
  }
  mXkbDeviceId = xkb_x11_get_core_keyboard_device_id(connection);
  xkb_keymap* keymap = xkb_x11_keymap_new_from_device(mXkbContext, connection, mXkbDeviceId,
                                                      XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (!keymap) {
    base::warn("platform", "display: cannot read the keyboard's keymap; keys give no characters");
    return;
  }
  const char* locale = std::getenv("LC_ALL");
  if (!locale || !*locale) locale = std::getenv("LC_CTYPE");
  if (!locale || !*locale) locale = std::getenv("LANG");
  mKeys = std::make_unique<KeyTranslator>(mXkbContext, keymap, locale);
  xkb_keymap_ref(keymap);
  mLayout = std::make_shared<XkbKeyboardLayout>(mXkbContext, keymap, locale);
  // A new keymap of the installed display is the layout at once.
  if (&displayBackend() == this) NSKeyboardLayout::setCurrent(mLayout);
  // Held keys repeat as presses without releases between them, so repeats can be told.
  Bool supported = False;
  XkbSetDetectableAutoRepeat(mDisplay, True, &supported);
  // A client of XKB hears of a new keymap through XKB's events, not the core MappingNotify.
  int opcode, error, major = XkbMajorVersion, minor = XkbMinorVersion;
  if (mXkbEventType < 0 &&
      XkbQueryExtension(mDisplay, &opcode, &mXkbEventType, &error, &major, &minor)) {
    const unsigned long changes = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(mDisplay, XkbUseCoreKbd, changes, changes);
  }
}

int X11Backend::eventDescriptor() const {
  return mLost ? -1 : ConnectionNumber(mDisplay);
}

void X11Backend::processEvents() {
  if (mLost) return;
  XFlush(mDisplay);
  while (!mLost && XPending(mDisplay) > 0) {
    XEvent event;
    XNextEvent(mDisplay, &event);
    handleEvent(event);
  }
  // What the events were answered with (an exposed window's pixels) goes out before the
  // run loop waits.
  if (!mLost) XFlush(mDisplay);
}

X11Backend::WindowRecord* X11Backend::recordOf(Window xid) const {
  auto it = mRecords.find(xid);
  return it == mRecords.end() ? nullptr : it->second.get();
}

X11Backend::WindowRecord* X11Backend::recordOf(const NSWindow* window) const {
  for (const auto& [xid, record] : mRecords)
    if (record->window == window) return record.get();
  return nullptr;
}

Window X11Backend::xWindowOf(const NSWindow* window) const {
  WindowRecord* record = recordOf(window);
  return record ? record->xid : 0;
}

void X11Backend::handleEvent(XEvent& event) {
  if (mShmAvailable && event.type == mShmCompletionType) {
    auto& done = reinterpret_cast<XShmCompletionEvent&>(event);
    if (WindowRecord* record = recordOf(done.drawable)) record->putPending = false;
    return;
  }
  if (mRandrEventBase >= 0 && event.type == mRandrEventBase + RRScreenChangeNotify) {
    XRRUpdateConfiguration(&event);
    updateScreens();
    return;
  }
  switch (event.type) {
    case SelectionRequest:
    case SelectionClear:
    case SelectionNotify:
    case PropertyNotify:
      if (event.type == SelectionNotify && event.xselection.requestor == mHelperWindow &&
          event.xselection.selection == mXdndSelection) {
        handleDndSelection(event.xselection);
        return;
      }
      mClipboard->handleEvent(event);
      return;
    case MappingNotify:
      if (event.xmapping.request == MappingKeyboard || event.xmapping.request == MappingModifier) {
        XRefreshKeyboardMapping(&event.xmapping);
        setUpKeyboard();
      }
      return;
    default:
      break;
  }
  if (mXkbEventType >= 0 && event.type == mXkbEventType) {
    const int change = reinterpret_cast<const XkbAnyEvent&>(event).xkb_type;
    if (change == XkbNewKeyboardNotify || change == XkbMapNotify) setUpKeyboard();
    return;
  }
  if (event.type == ConfigureNotify && event.xconfigure.window == mRoot) {
    updateScreens();
    return;
  }
  // Everything else belongs to a window; events of a window already closed are dropped.
  WindowRecord* record = recordOf(event.xany.window);
  if (!record) return;
  switch (event.type) {
    case Expose:
      handleExpose(record, event.xexpose);
      return;
    case ConfigureNotify:
      handleConfigure(record, event.xconfigure);
      return;
    case MapNotify:
      record->viewable = true;
      if (record->focusOnMap) focus(record, mLastEventTime);
      grabFor(record);
      if (!record->window->isVisible() && record->mapped == false &&
          event.xmap.serial >= record->unmapSerial) {
        // Shown again by the window manager (de-iconified).
        postAction(record->window, [](NSWindow* w) { w->deminiaturize(); });
      }
      return;
    case UnmapNotify:
      record->viewable = false;
      // Not the notice of an unmap of this program's own that it has since undone.
      if (mWindowManager && !record->overrideRedirect && record->mapped &&
          event.xunmap.serial >= record->mapSerial && record->window->isVisible()) {
        // Hidden by the window manager: iconified.
        record->mapped = false;
        postAction(record->window, [](NSWindow* w) {
          if (w->isVisible()) w->miniaturize();
        });
      }
      return;
    case ButtonPress:
    case ButtonRelease:
      mLastEventTime = event.xbutton.time;
      handleButton(record, event.xbutton, event.type == ButtonPress);
      return;
    case MotionNotify:
      mLastEventTime = event.xmotion.time;
      handleMotion(record, event.xmotion);
      return;
    case EnterNotify:
    case LeaveNotify:
      mLastEventTime = event.xcrossing.time;
      handleCrossing(record, event.xcrossing);
      return;
    case KeyPress:
    case KeyRelease:
      mLastEventTime = event.xkey.time;
      handleKey(record, event.xkey, event.type == KeyPress);
      return;
    case FocusIn:
    case FocusOut:
      handleFocus(record, event.xfocus);
      return;
    case ClientMessage:
      handleClientMessage(record, event.xclient);
      return;
    default:
      return;
  }
}

double X11Backend::timestampOf(Time serverTime) {
  const double gap = nowMs() - static_cast<double>(serverTime);
  if (!mServerClockGapKnown || gap < mServerClockGapMs ||
      gap - mServerClockGapMs > kServerClockJumpMs) {
    mServerClockGapMs = gap;
    mServerClockGapKnown = true;
  }
  return (static_cast<double>(serverTime) + mServerClockGapMs) / 1000.0;
}

void X11Backend::post(NSEvent event) {
  if (event.timestamp == 0) event.timestamp = nowMs() / 1000.0;
  NSApp()->postEvent(std::move(event), false);
}

void X11Backend::postAction(NSWindow* window, std::function<void(NSWindow*)> action) {
  NSEvent e;
  e.type = NSEventTypeApplicationDefined;
  // The window may be gone by the time the event is taken: the application drops an
  // event whose window is no longer live.
  e.window = window;
  e.action = [window, action = std::move(action)] {
    if (isLiveObject(window)) action(window);
  };
  post(std::move(e));
}

int X11Backend::onError(Display* display, XErrorEvent* error) {
  // A request may race a window's destruction by another client or the window manager:
  // log it and go on instead of ending the program as Xlib's handler would.
  char text[256];
  XGetErrorText(display, error->error_code, text, sizeof text);
  base::warn("platform", "display: X error %s (request %d.%d, resource 0x%lx)", text,
             error->request_code, error->minor_code, error->resourceid);
  return 0;
}

int X11Backend::onIOError(Display* display) {
  base::warn("platform", "display: the connection to the X server was lost");
  return 0;
}

void X11Backend::onIOErrorExit(Display* display, void* data) {
  // The connection is gone: no X call may follow. The program ends the ordinary way,
  // through termination, instead of Xlib's exit.
  auto* backend = static_cast<X11Backend*>(data);
  if (backend->mLost) return;
  backend->mLost = true;
  for (auto& [xid, record] : backend->mRecords)
    if (record->pixels) record->pixels->detachServer(true);
  NSEvent e;
  e.type = NSEventTypeApplicationDefined;
  e.action = [] { NSApp()->terminate(nullptr); };
  NSApp()->postEvent(std::move(e), false);
}

}  // namespace platform::x11

namespace platform::x11 {

void X11Backend::pasteboardTextWritten(const std::string& text) {
  if (mClipboard) mClipboard->own(text);
}

std::optional<std::string> X11Backend::foreignPasteboardText() {
  return mClipboard ? mClipboard->readForeign() : std::nullopt;
}

}  // namespace platform::x11
