#pragma once

#include <memory>
#include <string>

#include "platform/display/CursorFile.h"
#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

namespace platform {

// A mouse pointer shape: a standard shape by name, or a picture with its hot spot.
// The standard and drawn shapes are shared objects; the current cursor, the hide
// count, and whether the pointer moves with the mouse are process state. A display
// backend shows them; headless they are only recorded.
class NSCursor : public NSObject {
 public:
  explicit NSCursor(std::string name) : mName(std::move(name)) {}
  // A cursor of a picture; the hot spot (pixels from the top left) is kept inside it.
  NSCursor(NSCursorImage image, NSPoint hotSpot);
  const std::string& name() const { return mName; }
  // The picture, null for a standard shape.
  const NSCursorImage* image() const { return mImage.get(); }
  NSPoint hotSpot() const { return mHotSpot; }

  static NSCursor* arrowCursor();
  static NSCursor* IBeamCursor();
  static NSCursor* pointingHandCursor();
  static NSCursor* crosshairCursor();
  static NSCursor* resizeLeftRightCursor();
  static NSCursor* resizeUpDownCursor();
  static NSCursor* resizeUpCursor();
  static NSCursor* closedHandCursor();
  static NSCursor* openHandCursor();
  static NSCursor* operationNotAllowedCursor();

  // Shapes with no standard counterpart, drawn from small pictures kept in the
  // program (16 x 16, hot spot in the middle) and made once.
  enum class Drawn { Move, ResizeDiagonalDown, ResizeDiagonalUp, NotAllowed };
  static NSCursor* drawnCursor(Drawn which);

  // The cursor last set; the arrow at start.
  static NSCursor* currentCursor();
  void set();
  // Hides nest: each hide() needs an unhide().
  static void hide();
  static void unhide();
  static bool isHidden();
  // Detached, the pointer stays where it is while the mouse moves (the motion still
  // arrives as event deltas).
  static void setMouseDetached(bool detached);
  static bool isMouseDetached();
  // Moves the pointer to a screen point (y up).
  static void warpCursorPosition(NSPoint screenLocation);

 private:
  std::string mName;
  std::shared_ptr<const NSCursorImage> mImage;
  NSPoint mHotSpot;
};

}  // namespace platform
