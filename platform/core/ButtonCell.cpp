#include "platform/core/ButtonCell.h"

#include <algorithm>

#include "platform/core/ControlDrawing.h"
#include "platform/core/View.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/drawing/Image.h"

namespace platform {

namespace {
// Room the bezel of a push button takes around its title, and the box of a check box or
// radio button beside its title.
constexpr double kPushPaddingX = 14;
constexpr double kPushMinHeight = 21;
constexpr double kPushTitleMarginY = 4;
constexpr double kMarkSize = 18;
// The box of a check box and the smaller one of a radio button, their distance from the
// left edge and from the title, and the inset of the mark inside them.
constexpr double kSwitchBoxSide = 14;
constexpr double kRadioBoxSide = 12;
constexpr double kBoxMargin = 2;
constexpr double kMarkInset = 3;
constexpr double kMixedBarHeight = 2;
// Where the title starts from a left edge, as the plain control text is drawn.
constexpr double kTitleInset = 3;
// Room between a push button's edge and its image, and between the image and the title.
constexpr double kImageInset = 2;
constexpr double kImageGap = 2;

const NSColor kDisabledInk = NSColor::colorWithRGBA(0.55, 0.55, 0.55, 1);
const NSColor kBezelEdge = NSColor::colorWithRGBA(0.55, 0.55, 0.55, 1);

// The image's size scaled down (never up) to fit the room, keeping its proportions.
NSSize fittedSize(NSSize image, NSSize room) {
  double scale = std::min({1.0, room.width / image.width, room.height / image.height});
  if (!(scale > 0)) return {0, 0};
  return {image.width * scale, image.height * scale};
}
}  // namespace

void NSButtonCell::setState(int state) {
  int normal = state == 0     ? NSControlStateValueOff
               : state > 0    ? NSControlStateValueOn
               : mAllowsMixed ? NSControlStateValueMixed
                              : NSControlStateValueOn;
  NSCell::setState(normal);
}

void NSButtonCell::setAllowsMixedState(bool allows) {
  mAllowsMixed = allows;
  if (!allows && state() == NSControlStateValueMixed) setState(NSControlStateValueOn);
}

int NSButtonCell::nextState() const {
  const int current = state();
  switch (mType) {
    case NSButtonTypeSwitch:
      if (!mAllowsMixed)
        return current == NSControlStateValueOff ? NSControlStateValueOn : NSControlStateValueOff;
      if (current == NSControlStateValueOn) return NSControlStateValueOff;
      if (current == NSControlStateValueOff) return NSControlStateValueMixed;
      return NSControlStateValueOn;
    case NSButtonTypeRadio:
      return NSControlStateValueOn;
    case NSButtonTypePushOnPushOff:
    case NSButtonTypeToggle:
      return current == NSControlStateValueOff ? NSControlStateValueOn : NSControlStateValueOff;
    default:
      return current;
  }
}

void NSButtonCell::setImage(NSObject* image) {
  if (image == mImage) return;
  if (image) image->retain();
  if (mImage) mImage->release();
  mImage = image;
}

bool NSButtonCell::isOpaque() const {
  return !isTransparent() && mBordered && !isMarked();
}

NSSize NSButtonCell::cellSize() const {
  NSSize text = font().sizeOfString(stringValue());
  if (isMarked()) return {kMarkSize + text.width, std::max(kMarkSize, text.height)};
  return {text.width + 2 * kPushPaddingX,
          std::max(kPushMinHeight, text.height + kPushTitleMarginY)};
}

NSColor NSButtonCell::ink() const {
  return isEnabled() ? mTitleColor.value_or(NSColor::textColor()) : kDisabledInk;
}

void NSButtonCell::drawWithFrame(const NSRect& frame, NSView* view) {
  if (!isTransparent()) drawBezelAndInterior(frame, view);
}

void NSButtonCell::drawBezelAndInterior(const NSRect& frame, NSView* view) {
  if (mBordered && !isMarked()) drawBezel(frame, view);
  drawInteriorWithFrame(frame, view);
}

void NSButtonCell::drawBezel(const NSRect& frame, NSView* view) {
  drawTopDown(frame, view, [&](CGContext* cg, const NSRect& r) {
    NSColor face = isHighlighted() || state() == NSControlStateValueOn
                       ? NSColor::selectedTextBackgroundColor()
                       : NSColor::controlColor();
    controldrawing::fillRect(cg, r, face);
    controldrawing::strokeRect(cg, r, kBezelEdge);
  });
}

void NSButtonCell::drawMark(const NSRect& box, NSView* view) {
  drawTopDown(box, view, [&](CGContext* cg, const NSRect& r) {
    NSColor color = ink();
    controldrawing::fillRect(cg, r, NSColor::controlColor());
    controldrawing::strokeRect(cg, r, color);
    if (state() == NSControlStateValueOff) return;
    // A filled square when on, a bar across the middle when mixed.
    NSRect mark{{r.origin.x + kMarkInset, r.origin.y + kMarkInset},
                {r.size.width - 2 * kMarkInset, r.size.height - 2 * kMarkInset}};
    if (state() == NSControlStateValueMixed) {
      mark.origin.y = r.origin.y + r.size.height / 2 - kMixedBarHeight / 2;
      mark.size.height = kMixedBarHeight;
    }
    controldrawing::fillRect(cg, mark, color);
  });
}

void NSButtonCell::drawInteriorWithFrame(const NSRect& frame, NSView* view) {
  if (isMarked()) {
    // Every rectangle here is centred vertically or spans the frame's height, so it is
    // the same whichever way the view's y axis points.
    double side = mType == NSButtonTypeRadio ? kRadioBoxSide : kSwitchBoxSide;
    NSRect box{{frame.origin.x + kBoxMargin, frame.origin.y + (frame.size.height - side) / 2},
               {side, side}};
    drawMark(box, view);
    NSRect title{{box.origin.x + side + kBoxMargin, frame.origin.y},
                 {frame.size.width - side - 2 * kBoxMargin, frame.size.height}};
    drawTitle(stringValue(), title, view);
    return;
  }
  NSRect titleFrame = frame;
  auto* picture = dynamic_cast<NSImage*>(mImage);
  if (picture && picture->size().width > 0 && picture->size().height > 0) {
    NSRect room{{frame.origin.x + kImageInset, frame.origin.y + kImageInset},
                {std::max(0.0, frame.size.width - 2 * kImageInset),
                 std::max(0.0, frame.size.height - 2 * kImageInset)}};
    NSRect slot = room;
    if (mImagePosition == NSImageLeft || mImagePosition == NSImageRight) {
      slot.size.width = fittedSize(picture->size(), room.size).width;
      if (mImagePosition == NSImageRight) slot.origin.x = room.maxX() - slot.size.width;
      double taken = slot.size.width + kImageInset + kImageGap;
      titleFrame.size.width = std::max(0.0, frame.size.width - taken);
      if (mImagePosition == NSImageLeft) titleFrame.origin.x += taken;
    }
    drawImage(picture, slot, view);
  }
  if (mImagePosition != NSImageOnly) drawTitle(stringValue(), titleFrame, view);
}

NSRect NSButtonCell::drawTitle(const std::string& title, const NSRect& frame, NSView* view) {
  if (title.empty() || frame.isEmpty()) return {};
  NSTextAlignment alignment = isMarked() || this->alignment() == NSTextAlignmentLeft
                                  ? NSTextAlignmentLeft
                                  : NSTextAlignmentCenter;
  bool drawn = false;
  drawTopDown(frame, view, [&](CGContext* cg, const NSRect& r) {
    controldrawing::drawText(cg, title, r, font(), ink(), alignment);
    drawn = true;
  });
  if (!drawn) return {};
  // The line is centred vertically, so its place is the same in either y direction.
  NSSize size = font().sizeOfString(title);
  double x = alignment == NSTextAlignmentLeft
                 ? frame.origin.x + kTitleInset
                 : frame.origin.x + (frame.size.width - size.width) / 2;
  NSRect line{{x, frame.origin.y + (frame.size.height - size.height) / 2}, size};
  return NSIntersectionRect(line, frame);
}

void NSButtonCell::drawImage(NSObject* image, const NSRect& frame, NSView* view) {
  auto* picture = dynamic_cast<NSImage*>(image);
  if (!picture || !picture->surface()) return;
  NSSize natural = picture->size();
  if (!(natural.width > 0) || !(natural.height > 0)) return;
  NSSize size = fittedSize(natural, frame.size);
  if (!(size.width > 0) || !(size.height > 0)) return;
  drawTopDown(frame, view, [&](CGContext* cg, const NSRect& r) {
    NSRect place{{r.origin.x + (r.size.width - size.width) / 2,
                  r.origin.y + (r.size.height - size.height) / 2},
                 size};
    // First row at the top: upright in these top-down coordinates.
    cg->drawSurface(place, picture->surface(), true);
  });
}

void NSButtonCell::dealloc() {
  setImage(nullptr);
  NSCell::dealloc();
}

}  // namespace platform
