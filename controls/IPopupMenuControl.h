#pragma once

// The in-interface popup menu. It shows an IPopupMenu as rounded panels inside the editor, one
// per open submenu level, that fade in, follow the pointer, scroll when too tall and fade out
// after a choice. The graphics core keeps the one it makes apart from its control list, hands it
// every popup request and, while a panel is visible, every mouse event.
//
// States, animation and mouse handling live in IPopupMenuControl.cpp; sizing, placement and the
// rows of a panel in IPopupMenuControlLayout.cpp; painting in IPopupMenuControlDrawing.cpp.

#include <memory>
#include <vector>

#include "graphics/IPopupMenu.h"
#include "graphics/IPopupMenuControlBase.h"

namespace iplug {
namespace igraphics {

class IPopupMenuControl : public IPopupMenuControlBase {
 public:
  enum EPopupState { kClosed = 0, kOpening, kOpen, kClosing, kChosen, kSubmenuOpening, kSettling };

  // Length of every fade but a submenu's.
  static constexpr int kFadeMs = 100;
  // A submenu panel stays invisible for most of this time, then appears.
  static constexpr int kSubmenuFadeMs = 200;

  // One shown menu level. Row i shows item (scroll offset + i) of the panel's menu.
  class MenuPanel {
   public:
    // Lays out the rows of menu at (x, y) with the control's metrics and bounds.
    MenuPanel(IPopupMenuControl& control, IPopupMenu& menu, float x, float y, int parentIdx);

    IPopupMenu& GetMenu() const { return *mMenu; }
    int NRows() const { return static_cast<int>(mRows.size()); }
    // The row's rectangle; an empty one for an index outside the rows.
    IRECT GetRow(int row) const;
    // The item row shows, or null when the row or the item index is outside the list.
    IPopupMenu::Item* GetItemForRow(int row) const;
    // The scroll marker a row shows in place of its item: 0 none, -1 up, +1 down.
    int GetMarker(int row) const;
    int NItems() const { return mMenu->NItems(); }

    const IRECT& GetRect() const { return mRECT; }
    const IRECT& GetTargetRect() const { return mTargetRECT; }
    const IRECT& GetCellTemplate() const { return mSingleCellBounds; }
    bool IsVisible() const { return mShouldDraw; }
    float GetOpacity() const { return mBlend.mWeight; }
    const IBlend& GetBlend() const { return mBlend; }
    int GetParentIdx() const { return mParentIdx; }
    bool GetScrolls() const { return mScroll; }
    int GetScrollItemOffset() const { return mScrollItemOffset; }
    int GetVisibleCellLimit() const { return mCellCount; }
    int GetHighlightedRow() const { return mHighlightedRow; }
    int GetChosenRow() const { return mChosenRow; }

   private:
    friend class IPopupMenuControl;
    // Lays the items out again in one scrolling column (only as many rows as the bounds hold).
    void LayOutScrolling(IPopupMenuControl& control, float x, float y);
    // One row of the given height at (cx, cy) in the cell template's width.
    void AddRow(float cx, float cy, float height);

    IPopupMenu* mMenu;  // borrowed
    std::vector<IRECT> mRows;
    IRECT mRECT;        // the whole panel with its shadow margin; hit-tests panels
    IRECT mTargetRECT;  // the visible body
    int mCellCount = 0;
    bool mShouldDraw = true;
    IBlend mBlend{EBlend::Default, 0.f};
    IRECT mSingleCellBounds;
    int mHighlightedRow = -1;  // the row whose submenu is open
    int mChosenRow = -1;
    int mParentIdx;
    bool mScroll = false;
    int mScrollItemOffset = 0;
  };

  // The graphics core builds it with parameter index -1, the application's text style, empty
  // collapsed bounds and the expanded bounds the application gives (empty: panels fit rows).
  IPopupMenuControl(int paramIdx = kNoParameter, const IText& text = DEFAULT_TEXT,
                    const IRECT& collapsedBounds = IRECT(), const IRECT& expandedBounds = IRECT());
  ~IPopupMenuControl() override;

