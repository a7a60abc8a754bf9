#pragma once

// The bitmap part of a bitmap-drawn control: a possibly multi-frame image held by value and the
// choice of the frame that shows the owner's value. A control derives from its control base and
// from this, in that order, and calls AttachIControl in its constructor. The decoded image
// belongs to the graphics core's bitmap cache, never to the control.

#include "graphics/IControl.h"
#include "graphics/IGraphicsStructs.h"

namespace iplug {
namespace igraphics {

class IGraphics;

class IBitmapBase {
 public:
  explicit IBitmapBase(const IBitmap& bitmap) : mBitmap(bitmap) {}
  virtual ~IBitmapBase() = default;
  IBitmapBase(const IBitmapBase&) = delete;
  IBitmapBase& operator=(const IBitmapBase&) = delete;

  // Links the owner control, whose value, rectangle and blend the drawing uses.
  void AttachIControl(IControl* control) { mControl = control; }

  // Draws the frame for the owner's value, the size of one frame, centred in its rectangle.
  // A bitmap that did not load draws nothing.
  void DrawBitmap(IGraphics& g);

  const IBitmap& GetBitmap() const { return mBitmap; }

  // The frame (1..n) that shows value on a bitmap of n frames: value x (n - 1) rounded half up,
  // plus one. Values past either end show the end frame; a value that is not a finite number
  // shows frame 1.
  static int FrameForValue(double value, int nFrames);
  // The size of one frame in points. A frame count below 1 counts as 1.
  static int FrameWidth(const IBitmap& bitmap);
  static int FrameHeight(const IBitmap& bitmap);
  // A rectangle of one frame's size centred in bounds.
  static IRECT FrameRectCentredIn(const IBitmap& bitmap, const IRECT& bounds);

 protected:
  // Loads bitmap again by its resource name, frame count and direction at the screen scale
  // rounded up, through the owner's graphics context. When that fails the bitmap is kept as it
  // was: a screen that cannot find a larger image still shows the one it has.
  void ReloadScaled(IBitmap& bitmap);

  IBitmap mBitmap;
  IControl* mControl = nullptr;
};

}  // namespace igraphics
}  // namespace iplug
