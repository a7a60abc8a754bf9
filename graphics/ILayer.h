#pragma once

#include <memory>

#include "graphics/APIBitmap.h"
#include "graphics/IGraphicsStructs.h"

namespace iplug {
namespace igraphics {

class IControl;

// An off-screen drawing kept for reuse: its pixels, the bounds it covers and the scale it was
// drawn at, so the owner can tell when it no longer fits.
class ILayer {
 public:
  ILayer(std::unique_ptr<APIBitmap> bitmap, const IRECT& bounds, float scale)
      : mBitmap(std::move(bitmap)), mRECT(bounds), mScale(scale) {}

  const APIBitmap* GetAPIBitmap() const { return mBitmap.get(); }
  APIBitmap* GetAPIBitmap() { return mBitmap.get(); }
  const IRECT& Bounds() const { return mRECT; }
  float GetScale() const { return mScale; }

  // The control the layer was drawn for, when there is one (not owned).
  IControl* GetControl() const { return mControl; }
  void SetControl(IControl* control) { mControl = control; }

  void Invalidate() { mInvalid = true; }
  bool IsInvalid() const { return mInvalid; }

 private:
  std::unique_ptr<APIBitmap> mBitmap;
  IRECT mRECT;
  float mScale;
  IControl* mControl = nullptr;
  bool mInvalid = false;
};

using ILayerPtr = std::unique_ptr<ILayer>;

}  // namespace igraphics
}  // namespace iplug
