#include "platform/CFString.h"

#include "platform/Utf16.h"

namespace platform {

CFString* CFString::create(std::string_view utf8) {
  std::string text(utf8);
  // The UTF-16 round trip is the codec's one answer for bad input: U+FFFD per byte.
  std::string clean = utf16ToUtf8(utf8ToUtf16(text));
  bool valid = clean == text;
  return new CFString(valid ? std::move(text) : std::move(clean), valid);
}

std::size_t CFString::length() const {
  return utf16Length(mText);
}

void CFRelease(const NSObject* object) {
  if (object) const_cast<NSObject*>(object)->release();
}

const NSObject* CFRetain(const NSObject* object) {
  if (object) const_cast<NSObject*>(object)->retain();
  return object;
}

}  // namespace platform
