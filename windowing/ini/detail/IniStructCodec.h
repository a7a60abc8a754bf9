#pragma once

// The text form of a binary block stored in an ini value: two upper-case hexadecimal
// digits per byte, then the sum of the bytes modulo 256 in the same form.

#include <cstddef>
#include <string>
#include <string_view>

namespace swell {

std::string encodeIniStruct(const void* data, std::size_t size);

// Decodes `text` as a block of exactly `size` bytes. Only when the length, every digit
// and the checksum are right is the block copied to `out`; otherwise `out` is untouched
// and the result is false.
bool decodeIniStruct(std::string_view text, void* out, std::size_t size);

}  // namespace swell
