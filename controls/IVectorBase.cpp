#include "controls/IVectorBase.h"

#include <algorithm>
#include <cmath>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// Turns (x, y) about (cx, cy) by angle degrees, clockwise on screen (y grows downwards).
void Rotate(float& x, float& y, float cx, float cy, float angleDeg) {
  const double a = static_cast<double>(angleDeg) * M_PI / 180.0;
  const double dx = x - cx, dy = y - cy;
  x = static_cast<float>(cx + dx * std::cos(a) - dy * std::sin(a));
  y = static_cast<float>(cy + dx * std::sin(a) + dy * std::cos(a));
}

// A w x h rectangle centred on (cx, cy); unlike IRECT::GetCentredInside a zero height stays 0.
IRECT CentredOn(float cx, float cy, float w, float h) {
  return IRECT(cx - 0.5f * w, cy - 0.5f * h, cx + 0.5f * w, cy + 0.5f * h);
}
}  // namespace

IVectorBase::IVectorBase(const IVStyle& style, bool labelInWidget, bool valueInWidget)
    : mLabelInWidget(labelInWidget), mValueInWidget(valueInWidget) {
  IVectorBase::SetStyle(style);
}

void IVectorBase::AttachIControl(IControl* control, const char* label) {
  mControl = control;
  mLabelStr.Set(label ? label : "");
}

void IVectorBase::DrawBackground(IGraphics& g, const IRECT& r) {
  g.FillRect(GetColor(kBG), r, OwnerBlend());
}

void IVectorBase::DrawLabel(IGraphics& g) {
  if (mLabelBounds.H() != 0.f && mStyle.showLabel && mLabelStr.GetLength() > 0)
    g.DrawText(mStyle.labelText, mLabelStr.Get(), mLabelBounds, OwnerBlend());
}

void IVectorBase::DrawValue(IGraphics& g, bool mouseOver) {
  if (mouseOver) g.FillRect(COLOR_TRANSLUCENT, mValueBounds);
  if (mStyle.showValue && mValueStr.GetLength() > 0)
    g.DrawText(mStyle.valueText, mValueStr.Get(), mValueBounds, OwnerBlend());
}

void IVectorBase::DrawPressableShape(IGraphics& g, int shape, const IRECT& bounds, bool pressed,
                                     bool mouseOver, bool disabled) {
  switch (shape) {
    case kVShapeRectangle:
    case kVShapeAllRounded:
      DrawPressableRectangle(g, bounds, pressed, mouseOver, disabled, true, true, true, true);
      break;
    case kVShapeEllipse:
      DrawPressableEllipse(g, bounds, pressed, mouseOver, disabled);
      break;
    case kVShapeTriangle:
      DrawPressableTriangle(g, bounds, pressed, mouseOver, disabled, mStyle.angle);
      break;
    case kVShapeEndsRounded:
      DrawPressableRectangle(g, bounds, pressed, mouseOver, disabled, true, true, false, false);
      break;
    default:
      break;
  }
}

float IVectorBase::GetRoundedCornerRadius(const IRECT& bounds) const {
  const float r = 0.5f * std::min(bounds.W(), bounds.H()) * mStyle.roundness;
  return std::isfinite(r) && r > 0.f ? r : 0.f;
}

IRECT IVectorBase::DrawPressableRectangle(IGraphics& g, const IRECT& bounds, bool pressed,
                                          bool mouseOver, bool disabled, bool tl, bool tr, bool br,
                                          bool bl) {
  const IBlend* blend = OwnerBlend();
  const float cr = GetRoundedCornerRadius(bounds);
  const float rTL = tl ? cr : 0.f, rTR = tr ? cr : 0.f, rBR = br ? cr : 0.f, rBL = bl ? cr : 0.f;

  // A raised shape casts its shadow; a pressed one sits flat in the pressed colour.
  if (!pressed && mStyle.drawShadows && !disabled) {
    const IRECT shadow = bounds.GetTranslated(mStyle.shadowOffset, mStyle.shadowOffset);
    g.FillRoundRect(GetColor(kSH), shadow, rTL, rTR, rBR, rBL, blend);
  }
  g.FillRoundRect(GetColor(pressed ? kPR : kFG), bounds, rTL, rTR, rBR, rBL, blend);
  if (mouseOver && !disabled) g.FillRoundRect(GetColor(kHL), bounds, rTL, rTR, rBR, rBL, blend);
  if (mControl && mControl->GetAnimationFunction()) DrawSplash(g, bounds);
  if (mStyle.drawFrame)
    g.DrawRoundRect(GetColor(kFR), bounds, rTL, rTR, rBR, rBL, blend, mStyle.frameThickness);
  return bounds;
}

IRECT IVectorBase::DrawPressableEllipse(IGraphics& g, const IRECT& bounds, bool pressed,
                                        bool mouseOver, bool disabled) {
  const IBlend* blend = OwnerBlend();
  if (!pressed && mStyle.drawShadows && !disabled)
    g.FillEllipse(GetColor(kSH), bounds.GetTranslated(mStyle.shadowOffset, mStyle.shadowOffset),
                  blend);
  g.FillEllipse(GetColor(pressed ? kPR : kFG), bounds, blend);
  if (mouseOver && !disabled) g.FillEllipse(GetColor(kHL), bounds, blend);
  if (mControl && mControl->GetAnimationFunction()) DrawSplash(g, bounds);
  if (mStyle.drawFrame) g.DrawEllipse(GetColor(kFR), bounds, blend, mStyle.frameThickness);
  return bounds;
}

