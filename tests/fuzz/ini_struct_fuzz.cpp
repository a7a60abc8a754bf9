// Decodes arbitrary text as a stored binary block. Input: one byte giving the block size,
// then the text. A failed decode must leave the caller's block untouched; a successful
// one must encode back to the same text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "windowing/ini/detail/IniStructCodec.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

std::string upperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t blockSize = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  constexpr unsigned char kUntouched = 0xA5;
  std::vector<unsigned char> block(blockSize, kUntouched);
  if (swell::decodeIniStruct(text, block.data(), blockSize)) {
    check(swell::encodeIniStruct(block.data(), blockSize) == upperCase(text));
  } else {
    for (unsigned char byte : block)
      check(byte == kUntouched);
  }

  // Any bytes survive a round trip at their own size and fail at any other.
  const std::string encoded = swell::encodeIniStruct(text.data(), text.size());
  std::vector<unsigned char> decoded(text.size() + 1);
  check(swell::decodeIniStruct(encoded, decoded.data(), text.size()));
  check(std::string_view(reinterpret_cast<const char*>(decoded.data()), text.size()) == text);
  check(!swell::decodeIniStruct(encoded, decoded.data(), text.size() + 1));
  return 0;
}
