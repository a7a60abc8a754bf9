#include "controls/detail/FloatFormat.h"

#include <cctype>
#include <cstring>

namespace iplug {
namespace igraphics {

namespace {

// Widths and precisions beyond this many digits only make texts the readout cannot show.
constexpr int kMaxFormatDigits = 2;

// Skips up to kMaxFormatDigits digits; false when there are more.
bool SkipDigits(const char*& p) {
  int n = 0;
  while (std::isdigit(static_cast<unsigned char>(*p))) {
    ++p;
    if (++n > kMaxFormatDigits) return false;
  }
  return true;
}

}  // namespace

bool IsSingleFloatFormat(const char* fmt) {
  if (!fmt) return false;
  int conversions = 0;
  for (const char* p = fmt; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0'", *p))
      ++p;
    if (!SkipDigits(p)) return false;
    if (*p == '.') {
      ++p;
      if (!SkipDigits(p)) return false;
    }
    if (*p == 'l') ++p;  // "%lf" is a double too
    if (!*p || !std::strchr("fFeEgGaA", *p)) return false;
    ++conversions;
  }
  return conversions == 1;
}

}  // namespace igraphics
}  // namespace iplug
