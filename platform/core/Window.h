#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Responder.h"
#include "platform/objects/Color.h"
#include "platform/objects/Geometry.h"

namespace platform {

class NSMenu;
class NSMenuItem;
class NSText;
class NSView;

using NSWindowStyleMask = unsigned;
inline constexpr NSWindowStyleMask NSWindowStyleMaskBorderless = 0;
inline constexpr NSWindowStyleMask NSWindowStyleMaskTitled = 1;
inline constexpr NSWindowStyleMask NSWindowStyleMaskClosable = 2;
inline constexpr NSWindowStyleMask NSWindowStyleMaskMiniaturizable = 4;
inline constexpr NSWindowStyleMask NSWindowStyleMaskResizable = 8;

inline constexpr int NSNormalWindowLevel = 0;
inline constexpr int NSFloatingWindowLevel = 3;
inline constexpr int NSModalPanelWindowLevel = 8;

// What a window tells its delegate, and what it asks.
class NSWindowDelegate {
 public:
  virtual ~NSWindowDelegate() = default;
  virtual bool windowShouldClose(NSWindow* window) { return true; }
  virtual void windowWillClose(NSWindow* window) {}
  virtual void windowDidMove(NSWindow* window) {}
  virtual void windowDidResize(NSWindow* window) {}
  virtual void windowDidBecomeKey(NSWindow* window) {}
  virtual void windowDidResignKey(NSWindow* window) {}
};

// A top-level window: a frame on the screen (y up, origin at the bottom left of the
// main screen), a title bar of fixed height when titled, a content view filling the
// rest, and a Cairo image as backing store that display passes draw into.
//
// Lifetime: the creator holds the first reference. A window that is released when
// closed (the default) gives that reference up in close(); one that is not stays
// alive until its owner releases it. The application's window lists do not retain.
class NSWindow : public NSResponder {
 public:
  static constexpr double kTitleBarHeight = 22;

  NSWindow(const NSRect& contentRect, NSWindowStyleMask style);

  NSWindowStyleMask styleMask() const { return mStyle; }
  // Keeps the content rectangle; the frame grows or shrinks by the title bar.
  void setStyleMask(NSWindowStyleMask style);
  int windowNumber() const { return mNumber; }

  NSRect frame() const { return mFrame; }
  virtual void setFrame(const NSRect& frame, bool display);
  void setFrameOrigin(NSPoint origin);
  void setContentSize(NSSize size);
  NSRect contentRectForFrameRect(const NSRect& frame) const;
  NSRect frameRectForContentRect(const NSRect& content) const;
  static NSRect frameRectForContentRect(const NSRect& content, NSWindowStyleMask style);
  NSRect contentRect() const { return contentRectForFrameRect(mFrame); }

  NSView* contentView() const { return mContentView; }
  void setContentView(NSView* view);

  // A menu shown as a bar across the top of the window, above the content, which keeps
  // its size (the frame grows instead): the titles of its items, a press on one opening
  // its submenu (or sending its action when it has none). Null takes the bar away.
  static constexpr double kMenuBarHeight = 22;
  NSMenu* menuBar() const { return mMenuBar; }
  void setMenuBar(NSMenu* menu);
  double menuBarHeight() const { return mMenuBar ? kMenuBarHeight : 0; }
  // The bar in window coordinates (above the content); empty without a bar.
  NSRect menuBarRect() const;
  // A shown title's place in window coordinates, and the title under a point (-1: none).
  NSRect menuBarItemRect(int index) const;
  int menuBarItemAtPoint(NSPoint point) const;
  // The title whose menu is open, -1 for none.
  int highlightedMenuBarItem() const { return mMenuBarLit; }
  // Draws the bar again (its items changed).
  void setMenuBarNeedsDisplay();
  // A key-down for the bar, taken before the first responder sees it: an item's key
  // equivalent sends its action (NSMenu::performKeyEquivalent); F10 opens the first menu,
  // Option (Alt) with a title's mnemonic that title's menu, with its first item lit.
  // Whether the key was taken.
  bool performMenuBarKey(const NSEvent& event);
  // The content rectangle and the bar above it (screen coordinates): what the backing
  // store holds and a display shows.
  NSRect drawnRect() const;

  // The first responder; the window itself when no view holds it.
  NSResponder* firstResponder() const;
  // Asks the current first responder to resign and the new one to accept; a refusal
  // by either is honoured. Null makes the window itself first responder.
  bool makeFirstResponder(NSResponder* responder);
  // The window's one field editor, lent to the text field being edited; made on the
  // first request when create is set. The object asking is not used.
  NSText* fieldEditor(bool create, NSObject* forObject);