  // --- What the graphics core asks ---
  // Opens the menu for the anchor rectangle when the control is closed. An empty menu does not
  // open and is answered at once with nothing chosen. While another menu shows or is still
  // closing, the request is refused and the shown menu left alone (the graphics core answers).
  void CreatePopupMenu(IPopupMenu& menu, const IRECT& anchor) override;
  // True while a panel is visible (opening, open, a submenu opening): presses and moves then
  // belong to the menu, never to the controls underneath.
  bool GetExpanded() const override;
  bool CanOpenMenu() const override { return mState == kClosed; }
  void DismissMenu() override;

  // --- Mouse and keys ---
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override {}
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  // Escape closes the menu with nothing chosen, as a click beside it does.
  bool OnKeyDown(float x, float y, const IKeyPress& key) override;

  void Draw(IGraphics& g) override;
  void OnEndAnimation() override;

  // Writes the answer into the active panel's menu (the chosen row's item, or -1), runs that
  // menu's completion function, reports the menu to the control that asked and lets the panels
  // fade out.
  virtual void FinishSelection();

  // --- State, for the graphics core, the gallery and tests ---
  EPopupState GetState() const { return mState; }
  int NPanels() const { return static_cast<int>(mMenuPanels.size()); }
  const MenuPanel* GetPanel(int idx) const;
  const MenuPanel* GetActivePanel() const { return mActiveMenuPanel; }
  // The row of the active panel under the pointer, or -1.
  int GetMouseOverRow() const { return mMouseOverRow; }
  const IRECT& GetAnchor() const { return mAnchorArea; }
  int GetCalloutDirection() const { return mCalloutArrowDir; }
  const IRECT& GetCalloutRect() const { return mCalloutArrowBounds; }
  const IRECT& GetSubmenuCalloutRect() const { return mSubMenuCalloutArrowBounds; }
  bool GetSubmenusOpenToTheRight() const { return mSubmenuOnRight; }

  // --- Options ---
  // The area menus may use; an empty rectangle means the whole editor. A rectangle with an edge
  // that is not a finite number is refused.
  void SetMenuBounds(const IRECT& bounds);
  const IRECT& GetMenuBounds() const { return mMenuBounds; }
  // 0: no limit. A full column starts a new one, or scrolling when scrolling is on.
  void SetMaxColumnItems(int n) { mMaxColumnItems = n < 0 ? 0 : n; }
  void SetScrollIfTooBig(bool scroll) { mScrollIfTooBig = scroll; }
  void SetCallout(bool callout) { mCallOut = callout; }
  void SetPreferBelow(bool preferBelow) { mPreferBelow = preferBelow; }
  // Menu size (width, height) of a menu laid out in one column, as placement sees it.
  void GetMenuSize(const IPopupMenu& menu, float& width, float& height) const;
  // The cell template of a panel built at (x, y) for menu.
  IRECT GetSingleRowRect(const IPopupMenu& menu, float x, float y) const;

 protected:
  // Drawing hooks, in the order the panels use them. Each gets the blend of the panel drawn.
  virtual void PaintCallout(IGraphics& g, const IBlend* blend);
  virtual void PaintSubmenuCallout(IGraphics& g, const IBlend* blend);
  virtual void PaintPanelBackground(IGraphics& g, const IRECT& target, const IBlend* blend);
  virtual void PaintPanelShadow(IGraphics& g, const IRECT& panel, const IBlend* blend);
  virtual void PaintCellBackground(IGraphics& g, const IRECT& row, const IPopupMenu::Item* item,
                                   bool highlighted, const IBlend* blend);
  virtual void PaintCellText(IGraphics& g, const IRECT& row, const IPopupMenu::Item& item,
                             bool highlighted, const IBlend* blend);
  virtual void PaintCheckMark(IGraphics& g, const IRECT& row, bool highlighted,
                              const IBlend* blend);
  virtual void PaintSubmenuMarker(IGraphics& g, const IRECT& row, bool highlighted,
                                  const IBlend* blend);
  virtual void PaintScrollUpMarker(IGraphics& g, const IRECT& row, bool highlighted,
                                   const IBlend* blend);
  virtual void PaintScrollDownMarker(IGraphics& g, const IRECT& row, bool highlighted,
                                     const IBlend* blend);
  virtual void PaintSeparator(IGraphics& g, const IRECT& row, const IBlend* blend);

