#include "controls/IVKnobControl.h"

#include <algorithm>
#include <cmath>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVKnobControl::IVKnobControl(const IRECT& bounds, int paramIdx, const char* label,
                             const IVStyle& style, bool valueIsEditable, bool valueInWidget,
                             float a1, float a2, float aAnchor, EDirection direction,
                             double gearing, float trackSize)
    : IKnobControlBase(bounds, paramIdx, direction, gearing),
      IVectorBase(style, false, valueInWidget),
      mAngle1(a1),
      mAngle2(a2),
      mAnchorAngle(aAnchor) {
  AttachIControl(this, label);
  Setup(valueIsEditable, trackSize);
}

IVKnobControl::IVKnobControl(const IRECT& bounds, IActionFunction actionFunc, const char* label,
                             const IVStyle& style, bool valueIsEditable, bool valueInWidget,
                             float a1, float a2, float aAnchor, EDirection direction,
                             double gearing, float trackSize)
    : IKnobControlBase(bounds, std::move(actionFunc), direction, gearing),
      IVectorBase(style, false, valueInWidget),
      mAngle1(a1),
      mAngle2(a2),
      mAnchorAngle(aAnchor) {
  AttachIControl(this, label);
  Setup(valueIsEditable, trackSize);
}

void IVKnobControl::Setup(bool valueIsEditable, float trackSize) {
  mHideCursorOnDrag = mStyle.hideCursor;
  DisablePrompt(!valueIsEditable);
  mText = mStyle.valueText;
  SetTrackSize(trackSize);
  mShape = kVShapeEllipse;
}

bool IVKnobControl::OnValueText(float x, float y) const {
  // A value inside the body covers the whole widget: the body is then for dragging.
  return !mValueInWidget && IsOnValueText(x, y);
}

void IVKnobControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (OnValueText(x, y))
    PromptUserInput(mValueBounds, 0);
  else
    IKnobControlBase::OnMouseDown(x, y, mod);
  SetDirty(false);
}

void IVKnobControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
  IKnobControlBase::OnMouseUp(x, y, mod);
  SetDirty(true);
}

void IVKnobControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  mValueMouseOver = IsOnValueText(x, y);
  IControl::OnMouseOver(x, y, mod);
  SetDirty(false);
}

void IVKnobControl::OnMouseOut() {
  mValueMouseOver = false;
  IControl::OnMouseOut();
}

void IVKnobControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT, false));
  mMouseIsOver = false;
  SetDirty(false);
}

void IVKnobControl::OnInit() {
  if (const IParam* param = GetParam(0)) InitFromParam(*param, GetValue(0));
}

bool IVKnobControl::IsHit(float x, float y) const {
  if (!GetPromptDisabled() && mValueBounds.Contains(x, y)) return true;
  return mWidgetBounds.Contains(x, y);
}

void IVKnobControl::SetDirty(bool triggerAction, int valIdx) {
  IControl::SetDirty(triggerAction, kNoValIdx);
  if (const IParam* param = GetParam(0)) SetValueStrFromParam(*param, GetValue(0));
}

IRECT IVKnobControl::GetKnobDragBounds() const {
  const IRECT& w = mWidgetBounds;
  const float width = w.W(), height = w.H();
  // A drag divides by these sides: neither may be 0 or negative.
  if (width > height)
    return w.GetCentredInside(std::max(1.f, 0.5f * height), std::max(1.f, height));
  const float side = std::max(1.f, width);
  return w.GetCentredInside(side, std::max(1.f, 0.5f * width));
}

void IVKnobControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawLabel(g);
  DrawWidget(g);
  DrawValue(g, mValueMouseOver);
}

void IVKnobControl::DrawWidget(IGraphics& g) {
  const IRECT& w = mWidgetBounds;
  const float cx = w.MW(), cy = w.MH();
  // A widget narrower than the track has no room for an arc: the radius stops at 0.
  const float radius = std::max(0.f, 0.5f * std::min(w.W(), w.H()) - 0.5f * mTrackSize);
  const float d = std::max(1.f, 2.f * (radius - mTrackToHandleDistance));
  const IRECT body(cx - 0.5f * d, cy - 0.5f * d, cx + 0.5f * d, cy + 0.5f * d);
  const float angle = mAngle1 + (mAngle2 - mAngle1) * static_cast<float>(GetValue(0));
  DrawIndicatorTrack(g, angle, cx, cy, radius);
  DrawPressableShape(g, kVShapeEllipse, body, mMouseDown, mMouseIsOver, IsDisabled());
  DrawPointer(g, angle, cx, cy, 0.5f * d);
}

void IVKnobControl::DrawIndicatorTrack(IGraphics& g, float angle, float cx, float cy,
                                       float radius) {
  if (!(mTrackSize > 0.f) || !(radius > 0.f)) return;
  g.DrawArc(GetColor(kX1), cx, cy, radius, std::min(angle, mAnchorAngle),
            std::max(angle, mAnchorAngle), &mBlend, mTrackSize);
}

void IVKnobControl::DrawPointer(IGraphics& g, float angle, float cx, float cy, float radius) {
  const double t = (static_cast<double>(angle) - 90.) / 180. * M_PI;
  const float c = static_cast<float>(std::cos(t)), s = static_cast<float>(std::sin(t));
  const float r1 = mInnerPointerFrac * radius, r2 = mOuterPointerFrac * radius;
  g.DrawLine(GetColor(kFR), cx + c * r1, cy + s * r1, cx + c * r2, cy + s * r2, &mBlend,
             mPointerThickness);
}

}  // namespace igraphics
}  // namespace iplug
