// How the popup-menu control paints its panels: shadow, body, rows (with scroll markers in
// place of the first and last rows of a scrolled panel), then the call-out arrows. Each part is
// a hook of its own so a derived control can restyle it.

#include <algorithm>

#include "controls/IPopupMenuControl.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// The drop shadow under each panel.
constexpr float kShadowOffset = 2.f;
constexpr float kShadowBlur = 10.f;
constexpr float kCheckMarkRadius = 2.f;
// Scroll markers are triangles this part of the row height from the row's centre.
constexpr float kScrollMarkerExtent = 0.3f;
// Separators are drawn only once their panel is almost fully shown, faintly.
constexpr float kSeparatorMinOpacity = 0.9f;
constexpr float kSeparatorWeight = 0.25f;
}  // namespace

void IPopupMenuControl::Draw(IGraphics& g) {
  for (const auto& panelPtr : mMenuPanels) {
    const MenuPanel& panel = *panelPtr;
    if (!panel.mShouldDraw) continue;
    const IBlend* blend = &panel.mBlend;
    PaintPanelShadow(g, panel.mRECT, blend);
    PaintPanelBackground(g, panel.mTargetRECT, blend);

    const bool active = &panel == mActiveMenuPanel;
    auto hovered = [&](int row) { return active && row == mMouseOverRow; };
    const int nRows = panel.NRows();
    int first = 0, last = nRows;  // the rows that show items
    if (panel.GetMarker(0) < 0) {
      PaintCellBackground(g, panel.GetRow(0), nullptr, hovered(0), blend);
      PaintScrollUpMarker(g, panel.GetRow(0), hovered(0), blend);
      first = 1;
    }
    if (nRows > 0 && panel.GetMarker(nRows - 1) > 0) {
      PaintCellBackground(g, panel.GetRow(nRows - 1), nullptr, hovered(nRows - 1), blend);
      PaintScrollDownMarker(g, panel.GetRow(nRows - 1), hovered(nRows - 1), blend);
      last = nRows - 1;
    }

    for (int row = first; row < last; ++row) {
      const IPopupMenu::Item* item = panel.GetItemForRow(row);
      if (!item) continue;
      const IRECT r = panel.GetRow(row);
      if (item->GetIsSeparator()) {
        PaintSeparator(g, r, blend);
        continue;
      }
      const bool highlighted = hovered(row) || row == panel.mHighlightedRow;
      // The chosen row keeps no highlight while the menu fades out.
      if (!(panel.mChosenRow >= 0 && mState == kChosen))
        PaintCellBackground(g, r, item, highlighted, blend);
      PaintCellText(g, r, *item, highlighted, blend);
      if (item->GetChecked()) PaintCheckMark(g, r, highlighted, blend);
      if (item->GetSubmenu()) PaintSubmenuMarker(g, r, highlighted, blend);
    }
  }

  if (mCallOut && !mMenuPanels.empty()) {
    const IBlend* blend = &mMenuPanels.front()->mBlend;
    PaintCallout(g, blend);
    if (mMenuHasSubmenu && mShowSubmenuCallout) PaintSubmenuCallout(g, blend);
  }
}

void IPopupMenuControl::PaintPanelShadow(IGraphics& g, const IRECT& panel, const IBlend* blend) {
  g.DrawBoxShadow(panel.GetPadded(-mDropShadowSize), panel, blend, 0.f, kShadowOffset, mRoundness,
                  kShadowBlur);
}

void IPopupMenuControl::PaintPanelBackground(IGraphics& g, const IRECT& target,
                                             const IBlend* blend) {
  g.FillRoundRect(mPanelBackgroundColor, target, mRoundness, blend);
}

void IPopupMenuControl::PaintCellBackground(IGraphics& g, const IRECT& row,
                                            const IPopupMenu::Item* item, bool highlighted,
                                            const IBlend* blend) {
  if (!highlighted) return;
  g.FillRect(mCellBackGroundColor, IRECT(row.L - mPadding, row.T, row.R + mPadding, row.B), blend);
}

void IPopupMenuControl::PaintCellText(IGraphics& g, const IRECT& row, const IPopupMenu::Item& item,
                                      bool highlighted, const IBlend* blend) {
  if (highlighted) {
    mText.mFGColor = mItemMouseoverColor;
  } else {
    mText.mFGColor = item.GetEnabled() ? mItemColor : mDisabledItemColor;
  }
  mText.mAlign = EAlign::Near;
  const float textL = row.L + (mTickWidth + std::max(1.f, mTickWidth)) / 2.f + mTextPadding;
  g.DrawText(mText, item.GetText(), IRECT(textL, row.T, row.R - mTextPadding, row.B), blend);
}