 private:
  // The fade of the current state, driven by each frame's progress.
  void AnimatePanels();
  void SetAllOpacities(float opacity);
  void DeleteAllPanels();
  int IndexOfPanel(const MenuPanel* panel) const;
  // The first row of the panel containing the point whose item can be hovered, or -1. Scroll
  // marker rows are always hit: hovering them scrolls.
  int HitTestRows(const MenuPanel& panel, float x, float y) const;
  // Makes the panel under the point active when the active panel's rows miss it.
  void TrackPointer(float x, float y);
  // Opens, keeps or closes submenu panels for the hovered row; true when a new submenu panel
  // started appearing.
  bool UpdateSubmenus();
  // Hides every panel that descends from the panel at index.
  void HideDescendants(int idx);
  // One hover step of a scrolling panel when the pointer is on its first or last row.
  void ScrollActivePanel();
  // Runs the control's action: the fade of the current state starts.
  void StartFade() { SetDirty(true); }

  // --- Layout (IPopupMenuControlLayout.cpp) ---
  // The area menus use: the menu bounds, or the editor.
  IRECT UsableBounds() const;
  // The union of the measured texts of every item.
  IRECT TextSpan(const IPopupMenu& menu) const;
  // Where the top-level panel goes for the anchor; sets the call-out and submenu side.
  void PlaceTopLevel(const IPopupMenu& menu, float& x, float& y);
  // Where a submenu's panel goes beside the row that opens it; sets the submenu call-out.
  void PlaceSubmenu(const IPopupMenu& submenu, const IRECT& row, float& x, float& y);
  void PlaceSubmenuCallout(const IRECT& row);

  std::vector<std::unique_ptr<MenuPanel>> mMenuPanels;
  MenuPanel* mActiveMenuPanel = nullptr;
  MenuPanel* mAppearingMenuPanel = nullptr;
  EPopupState mState = kClosed;
  int mMouseOverRow = -1;       // a row of the active panel
  IPopupMenu* mMenu = nullptr;  // borrowed
  int mMaxColumnItems = 0;
  bool mScrollIfTooBig = true;
  bool mCallOut = false;
  bool mMenuHasSubmenu = false;
  bool mPreferBelow = true;
  bool mSubmenuOnRight = true;
  bool mShowSubmenuCallout = false;
  float mCellGap = 2.f;
  float mSeparatorSize = 2.f;
  float mRoundness = 5.f;
  float mDropShadowSize = 10.f;
  float mOpacity = 0.95f;
  float mMenuShift = 0.f;
  float mTextPadding = 5.f;
  float mTickWidth = 10.f;
  float mSubMenuArrowSize = 8.f;
  float mPadding = 5.f;
  float mCalloutArrowSize = 8.f;
  IRECT mAnchorArea;
  int mCalloutArrowDir = 1;
  IRECT mCalloutArrowBounds;
  IRECT mSubMenuCalloutArrowBounds;
  IRECT mMenuBounds;
  IColor mPanelBackgroundColor = COLOR_WHITE;
  IColor mCellBackGroundColor{255, 0, 0, 255};
  IColor mItemMouseoverColor = COLOR_WHITE;
  IColor mItemColor = COLOR_BLACK;
  IColor mDisabledItemColor{255, 127, 127, 127};
  IColor mSeparatorColor{255, 200, 200, 200};
  IRECT mSpecifiedCollapsedBounds;
  IRECT mSpecifiedExpandedBounds;
};

}  // namespace igraphics
}  // namespace iplug
