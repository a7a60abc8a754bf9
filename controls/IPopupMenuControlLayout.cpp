// How the popup-menu control sizes a menu, where it places the top-level panel beside its
// anchor and each submenu beside its row, and how a panel lays out its rows: in columns, or in
// one scrolling column when the menu is taller than the area it may use.
//
// Where an area is too small for a panel, the lower limit wins every clamp: the panel starts at
// the top (and left) of the area and scrolls, rather than starting above it out of sight.

#include <algorithm>
#include <cmath>

#include "controls/IPopupMenuControl.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// v limited to [lo, hi]; when the range is empty (hi < lo), lo.
float ClampLowWins(float v, float lo, float hi) {
  return std::max(std::min(v, hi), lo);
}
}  // namespace

// --- Sizes ---

IRECT IPopupMenuControl::UsableBounds() const {
  if (mMenuBounds.W() != 0.f) return mMenuBounds;
  return GetUI() ? GetUI()->GetBounds() : IRECT();
}

IRECT IPopupMenuControl::TextSpan(const IPopupMenu& menu) const {
  IRECT span;
  const IGraphics* ui = GetUI();
  if (!ui) return span;
  for (int i = 0; i < menu.NItems(); ++i) {
    IRECT r;
    ui->MeasureText(mText, menu.GetItemText(i), r);
    span = span.Union(r);  // an empty text measures empty and takes no part
  }
  return span;
}

void IPopupMenuControl::GetMenuSize(const IPopupMenu& menu, float& width, float& height) const {
  const IRECT span = TextSpan(menu);
  int separators = 0;
  const int n = menu.NItems();
  for (int i = 0; i < n; ++i) {
    if (menu.GetItem(i)->GetIsSeparator()) ++separators;
  }
  width = span.W() + 2.f * mTextPadding + mTickWidth + mSubMenuArrowSize;
  height = static_cast<float>(n - separators) * span.H() +
           static_cast<float>(separators) * mSeparatorSize +
           static_cast<float>(std::max(n - 1, 0)) * mCellGap;
}

IRECT IPopupMenuControl::GetSingleRowRect(const IPopupMenu& menu, float x, float y) const {
  const IRECT span = TextSpan(menu);
  return IRECT(x, y, x + span.W() + 2.f * mTextPadding + mTickWidth + mSubMenuArrowSize,
               y + span.H());
}

// --- Placement ---

