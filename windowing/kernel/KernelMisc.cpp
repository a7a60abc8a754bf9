#include <sys/random.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

#include "base/Log.h"
#include "windowing/kernel/Kernel.h"

int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  // The product of two ints always fits in 64 bits, so the quotient is exact
  // (truncated toward zero) where a double would round large products.
  std::int64_t scaled = static_cast<std::int64_t>(a) * b / c;
  // A result the int cannot hold is reported as -1 rather than wrapped.
  if (scaled < INT_MIN || scaled > INT_MAX) return -1;
  return static_cast<int>(scaled);
}

unsigned int _controlfp(unsigned int value, unsigned int mask) {
  return 0;
}

bool SWELL_GenerateGUID(void* out16) {
  std::uint8_t bytes[16];
  std::size_t have = 0;
  while (have < sizeof(bytes)) {
    ssize_t n = getrandom(bytes + have, sizeof(bytes) - have, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      base::warn("swell-cocoa", "SWELL_GenerateGUID: no random bytes (errno %d)", errno);
      return false;
    }
    have += static_cast<std::size_t>(n);
  }
  // A random (version 4, RFC 4122 variant) UUID.
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
  if (out16) std::memcpy(out16, bytes, sizeof(bytes));
  return true;
}
