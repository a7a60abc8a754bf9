#pragma once

// The buttons and modifiers of a mouse event.

#include <cstdint>

namespace iplug {
namespace igraphics {

// A Command-click sets R together with L.
struct IMouseMod {
  bool L = false, R = false, S = false, C = false, A = false;
  int64_t touchID = 0;
  float touchRadius = 0.f;

  IMouseMod() = default;
  IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false,
            int64_t touch = 0)
      : L(l), R(r), S(s), C(c), A(a), touchID(touch) {}

  bool IsTouch() const { return touchID > 0; }
};

}  // namespace igraphics
}  // namespace iplug
