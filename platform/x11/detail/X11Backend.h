#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/DisplayBackend.h"
#include "platform/display/Event.h"
#include "platform/x11/detail/X11Keyboard.h"

namespace platform::x11 {

class Clipboard;
struct SharedPixels;

// The local paths of a text/uri-list: file URIs only, comments and other schemes skipped.
std::vector<std::string> pathsOfUriList(const std::string& list);

// Exchanges with the server run on real time, whatever clock the program reads.
double steadyNowMs();

// The X11 display backend. Every X call happens on the main thread; other threads only
// wake the run loop. Top-level windows are X windows at their content rectangles; their
// backing stores live in MIT-SHM segments the server reads directly.
class X11Backend final : public DisplayBackend {
 public:
  // Null when the server does not answer.
  static std::unique_ptr<X11Backend> connect(const char* displayName);
  ~X11Backend() override;

  const char* name() const override { return "x11"; }
  int eventDescriptor() const override;
  void processEvents() override;

  void windowVisibilityChanged(NSWindow* window) override;
  void windowFrameChanged(NSWindow* window) override;
  void windowAttributesChanged(NSWindow* window) override;
  void windowBecameKey(NSWindow* window) override;
  void windowClosed(NSWindow* window) override;

  cairo_surface_t* createBackingStore(NSWindow* window, int width, int height) override;
  void willDrawWindow(NSWindow* window) override;
  void presentWindow(NSWindow* window, const NSRect& region) override;

  void cursorChanged(NSCursor* cursor) override;
  bool warpPointer(NSPoint screenPoint) override;
  void pasteboardTextWritten(const std::string& text) override;
  std::optional<std::string> foreignPasteboardText() override;
  bool bringProcessToFront(long pid) override;
  std::shared_ptr<const NSKeyboardLayout> keyboardLayout() override { return mLayout; }

  // For tests and the benchmark: the connection and a window's X window (0 when none).
  Display* display() const { return mDisplay; }
  Window xWindowOf(const NSWindow* window) const;
  bool usesSharedMemory() const { return mShmAvailable; }
  bool connectionLost() const { return mLost; }
  Clipboard& clipboard() { return *mClipboard; }
  // How many Expose passes were answered from a backing store.
  int exposesAnswered() const { return mExposesAnswered; }

  struct WindowRecord;
  // A rectangle in X pixels of a window.
  struct PixelRect {
    int x, y, width, height;
  };
  // Screen coordinates (y up, origin at the main screen's bottom left) of X root
  // coordinates, and back.
  NSPoint screenPointOfRoot(int x, int y) const;

  // Sizes and positions X can take: 16-bit, sizes never 0.
  static int clampPosition(double value);
  static unsigned clampSize(double value);

 private:
  explicit X11Backend(Display* display);
  bool setUp();
  void internAtoms();
  void handleEvent(XEvent& event);
  WindowRecord* recordOf(Window xid) const;
  WindowRecord* recordOf(const NSWindow* window) const;

  // Windows.
  WindowRecord* realize(NSWindow* window);
  void destroyRecord(WindowRecord* record);
  void applyAttributes(WindowRecord* record);
  void applyGeometry(WindowRecord* record);
  void restack();
  void setNetWmState(WindowRecord* record, Atom state, bool on);
  void focus(WindowRecord* record, Time time);
  // A menu holds the pointer and the keyboard while it is up.
  void grabFor(WindowRecord* record);
  void releaseGrabs(WindowRecord* record);
  // Where the content rectangle of the window lies in root coordinates.
  PixelRect rootRectOf(NSWindow* window) const;
  void handleConfigure(WindowRecord* record, const XConfigureEvent& event);
  void handleExpose(WindowRecord* record, const XExposeEvent& event);
  void putPixels(WindowRecord* record, const std::vector<PixelRect>& rects);
  void waitForPut(WindowRecord* record);
  void releaseImage(WindowRecord* record);

  // Input.
  void handleButton(WindowRecord* record, const XButtonEvent& event, bool press);
  void handleMotion(WindowRecord* record, const XMotionEvent& event);
  void handleCrossing(WindowRecord* record, const XCrossingEvent& event);
  void handleKey(WindowRecord* record, XKeyEvent& event, bool press);
  void handleFocus(WindowRecord* record, const XFocusChangeEvent& event);
  void handleClientMessage(WindowRecord* record, const XClientMessageEvent& event);
  NSEvent inputEvent(NSEventType type, WindowRecord* record, int x, int y, unsigned state,
                     Time time);
  // When an event stamped with a server time happened, on the program's clock (seconds).
  double timestampOf(Time serverTime);
  // Stamps an event not stamped yet with the time it is read, and queues it.
  void post(NSEvent event);
  void postAction(NSWindow* window, std::function<void(NSWindow*)> action);
  void setUpKeyboard();

  // Screens, cursors, drops.
  void updateScreens();
  Cursor cursorFor(NSCursor* cursor);
  void handleDnd(WindowRecord* record, const XClientMessageEvent& event);
  void handleDndSelection(const XSelectionEvent& event);

  static int onError(Display* display, XErrorEvent* error);
  static int onIOError(Display* display);
  static void onIOErrorExit(Display* display, void* data);

