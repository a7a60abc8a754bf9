#include "graphics/TypedNumber.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace iplug {
namespace igraphics {

bool ParseTypedNumber(const char* text, double& value) {
  if (!text) return false;
  char* end = nullptr;
  const double typed = std::strtod(text, &end);
  if (end == text || !std::isfinite(typed)) return false;
  if (end[0] == ',' && std::isdigit(static_cast<unsigned char>(end[1]))) return false;
  value = typed;
  return true;
}

}  // namespace igraphics
}  // namespace iplug
