#include "windowing/ini/detail/IniStructCodec.h"

#include <cstring>
#include <limits>
#include <vector>

namespace swell {

namespace {

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the byte at text[at], text[at + 1]; -1 when either is not a hexadecimal digit.
int hexByteAt(std::string_view text, std::size_t at) {
  const int high = hexDigitValue(text[at]);
  const int low = hexDigitValue(text[at + 1]);
  return (high < 0 || low < 0) ? -1 : high * 16 + low;
}

}  // namespace

std::string encodeIniStruct(const void* data, std::size_t size) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::string text;
  text.reserve(2 * size + 2);
  unsigned sum = 0;
  for (std::size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
    sum += bytes[i];
  }
  text += kDigits[(sum >> 4) & 15];
  text += kDigits[sum & 15];
  return text;
}

bool decodeIniStruct(std::string_view text, void* out, std::size_t size) {
  // The length check comes first, so the scratch block is never larger than the text.
  if (size > (std::numeric_limits<std::size_t>::max() - 2) / 2) return false;
  if (text.size() != 2 * (size + 1)) return false;
  std::vector<unsigned char> block(size);
  unsigned sum = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const int byte = hexByteAt(text, 2 * i);
    if (byte < 0) return false;
    block[i] = static_cast<unsigned char>(byte);
    sum += static_cast<unsigned>(byte);
  }
  const int checksum = hexByteAt(text, 2 * size);
  if (checksum < 0 || static_cast<unsigned>(checksum) != (sum & 255u)) return false;
  if (size > 0) std::memcpy(out, block.data(), size);
  return true;
}

}  // namespace swell
