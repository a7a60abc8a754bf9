#pragma once

#include <cstddef>

namespace swell {

// Copies UTF-8 text into a caller's buffer of the given size: at most size - 1 bytes,
// never ending inside a multi-byte sequence, always terminated when size >= 1.
// Returns the number of bytes copied.
std::size_t copyUtf8(char* dest, int size, const char* src);

// The longest prefix of at most maxBytes bytes that does not split a sequence.
std::size_t utf8PrefixLength(const char* text, std::size_t length, std::size_t maxBytes);

}  // namespace swell
