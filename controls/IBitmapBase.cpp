#include "controls/IBitmapBase.h"

#include <algorithm>
#include <cmath>

#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
int FrameCount(const IBitmap& bitmap) {
  return std::max(bitmap.N, 1);
}
}  // namespace

int IBitmapBase::FrameForValue(double value, int nFrames) {
  if (nFrames < 2) return 1;
  const double scaled = value * (nFrames - 1) + 0.5;
  // Compared before the conversion: an int cannot hold every double (nor NaN).
  if (!std::isfinite(scaled) || scaled < 1.) return 1;
  if (scaled >= static_cast<double>(nFrames)) return nFrames;
  return static_cast<int>(scaled) + 1;
}

int IBitmapBase::FrameWidth(const IBitmap& bitmap) {
  return bitmap.GetFramesAreHorizontal() ? bitmap.W / FrameCount(bitmap) : bitmap.W;
}

int IBitmapBase::FrameHeight(const IBitmap& bitmap) {
  return bitmap.GetFramesAreHorizontal() ? bitmap.H : bitmap.H / FrameCount(bitmap);
}

IRECT IBitmapBase::FrameRectCentredIn(const IBitmap& bitmap, const IRECT& bounds) {
  const float w = static_cast<float>(FrameWidth(bitmap));
  const float h = static_cast<float>(FrameHeight(bitmap));
  const float l = (bounds.L + bounds.R) * 0.5f - w * 0.5f;
  const float t = (bounds.T + bounds.B) * 0.5f - h * 0.5f;
  return IRECT(l, t, l + w, t + h);
}

void IBitmapBase::DrawBitmap(IGraphics& g) {
  if (!mControl || !mBitmap.IsValid()) return;
  const int frame = FrameForValue(mControl->GetValue(0), FrameCount(mBitmap));
  g.DrawBitmapFrame(mBitmap, FrameRectCentredIn(mBitmap, mControl->GetRECT()), frame,
                    &mControl->GetBlend());
}

void IBitmapBase::ReloadScaled(IBitmap& bitmap) {
  IGraphics* g = mControl ? mControl->GetUI() : nullptr;
  // A bitmap without a name never loaded from a resource: there is nothing to look up.
  if (!g || !bitmap.GetResourceName()[0]) return;
  IBitmap scaled = g->GetScaledBitmap(bitmap);
  if (!scaled.IsValid()) {
    base::warn("controls",
               "bitmap \"%s\" could not be loaded at the new scale; keeping the one loaded",
               bitmap.GetResourceName());
    return;
  }
  bitmap = scaled;
}

}  // namespace igraphics
}  // namespace iplug
