#pragma once

#include <cstddef>

namespace swell {

// The longest prefix of the first `length` bytes of `text` that is at most
// `limit` bytes and does not end inside a UTF-8 sequence. Texts copied into a
// caller's buffer are cut there so the buffer never holds half a character.
std::size_t utf8BoundedPrefixLength(const char* text, std::size_t length, std::size_t limit);

// Copies at most `size - 1` bytes of `text` into `buffer`, cut on a character
// boundary, and terminates it; returns the bytes copied. Nothing is written
// when `size` is 0.
std::size_t copyTextToBuffer(const char* text, std::size_t length, char* buffer, std::size_t size);

}  // namespace swell