  Display* mDisplay;
  int mScreen = 0;
  Window mRoot = 0;
  Visual* mVisual = nullptr;
  int mDepth = 0;
  Colormap mColormap = 0;
  bool mTrueColor24 = false;
  bool mShmAvailable = false;
  int mShmCompletionType = -1;
  int mRandrEventBase = -1;
  bool mLost = false;
  bool mWindowManager = false;
  Window mHelperWindow = 0;  // owns the selection, takes timestamps
  Time mLastEventTime = CurrentTime;
  // The program's clock less the server's time, the least seen: an event read at once.
  // Input events are stamped with when they happened, not when they were read, so the time
  // between a press and its release is the user's, however busy the program was.
  double mServerClockGapMs = 0;
  bool mServerClockGapKnown = false;
  // A gap this much larger than the least is taken as the server's clock wrapping or
  // jumping, and starts the measure again.
  static constexpr double kServerClockJumpMs = 60000;
  // The window the focus was last asked for, until the server says it has it: focus
  // arriving meanwhile at another window is an older move and takes no key status.
  Window mFocusRequest = 0;
  double mFocusRequestMs = 0;
  // How long a focus request stays outstanding (a window manager may refuse it).
  static constexpr double kFocusRequestLimitMs = 1000;
  int mExposesAnswered = 0;
  // The main screen's left and bottom edges in root coordinates.
  int mOriginX = 0;
  int mOriginBottom = 0;

  std::map<Window, std::unique_ptr<WindowRecord>> mRecords;

  // Atoms.
  Atom mUtf8String = 0, mNetWmName = 0, mNetWmPid = 0, mWmProtocols = 0, mWmDeleteWindow = 0,
       mNetWmWindowType = 0, mNetWmState = 0, mNetWmStateModal = 0, mNetActiveWindow = 0,
       mNetSupportingWmCheck = 0, mNetClientList = 0, mWmChangeState = 0;
  Atom mTypeNormal = 0, mTypeDialog = 0, mTypeUtility = 0, mTypePopupMenu = 0;
  Atom mXdndAware = 0, mXdndEnter = 0, mXdndPosition = 0, mXdndStatus = 0, mXdndLeave = 0,
       mXdndDrop = 0, mXdndFinished = 0, mXdndSelection = 0, mXdndActionCopy = 0, mUriList = 0,
       mXdndTarget = 0;

  // Keyboard.
  std::unique_ptr<KeyTranslator> mKeys;
  std::shared_ptr<const NSKeyboardLayout> mLayout;
  xkb_context* mXkbContext = nullptr;
  int mXkbDeviceId = -1;
  // XKB's event type: a new keymap (a layout set while the program runs) arrives as one.
  int mXkbEventType = -1;
  std::vector<bool> mKeysDown = std::vector<bool>(256, false);
  unsigned mLastKeyState = 0;

  // Clicks: a press counts on from the last one when it is the same button of the same
  // window, soon enough and near enough.
  struct ClickMemory {
    Window window = 0;
    unsigned button = 0;
    Time time = 0;
    int x = 0, y = 0;
    int count = 0;
  } mClicks;
  int mPressedButtons = 0;  // bits 0 left, 1 right, 2 other
  // Where the pointer was at the last button or motion event (root pixels): a motion's
  // deltas run from there, so a drag with the pointer hidden still reports how far it moved.
  int mPointerRootX = 0, mPointerRootY = 0;

  // Cursors by name, made on first use.
  std::map<std::string, Cursor> mCursors;
  Cursor mBlankCursor = 0;
  Cursor mCurrentCursor = 0;

  // A drop in progress from another program.
  struct DropInProgress {
    Window source = 0;
    Window target = 0;
    NSPoint location;
    bool accepted = false;
  } mDrop;

  std::unique_ptr<Clipboard> mClipboard;
};

// What the backend keeps of one window.
struct X11Backend::WindowRecord {
  NSWindow* window = nullptr;
  Window xid = 0;
  bool mapped = false;    // mapping asked for
  bool viewable = false;  // the server said it is mapped
  // The serials of the latest map and unmap (or iconify) requests: a notice of an earlier
  // change arriving after a later request is no news of the window manager's.
  unsigned long mapSerial = 0;
  unsigned long unmapSerial = 0;
  bool overrideRedirect = false;
  bool focusOnMap = false;
  bool grabbing = false;           // holds the pointer and keyboard grabs (a menu)
  PixelRect geometry{0, 0, 0, 0};  // root coordinates, as last asked for or reported
  GC gc = nullptr;
  // The backing store's pixels as the server sees them (null when the window has none).
  SharedPixels* pixels = nullptr;
  bool putPending = false;
  std::vector<PixelRect> exposed;
};

// A backing store's pixels in a shared-memory segment, seen by the server through an
// XImage. Freed with the Cairo surface over them; the backend detaches the server first
// when it forgets the window sooner.
struct SharedPixels {
  Display* display = nullptr;  // null once the server let go
  XShmSegmentInfo segment{};
  XImage* image = nullptr;
  X11Backend::WindowRecord* record = nullptr;
  int width = 0;
  int height = 0;

  // The server lets go of the segment (unless the connection is gone) and the window's
  // record forgets these pixels.
  void detachServer(bool connectionLost = false) {
    if (image) {
      if (display && !connectionLost) XShmDetach(display, &segment);
      // The data is the segment and the object data this struct's: Xlib frees neither.
      image->data = nullptr;
      image->obdata = nullptr;
      XDestroyImage(image);
      image = nullptr;
    }
    display = nullptr;
    if (record) record->pixels = nullptr;
    record = nullptr;
  }
};

}  // namespace platform::x11
