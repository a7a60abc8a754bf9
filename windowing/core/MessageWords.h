#pragma once

#include <cstdint>

#include "windowing/Win32Types.h"

// Packing and unpacking the 16-bit words that messages carry in wParam and lParam. All
// arithmetic is unsigned so that negative values keep their 16-bit forms and nothing is
// shifted into a sign bit; the packed value never exceeds 32 bits.
namespace swell {

// The low 16 bits of a message parameter.
constexpr WORD loWord(std::uint64_t value) {
  return static_cast<WORD>(value & 0xFFFFu);
}
// The 16 bits above the low word.
constexpr WORD hiWord(std::uint64_t value) {
  return static_cast<WORD>((value >> 16) & 0xFFFFu);
}

// Two words in one 32-bit value: low in bits 0-15, high in bits 16-31. Each argument is
// cut to its low 16 bits.
constexpr std::uint32_t makeLong(std::int64_t low, std::int64_t high) {
  return (static_cast<std::uint32_t>(high) & 0xFFFFu) << 16 |
         (static_cast<std::uint32_t>(low) & 0xFFFFu);
}
// A wParam made of two words, as WM_COMMAND carries an id (low) and a notification code (high).
constexpr WPARAM makeWParam(std::int64_t low, std::int64_t high) {
  return WPARAM{makeLong(low, high)};
}
// An lParam made of two words; the result is never negative.
constexpr LPARAM makeLParam(std::int64_t low, std::int64_t high) {
  return LPARAM{makeLong(low, high)};
}

// A point as a message parameter: x in the low word, y in the high word.
constexpr LPARAM packPoint(LONG x, LONG y) {
  return makeLParam(x, y);
}
// The signed coordinates of a packed point.
constexpr short pointX(std::uint64_t packed) {
  return static_cast<short>(loWord(packed));
}
constexpr short pointY(std::uint64_t packed) {
  return static_cast<short>(hiWord(packed));
}

}  // namespace swell
