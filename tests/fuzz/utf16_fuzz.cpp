// Converts arbitrary bytes (clipboard text, key text) to UTF-16 and back. Every input must give
// well-formed UTF-8 of one replacement per bad byte, and well-formed input must come back as it
// was; arbitrary UTF-16 units must also convert to well-formed UTF-8.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "controls/Utf16.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// Decodes the whole text; false at the first ill-formed sequence.
bool WellFormed(const std::string& s) {
  const char* p = s.c_str();
  const char* end = p + s.size();
  while (p < end) {
    char32_t cp = 0;
    const int n = iplug::igraphics::DecodeUtf8(p, cp);
    if (n == 0 || cp == 0) return false;
    p += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace iplug::igraphics;
  // The control sees C strings: the text ends at the first NUL.
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();

  const std::u16string units = Utf8ToUtf16(text.c_str());
  check(units.size() <= text.size());
  const std::string back = Utf16ToUtf8(units);
  check(WellFormed(back));
  if (WellFormed(text)) check(back == text);

  std::u16string raw(size / 2, u'\0');
  for (std::size_t i = 0; i + 1 < size; i += 2)
    raw[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  check(WellFormed(Utf16ToUtf8(raw)));
  return 0;
}
