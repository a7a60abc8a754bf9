#pragma once

// A loaded bitmap, held by value. The decoded image belongs to the bitmap cache.

#include <algorithm>

#include "framework/WDLString.h"
#include "graphics/IRECT.h"

namespace iplug {
namespace igraphics {

class APIBitmap;  // a decoded image held by the graphics core's bitmap cache

struct IBitmap {
  APIBitmap* mAPIBitmap = nullptr;
  int W = 0;  // width in points (the image's pixel width divided by its scale)
  int H = 0;  // height in points
  int N = 1;  // frame count, at least 1
  bool mFramesAreHorizontal = false;
  WDL_String mResourceName;

  IBitmap() = default;
  IBitmap(APIBitmap* bitmap, int w, int h, int n, bool framesAreHorizontal, const char* name)
      : mAPIBitmap(bitmap),
        W(w),
        H(h),
        N(std::max(1, n)),
        mFramesAreHorizontal(framesAreHorizontal) {
    mResourceName.Set(name ? name : "");
  }

  bool IsValid() const { return mAPIBitmap != nullptr; }
  APIBitmap* GetAPIBitmap() const { return mAPIBitmap; }
  // The size of one frame along a direction; a frame count below 1 counts as 1 (the fields
  // are public, so the constructor's clamp alone cannot be relied on).
  int FrameSize(EDirection dir) const {
    const int n = std::max(1, N);
    return dir == EDirection::Horizontal ? (mFramesAreHorizontal ? W / n : W)
                                         : (mFramesAreHorizontal ? H : H / n);
  }
  int GetWidth() const { return W; }
  int GetHeight() const { return H; }
  bool GetFramesAreHorizontal() const { return mFramesAreHorizontal; }
  const char* GetResourceName() const { return mResourceName.Get(); }
};

}  // namespace igraphics
}  // namespace iplug
