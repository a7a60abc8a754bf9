#include "controls/IBubbleControl.h"

#include <algorithm>
#include <cmath>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// v limited to lo..hi; lo wins when the range is empty.
float Fit(float v, float lo, float hi) {
  return std::max(lo, std::min(v, hi));
}
}  // namespace

IBubbleControl::IBubbleControl(const IText& text, const IColor& fillColor,
                               const IColor& strokeColor)
    : IBubbleControlBase(IRECT()), mFillColor(fillColor), mStrokeColor(strokeColor) {
  mText = text;
  mHide = true;
  mIgnoreMouse = true;
}

void IBubbleControl::ShowBubble(IControl* caller, float x, float y, const char* str, EDirection dir,
                                const IRECT& minimumContentBounds) {
  if (!str || !base::isFinite(x, y)) {
    base::warn("controls", "ShowBubble: no text or a point that is not finite; nothing shown");
    return;
  }
  if (!GetUI()) return;
  mCaller = caller;
  mStr.Set(str);
  Layout(x, y, dir, minimumContentBounds);
  mShowing = true;
  mHide = false;
  // The area the bubble leaves is redrawn with the area it moves to.
  mRECT = mArea.Union(mDrawnArea);
  SetDirty(false);
  SetAnimation([this](IControl*) { Tick(); }, kHideDelayMs);
}

void IBubbleControl::HideBubble() {
  if (!mShowing) return;
  mShowing = false;
  mCaller = nullptr;
  mArea = IRECT();
  SetAnimation(nullptr);
  mRECT = mDrawnArea;
  Hide(true);
}

void IBubbleControl::Tick() {
  IGraphics* g = GetUI();
  if (mCaller && g && g->ControlIsCaptured(mCaller)) {
    StartAnimation(kHideDelayMs);  // the delay counts from the release
    return;
  }
  if (GetAnimationProgress() >= 1.) HideBubble();
}

void IBubbleControl::SetClean() {
  IControl::SetClean();
  mDrawnArea = mShowing ? mArea : IRECT();
  mRECT = mDrawnArea;
}

void IBubbleControl::Layout(float x, float y, EDirection dir, const IRECT& minimumContentBounds) {
  const IRECT editor = GetUI()->GetBounds();
  IRECT box;
  GetUI()->MeasureText(mText, mStr.Get(), box);
  const float minW = std::isfinite(minimumContentBounds.W()) ? minimumContentBounds.W() : 0.f;
  const float minH = std::isfinite(minimumContentBounds.H()) ? minimumContentBounds.H() : 0.f;
  // Never more than the editor holds.
  const float w = std::min(std::max(box.W() + 2.f * kTextPadding, minW), editor.W());
  const float h = std::min(std::max(box.H() + 2.f * kTextPadding, minH), editor.H());
  const float a = kArrowSize;
  const float tipX = Fit(x, editor.L, editor.R), tipY = Fit(y, editor.T, editor.B);

  if (dir == EDirection::Horizontal) {
    float left = tipX + a;
    // Right of the point unless only the left has room.
    if (left + w > editor.R && tipX - a - w >= editor.L) left = tipX - a - w;
    left = Fit(left, editor.L, editor.R - w);
    const float top = Fit(tipY - 0.5f * h, editor.T, editor.B - h);
    mBody = IRECT(left, top, left + w, top + h);
    const float side = mBody.L >= tipX ? mBody.L : mBody.R;
    const float baseY = Fit(tipY, mBody.T + a, mBody.B - a);
    mArrowX[1] = mArrowX[2] = side;
    mArrowY[1] = baseY - a;
    mArrowY[2] = baseY + a;
  } else {
    float top = tipY - a - h;
    // Above the point unless only below has room.
    if (top < editor.T && tipY + a + h <= editor.B) top = tipY + a;
    top = Fit(top, editor.T, editor.B - h);
    const float left = Fit(tipX - 0.5f * w, editor.L, editor.R - w);
    mBody = IRECT(left, top, left + w, top + h);
    const float side = mBody.B <= tipY ? mBody.B : mBody.T;
    const float baseX = Fit(tipX, mBody.L + a, mBody.R - a);
    mArrowY[1] = mArrowY[2] = side;
    mArrowX[1] = baseX - a;
    mArrowX[2] = baseX + a;
  }
  mArrowX[0] = tipX;
  mArrowY[0] = tipY;
  IRECT arrow(std::min({mArrowX[0], mArrowX[1], mArrowX[2]}),
              std::min({mArrowY[0], mArrowY[1], mArrowY[2]}),
              std::max({mArrowX[0], mArrowX[1], mArrowX[2]}),
              std::max({mArrowY[0], mArrowY[1], mArrowY[2]}));
  mArea = mBody.Union(arrow.Intersect(editor)).GetPixelAligned();
}

void IBubbleControl::GetArrow(float (&x)[3], float (&y)[3]) const {
  for (int i = 0; i < 3; ++i) {
    x[i] = mArrowX[i];
    y[i] = mArrowY[i];
  }
}

void IBubbleControl::Draw(IGraphics& g) {
  if (!mShowing) return;
  const float* ax = mArrowX;
  const float* ay = mArrowY;
  g.FillTriangle(mFillColor, ax[0], ay[0], ax[1], ay[1], ax[2], ay[2], &mBlend);
  g.FillRoundRect(mFillColor, mBody, kCornerRadius, &mBlend);
  g.DrawRoundRect(mStrokeColor, mBody, kCornerRadius, &mBlend, 1.f);
  g.DrawLine(mStrokeColor, ax[1], ay[1], ax[0], ay[0], &mBlend, 1.f);
  g.DrawLine(mStrokeColor, ax[0], ay[0], ax[2], ay[2], &mBlend, 1.f);
  g.DrawText(mText, mStr.Get(), mBody, &mBlend);
}

}  // namespace igraphics
}  // namespace iplug
