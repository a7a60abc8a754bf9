#include "controls/IVGroupControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVGroupControl::IVGroupControl(const IRECT& bounds, const char* label, float labelOffset,
                               const IVStyle& style)
    : IControl(bounds), IVectorBase(style, false, false), mLabelOffset(labelOffset) {
  AttachIControl(this, label);
  mIgnoreMouse = true;
}

IVGroupControl::IVGroupControl(const char* label, const char* groupName, float padL, float padT,
                               float padR, float padB, const IVStyle& style)
    : IControl(IRECT()),
      IVectorBase(style, false, false),
      mGroupName(groupName ? groupName : ""),
      mPadL(padL),
      mPadT(padT),
      mPadR(padR),
      mPadB(padB) {
  AttachIControl(this, label);
  mIgnoreMouse = true;
}

void IVGroupControl::OnInit() {
  if (mGroupName.GetLength() > 0)
    SetBoundsBasedOnGroup(mGroupName.Get(), mPadL, mPadT, mPadR, mPadB);
}

void IVGroupControl::SetBoundsBasedOnGroup(const char* groupName, float padL, float padT,
                                           float padR, float padB) {
  mGroupName.Set(groupName ? groupName : "");
  IRECT united;
  if (IGraphics* g = GetUI()) {
    // The frame may sit in its own group: counting it would grow it by the paddings each time.
    g->ForControlInGroup(mGroupName.Get(), [&](IControl* c) {
      if (c != this) united = united.Union(c->GetRECT());
    });
  }
  SetRECT(IRECT(united.L - padL, united.T - padT, united.R + padR, united.B + padB));
  OnResize();
}

void IVGroupControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT));
  mMouseIsOver = false;
  // The frame's top edge runs through the middle of the label.
  mWidgetBounds.T -= 0.5f * mLabelBounds.H() + 0.5f * mStyle.frameThickness;
  const float cr = GetRoundedCornerRadius(mWidgetBounds);
  // Without a label the rectangle stays empty, which closes the gap at the top's centre.
  if (!mLabelBounds.Empty()) {
    const float width = mLabelBounds.W() + 2.f * mLabelPadding;
    const float left = mRECT.L + mStyle.frameThickness + mLabelOffset + cr;
    mLabelBounds = IRECT(left, mLabelBounds.T, left + width, mLabelBounds.B);
  }
  IControl::SetDirty(false);
}

void IVGroupControl::Draw(IGraphics& g) {
  DrawLabel(g);
  DrawWidget(g);
}

void IVGroupControl::DrawWidget(IGraphics& g) {
  const IRECT& b = mWidgetBounds;
  const float ft = mStyle.frameThickness;
  const float h = 0.5f * ft;
  const float cr = GetRoundedCornerRadius(b);
  float gapL = mRECT.MW(), gapR = mRECT.MW();
  if (!mLabelBounds.Empty()) {
    gapL = mLabelBounds.L;
    gapR = mLabelBounds.R;
  }

  g.PathClear();
  g.PathMoveTo(gapR, b.T + h);
  g.PathArc(b.R - cr - h, b.T + cr + h, cr, 0.f, 90.f);
  g.PathArc(b.R - cr - h, b.B - cr - h, cr, 90.f, 180.f);
  g.PathArc(b.L + cr + h, b.B - cr - h, cr, 180.f, 270.f);
  g.PathArc(b.L + cr + h, b.T + cr + h, cr, 270.f, 360.f);
  g.PathLineTo(gapL, b.T + h);
  const IColor& color = mStyle.drawShadows ? GetColor(kSH) : GetColor(kFR);
  g.PathStroke(IPattern(color), ft, IStrokeOptions(), nullptr);
}

}  // namespace igraphics
}  // namespace iplug