void IPopupMenuControl::PaintCheckMark(IGraphics& g, const IRECT& row, bool highlighted,
                                       const IBlend* blend) {
  const float side = std::max(1.f, mTickWidth / 2.f);
  const float cx = row.L + mTickWidth / 2.f, cy = row.MH();
  g.FillRoundRect(highlighted ? mItemMouseoverColor : mItemColor,
                  IRECT(cx - side / 2.f, cy - side / 2.f, cx + side / 2.f, cy + side / 2.f),
                  kCheckMarkRadius, blend);
}

void IPopupMenuControl::PaintSubmenuMarker(IGraphics& g, const IRECT& row, bool highlighted,
                                           const IBlend* blend) {
  const IColor& color = highlighted ? mItemMouseoverColor : mItemColor;
  const float half = row.H() / 2.f, midY = row.MH();
  if (mSubmenuOnRight) {
    const float tip = row.R + mPadding / 2.f;
    g.FillTriangle(color, tip - half, midY - half / 2.f, tip - half, midY + half / 2.f, tip, midY,
                   blend);
  } else {
    const float tip = row.L - mPadding / 2.f;
    g.FillTriangle(color, tip + half, midY - half / 2.f, tip + half, midY + half / 2.f, tip, midY,
                   blend);
  }
}

void IPopupMenuControl::PaintScrollUpMarker(IGraphics& g, const IRECT& row, bool highlighted,
                                            const IBlend* blend) {
  const float k = kScrollMarkerExtent * row.H(), cx = row.MW(), midY = row.MH();
  g.FillTriangle(highlighted ? mItemMouseoverColor : mItemColor, cx - k, midY + k, cx + k, midY + k,
                 cx, midY - k, blend);
}

void IPopupMenuControl::PaintScrollDownMarker(IGraphics& g, const IRECT& row, bool highlighted,
                                              const IBlend* blend) {
  const float k = kScrollMarkerExtent * row.H(), cx = row.MW(), midY = row.MH();
  g.FillTriangle(highlighted ? mItemMouseoverColor : mItemColor, cx - k, midY - k, cx + k, midY - k,
                 cx, midY + k, blend);
}

void IPopupMenuControl::PaintSeparator(IGraphics& g, const IRECT& row, const IBlend* blend) {
  if (BlendWeight(blend) <= kSeparatorMinOpacity) return;
  const IBlend faint(EBlend::Default, kSeparatorWeight);
  g.FillRect(mSeparatorColor, row, &faint);
}

void IPopupMenuControl::PaintCallout(IGraphics& g, const IBlend* blend) {
  const IRECT& r = mCalloutArrowBounds;
  const float k = r.H() / 2.f, cx = r.MW(), cy = r.MH();
  switch (mCalloutArrowDir) {
    case 0:  // panel above: points down at the anchor
      g.FillTriangle(mPanelBackgroundColor, cx - k, cy - k, cx + k, cy - k, cx, cy + k, blend);
      break;
    case 1:  // panel to the right: points left
      g.FillTriangle(mPanelBackgroundColor, cx + k, cy + k, cx + k, cy - k, cx - k, cy, blend);
      break;
    case 2:  // panel below: points up
      g.FillTriangle(mPanelBackgroundColor, cx - k, cy + k, cx + k, cy + k, cx, cy - k, blend);
      break;
    case 3:  // panel to the left: points right
      g.FillTriangle(mPanelBackgroundColor, cx - k, cy + k, cx - k, cy - k, cx + k, cy, blend);
      break;
    default:
      break;
  }
}

void IPopupMenuControl::PaintSubmenuCallout(IGraphics& g, const IBlend* blend) {
  const IRECT& r = mSubMenuCalloutArrowBounds;
  const float k = r.H() / 2.f, cx = r.MW(), cy = r.MH();
  if (mSubmenuOnRight) {
    g.FillTriangle(mPanelBackgroundColor, cx + k, cy + k, cx + k, cy - k, cx - k, cy, blend);
  } else {
    g.FillTriangle(mPanelBackgroundColor, cx - k, cy + k, cx - k, cy - k, cx + k, cy, blend);
  }
}

}  // namespace igraphics
}  // namespace iplug