void IPopupMenuControl::PlaceTopLevel(const IPopupMenu& menu, float& x, float& y) {
  float w = 0.f, h = 0.f;
  GetMenuSize(menu, w, h);
  const IRECT b = UsableBounds();
  const IRECT& a = mAnchorArea;
  const float s = mDropShadowSize;
  const float c = mCallOut ? mCalloutArrowSize : 0.f;
  const float t = mText.mSize;
  const float aMidX = a.MW(), aMidY = a.MH(), bMidX = b.MW(), bMidY = b.MH();
  const float xMin = b.L + s, xMax = b.R - w - 2.f * s;
  const float yMin = b.T + s, yMax = b.B - h - 2.f * s;

  auto right = [&] {
    x = a.R + c;
    mCalloutArrowDir = 1;
    mCalloutArrowBounds = IRECT(a.R, aMidY - c / 2.f, a.R + c, aMidY + c / 2.f);
  };
  auto left = [&] {
    x = a.L - c - w - s;
    mCalloutArrowDir = 3;
    mCalloutArrowBounds = IRECT(a.L - c, aMidY - c / 2.f, a.L, aMidY + c / 2.f);
  };
  auto beside = [&] { bMidX >= aMidX ? right() : left(); };
  auto below = [&] {
    x = aMidX - w / 2.f;
    y = a.B + c;
    mCalloutArrowDir = 2;
    mCalloutArrowBounds = IRECT(aMidX - c / 2.f, a.B, aMidX + c / 2.f, a.B + c);
  };
  auto above = [&] {
    x = aMidX - w / 2.f;
    y = a.T - c - h - 2.f * s;
    mCalloutArrowDir = 0;
    mCalloutArrowBounds = IRECT(aMidX - c / 2.f, a.T - c, aMidX + c / 2.f, a.T);
  };
  auto xFits = [&] { return x <= xMax && x > xMin; };

  // Beside the anchor, towards the middle of the area, level with it.
  beside();
  y = bMidY >= aMidY ? aMidY - t - c : aMidY - h + t + c;
  const bool fits = xFits() && y > yMin && y <= yMax;
  if (!fits) {
    // Below (or above), or beside at the nearest edge, when beside does not fit.
    const bool onlyTooLow = xFits() && y > yMin && !(y <= yMax);
    if (!onlyTooLow && bMidY >= aMidY) {
      below();
      if (y > yMax) {
        beside();
        y = yMax;
      }
    }
    if (!(xFits() && y <= yMax)) {
      if (aMidY > bMidY) {
        above();
        if (y <= yMin) {
          beside();
          y = yMin;
        }
      }
    }
    x = ClampLowWins(x, xMin, xMax);
    y = ClampLowWins(y, yMin, yMax);
  }

  if (mPreferBelow) {
    if (a.B + c <= yMax) {
      below();
      y = std::max(y, yMin);
    }
    x = ClampLowWins(x, xMin, xMax);
  }

  if (mMenuHasSubmenu) {
    // Submenus open sideways, so the menu itself goes above or below its anchor.
    mSubmenuOnRight = bMidX >= aMidX;
    x = aMidX - w / 2.f + (aMidX > bMidX ? mMenuShift : -mMenuShift);
    x = ClampLowWins(x, xMin, xMax);
    if (b.B - a.B >= a.T - b.T) {
      y = ClampLowWins(a.B + c, yMin, yMax);
      mCalloutArrowDir = 2;
      mCalloutArrowBounds = IRECT(aMidX - c / 2.f, a.B, aMidX + c / 2.f, a.B + c);
    } else {
      y = ClampLowWins(a.T - c - h - 2.f * s, yMin, yMax);
      mCalloutArrowDir = 0;
      mCalloutArrowBounds = IRECT(aMidX - c / 2.f, a.T - c, aMidX + c / 2.f, a.T);
    }
  }
}

void IPopupMenuControl::PlaceSubmenu(const IPopupMenu& submenu, const IRECT& row, float& x,
                                     float& y) {
  float w = 0.f, h = 0.f;
  GetMenuSize(submenu, w, h);
  const IRECT b = UsableBounds();
  const float s = mDropShadowSize, p = mPadding, g = mCellGap;
  const float c = mCallOut ? mCalloutArrowSize : 0.f;
  const float xMin = b.L + s, xMax = b.R - w - 2.f * s;
  const float yMin = b.T + s, yMax = b.B - h - 2.f * s;

  x = mSubmenuOnRight ? row.R + p + c : row.L - p - c - w - s;
  x = ClampLowWins(x, xMin, xMax);
  if (mCalloutArrowDir == 0) {
    y = ClampLowWins(row.T - p / 2.f - h + 2.f * g + s, yMin, yMax);
  } else {
    y = ClampLowWins(row.T - p, yMin, yMax);
  }
}

void IPopupMenuControl::PlaceSubmenuCallout(const IRECT& row) {
  const float p = mPadding;
  const float c = mCallOut ? mCalloutArrowSize : 0.f;
  const float midY = row.MH();
  mSubMenuCalloutArrowBounds =
      mSubmenuOnRight ? IRECT(row.R + p, midY - c / 2.f, row.R + p + c, midY + c / 2.f)
                      : IRECT(row.L - p - c, midY - c / 2.f, row.L - p, midY + c / 2.f);
}

// --- Panels ---

