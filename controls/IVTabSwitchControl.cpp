#include "controls/IVTabSwitchControl.h"

#include <algorithm>

#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
int CountOf(std::initializer_list<const char*> options) {
  return static_cast<int>(std::min<size_t>(options.size(), IVTabSwitchControl::kMaxNumTabs));
}
}  // namespace

IVTabSwitchControl::IVTabSwitchControl(const IRECT& bounds, int paramIdx,
                                       std::initializer_list<const char*> options,
                                       const char* label, const IVStyle& style, int shape,
                                       EDirection direction)
    : ISwitchControlBase(bounds, paramIdx, SplashClickActionFunc, CountOf(options)),
      IVectorBase(style),
      mDirection(direction) {
  Setup(options, label, shape);
}

IVTabSwitchControl::IVTabSwitchControl(const IRECT& bounds, IActionFunction actionFunc,
                                       std::initializer_list<const char*> options,
                                       const char* label, const IVStyle& style, int shape,
                                       EDirection direction)
    : ISwitchControlBase(bounds, kNoParameter, std::move(actionFunc), CountOf(options)),
      IVectorBase(style),
      mDirection(direction) {
  Setup(options, label, shape);
}

void IVTabSwitchControl::Setup(std::initializer_list<const char*> options, const char* label,
                               int shape) {
  AttachIControl(this, label);
  mShape = shape;
  if (static_cast<int>(options.size()) > kMaxNumTabs)
    base::warn("controls", "IVTabSwitchControl: %zu options; only the first %d are kept",
               options.size(), kMaxNumTabs);
  for (const char* option : options) {
    if (NTabLabels() == kMaxNumTabs) break;
    mTabLabels.emplace_back(option ? option : "");
  }
  AlignValueText(EAlign::Center, EVAlign::Middle);
}

void IVTabSwitchControl::AlignValueText(EAlign align, EVAlign valign) {
  mStyle.valueText.mAlign = align;
  mStyle.valueText.mVAlign = valign;
  mText = mStyle.valueText;
}

void IVTabSwitchControl::OnInit() {
  ISwitchControlBase::OnInit();
  if (mNumStates > kMaxNumTabs)
    base::warn("controls", "IVTabSwitchControl: %d states; only the first %d get a tab", mNumStates,
               kMaxNumTabs);
  const IParam* param = GetParam(0);
  if (!param || !mTabLabels.empty()) return;
  // State k stands for the parameter's value min + k, so a range that does not start at 0
  // finds its display texts too.
  const int n = std::min(mNumStates, kMaxNumTabs);
  for (int k = 0; k < n; ++k)
    mTabLabels.emplace_back(param->GetDisplayText(param->GetMin() + k));
  if (mLabelStr.GetLength() == 0) mLabelStr.Set(param->GetName());
}

void IVTabSwitchControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT, false));
  mMouseIsOver = false;
  mButtons.clear();
  const int n = std::min(mNumStates, kMaxNumTabs);
  for (int k = 0; k < n; ++k)
    mButtons.push_back(mWidgetBounds.SubRect(mDirection, mNumStates, k));
  SetDirty(false);
}

int IVTabSwitchControl::NDrawnTabs() const {
  return std::min(mNumStates, NButtons());
}

IVTabSwitchControl::ETabSegment IVTabSwitchControl::SegmentOf(int k) const {
  if (k == mNumStates - 1) return ETabSegment::End;  // a single tab is an end
  return k == 0 ? ETabSegment::Start : ETabSegment::Mid;
}

void IVTabSwitchControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawLabel(g);
  DrawWidget(g);
}

void IVTabSwitchControl::DrawWidget(IGraphics& g) {
  const int selected = GetSelectedIdx();
  for (int k = 0; k < NDrawnTabs(); ++k) {
    const IRECT& r = mButtons[static_cast<size_t>(k)];
    WithTabBlend(k, [&] {
      DrawButton(g, r, k == selected, k == mMouseOverButton, SegmentOf(k), TabDisabled(k));
      if (const char* text = GetTabLabel(k)) g.DrawText(mStyle.valueText, text, r, &mBlend);
    });
  }
}

void IVTabSwitchControl::DrawButton(IGraphics& g, const IRECT& r, bool pressed, bool mouseOver,
                                    ETabSegment segment, bool disabled) {
  // The rounded corners are the tab row's outer ones: the top of a row, the right side of a
  // column, and for shape 3 only the two ends of the row or column.
  const bool horizontal = mDirection == EDirection::Horizontal;
  bool tl = false, tr = false, br = false, bl = false;
  switch (mShape) {
    case kVShapeAllRounded:
      tl = horizontal;
      tr = true;
      br = !horizontal;
      break;
    case kVShapeEndsRounded: {
      const bool start = segment == ETabSegment::Start, end = segment == ETabSegment::End;
      tl = horizontal && start;
      tr = horizontal ? end : start;
      br = !horizontal && end;
      break;
    }
    default:
      DrawPressableShape(g, mShape, r, pressed, mouseOver, disabled);
      return;
  }
  DrawPressableRectangle(g, r, pressed, mouseOver, disabled, tl, tr, br, bl);
}

int IVTabSwitchControl::GetButtonForPoint(float x, float y) const {
  for (int k = 0; k < NButtons(); ++k) {
    if (mButtons[static_cast<size_t>(k)].Contains(x, y)) return k;
  }
  return -1;
}

bool IVTabSwitchControl::IsHit(float x, float y) const {
  return GetButtonForPoint(x, y) >= 0;
}

void IVTabSwitchControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  const int k = GetButtonForPoint(x, y);
  // A disabled state's tab is inert: no selection and no action.
  if (k >= 0 && GetStateDisabled(k)) return;
  // With one state there is nothing to choose between: its value is 0.
  if (k >= 0) SetValue(mNumStates > 1 ? static_cast<double>(k) / (mNumStates - 1) : 0., 0);
  SetDirty(true);
}

void IVTabSwitchControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  mMouseOverButton = GetButtonForPoint(x, y);
  IControl::OnMouseOver(x, y, mod);
  SetDirty(false);
}

void IVTabSwitchControl::OnMouseOut() {
  mMouseOverButton = -1;
  IControl::OnMouseOut();
  SetDirty(false);
}

const char* IVTabSwitchControl::GetTabLabel(int k) const {
  if (k < 0 || k >= NTabLabels()) return nullptr;
  return mTabLabels[static_cast<size_t>(k)].Get();
}

const char* IVTabSwitchControl::GetSelectedLabelStr() const {
  const char* text = GetTabLabel(GetSelectedIdx());
  return text ? text : "";
}

IRECT IVTabSwitchControl::GetButtonRect(int k) const {
  if (k < 0 || k >= NButtons()) return IRECT();
  return mButtons[static_cast<size_t>(k)];
}

}  // namespace igraphics
}  // namespace iplug
