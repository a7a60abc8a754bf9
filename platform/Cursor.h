#pragma once

#include <string>

#include "platform/Object.h"

namespace platform {

// A mouse pointer shape. The standard shapes are shared objects; the current cursor
// and the hide count are process state. Images wait for a backend that shows them.
class NSCursor : public NSObject {
 public:
  explicit NSCursor(std::string name) : mName(std::move(name)) {}
  const std::string& name() const { return mName; }

  static NSCursor* arrowCursor();
  static NSCursor* IBeamCursor();
  static NSCursor* pointingHandCursor();
  static NSCursor* crosshairCursor();
  static NSCursor* resizeLeftRightCursor();
  static NSCursor* resizeUpDownCursor();
  static NSCursor* closedHandCursor();
  static NSCursor* openHandCursor();
  static NSCursor* operationNotAllowedCursor();

  // The cursor last set; the arrow at start.
  static NSCursor* currentCursor();
  void set();
  // Hides nest: each hide() needs an unhide().
  static void hide();
  static void unhide();
  static bool isHidden();
  static void resetForTesting();

 private:
  std::string mName;
};

}  // namespace platform
