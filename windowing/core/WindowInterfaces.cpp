#include "windowing/core/WindowInterfaces.h"

#include "windowing/core/detail/WindowApiRules.h"

namespace swell {

platform::NSView* viewForHandle(HWND hwnd) {
  return windowRule(objectFromHandle(hwnd));
}

}  // namespace swell