IRECT IVectorBase::DrawPressableTriangle(IGraphics& g, const IRECT& bounds, bool pressed,
                                         bool mouseOver, bool disabled, float angle) {
  const IBlend* blend = OwnerBlend();
  float x[3] = {bounds.L, bounds.MW(), bounds.R};
  float y[3] = {bounds.B, bounds.T, bounds.B};
  if (std::isfinite(angle) && angle != 0.f) {
    for (int i = 0; i < 3; ++i)
      Rotate(x[i], y[i], bounds.MW(), bounds.MH(), angle);
  }
  if (!pressed && mStyle.drawShadows && !disabled) {
    const float o = mStyle.shadowOffset;
    g.FillTriangle(GetColor(kSH), x[0] + o, y[0] + o, x[1] + o, y[1] + o, x[2] + o, y[2] + o,
                   blend);
  }
  g.FillTriangle(GetColor(pressed ? kPR : kFG), x[0], y[0], x[1], y[1], x[2], y[2], blend);
  if (mouseOver && !disabled)
    g.FillTriangle(GetColor(kHL), x[0], y[0], x[1], y[1], x[2], y[2], blend);
  if (mControl && mControl->GetAnimationFunction()) DrawSplash(g, bounds);
  if (mStyle.drawFrame)
    g.DrawTriangle(GetColor(kFR), x[0], y[0], x[1], y[1], x[2], y[2], blend, mStyle.frameThickness);
  return bounds;
}

void IVectorBase::DrawSplash(IGraphics& g, const IRECT& clip) {
  if (!(mSplashRadius > 0.f)) return;
  g.PathClipRegion(clip);
  g.FillCircle(GetColor(kHL), mSplashX, mSplashY, mSplashRadius, OwnerBlend());
  g.PathClipRegion();
}

IRECT IVectorBase::MakeRects(const IRECT& parent, bool hasHandle) {
  IGraphics* g = mControl ? mControl->GetUI() : nullptr;
  auto measure = [g](const IText& text, const char* str) {
    IRECT box;
    if (g) g->MeasureText(text, str, box);
    return box;
  };

  IRECT clickable = parent;
  if (!mLabelInWidget) {
    if (mStyle.showLabel && mLabelStr.GetLength() > 0) {
      const IRECT box = measure(mStyle.labelText, mLabelStr.Get());
      const float h = box.H();
      mLabelBounds = CentredOn(parent.MW(), parent.T + 0.5f * h, std::max(1.f, box.W()), h);
    } else {
      mLabelBounds = IRECT();
    }
    if (mLabelBounds.H() != 0.f) clickable = parent.GetReducedFromTop(mLabelBounds.H());
  }

  const float frac = mStyle.widgetFrac;
  if (!mStyle.showValue || mValueInWidget) {
    mWidgetBounds = clickable.GetScaledAboutCentre(frac);
  } else {
    const IRECT box = measure(mStyle.valueText, mValueStr.Get());
    const float w = 2.f * mValueDisplayFrac * box.W();
    const float h = box.H();
    switch (mStyle.valueText.mVAlign) {
      case EVAlign::Top:
        mValueBounds = CentredOn(clickable.MW(), clickable.T + 0.5f * h, w, h);
        mWidgetBounds = clickable.GetReducedFromTop(h).GetScaledAboutCentre(frac);
        break;
      case EVAlign::Middle:
        mValueBounds = CentredOn(clickable.MW(), clickable.MH(), w, h);
        mWidgetBounds = clickable.GetScaledAboutCentre(frac);
        break;
      case EVAlign::Bottom:
        mValueBounds = CentredOn(clickable.MW(), clickable.B - 0.5f * h, w, h);
        mWidgetBounds = clickable.GetReducedFromBottom(h).GetScaledAboutCentre(frac);
        break;
    }
  }

  if (hasHandle) {
    IRECT handle = clickable;
    if (mStyle.drawFrame) handle = handle.GetPadded(-0.5f * mStyle.frameThickness);
    if (mStyle.drawShadows) {
      const float o = mStyle.shadowOffset;
      handle = IRECT(handle.L + o, handle.T, handle.R - o, handle.B - o);
    }
    mWidgetBounds = handle.GetScaledAboutCentre(frac);
  }

  if (mLabelInWidget) mLabelBounds = mWidgetBounds;
  if (mValueInWidget) mValueBounds = mWidgetBounds;
  return clickable;
}

void IVectorBase::SetColor(EVColor color, const IColor& c) {
  mStyle.colorSpec.SetColor(color, c);
  DirtyOwner();
}

void IVectorBase::SetColors(const IVColorSet& colors) {
  mStyle.colorSpec = colors;
  DirtyOwner();
}

void IVectorBase::SetLabelStr(const char* str) {
  mLabelStr.Set(str ? str : "");
  DirtyOwner();
}

void IVectorBase::SetValueStr(const char* str) {
  mValueStr.Set(str ? str : "");
  DirtyOwner();
}

void IVectorBase::SetValueStrFromParam(const IParam& param, double normalized) {
  WDL_String str;
  param.GetDisplay(normalized, true, str);
  if (*param.GetLabel()) {
    str.Append(" ");
    str.Append(param.GetLabel());
  }
  mValueStr.Set(str.Get());
}

void IVectorBase::InitFromParam(const IParam& param, double normalized) {
  SetValueStrFromParam(param, normalized);
  if (mLabelStr.GetLength() == 0) mLabelStr.Set(param.GetName());
}

void IVectorBase::SetShape(int shape) {
  mShape = shape;
  DirtyOwner();
}

}  // namespace igraphics
}  // namespace iplug
