// The popup-menu control's states, fades and mouse handling.
//
// kClosed -> kOpening (fade in) -> kOpen <-> kSubmenuOpening; a press -> kChosen -> kClosing ->
// kSettling -> kClosed, each of the last three a 100 ms animation run while the control is
// already hidden.

#include "controls/IPopupMenuControl.h"

#include <cmath>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// Past this part of a submenu's fade its panel appears at once.
constexpr double kSubmenuAppearProgress = 0.9;
}  // namespace

IPopupMenuControl::IPopupMenuControl(int paramIdx, const IText& text, const IRECT& collapsedBounds,
                                     const IRECT& expandedBounds)
    : IPopupMenuControlBase(collapsedBounds, paramIdx),
      mSpecifiedCollapsedBounds(collapsedBounds),
      mSpecifiedExpandedBounds(expandedBounds) {
  mText = text;
  // Every fade is started through the action, so marking the control dirty with the action
  // triggered is how a state's animation begins.
  SetActionFunction([](IControl* caller) {
    auto* popup = static_cast<IPopupMenuControl*>(caller);
    const int duration = popup->mState == kSubmenuOpening ? kSubmenuFadeMs : kFadeMs;
    popup->SetAnimation([](IControl* c) { static_cast<IPopupMenuControl*>(c)->AnimatePanels(); },
                        duration);
  });
  mHide = true;
}

IPopupMenuControl::~IPopupMenuControl() = default;

bool IPopupMenuControl::GetExpanded() const {
  return mState == kOpening || mState == kOpen || mState == kSubmenuOpening;
}

const IPopupMenuControl::MenuPanel* IPopupMenuControl::GetPanel(int idx) const {
  if (idx < 0 || idx >= NPanels()) return nullptr;
  return mMenuPanels[static_cast<size_t>(idx)].get();
}

int IPopupMenuControl::IndexOfPanel(const MenuPanel* panel) const {
  for (size_t i = 0; i < mMenuPanels.size(); ++i) {
    if (mMenuPanels[i].get() == panel) return static_cast<int>(i);
  }
  return -1;
}

void IPopupMenuControl::DeleteAllPanels() {
  mActiveMenuPanel = nullptr;
  mAppearingMenuPanel = nullptr;
  mMouseOverRow = -1;
  mMenuPanels.clear();
}

void IPopupMenuControl::SetAllOpacities(float opacity) {
  for (auto& panel : mMenuPanels)
    panel->mBlend.mWeight = opacity;
}

// --- Opening ---

void IPopupMenuControl::CreatePopupMenu(IPopupMenu& menu, const IRECT& anchor) {
  if (mState != kClosed) {
    // The shown menu, and the answer its requester waits for, are left alone.
    return;
  }
  IGraphics* ui = GetUI();
  if (menu.NItems() == 0 || !ui) {
    // Nothing to show: answer at once, as a menu closed without a choice.
    menu.SetChosenItemIdx(-1);
    if (ui) ui->SetControlValueAfterPopupMenu(&menu);
    return;
  }

  IRECT anchorArea = anchor;
  if (!base::isFiniteRect(anchorArea)) {
    base::warn("controls",
               "IPopupMenuControl: anchor is not a finite rectangle; menu placed at the origin");
    anchorArea = IRECT();
  }

  mMenu = &menu;
  mMenuHasSubmenu = false;
  for (int i = 0; i < menu.NItems(); ++i) {
    if (menu.GetItem(i)->GetSubmenu()) mMenuHasSubmenu = true;
  }
  if (mMenuBounds.W() == 0.f) mMenuBounds = ui->GetBounds();

  Hide(false);
  mState = kOpening;
  ui->UpdateTooltips();

  DeleteAllPanels();
  mAnchorArea = anchorArea;
  float x = 0.f, y = 0.f;
  PlaceTopLevel(menu, x, y);
  mMenuPanels.push_back(std::make_unique<MenuPanel>(*this, menu, x, y, -1));
  MenuPanel* top = mMenuPanels.back().get();
  mActiveMenuPanel = top;
  mAppearingMenuPanel = top;

  SetRECT(top->mRECT);
  SetTargetRECT(top->mTargetRECT);
  mMouseIsOver = false;
  IControl::OnResize();
  StartFade();
}

void IPopupMenuControl::SetMenuBounds(const IRECT& bounds) {
  if (!base::isFiniteRect(bounds)) {
    base::warn("controls",
               "IPopupMenuControl: menu bounds are not a finite rectangle; kept as they were");
    return;
  }
  mMenuBounds = bounds;
}

