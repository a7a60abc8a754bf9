#include "controls/IVSliderControl.h"

#include <algorithm>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVSliderControl::IVSliderControl(const IRECT& bounds, int paramIdx, const char* label,
                                 const IVStyle& style, bool valueIsEditable, EDirection dir,
                                 bool handleInsideTrack, double gearing, float handleSize,
                                 float trackSize)
    : ISliderControlBase(bounds, paramIdx, dir, gearing, handleSize),
      IVectorBase(style, false, false),
      mHandleInsideTrack(handleInsideTrack) {
  AttachIControl(this, label);
  Setup(valueIsEditable, trackSize);
}

IVSliderControl::IVSliderControl(const IRECT& bounds, IActionFunction actionFunc, const char* label,
                                 const IVStyle& style, bool valueIsEditable, EDirection dir,
                                 bool handleInsideTrack, double gearing, float handleSize,
                                 float trackSize)
    : ISliderControlBase(bounds, std::move(actionFunc), dir, gearing, handleSize),
      IVectorBase(style, false, false),
      mHandleInsideTrack(handleInsideTrack) {
  AttachIControl(this, label);
  Setup(valueIsEditable, trackSize);
}

void IVSliderControl::Setup(bool valueIsEditable, float trackSize) {
  mHideCursorOnDrag = mStyle.hideCursor;
  DisablePrompt(!valueIsEditable);
  mText = mStyle.valueText;
  SetTrackSize(trackSize);
  mShape = kVShapeEllipse;
}

void IVSliderControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (IsOnValueText(x, y))
    PromptUserInput(mValueBounds, 0);
  else
    ISliderControlBase::OnMouseDown(x, y, mod);
}

void IVSliderControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
  ISliderControlBase::OnMouseUp(x, y, mod);
  SetDirty(true);
}

void IVSliderControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  mValueMouseOver = IsOnValueText(x, y);
  IControl::OnMouseOver(x, y, mod);
  SetDirty(false);
}

void IVSliderControl::OnMouseOut() {
  mValueMouseOver = false;
  IControl::OnMouseOut();
}

void IVSliderControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT, false));
  mMouseIsOver = false;
  const IRECT& w = mWidgetBounds;
  const float insetX = std::clamp(mHandleSize, 0.f, std::max(0.f, 0.5f * w.W()));
  const float insetY = std::clamp(mHandleSize, 0.f, std::max(0.f, 0.5f * w.H()));
  const IRECT inner(w.L + insetX, w.T + insetY, w.R - insetX, w.B - insetY);
  mTrack = mDirection == EDirection::Vertical ? inner.GetMidHPadded(mTrackSize)
                                              : inner.GetMidVPadded(mTrackSize);
  SetDirty(false);
}

void IVSliderControl::OnInit() {
  if (const IParam* param = GetParam(0)) InitFromParam(*param, GetValue(0));
}

bool IVSliderControl::IsHit(float x, float y) const {
  if (!GetPromptDisabled() && mValueBounds.Contains(x, y)) return true;
  return mWidgetBounds.Contains(x, y);
}

void IVSliderControl::SetDirty(bool triggerAction, int valIdx) {
  IControl::SetDirty(triggerAction, kNoValIdx);
  if (const IParam* param = GetParam(0)) SetValueStrFromParam(*param, GetValue(0));
}

void IVSliderControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawLabel(g);
  DrawWidget(g);
  DrawValue(g, mValueMouseOver);
}

IRECT IVSliderControl::GetFilledArea() const {
  const IRECT& t = mTrack;
  const float v = static_cast<float>(GetValue(0));
  if (mDirection == EDirection::Vertical) return IRECT(t.L, t.B - t.H() * v, t.R, t.B);
  return IRECT(t.L, t.T, t.L + t.W() * v, t.B);
}

IRECT IVSliderControl::GetHandleBounds() const {
  const float s = mHandleSize;
  if (!(s > 0.f)) return IRECT();
  const IRECT filled = GetFilledArea();
  const float o = mStyle.drawShadows && mShape != kVShapeEllipse ? 0.5f * mStyle.shadowOffset : 0.f;
  const float cx = mDirection == EDirection::Vertical ? filled.MW() + o : filled.R;
  const float cy = mDirection == EDirection::Vertical ? filled.T : filled.MH() + o;
  return IRECT(cx - s, cy - s, cx + s, cy + s);
}

void IVSliderControl::DrawWidget(IGraphics& g) {
  if (mTrackSize > 0.f) DrawTrack(g, GetFilledArea());
  if (mHandleSize > 0.f) DrawHandle(g, GetHandleBounds());
}

void IVSliderControl::DrawTrack(IGraphics& g, const IRECT& filledArea) {
  const float e = mHandleInsideTrack ? mHandleSize : 0.f;
  const bool vertical = mDirection == EDirection::Vertical;
  auto lengthen = [&](const IRECT& r) { return vertical ? r.GetVPadded(e) : r.GetHPadded(e); };
  const IRECT track = lengthen(mTrack);
  const float cr = 0.5f * std::min(track.W(), track.H()) * mStyle.roundness;
  g.FillRoundRect(GetColor(kSH), track, cr, &mBlend);
  g.FillRoundRect(GetColor(kX1), lengthen(filledArea), cr, &mBlend);
  if (mStyle.drawFrame) g.DrawRoundRect(GetColor(kFR), track, cr, &mBlend, mStyle.frameThickness);
}

void IVSliderControl::DrawHandle(IGraphics& g, const IRECT& bounds) {
  DrawPressableShape(g, mShape, bounds, mMouseDown, mMouseIsOver, IsDisabled());
}

}  // namespace igraphics
}  // namespace iplug
