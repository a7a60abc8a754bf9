#pragma once

#include <optional>
#include <string>

#include "platform/core/Cell.h"
#include "platform/objects/Color.h"

namespace platform {

enum NSButtonType {
  NSButtonTypeMomentaryLight = 0,
  NSButtonTypePushOnPushOff = 1,
  NSButtonTypeToggle = 2,
  NSButtonTypeSwitch = 3,
  NSButtonTypeRadio = 4,
  NSButtonTypeMomentaryPushIn = 7,
};

// Where a button's image goes beside its title. NSImageOnly shows the image alone; the
// other positions that name no side (none, below, above, overlaps) centre the image under
// the title, so an image given to a button is always shown.
enum NSCellImagePosition {
  NSNoImage = 0,
  NSImageOnly = 1,
  NSImageLeft = 2,
  NSImageRight = 3,
  NSImageBelow = 4,
  NSImageAbove = 5,
  NSImageOverlaps = 6,
};

// What a push button, check box (switch) or radio button shows and how it draws it: the
// button's kind, state, image and looks. The title, font, alignment, enabled and
// highlighted flags are the button's, handed to the cell before it draws. Drawing goes
// through overridable parts, each given a frame in the control view's coordinates:
// drawBezel (the face of a bordered push button), drawImage, drawTitle; a subclass
// changes one part by overriding it.
class NSButtonCell : public NSCell {
 public:
  using NSCell::NSCell;

  NSButtonType buttonType() const { return mType; }
  void setButtonType(NSButtonType type) { mType = type; }
  // Positive values mean on; negative mean mixed, which becomes on unless mixed is
  // allowed.
  void setState(int state) override;
  bool allowsMixedState() const { return mAllowsMixed; }
  // Forbidding mixed turns a mixed cell on.
  void setAllowsMixedState(bool allows);
  // The state a click moves to, by the button type:
  // - push buttons keep their state; push-on-push-off and toggle buttons flip it;
  // - switches go off -> on -> off, or on -> off -> mixed -> on when mixed is allowed;
  // - radio buttons turn on.
  int nextState() const;

  // Any object; an NSImage is drawn, others are kept for whoever set them.
  NSObject* image() const { return mImage; }
  void setImage(NSObject* image);  // retained
  NSCellImagePosition imagePosition() const { return mImagePosition; }
  void setImagePosition(NSCellImagePosition position) { mImagePosition = position; }
  std::optional<NSColor> titleColor() const { return mTitleColor; }
  void setTitleColor(std::optional<NSColor> color) { mTitleColor = color; }
  int bezelStyle() const { return mBezelStyle; }
  void setBezelStyle(int style) { mBezelStyle = style; }
  bool isBordered() const { return mBordered; }
  void setBordered(bool bordered) { mBordered = bordered; }
  // A transparent cell draws nothing (its button still takes clicks).
  virtual bool isTransparent() const { return mTransparent; }
  void setTransparent(bool transparent) { mTransparent = transparent; }
  // Whether drawing covers every pixel of the frame: a bordered push face does.
  virtual bool isOpaque() const;

  NSSize cellSize() const override;
  // Nothing when transparent; else the bezel of a bordered push button, then the
  // interior.
  void drawWithFrame(const NSRect& frame, NSView* view) override;
  // The mark of a switch or radio button, or the image of a push button, and the title.
  void drawInteriorWithFrame(const NSRect& frame, NSView* view) override;
  // Draws one line of title in the frame and returns the rectangle it took (empty when
  // nothing was drawn).
  virtual NSRect drawTitle(const std::string& title, const NSRect& frame, NSView* view);
  // Draws the image upright, scaled down to fit the frame and centred in it.
  virtual void drawImage(NSObject* image, const NSRect& frame, NSView* view);
  // The face and outline of a push button.
  virtual void drawBezel(const NSRect& frame, NSView* view);
  // The colour of the title and the marks: the title colour, grey when disabled.
  NSColor ink() const;

 protected:
  void dealloc() override;
  // What drawWithFrame draws when the cell is not transparent.
  void drawBezelAndInterior(const NSRect& frame, NSView* view);

 private:
  bool isMarked() const { return mType == NSButtonTypeSwitch || mType == NSButtonTypeRadio; }
  void drawMark(const NSRect& box, NSView* view);

  NSButtonType mType = NSButtonTypeMomentaryPushIn;
  bool mAllowsMixed = false;
  NSObject* mImage = nullptr;  // retained
  NSCellImagePosition mImagePosition = NSNoImage;
  std::optional<NSColor> mTitleColor;
  int mBezelStyle = 1;
  bool mBordered = true;
  bool mTransparent = false;
};

}  // namespace platform
