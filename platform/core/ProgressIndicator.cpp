#include "platform/core/ProgressIndicator.h"

#include <algorithm>
#include <cmath>

#include "base/Log.h"
#include "platform/core/ControlDrawing.h"

namespace platform {

namespace {

bool refuseNonFinite(double value, const char* what) {
  if (std::isfinite(value)) return false;
  base::warn("platform", "NSProgressIndicator: %s %g refused", what, value);
  return true;
}

}  // namespace

void NSProgressIndicator::setMinValue(double value) {
  if (refuseNonFinite(value, "minimum") || value == mMin) return;
  mMin = value;
  setNeedsDisplay(true);
}

void NSProgressIndicator::setMaxValue(double value) {
  if (refuseNonFinite(value, "maximum") || value == mMax) return;
  mMax = value;
  setNeedsDisplay(true);
}

void NSProgressIndicator::setDoubleValue(double value) {
  if (refuseNonFinite(value, "value") || value == mValue) return;
  mValue = value;
  setNeedsDisplay(true);
}

void NSProgressIndicator::setIndeterminate(bool indeterminate) {
  if (indeterminate == mIndeterminate) return;
  mIndeterminate = indeterminate;
  setNeedsDisplay(true);
}

double NSProgressIndicator::fraction() const {
  if (mIndeterminate || !(mMax > mMin)) return 0;
  // In halves: the width of a range near the largest doubles is more than a double holds.
  return std::clamp((mValue / 2 - mMin / 2) / (mMax / 2 - mMin / 2), 0.0, 1.0);
}

void NSProgressIndicator::drawRect(const NSRect&) {
  controldrawing::topDown(this, [&](CGContext* cg) {
    const NSRect b = bounds();
    const NSRect track = NSMakeRect(0.5, 0.5, b.size.width - 1, b.size.height - 1);
    controldrawing::fillRect(cg, track, NSColor::colorWithRGBA(0.9, 0.9, 0.9, 1));
    const double filled = (b.size.width - 2) * fraction();
    if (filled > 0)
      controldrawing::fillRect(cg, NSMakeRect(1, 1, filled, b.size.height - 2),
                               NSColor::colorWithRGBA(0.2, 0.45, 0.85, 1));
    controldrawing::strokeRect(cg, track, NSColor::colorWithRGBA(0.6, 0.6, 0.6, 1));
  });
}

}  // namespace platform
