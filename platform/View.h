#pragma once

#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Responder.h"

namespace platform {

class NSWindow;
class CGContext;
class CALayer;

// A rectangle of a window's content that draws itself and takes events. The frame is
// in the superview's coordinates; the bounds are the view's own, with y pointing down
// from the top when the view is flipped and up from the bottom when it is not. A view
// retains its subviews; later subviews are drawn over earlier ones.
class NSView : public NSResponder {
 public:
  explicit NSView(const NSRect& frame = {});

  NSRect frame() const { return mFrame; }
  // Moves and sizes the view; subclasses hook here (a size change reaches them all).
  virtual void setFrame(const NSRect& frame);
  void setFrameOrigin(NSPoint origin);
  void setFrameSize(NSSize size);
  NSRect bounds() const { return {mBoundsOrigin, mFrame.size}; }
  void setBoundsOrigin(NSPoint origin);

  virtual bool isFlipped() const { return false; }
  virtual bool isOpaque() const { return false; }

  bool isHidden() const { return mHidden; }
  void setHidden(bool hidden);
  bool isHiddenOrHasHiddenAncestor() const;
  // Called on the view and its shown descendants when it becomes hidden or shown.
  virtual void viewDidHide() {}
  virtual void viewDidUnhide() {}

  const std::vector<NSView*>& subviews() const { return mSubviews; }
  NSView* superview() const { return mSuperview; }
  NSWindow* window() const { return mWindow; }
  bool isDescendantOf(const NSView* view) const;

  void addSubview(NSView* view);
  void addSubview(NSView* view, NSWindowOrderingMode place, NSView* relativeTo);
  void removeFromSuperview();
  // Moves a subview to another place among its siblings without taking it out of the
  // tree: it stays in the window and keeps the keyboard focus. A null or unknown
  // relativeTo means the very end (above) or the very start (below).
  void moveSubview(NSView* subview, NSWindowOrderingMode place, NSView* relativeTo);
  virtual void didAddSubview(NSView* subview) {}
  virtual void willRemoveSubview(NSView* subview) {}
  virtual void viewDidMoveToWindow() {}

  virtual long tag() const { return -1; }

  // Keyboard navigation: whether Tab may give the view the focus (it takes it and shows),
  // and whether the view draws a ring around itself while it has the focus.
  virtual bool canBecomeKeyView() const;
  virtual bool showsFocusRing() const { return false; }
  // Whether a click into the view gives it the focus when it accepts it (a button takes
  // the focus from the keys only, so a click on it leaves a text being edited alone).
  virtual bool becomesFirstResponderOnClick() const { return true; }

  // The deepest shown view at a point given in the superview's coordinates.
  virtual NSView* hitTest(NSPoint pointInSuperview);
  virtual bool acceptsFirstMouse(const NSEvent* event) { return false; }

  // Conversions. A null view stands for the window's coordinates (y up, origin at the
  // bottom left of the content area).
  NSPoint convertPointFromView(NSPoint point, const NSView* from) const;
  NSPoint convertPointToView(NSPoint point, const NSView* to) const;
  NSRect convertRectFromView(const NSRect& rect, const NSView* from) const;
  NSRect convertRectToView(const NSRect& rect, const NSView* to) const;
  // The part of the bounds not cut off by ancestors, in the view's coordinates.
  NSRect visibleRect() const;

  // Dirty region: the union of what was marked since the last display pass.
  bool needsDisplay() const { return !mDirty.isEmpty(); }
  virtual void setNeedsDisplay(bool needs);
  virtual void setNeedsDisplayInRect(const NSRect& rect);
  NSRect dirtyRect() const { return mDirty; }
  // Draws the view's own content; the current context is set up in its coordinates.
  virtual void drawRect(const NSRect& dirtyRect) {}
  // Runs the display pass of the view's window now (all, or only what is dirty).
  void display();
  void displayIfNeeded();

  // Drawing outside a display pass: a context over the window's backing store, placed
  // and clipped as the display pass places the view. Null when the view has no window,
  // is hidden, shows nothing or is focused already. unlockFocus ends the drawing and
  // presents it.
  CGContext* lockFocusIfCanDraw();
  void unlockFocus();

  // Layer backing: a view that wants a layer gets one from makeBackingLayer() on first
  // use; the display pass composites the layer's contents over what the view drew.
  bool wantsLayer() const { return mWantsLayer; }
  void setWantsLayer(bool wants) { mWantsLayer = wants; }
  CALayer* layer();
  virtual CALayer* makeBackingLayer();
  // Whether an OpenGL surface of the view is made at the window's backing scale.
  bool wantsBestResolutionOpenGLSurface() const { return mBestResolutionGL; }
  void setWantsBestResolutionOpenGLSurface(bool wants) { mBestResolutionGL = wants; }

  const std::string& toolTip() const { return mToolTip; }
  void setToolTip(std::string tip) { mToolTip = std::move(tip); }

  // The affine map from the view's coordinates to its window's: x' = tx + x,
  // y' = ty + sy * y with sy = +1 or -1.
  struct WindowTransform {
    double tx = 0, ty = 0, sy = 1;
  };
  WindowTransform transformToWindow() const;

 protected:
  void dealloc() override;

 private:
  friend class NSWindow;
  void setWindowRecursive(NSWindow* window);
  void clearDirtyRecursive();
  void notifyHidden(bool hidden);
  void insertSubview(NSView* view, std::size_t index);

  NSRect mFrame;
  NSPoint mBoundsOrigin;
  bool mHidden = false;
  std::vector<NSView*> mSubviews;  // retained
  NSView* mSuperview = nullptr;
  NSWindow* mWindow = nullptr;
  NSRect mDirty;
  CGContext* mFocus = nullptr;  // owned while focused
  NSRect mFocusRegion;          // in window coordinates
  std::string mToolTip;
  bool mWantsLayer = false;
  bool mBestResolutionGL = false;
  CALayer* mLayer = nullptr;  // owned
};

}  // namespace platform
