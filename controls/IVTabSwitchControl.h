#pragma once

// Every state of a multi-state value at once, as a row or column of tabs, each with its text;
// clicking a tab selects its state. The tab under the pointer has the mouse-over look and a
// disabled state's tab is drawn disabled and cannot be selected. Bound to a parameter and built
// without texts, the tabs show the parameter's display texts and the label its name.

#include <initializer_list>
#include <vector>

#include "controls/IControlActions.h"
#include "controls/ISwitchControlBase.h"
#include "controls/IVectorBase.h"
#include "framework/WDLString.h"

namespace iplug {
namespace igraphics {

class IVTabSwitchControl : public ISwitchControlBase, public IVectorBase {
 public:
  // Where a tab sits in the row, which decides the corners a shape-3 tab rounds.
  enum class ETabSegment { Start = 0, Mid = 1, End = 2 };

  // More states than this get no tab of their own: a layout cannot show them and the tab
  // rectangles would take memory in proportion to a parameter's range. Every tab has a state
  // disabled flag.
  static constexpr int kMaxNumTabs = kMaxStateFlags;

  // Bound to a parameter, with the splash click action and as many states as options (the
  // parameter's range decides once attached). A null option or label counts as empty.
  IVTabSwitchControl(const IRECT& bounds, int paramIdx = kNoParameter,
                     std::initializer_list<const char*> options = {}, const char* label = "",
                     const IVStyle& style = DEFAULT_STYLE, int shape = kVShapeRectangle,
                     EDirection direction = EDirection::Horizontal);
  // Unbound, with the given action and as many states as options.
  IVTabSwitchControl(const IRECT& bounds, IActionFunction actionFunc,
                     std::initializer_list<const char*> options = {}, const char* label = "",
                     const IVStyle& style = DEFAULT_STYLE, int shape = kVShapeRectangle,
                     EDirection direction = EDirection::Horizontal);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void OnResize() override;
  void OnInit() override;
  void Draw(IGraphics& g) override;
  bool IsHit(float x, float y) const override;

  void DrawWidget(IGraphics& g) override;
  virtual void DrawButton(IGraphics& g, const IRECT& r, bool pressed, bool mouseOver,
                          ETabSegment segment, bool disabled);
  // The tab that holds (x, y), or -1.
  virtual int GetButtonForPoint(float x, float y) const;

  // The text of the selected tab, or "" when it has none.
  const char* GetSelectedLabelStr() const;
  // The text of tab k, or null when it has none.
  const char* GetTabLabel(int k) const;
  int NTabLabels() const { return static_cast<int>(mTabLabels.size()); }
  // The rectangle of tab k (all zero outside the tabs laid out).
  IRECT GetButtonRect(int k) const;
  int NButtons() const { return static_cast<int>(mButtons.size()); }
  int GetMouseOverButton() const { return mMouseOverButton; }
  EDirection GetDirection() const { return mDirection; }

 protected:
  // The text of the tabs and of the control itself is aligned so.
  void AlignValueText(EAlign align, EVAlign valign);
  // The tabs that can be drawn: one per state, as far as they are laid out.
  int NDrawnTabs() const;
  ETabSegment SegmentOf(int k) const;
  // The state's look: the control's, or the state's own disabled flag.
  bool TabDisabled(int k) const { return IsDisabled() || GetStateDisabled(k); }
  // Runs draw with the control's blend dimmed as a disabled control's when state k alone is
  // disabled, so its tab and text look as a disabled control does.
  template <class F>
  void WithTabBlend(int k, F&& draw) {
    const IBlend saved = mBlend;
    if (!IsDisabled() && GetStateDisabled(k)) mBlend.mWeight *= kDisabledBlendWeight;
    draw();
    mBlend = saved;
  }

  int mMouseOverButton = -1;
  std::vector<IRECT> mButtons;
  std::vector<WDL_String> mTabLabels;
  EDirection mDirection;

 private:
  void Setup(std::initializer_list<const char*> options, const char* label, int shape);
};

}  // namespace igraphics
}  // namespace iplug
