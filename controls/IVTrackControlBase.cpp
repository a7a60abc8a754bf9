#include "controls/IVTrackControlBase.h"

#include <algorithm>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVTrackControlBase::IVTrackControlBase(const IRECT& bounds, const char* label, const IVStyle& style,
                                       std::initializer_list<int> params, int nSteps,
                                       EDirection dir,
                                       std::initializer_list<const char*> trackNames)
    : IControl(bounds, params),
      IVectorBase(style),
      mDirection(dir),
      mTrackBounds(params.size()),
      mNSteps(std::max(0, nSteps)) {
  AttachIControl(this, label);
  for (const char* name : trackNames)
    mTrackNames.emplace_back(name ? name : "");
}

const IRECT& IVTrackControlBase::GetTrackBounds(int chIdx) const {
  static const IRECT kNone;
  if (chIdx < 0 || chIdx >= static_cast<int>(mTrackBounds.size())) return kNone;
  return mTrackBounds[static_cast<size_t>(chIdx)];
}

const char* IVTrackControlBase::GetTrackName(int chIdx) const {
  if (chIdx < 0 || chIdx >= static_cast<int>(mTrackNames.size())) return "";
  return mTrackNames[static_cast<size_t>(chIdx)].Get();
}

void IVTrackControlBase::OnMouseOver(float x, float y, const IMouseMod& mod) {
  mMouseOverTrack = GetValIdxForPos(x, y);
  IControl::OnMouseOver(x, y, mod);
  SetDirty(false);
}

void IVTrackControlBase::OnMouseOut() {
  mMouseOverTrack = -1;
  IControl::OnMouseOut();
  SetDirty(false);
}

void IVTrackControlBase::OnResize() {
  SetTargetRECT(MakeRects(mRECT, false));
  mMouseIsOver = false;
  MakeTrackRects(mWidgetBounds);
  MakeStepRects(mWidgetBounds, mNSteps);
  SetDirty(false);
}

int IVTrackControlBase::GetValIdxForPos(float x, float y) const {
  for (size_t i = 0; i < mTrackBounds.size(); ++i) {
    if (mTrackBounds[i].Contains(x, y)) return static_cast<int>(i);
  }
  return kNoValIdx;
}

bool IVTrackControlBase::IsHit(float x, float y) const {
  return NVals() > 0 && IControl::IsHit(x, y);
}

void IVTrackControlBase::MakeTrackRects(const IRECT& bounds) {
  const int n = NVals();
  mTrackBounds.assign(static_cast<size_t>(n), IRECT());
  if (n == 0) return;
  const float p = mTrackPadding;
  for (int i = 0; i < n; ++i) {
    IRECT& r = mTrackBounds[static_cast<size_t>(i)];
    if (mDirection == EDirection::Vertical) {
      const float w = bounds.W() / static_cast<float>(n);
      r = IRECT(bounds.L + w * i, bounds.T, bounds.L + w * (i + 1) - p, bounds.B - p);
    } else {
      const float h = bounds.H() / static_cast<float>(n);
      r = IRECT(bounds.L, bounds.T + h * i + p, bounds.R, bounds.T + h * (i + 1) - p);
    }
  }
}

void IVTrackControlBase::MakeStepRects(const IRECT& bounds, int nSteps) {
  mStepBounds.clear();
  if (nSteps <= 0) return;
  const int count = mZeroValueStepHasBounds ? nSteps + 1 : nSteps;
  for (int i = count - 1; i >= 0; --i)
    mStepBounds.push_back(bounds.SubRect(mDirection, count, i));
}

void IVTrackControlBase::DrawWidget(IGraphics& g) {
  for (int i = 0; i < static_cast<int>(mTrackBounds.size()); ++i)
    DrawTrack(g, mTrackBounds[static_cast<size_t>(i)], i);
}

