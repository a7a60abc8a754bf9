#pragma once

#include <string>

#include "platform/objects/Object.h"

namespace platform {

// A colour space by name. Every display here shows sRGB-like device RGB, so the display's
// space is device RGB.
class CGColorSpace : public NSObject {
 public:
  const std::string& name() const { return mName; }

 private:
  friend CGColorSpace* CGColorSpaceCreateDeviceRGB();
  CGColorSpace() = default;
  std::string mName;
};

// A new device-RGB space (one reference, the caller's).
CGColorSpace* CGColorSpaceCreateDeviceRGB();
// The colour space of the display of that number (one reference), or null for no such
// display.
CGColorSpace* CGDisplayCopyColorSpace(int screenNumber);

}  // namespace platform
