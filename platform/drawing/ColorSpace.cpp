#include "platform/drawing/ColorSpace.h"

#include "platform/objects/Screen.h"

namespace platform {

CGColorSpace* CGColorSpaceCreateDeviceRGB() {
  auto* space = new CGColorSpace;
  space->mName = "kCGColorSpaceDeviceRGB";
  return space;
}

CGColorSpace* CGDisplayCopyColorSpace(int screenNumber) {
  for (const NSScreen& screen : NSScreen::screens())
    if (screen.number == screenNumber) return CGColorSpaceCreateDeviceRGB();
  return nullptr;
}

}  // namespace platform
