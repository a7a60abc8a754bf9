#include "platform/objects/CFString.h"

#include "base/Utf8.h"

namespace platform {

CFString* CFString::create(std::string_view utf8) {
  const bool valid = base::isValidUtf8(utf8);
  return new CFString(valid ? std::string(utf8) : base::sanitizeUtf8(utf8), valid);
}

std::size_t CFString::length() const {
  return base::utf16Length(mText);
}

void CFRelease(const NSObject* object) {
  if (object) const_cast<NSObject*>(object)->release();
}

const NSObject* CFRetain(const NSObject* object) {
  if (object) const_cast<NSObject*>(object)->retain();
  return object;
}

}  // namespace platform