  // The key-view loop: the views Tab and Shift+Tab give the focus to in turn, each a
  // view below the content view that can become key view (not the field editor inside a
  // text field). Recalculated automatically, it runs in reading order: top row first,
  // left to right along a row; otherwise in the order of the view tree.
  bool autorecalculatesKeyViewLoop() const { return mAutorecalculatesKeyViewLoop; }
  void setAutorecalculatesKeyViewLoop(bool recalculates) {
    mAutorecalculatesKeyViewLoop = recalculates;
  }
  std::vector<NSView*> keyViewLoop() const;
  // The view of the loop that holds the focus (for a text field being edited, the field
  // rather than its editor); null when none does.
  NSView* focusedKeyView() const;
  // Gives the focus to the next (previous) view of the loop that takes it, wrapping
  // round; the first (last) when none of the loop has it.
  void selectNextKeyView();
  void selectPreviousKeyView();
  // Tab and Shift+Tab move along the key-view loop; other keys go on up the chain.
  void keyDown(const NSEvent& e) override;

  bool isKeyWindow() const;
  bool isMainWindow() const;
  virtual bool canBecomeKeyWindow() const;
  virtual bool canBecomeMainWindow() const;
  // Hooks called when key or main status arrives or leaves.
  virtual void becomeKeyWindow();
  virtual void resignKeyWindow();
  virtual void becomeMainWindow() {}
  virtual void resignMainWindow() {}
  void makeKeyWindow();
  void makeKeyAndOrderFront();
  void makeMainWindow();

  bool isVisible() const;
  void orderFront();
  void orderBack();
  void orderOut();
  int level() const { return mLevel; }
  void setLevel(int level);

  NSWindow* parentWindow() const { return mParent; }
  const std::vector<NSWindow*>& childWindows() const { return mChildren; }
  void addChildWindow(NSWindow* child, NSWindowOrderingMode place);
  void removeChildWindow(NSWindow* child);

  NSWindowDelegate* delegate() const { return mDelegate; }
  void setDelegate(NSWindowDelegate* delegate) { mDelegate = delegate; }

  virtual NSSize minSize() const { return mMinSize; }
  virtual NSSize maxSize() const { return mMaxSize; }
  void setMinSize(NSSize size);
  void setMaxSize(NSSize size);
  // A user resize: the size is limited to the minimum and maximum sizes.
  void resizeByUser(NSSize contentSize);

  // The close box: asks the delegate, then closes.
  void performClose();
  virtual void close();
  bool isReleasedWhenClosed() const { return mReleasedWhenClosed; }
  void setReleasedWhenClosed(bool released) { mReleasedWhenClosed = released; }
  bool isClosed() const { return mClosed; }

  void miniaturize();
  void deminiaturize();
  bool isMiniaturized() const { return mMiniaturized; }

  // Mouse events go to the view under the pointer (a drag and its release to the
  // view that took the press); keys to the first responder. The window remembers the view
  // under the pointer from moves, presses and releases and sends mouseExited to it when
  // another view takes its place, when an exit event for the window arrives (held back until
  // the release while a drag goes on) and when the window hides or closes; the new view gets
  // mouseEntered.
  virtual void sendEvent(const NSEvent& event);
  // The view the pointer was last seen over, or null.
  NSView* mouseView() const { return mMouseView; }
  bool acceptsMouseMovedEvents() const { return mAcceptsMouseMoved; }
  void setAcceptsMouseMovedEvents(bool accepts) { mAcceptsMouseMoved = accepts; }

  const std::string& title() const { return mTitle; }
  void setTitle(std::string title);
  NSColor backgroundColor() const { return mBackground; }
  void setBackgroundColor(NSColor color);
  double backingScaleFactor() const { return mBackingScale; }
  void setBackingScaleFactor(double scale);

  NSPoint convertPointToScreen(NSPoint point) const;
  NSPoint convertPointFromScreen(NSPoint point) const;
  NSRect convertRectToScreen(const NSRect& rect) const;
  NSRect convertRectFromScreen(const NSRect& rect) const;

  // The backing store: an ARGB image of the drawn size (content and menu bar) times the
  // backing scale.
  cairo_surface_t* backingStore();
  // The backing store as it is, without making one (null when there is none).
  cairo_surface_t* currentBackingStore() const { return mBacking; }
  // Drops the backing store; the next display pass makes a new one and draws it whole.
  void discardBackingStore();
  void display();
  void displayIfNeeded();
  bool viewsNeedDisplay() const;

