#pragma once

#include "platform/core/View.h"

namespace platform {

enum NSProgressIndicatorStyle {
  NSProgressIndicatorStyleBar = 0,
  NSProgressIndicatorStyleSpinning = 1,
};

// A bar that fills from the left as its value goes from the minimum to the maximum;
// an indeterminate one shows no fill. Values that are not finite are refused.
class NSProgressIndicator : public NSView {
 public:
  using NSView::NSView;

  double minValue() const { return mMin; }
  void setMinValue(double value);
  double maxValue() const { return mMax; }
  void setMaxValue(double value);
  double doubleValue() const { return mValue; }
  void setDoubleValue(double value);
  void incrementBy(double delta) { setDoubleValue(mValue + delta); }
  bool isIndeterminate() const { return mIndeterminate; }
  void setIndeterminate(bool indeterminate);
  NSProgressIndicatorStyle style() const { return mStyle; }
  void setStyle(NSProgressIndicatorStyle style) { mStyle = style; }
  bool isAnimating() const { return mAnimating; }
  void startAnimation() { mAnimating = true; }
  void stopAnimation() { mAnimating = false; }

  // The filled part of the bar, 0 to 1: the value's place in the range, limited to it.
  double fraction() const;

  void drawRect(const NSRect& dirtyRect) override;

 private:
  double mMin = 0;
  double mMax = 100;
  double mValue = 0;
  bool mIndeterminate = true;
  bool mAnimating = false;
  NSProgressIndicatorStyle mStyle = NSProgressIndicatorStyleBar;
};

}  // namespace platform
