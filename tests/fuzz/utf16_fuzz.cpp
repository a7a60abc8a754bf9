// Feeds arbitrary bytes (clipboard text, key text, file names) to the UTF-8 codec, and arbitrary
// units to its UTF-16 side. Every answer must be well-formed, well-formed input must come back
// as it was, the counts must agree, and no cut may fall inside a character.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/Utf8.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Where the decoder starts each character, and the end; every start is the end of the last.
  std::vector<std::size_t> starts;
  std::u16string decoded;
  for (std::size_t i = 0; i < text.size();) {
    starts.push_back(i);
    const base::Utf8Char c = base::decodeUtf8(text, i);
    check(c.length >= 1 && c.length <= 4 && i + c.length <= text.size());
    check(c.wellFormed ? base::isScalarValue(c.codePoint)
                       : c.length == 1 && c.codePoint == base::kReplacementCharacter);
    base::appendUtf16(c.codePoint, decoded);
    i += c.length;
  }
  starts.push_back(text.size());

  const std::u16string units = base::utf8ToUtf16(text);
  check(units == decoded);
  check(units.size() <= text.size() && units.size() == base::utf16Length(text));
  const std::string back = base::utf16ToUtf8(units);
  const std::string clean = base::sanitizeUtf8(text);
  check(back == clean && base::isValidUtf8(clean));
  check(base::isValidUtf8(text) == (clean == text));

  // Each cut is the last character start at or before it.
  std::size_t next = 0;
  for (std::size_t max = 0; max <= text.size(); ++max) {
    while (next + 1 < starts.size() && starts[next + 1] <= max)
      ++next;
    check(base::utf8PrefixLength(text, max) == starts[next]);
  }
  char buffer[8];
  const std::size_t copied = base::copyUtf8(text, buffer, sizeof buffer);
  check(copied == base::utf8PrefixLength(text, sizeof buffer - 1) && buffer[copied] == '\0');

  // The same bytes as UTF-16 units: only a lone surrogate becomes U+FFFD.
  std::u16string raw(size / 2, u'\0');
  for (std::size_t i = 0; i + 1 < size; i += 2)
    raw[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  const std::string fromRaw = base::utf16ToUtf8(raw);
  check(base::isValidUtf8(fromRaw));
  const std::u16string again = base::utf8ToUtf16(fromRaw);
  check(again.size() == raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const bool surrogate = base::isHighSurrogate(raw[i]) || base::isLowSurrogate(raw[i]);
    check(again[i] == raw[i] || (surrogate && again[i] == base::kReplacementCharacter));
  }
  return 0;
}
