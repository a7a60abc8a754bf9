#pragma once

#include <cairo.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/objects/Geometry.h"

namespace platform {

class NSCursor;
class NSKeyboardLayout;
class NSWindow;

// Where windows are shown and where input comes from. The headless backend shows nothing
// (tests, and programs without a display); the X11 backend makes top-level windows X
// windows and turns X input into events on the application's queue. The platform's
// classes tell the backend in use what changed; nothing above platform/ sees it.
class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  virtual const char* name() const = 0;

  // The run loop's wait: a descriptor it polls beside its wake-up (-1 for none), and a
  // call made before each sleep and after the descriptor turned readable, which sends
  // buffered requests and queues every event already received.
  virtual int eventDescriptor() const { return -1; }
  virtual void processEvents() {}

  // Window changes, each after the window's own state changed.
  virtual void windowVisibilityChanged(NSWindow* window) {}
  virtual void windowFrameChanged(NSWindow* window) {}
  // Title, style, level, minimum and maximum size, parent, modal state.
  virtual void windowAttributesChanged(NSWindow* window) {}
  virtual void windowBecameKey(NSWindow* window) {}
  // The window is closed or freed: the backend forgets it (events for it are dropped).
  virtual void windowClosed(NSWindow* window) {}

  // The backing store of a window, in pixels (ARGB32). The X11 backend puts its pixels
  // where the server can read them directly.
  virtual cairo_surface_t* createBackingStore(NSWindow* window, int width, int height);
  // Before a display pass draws: the previous presentation must have been read.
  virtual void willDrawWindow(NSWindow* window) {}
  // After a display pass: the region (window coordinates, y up) reaches the screen.
  virtual void presentWindow(NSWindow* window, const NSRect& region) {}

  // The pointer: the cursor shown (null while hidden) and moving it (screen, y up).
  virtual void cursorChanged(NSCursor* cursor) {}
  virtual bool warpPointer(NSPoint screenPoint) { return false; }

  // The general pasteboard's text shared with other programs: written after a change
  // made here, read when another program owns it (nothing when it does not or
  // cannot answer).
  virtual void pasteboardTextWritten(const std::string& text) {}
  virtual std::optional<std::string> foreignPasteboardText() { return std::nullopt; }

  // Raises the windows of another process; false when none was found.
  virtual bool bringProcessToFront(long pid) { return false; }
  // The layout of the display's keyboard (null: US English).
  virtual std::shared_ptr<const NSKeyboardLayout> keyboardLayout() { return nullptr; }
};

// The headless backend: what every test uses.
std::unique_ptr<DisplayBackend> makeHeadlessDisplayBackend();

// The backend in use: headless until one is installed.
DisplayBackend& displayBackend();
// Puts a backend in use (headless when null) and gives back the one that was, telling
// nobody. Programs install a backend through setDisplayBackend (platform/core/DisplaySwitch.h),
// which hands the windows over.
std::unique_ptr<DisplayBackend> exchangeDisplayBackend(std::unique_ptr<DisplayBackend> backend);

}  // namespace platform
