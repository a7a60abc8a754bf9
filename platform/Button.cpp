#include "platform/Button.h"

namespace platform {

void NSButton::setImage(NSObject* image) {
  if (image == mImage) return;
  if (image) image->retain();
  if (mImage) mImage->release();
  mImage = image;
  setNeedsDisplay(true);
}

void NSButton::dealloc() {
  setImage(nullptr);
  NSControl::dealloc();
}

}  // namespace platform