IPopupMenuControl::MenuPanel::MenuPanel(IPopupMenuControl& control, IPopupMenu& menu, float x,
                                        float y, int parentIdx)
    : mMenu(&menu), mParentIdx(parentIdx) {
  mSingleCellBounds = control.GetSingleRowRect(menu, x, y);
  const float w = mSingleCellBounds.W(), h = mSingleCellBounds.H();
  const float p = control.mPadding, g = control.mCellGap;
  const IRECT b = control.UsableBounds();
  const int maxColumnItems = control.mMaxColumnItems;

  float cx = x + p, cy = y + p;
  for (int i = 0; i < menu.NItems(); ++i) {
    const float rowH = menu.GetItem(i)->GetIsSeparator() ? control.mSeparatorSize : h;
    const bool columnFull = i >= 2 && maxColumnItems > 0 && i % maxColumnItems == 0;
    if (columnFull || cy + rowH + p > b.B) {
      if (control.mScrollIfTooBig) {
        LayOutScrolling(control, x, y);
        break;
      }
      cx += w + g;
      cy = y + p;
    }
    AddRow(cx, cy, rowH);
    cy = mRows.back().B + g;
  }

  IRECT content;
  for (const IRECT& r : mRows)
    content = content.Union(r);
  if (!control.mSpecifiedExpandedBounds.Empty()) content = control.mSpecifiedExpandedBounds;
  mTargetRECT = content.GetPadded(p);
  mRECT = content.GetPadded(control.mDropShadowSize + p);
}

void IPopupMenuControl::MenuPanel::AddRow(float cx, float cy, float height) {
  mRows.push_back(IRECT(cx, cy, cx + mSingleCellBounds.W(), cy + height));
}

void IPopupMenuControl::MenuPanel::LayOutScrolling(IPopupMenuControl& control, float x, float y) {
  const float h = mSingleCellBounds.H();
  const float p = control.mPadding, g = control.mCellGap, s = control.mDropShadowSize;
  const IRECT b = control.UsableBounds();
  const float top = b.T + s + p;  // where a scrolling column starts

  // Rows that fit between the top and bottom padding; at least one, so the menu can be seen.
  const double fit = std::floor(static_cast<double>(b.B - p - top) / static_cast<double>(h + g));
  mCellCount = std::isfinite(fit) && fit >= 1. ? static_cast<int>(std::min(fit, 1e6)) : 1;

  mRows.clear();
  const int nItems = mMenu->NItems();
  const float cx = x + p;
  if (nItems < mCellCount) {
    // Everything fits once the panel moves up, but never above the top of the area.
    float cy = std::max(y + p + h - static_cast<float>(nItems) * h, top);
    for (int i = 0; i < nItems; ++i) {
      AddRow(cx, cy, mMenu->GetItem(i)->GetIsSeparator() ? control.mSeparatorSize : h);
      cy = mRows.back().B + g;
    }
    return;
  }
  // Rows show different items as the panel scrolls, so they are all of an ordinary item's
  // height.
  mScroll = true;
  float cy = top;
  for (int i = 0; i < mCellCount; ++i) {
    AddRow(cx, cy, h);
    cy = mRows.back().B + g;
  }
}

IRECT IPopupMenuControl::MenuPanel::GetRow(int row) const {
  if (row < 0 || row >= NRows()) return IRECT();
  return mRows[static_cast<size_t>(row)];
}

IPopupMenu::Item* IPopupMenuControl::MenuPanel::GetItemForRow(int row) const {
  if (row < 0 || row >= NRows()) return nullptr;
  return mMenu->GetItem(mScrollItemOffset + row);  // null past the item count
}

int IPopupMenuControl::MenuPanel::GetMarker(int row) const {
  const int nRows = NRows();
  if (row < 0 || row >= nRows || NItems() <= nRows) return 0;
  if (row == 0 && mScrollItemOffset > 0) return -1;
  if (row == nRows - 1 && mScrollItemOffset < NItems() - nRows) return 1;
  return 0;
}

}  // namespace igraphics
}  // namespace iplug
