#pragma once

// A gesture the platform recognised, handed to the control under it.

namespace iplug {
namespace igraphics {

struct IGestureInfo {
  int type = 0;  // the gesture type a control registered for
  float x = 0.f, y = 0.f;
  float scale = 1.f;  // pinch
  float velocity = 0.f;
  float angle = 0.f;  // rotation, degrees
};

}  // namespace igraphics
}  // namespace iplug
