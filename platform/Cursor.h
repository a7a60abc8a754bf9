#pragma once

#include <string>

#include <cairo.h>

#include "platform/Geometry.h"
#include "platform/Object.h"

namespace platform {

// A mouse pointer shape. The standard shapes are shared objects; the current cursor
// and the hide count are process state. Images wait for a backend that shows them.
class NSCursor : public NSObject {
 public:
  explicit NSCursor(std::string name) : mName(std::move(name)) {}
  // A cursor drawn from an ARGB32 image (retained) with its hot spot in image pixels.
  NSCursor(cairo_surface_t* image, NSPoint hotSpot);
  const std::string& name() const { return mName; }
  cairo_surface_t* image() const { return mImage; }
  NSPoint hotSpot() const { return mHotSpot; }

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
  // Moves the pointer to a point of the screen (y up); false when the display cannot.
  static bool warpMouseCursorPosition(NSPoint screenPoint);
  static void resetForTesting();

 private:
  void dealloc() override;

  std::string mName;
  cairo_surface_t* mImage = nullptr;
  NSPoint mHotSpot;
};

}  // namespace platform