void IPopupMenuControl::DismissMenu() {
  if (mState == kClosed) return;
  // The requester is gone and may have taken its menu with it: nothing is reported and nothing
  // of the menu is read again.
  SetAnimation(nullptr);
  DeleteAllPanels();
  mMenu = nullptr;
  mShowSubmenuCallout = false;
  mAnchorArea = IRECT();
  mState = kClosed;
  Hide(true);  // the dirty area is still the panels' one, so they are wiped
  SetTargetAndDrawRECTs(mSpecifiedCollapsedBounds);
  if (IGraphics* ui = GetUI()) ui->UpdateTooltips();
}

// --- Fades ---

void IPopupMenuControl::AnimatePanels() {
  const double progress = GetAnimationProgress();
  if (progress > 1.) {
    OnEndAnimation();
    return;
  }
  const float p = static_cast<float>(progress);
  switch (mState) {
    case kOpening:
      if (mAppearingMenuPanel) mAppearingMenuPanel->mBlend.mWeight = p * mOpacity;
      break;
    case kClosing:
      SetAllOpacities((1.f - p) * mOpacity);
      break;
    case kSubmenuOpening:
      if (mAppearingMenuPanel)
        mAppearingMenuPanel->mBlend.mWeight = progress > kSubmenuAppearProgress ? mOpacity : 0.f;
      break;
    case kSettling:
      SetAllOpacities(0.f);
      break;
    case kClosed:
    case kOpen:
    case kChosen:
      break;
  }
}

void IPopupMenuControl::OnEndAnimation() {
  switch (mState) {
    case kOpening:
    case kSubmenuOpening:
      SetAllOpacities(mOpacity);
      mState = kOpen;
      break;
    case kClosing:
      SetTargetRECT(mSpecifiedCollapsedBounds);
      SetAllOpacities(0.f);
      mState = kSettling;
      mMouseOverRow = -1;
      mAnchorArea = IRECT();
      StartFade();
      return;
    case kChosen:
      mState = kClosing;
      StartFade();
      return;
    case kSettling:
      if (IGraphics* ui = GetUI()) ui->UpdateTooltips();
      DeleteAllPanels();
      mMenu = nullptr;
      SetRECT(mSpecifiedCollapsedBounds);
      mState = kClosed;
      break;
    case kClosed:
    case kOpen:
      break;  // nothing chained: the animation simply ends
  }
  IControl::OnEndAnimation();
}

// --- Mouse ---

int IPopupMenuControl::HitTestRows(const MenuPanel& panel, float x, float y) const {
  for (int row = 0; row < panel.NRows(); ++row) {
    if (!panel.GetRow(row).Contains(x, y)) continue;
    if (panel.GetMarker(row) != 0) return row;
    const IPopupMenu::Item* item = panel.GetItemForRow(row);
    if (item && item->GetEnabled()) return row;
  }
  return -1;
}

void IPopupMenuControl::TrackPointer(float x, float y) {
  if (!mActiveMenuPanel) return;
  mMouseOverRow = HitTestRows(*mActiveMenuPanel, x, y);
  if (mMouseOverRow >= 0) return;
  // The last panel is on top.
  for (auto it = mMenuPanels.rbegin(); it != mMenuPanels.rend(); ++it) {
    MenuPanel* panel = it->get();
    if (!panel->mShouldDraw || !panel->mRECT.Contains(x, y)) continue;
    mActiveMenuPanel = panel;
    mMouseOverRow = HitTestRows(*panel, x, y);
    return;
  }
}

void IPopupMenuControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (!GetExpanded()) {
    IControl::OnMouseDown(x, y, mod);
    return;
  }
  // A press chooses from the panel under it even when no move announced that panel first.
  TrackPointer(x, y);
  FinishSelection();
}

void IPopupMenuControl::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  if (!mActiveMenuPanel) return;
  mMouseOverRow = HitTestRows(*mActiveMenuPanel, x, y);
  SetDirty(false);
}

void IPopupMenuControl::OnMouseOut() {
  mMouseOverRow = -1;
  SetDirty(false);  // the row's highlight goes with the pointer
}

void IPopupMenuControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  if (!mActiveMenuPanel) return;
  TrackPointer(x, y);
  const bool submenuAppearing = UpdateSubmenus();
  ScrollActivePanel();
  if (submenuAppearing) {
    StartFade();  // the submenu's 200 ms; a move that changes nothing starts no animation
  } else {
    SetDirty(false);
  }
}

bool IPopupMenuControl::OnKeyDown(float x, float y, const IKeyPress& key) {
  if (!GetExpanded() || key.VK != kVK_ESCAPE) return false;
  mMouseOverRow = -1;
  FinishSelection();
  return true;
}