void IVTrackControlBase::DrawBackground(IGraphics& g, const IRECT& r) {
  g.FillRect(COLOR_TRANSPARENT, r);
  if (!(mBaseValue > 0.)) return;
  const float b = static_cast<float>(mBaseValue);
  if (mDirection == EDirection::Horizontal)
    g.DrawVerticalLine(GetColor(kSH), r, b, &mBlend, 1.f);
  else
    g.DrawHorizontalLine(GetColor(kSH), r, b, &mBlend, 1.f);
}

void IVTrackControlBase::DrawTrackBackground(IGraphics& g, const IRECT& r, int chIdx) {
  g.FillRect(chIdx == mHighlightedTrack ? GetColor(kHL) : COLOR_TRANSPARENT, r, &mBlend);
}

void IVTrackControlBase::DrawTrackName(IGraphics& g, const IRECT& r, int chIdx) {
  g.DrawText(mText, GetTrackName(chIdx), r, &mBlend);
}

void IVTrackControlBase::DrawTrackHandle(IGraphics& g, const IRECT& r, int chIdx,
                                         bool aboveBaseline) {
  g.FillRect(chIdx == mHighlightedTrack ? GetColor(kX1) : GetColor(kFG), r, &mBlend);
  if (chIdx == mMouseOverTrack) g.FillRect(GetColor(kHL), r, &mBlend);
}

void IVTrackControlBase::DrawTrackMarker(IGraphics& g, const IRECT& r, int chIdx,
                                         bool aboveBaseline) {
  g.FillRect(GetColor(kFR), r, &mBlend);
}

void IVTrackControlBase::DrawTrack(IGraphics& g, const IRECT& r, int chIdx) {
  DrawTrackBackground(g, r, chIdx);
  if (!mTrackNames.empty()) DrawTrackName(g, r, chIdx);

  const bool horizontal = mDirection == EDirection::Horizontal;
  const float v = static_cast<float>(GetValue(chIdx));
  const float b = static_cast<float>(mBaseValue);
  const bool aboveBaseline = b < v;
  IRECT span;
  if (b > 0.f) {
    const float lo = std::min(v, b), hi = std::max(v, b);
    span = horizontal ? IRECT(r.L + lo * r.W(), r.T, r.L + hi * r.W(), r.B)
                      : IRECT(r.L, r.B - hi * r.H(), r.R, r.B - lo * r.H());
  } else {
    span =
        horizontal ? IRECT(r.L, r.T, r.L + r.W() * v, r.B) : IRECT(r.L, r.B - r.H() * v, r.R, r.B);
  }

  if (!mStepBounds.empty()) {
    if (b <= 0.f && v == 0.f && mZeroValueStepHasBounds && !horizontal)
      span.T = mStepBounds.front().T;
    for (const IRECT& step : mStepBounds) {
      if (step.Empty() || !step.ContainsEdge(span.R, span.T)) continue;
      if (horizontal) {
        span.L = step.L;
        span.R = step.R;
      } else {
        span.T = step.T;
        span.B = step.B;
      }
      break;
    }
    if (mZeroValueStepHasBounds || v > 0.f) DrawTrackHandle(g, span, chIdx, aboveBaseline);
  } else {
    DrawTrackHandle(g, span, chIdx, aboveBaseline);
    const float s = mMarkerSize;
    const bool atEnd = v >= b;
    IRECT band;
    if (horizontal)
      band = atEnd ? IRECT(span.R - s, span.T, span.R, span.B)
                   : IRECT(span.L, span.T, span.L + s, span.B);
    else
      band = atEnd ? IRECT(span.L, span.T, span.R, span.T + s)
                   : IRECT(span.L, span.B - s, span.R, span.B);
    DrawTrackMarker(g, band, chIdx, aboveBaseline);
  }

  if (mStyle.drawFrame && mDrawTrackFrame)
    g.DrawRect(GetColor(kFR), r, &mBlend, mStyle.frameThickness);
}

}  // namespace igraphics
}  // namespace iplug
