#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/objects/Object.h"

namespace platform {

// An immutable string: counted (a reference per owner, CFRelease drops one) and held
// as valid UTF-8. Text that is not valid UTF-8 is kept with each invalid byte as
// U+FFFD, so a string never carries bytes that a reader could misdecode.
class CFString : public NSObject {
 public:
  // A new string (the caller's reference) from UTF-8 text.
  static CFString* create(std::string_view utf8);
  const std::string& utf8() const { return mText; }
  std::size_t byteLength() const { return mText.size(); }
  // The length in UTF-16 units, as the platform's strings count.
  std::size_t length() const;
  // True when the text it was made from was valid UTF-8.
  bool wasValidUtf8() const { return mWasValid; }

 private:
  CFString(std::string text, bool wasValid) : mText(std::move(text)), mWasValid(wasValid) {}
  const std::string mText;
  const bool mWasValid;
};

using CFStringRef = const CFString*;

// Drops one reference of a counted object; null is ignored.
void CFRelease(const NSObject* object);
const NSObject* CFRetain(const NSObject* object);

}  // namespace platform