void IPopupMenuControl::HideDescendants(int idx) {
  if (idx < 0) return;
  // A panel's parent always comes before it in the list, so one pass finds every generation.
  std::vector<bool> descends(mMenuPanels.size(), false);
  for (size_t i = 0; i < mMenuPanels.size(); ++i) {
    const int parent = mMenuPanels[i]->mParentIdx;
    if (parent == idx || (parent >= 0 && static_cast<size_t>(parent) < i && descends[parent])) {
      descends[i] = true;
      mMenuPanels[i]->mShouldDraw = false;
    }
  }
}

bool IPopupMenuControl::UpdateSubmenus() {
  MenuPanel* active = mActiveMenuPanel;
  if (!active || mMouseOverRow < 0 || active->NRows() == 0) return false;
  const int activeIdx = IndexOfPanel(active);
  const int row = mMouseOverRow;
  // A scroll marker row shows no item: it opens nothing.
  IPopupMenu::Item* item = active->GetMarker(row) == 0 ? active->GetItemForRow(row) : nullptr;
  IPopupMenu* submenu = item ? item->GetSubmenu() : nullptr;

  if (!submenu) {
    HideDescendants(activeIdx);
    active->mHighlightedRow = -1;
    mShowSubmenuCallout = false;
    return false;
  }

  MenuPanel* subPanel = nullptr;
  for (auto& panel : mMenuPanels) {
    panel->mShouldDraw = &panel->GetMenu() == submenu;
    if (panel->mShouldDraw) subPanel = panel.get();
  }
  active->mHighlightedRow = item->GetEnabled() ? row : -1;
  if (!subPanel) {
    float x = 0.f, y = 0.f;
    PlaceSubmenu(*submenu, active->GetRow(row), x, y);
    mMenuPanels.push_back(std::make_unique<MenuPanel>(*this, *submenu, x, y, activeIdx));
    subPanel = mMenuPanels.back().get();
  }

  // The submenu and the chain of panels it opened from are what is shown.
  IRECT drawn = mRECT;
  IRECT target = mTargetRECT;
  for (MenuPanel* p = subPanel; p;) {
    p->mShouldDraw = true;
    drawn = drawn.Union(p->mRECT);
    target = target.Union(p->mTargetRECT);
    const int parent = p->mParentIdx;
    p = parent >= 0 && parent < NPanels() ? mMenuPanels[static_cast<size_t>(parent)].get()
                                          : nullptr;
  }
  SetRECT(drawn);
  SetTargetRECT(target);
  if (subPanel->mParentIdx >= 0) {
    PlaceSubmenuCallout(active->GetRow(row));
    mShowSubmenuCallout = true;
  }
  mMouseIsOver = false;
  IControl::OnResize();

  if (subPanel == mAppearingMenuPanel) return false;
  mAppearingMenuPanel = subPanel;
  mState = kSubmenuOpening;
  return true;
}

void IPopupMenuControl::ScrollActivePanel() {
  MenuPanel* panel = mActiveMenuPanel;
  if (!panel || !panel->mScroll || mMouseOverRow < 0) return;
  const int nRows = panel->NRows();
  if (mMouseOverRow == 0) {
    panel->mScrollItemOffset = std::max(panel->mScrollItemOffset - 1, 0);
  } else if (mMouseOverRow == nRows - 1) {
    const int last = std::max(panel->NItems() - nRows, 0);
    panel->mScrollItemOffset = std::min(std::max(panel->mScrollItemOffset, 0) + 1, last);
  }
}

// --- Choosing ---

void IPopupMenuControl::FinishSelection() {
  MenuPanel* panel = mActiveMenuPanel;
  if (!panel && !mMenuPanels.empty()) panel = mMenuPanels.front().get();
  IPopupMenu* answer = panel ? &panel->GetMenu() : mMenu;

  if (answer) {
    answer->SetChosenItemIdx(-1);
    const int row = mMouseOverRow;
    if (panel && row >= 0 && panel->GetMarker(row) == 0) {
      const IPopupMenu::Item* item = panel->GetItemForRow(row);
      if (item && !item->GetIsIndented() && !item->GetIsSeparator() && item->GetEnabled() &&
          !item->GetSubmenu()) {
        answer->SetChosenItemIdx(panel->mScrollItemOffset + row);
        panel->mChosenRow = row;
      }
    }
    answer->ExecFunction();
    if (IGraphics* ui = GetUI()) ui->SetControlValueAfterPopupMenu(answer);
  }

  mShowSubmenuCallout = false;
  mActiveMenuPanel = nullptr;
  mState = kChosen;
  Hide(true);
  StartFade();
}

}  // namespace igraphics
}  // namespace iplug