  // Stored properties.
  // The default button is retained: a dialog asks for it long after it was set, and its
  // button may have been taken out of the view tree meanwhile.
  NSObject* defaultButtonCell() const { return mDefaultButtonCell; }
  void setDefaultButtonCell(NSObject* cell);
  bool isDocumentEdited() const { return mDocumentEdited; }
  void setDocumentEdited(bool edited) { mDocumentEdited = edited; }
  const std::string& representedFilename() const { return mRepresentedFilename; }
  void setRepresentedFilename(std::string path) { mRepresentedFilename = std::move(path); }
  unsigned collectionBehavior() const { return mCollectionBehavior; }
  void setCollectionBehavior(unsigned behavior) { mCollectionBehavior = behavior; }
  bool hidesOnDeactivate() const { return mHidesOnDeactivate; }
  void setHidesOnDeactivate(bool hides) { mHidesOnDeactivate = hides; }
  bool hasShadow() const { return mHasShadow; }
  void setHasShadow(bool shadow) { mHasShadow = shadow; }
  bool isOpaque() const { return mOpaque; }
  void setOpaque(bool opaque) { mOpaque = opaque; }
  double alphaValue() const { return mAlpha; }
  void setAlphaValue(double alpha);
  bool isExcludedFromWindowsMenu() const { return mExcludedFromWindowsMenu; }
  void setExcludedFromWindowsMenu(bool excluded) { mExcludedFromWindowsMenu = excluded; }
  // A window that ignores the mouse is passed over when the window under the pointer
  // is looked for, so the pointer acts on what lies beneath it.
  bool ignoresMouseEvents() const { return mIgnoresMouseEvents; }
  void setIgnoresMouseEvents(bool ignores) { mIgnoresMouseEvents = ignores; }

 protected:
  void dealloc() override;

 private:
  friend class NSView;
  friend class NSApplication;
  void drawRegion(const NSRect& region);
  void drawMenuBar(cairo_t* cr);
  void trackMenuBar(const NSEvent& event);
  // Opens the menu of a shown title (by the keys: its first item lit) and walks the bar
  // as the arrows ask; a title without a menu sends its action.
  void openMenuBarItem(int index, bool byKeys);
  std::vector<NSMenuItem*> menuBarItems() const;
  void layoutContentView();
  void forgetView(NSView* view);
  bool changeFirstResponder(NSResponder* target);
  void selectKeyView(int step);
  // The focused control's ring is drawn over the window while it is key; marks the
  // control so the ring is drawn or taken away.
  void focusRingNeedsDisplay();
  void drawFocusRing(cairo_t* cr);
  void reopenIfClosed();
  // Makes view the one under the pointer: mouseExited to the previous one, mouseEntered to it.
  void setMouseView(NSView* view, const NSEvent& e);
  // The pointer is no longer over any view of the window; the view it left hears of it with the
  // exit event when there is one.
  void mouseLeftWindow(const NSEvent* exitEvent = nullptr);
  // Ends the press being tracked (the window's press count when it began) when a loop run
  // while handling it took a mouse release (NSApplication counts them; this is the count
  // before the handler ran).
  void endPressIfReleased(std::uint64_t press, std::uint64_t releasesBefore);

  NSWindowStyleMask mStyle;
  int mNumber;
  NSRect mFrame;
  NSView* mContentView = nullptr;          // retained
  NSResponder* mFirstResponder = nullptr;  // not retained; null means the window
  NSView* mTrackingView = nullptr;         // retained while a button is down
  std::uint64_t mPresses = 0;              // presses dispatched, the current one's number
  NSView* mMouseView = nullptr;            // retained: the view under the pointer
  bool mExitAfterRelease = false;          // the pointer left the window during a drag
  NSText* mFieldEditor = nullptr;          // retained
  int mLevel = NSNormalWindowLevel;
  NSWindow* mParent = nullptr;
  std::vector<NSWindow*> mChildren;
  NSWindowDelegate* mDelegate = nullptr;
  NSSize mMinSize{0, 0};
  NSSize mMaxSize{1e6, 1e6};
  bool mReleasedWhenClosed = true;
  bool mClosed = false;
  bool mMiniaturized = false;
  bool mAcceptsMouseMoved = false;
  std::string mTitle;
  NSColor mBackground = NSColor::windowBackgroundColor();
  double mBackingScale = 1.0;
  cairo_surface_t* mBacking = nullptr;
  NSObject* mDefaultButtonCell = nullptr;  // retained
  bool mDocumentEdited = false;
  std::string mRepresentedFilename;
  unsigned mCollectionBehavior = 0;
  bool mHidesOnDeactivate = false;
  bool mHasShadow = true;
  bool mOpaque = true;
  double mAlpha = 1;
  bool mExcludedFromWindowsMenu = false;
  bool mIgnoresMouseEvents = false;
  bool mAutorecalculatesKeyViewLoop = false;
  NSMenu* mMenuBar = nullptr;  // retained
  bool mMenuBarDirty = false;
  int mMenuBarLit = -1;
};

}  // namespace platform
