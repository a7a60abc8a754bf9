#pragma once

#include "platform/core/Control.h"

namespace platform {

// A bar with a knob between a minimum and a maximum. The value always lies within the
// range (the minimum when the range is empty or reversed); values that are not finite
// numbers are refused. A press or drag on the bar moves the knob under the pointer and
// sends the action on every change while continuous, else once on release. A slider
// taller than wide runs bottom to top.
//
// An enabled slider takes the keyboard focus (by a click, Tab or the program), and the
// navigation keys move its knob, sending the action on each change: the arrows by a line
// (one unit, as a trackbar steps; a tenth of a range narrower than a unit), Page Up and Page
// Down by a page (a fifth of the range in whole units, at least a line), Home to the
// minimum and End to the maximum. Left always moves toward the minimum and Right toward the
// maximum; Up and Page Up move toward the minimum of a horizontal slider, as a trackbar's do,
// and toward the maximum of a vertical one, whose maximum is at the top.
class NSSlider : public NSControl {
 public:
  // The knob's size along the bar: the pointer maps onto the bar less half a knob at
  // each end.
  static constexpr double kKnobThickness = 20;

  using NSControl::NSControl;

  double minValue() const { return mMin; }
  void setMinValue(double value);
  double maxValue() const { return mMax; }
  void setMaxValue(double value);
  double doubleValue() const { return mValue; }
  void setDoubleValue(double value);
  int intValue() const;
  void setIntValue(int value) { setDoubleValue(value); }
  bool isContinuous() const { return mContinuous; }
  void setContinuous(bool continuous) { mContinuous = continuous; }
  int numberOfTickMarks() const { return mTickMarks; }
  void setNumberOfTickMarks(int count) { mTickMarks = count > 0 ? count : 0; }
  bool isVertical() const;

  // The value a pointer position (in the window's coordinates) stands for.
  double valueForWindowPoint(NSPoint p) const;

  void mouseDown(const NSEvent& e) override;
  void mouseDragged(const NSEvent& e) override;
  void mouseUp(const NSEvent& e) override;
  bool acceptsFirstResponder() const override { return isEnabled(); }
  bool moveUp() override;
  bool moveDown() override;
  bool moveLeft() override;
  bool moveRight() override;
  bool pageUp() override;
  bool pageDown() override;
  bool moveToBeginningOfDocument() override;
  bool moveToEndOfDocument() override;
  double lineStep() const;
  double pageStep() const;
  NSSize fittingSize() const override;
  void drawRect(const NSRect& dirtyRect) override;

 private:
  double clamped(double value) const;
  void trackTo(NSPoint windowPoint);
  // Moves the knob by a key: to a value, or by a signed distance without passing either
  // end; the action goes when the value changed.
  bool keyMoveTo(double value);
  bool keyMoveBy(double delta);
  // The sign of a step that Up takes.
  double upward() const { return isVertical() ? 1 : -1; }

  double mMin = 0;
  double mMax = 1;
  double mValue = 0;
  bool mContinuous = true;
  bool mTracking = false;
  bool mChangedWhileTracking = false;
  int mTickMarks = 0;
};

}  // namespace platform
