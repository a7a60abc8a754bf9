#include "platform/core/Slider.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/Log.h"
#include "platform/core/ControlDrawing.h"
#include "platform/display/Event.h"

namespace platform {

namespace {
constexpr double kBarThickness = 21;
constexpr double kDefaultLength = 100;
}  // namespace

double NSSlider::clamped(double value) const {
  if (!(mMax > mMin)) return mMin;
  return std::clamp(value, mMin, mMax);
}

void NSSlider::setMinValue(double value) {
  if (!std::isfinite(value)) {
    base::warn("platform", "NSSlider: minimum %g refused", value);
    return;
  }
  mMin = value;
  setDoubleValue(mValue);
}

void NSSlider::setMaxValue(double value) {
  if (!std::isfinite(value)) {
    base::warn("platform", "NSSlider: maximum %g refused", value);
    return;
  }
  mMax = value;
  setDoubleValue(mValue);
}

void NSSlider::setDoubleValue(double value) {
  if (!std::isfinite(value)) {
    base::warn("platform", "NSSlider: value %g refused", value);
    return;
  }
  double v = clamped(value);
  if (v == mValue) return;
  mValue = v;
  setNeedsDisplay(true);
}

int NSSlider::intValue() const {
  // The value is finite and clamped, but the range itself may exceed int.
  return static_cast<int>(std::clamp(std::trunc(mValue), double{INT_MIN}, double{INT_MAX}));
}

bool NSSlider::isVertical() const {
  return frame().size.height > frame().size.width;
}

double NSSlider::valueForWindowPoint(NSPoint p) const {
  NSPoint local = convertPointFromView(p, nullptr);
  NSRect b = bounds();
  bool vertical = isVertical();
  double length = (vertical ? b.size.height : b.size.width) - kKnobThickness;
  double along = vertical ? local.y - b.origin.y : local.x - b.origin.x;
  // Flipped views count y downwards; the bar still runs bottom to top.
  if (vertical && isFlipped()) along = b.size.height - along;
  double fraction = length > 0 ? (along - kKnobThickness / 2) / length : 0;
  if (!std::isfinite(fraction)) fraction = 0;
  fraction = std::clamp(fraction, 0.0, 1.0);
  // In halves: the width of a range near the largest doubles is more than a double holds.
  return clamped(mMin + fraction * (mMax / 2 - mMin / 2) * 2);
}

void NSSlider::trackTo(NSPoint windowPoint) {
  double before = mValue;
  setDoubleValue(valueForWindowPoint(windowPoint));
  if (mValue == before) return;
  mChangedWhileTracking = true;
  if (mContinuous) sendAction();
}

void NSSlider::mouseDown(const NSEvent& e) {
  if (!isEnabled()) return;
  Ref<NSSlider> keep(this);
  mTracking = true;
  mChangedWhileTracking = false;
  setHighlighted(true);
  trackTo(e.locationInWindow);
}

void NSSlider::mouseDragged(const NSEvent& e) {
  if (!mTracking) return;
  Ref<NSSlider> keep(this);
  trackTo(e.locationInWindow);
}

void NSSlider::mouseUp(const NSEvent& e) {
  if (!mTracking) return;
  Ref<NSSlider> keep(this);
  trackTo(e.locationInWindow);
  mTracking = false;
  setHighlighted(false);
  if (!mContinuous && mChangedWhileTracking) sendAction();
}

double NSSlider::lineStep() const {
  // In halves, as the range may be wider than a double holds.
  const double halfRange = mMax / 2 - mMin / 2;
  if (!(halfRange > 0)) return 0;
  return halfRange >= 0.5 ? 1 : halfRange / 5;
}

double NSSlider::pageStep() const {
  const double halfRange = mMax / 2 - mMin / 2;
  if (!(halfRange > 0)) return 0;
  const double fifth = halfRange * 0.4;
  return std::max(lineStep(), halfRange >= 0.5 ? std::floor(fifth) : fifth);
}

bool NSSlider::keyMoveTo(double value) {
  Ref<NSSlider> keep(this);
  const double before = mValue;
  setDoubleValue(clamped(value));
  if (mValue != before) sendAction();
  return true;
}

bool NSSlider::keyMoveBy(double delta) {
  // Against the end the step would pass, so that no sum leaves the doubles.
  if (delta > 0) return keyMoveTo(mMax - mValue <= delta ? mMax : mValue + delta);
  return keyMoveTo(mValue - mMin <= -delta ? mMin : mValue + delta);
}

bool NSSlider::moveUp() {
  return keyMoveBy(upward() * lineStep());
}

bool NSSlider::moveDown() {
  return keyMoveBy(-upward() * lineStep());
}

bool NSSlider::moveLeft() {
  return keyMoveBy(-lineStep());
}

bool NSSlider::moveRight() {
  return keyMoveBy(lineStep());
}

bool NSSlider::pageUp() {
  return keyMoveBy(upward() * pageStep());
}

bool NSSlider::pageDown() {
  return keyMoveBy(-upward() * pageStep());
}

bool NSSlider::moveToBeginningOfDocument() {
  return keyMoveTo(mMin);
}

bool NSSlider::moveToEndOfDocument() {
  return keyMoveTo(mMax);
}

NSSize NSSlider::fittingSize() const {
  NSSize size = frame().size;
  if (isVertical()) return {kBarThickness, size.height > 0 ? size.height : kDefaultLength};
  return {size.width > 0 ? size.width : kDefaultLength, kBarThickness};
}

void NSSlider::drawRect(const NSRect&) {
  controldrawing::topDown(this, [&](CGContext* cg) {
    NSRect b = bounds();
    bool vertical = isVertical();
    double fraction = mMax > mMin ? (mValue / 2 - mMin / 2) / (mMax / 2 - mMin / 2) : 0;
    NSColor ink = isEnabled() ? NSColor::textColor() : NSColor::colorWithRGBA(0.55, 0.55, 0.55, 1);
    NSRect bar = vertical
                     ? NSRect{{b.origin.x + b.size.width / 2 - 2, b.origin.y}, {4, b.size.height}}
                     : NSRect{{b.origin.x, b.origin.y + b.size.height / 2 - 2}, {b.size.width, 4}};
    controldrawing::fillRect(cg, bar, NSColor::colorWithRGBA(0.75, 0.75, 0.75, 1));
    double travel = (vertical ? b.size.height : b.size.width) - kKnobThickness;
    double along = std::max(0.0, travel) * fraction;
    // Top down, a vertical bar's minimum is at the bottom.
    NSRect knob = vertical
                      ? NSRect{{b.origin.x, b.origin.y + std::max(0.0, travel) - along},
                               {b.size.width, kKnobThickness}}
                      : NSRect{{b.origin.x + along, b.origin.y}, {kKnobThickness, b.size.height}};
    controldrawing::fillRect(cg, knob, NSColor::controlColor());
    controldrawing::strokeRect(cg, knob, ink);
  });
}

}  // namespace platform
