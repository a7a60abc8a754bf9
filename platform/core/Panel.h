#pragma once

#include "platform/core/Window.h"

namespace platform {

class NSView;

// A secondary window: floating, key only when needed, hidden when the application
// deactivates (all stored; the headless backend shows nothing anyway).
class NSPanel : public NSWindow {
 public:
  using NSWindow::NSWindow;
  bool isFloatingPanel() const { return mFloating; }
  void setFloatingPanel(bool floating) { mFloating = floating; }
  bool becomesKeyOnlyIfNeeded() const { return mKeyOnlyIfNeeded; }
  void setBecomesKeyOnlyIfNeeded(bool only) { mKeyOnlyIfNeeded = only; }
  bool canBecomeMainWindow() const override { return false; }

 private:
  bool mFloating = false;
  bool mKeyOnlyIfNeeded = false;
};

// Panels that show an extra view of the caller's (the open and save panels).
class AccessoryViewHost {
 public:
  virtual ~AccessoryViewHost() = default;
  virtual NSView* accessoryView() const = 0;
  virtual void setAccessoryView(NSView* view) = 0;
  // Only open panels fold their accessory view away; others ignore this.
  virtual void setAccessoryViewDisclosed(bool disclosed) {}
  virtual bool isOpenPanel() const { return false; }
};

}  // namespace platform
