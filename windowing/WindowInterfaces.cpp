#include "windowing/WindowInterfaces.h"

#include "windowing/WindowApiRules.h"

namespace swell {

platform::NSView* viewForHandle(HWND hwnd) {
  return windowRule(objectFromHandle(hwnd));
}

}  // namespace swell
