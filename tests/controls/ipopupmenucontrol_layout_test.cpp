// Where the popup-menu control puts its panels and rows. Text is measured by the recording
// double: 7 points per character at the default 14-point size, 14 points high.

#include <gtest/gtest.h>

#include <cmath>

#include "base/Finite.h"
#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::LoggingControl;
using Panel = IPopupMenuControl::MenuPanel;

namespace {

class PopupLayout : public testsupport::ControlTestFixture<> {
 protected:
  PopupLayout() { requester = g.AttachControl(new LoggingControl(IRECT(0, 0, 10, 10))); }

  IPopupMenuControl& Attach(const IRECT& expanded = IRECT()) {
    g.AttachPopupMenuControl(DEFAULT_TEXT, expanded);
    return static_cast<IPopupMenuControl&>(*g.GetPopupMenuControl());
  }
  const Panel& Open(IPopupMenuControl& popup, IPopupMenu& menu, const IRECT& anchor) {
    g.CreatePopupMenu(*requester, menu, anchor);
    if (!popup.GetPanel(0)) throw std::runtime_error("menu did not open");
    return *popup.GetPanel(0);
  }
  void HoverRow(const Panel& panel, int row) {
    const IRECT r = panel.GetRow(row);
    g.OnMouseOver(r.MW(), r.MH(), IMouseMod());
  }

  IControl* requester;
};

// "Three" is the widest text: 35 wide, so a row is 35 + 2 x 5 + 10 + 8 = 63 wide and 14 high.
TEST_F(PopupLayout, APlainMenuOpensCentredBelowItsAnchorWithPaddedRows) {
  IPopupMenuControl& popup = Attach();
  IPopupMenu menu("", {"One", "Two", "Three"});
  const Panel& panel = Open(popup, menu, IRECT(100, 100, 150, 120));
  ASSERT_EQ(panel.NRows(), 3);
  EXPECT_FALSE(panel.GetScrolls());
  EXPECT_EQ(panel.GetRow(0), IRECT(98.5f, 125, 161.5f, 139));
  EXPECT_EQ(panel.GetRow(1), IRECT(98.5f, 141, 161.5f, 155));
  EXPECT_EQ(panel.GetRow(2), IRECT(98.5f, 157, 161.5f, 171));
  EXPECT_EQ(panel.GetTargetRect(), IRECT(93.5f, 120, 166.5f, 176));
  EXPECT_EQ(panel.GetRect(), IRECT(83.5f, 110, 176.5f, 186));
  EXPECT_EQ(popup.GetCalloutDirection(), 2);
  EXPECT_EQ(popup.GetRECT(), panel.GetRect());
  EXPECT_EQ(popup.GetTargetRECT(), panel.GetTargetRect());
}

TEST_F(PopupLayout, WithoutPreferringBelowTheMenuOpensBesideItsAnchorTowardsTheMiddle) {
  IPopupMenuControl& popup = Attach();
  popup.SetPreferBelow(false);
  IPopupMenu menu("", {"One", "Two", "Three"});
  const Panel& right = Open(popup, menu, IRECT(100, 100, 150, 120));
  EXPECT_EQ(right.GetTargetRect().L, 150.f);
  EXPECT_EQ(right.GetRow(0).T, 110 - 14 + 5.f);
  EXPECT_EQ(popup.GetCalloutDirection(), 1);
  popup.DismissMenu();

  const Panel& left = Open(popup, menu, IRECT(300, 100, 350, 120));
  EXPECT_EQ(left.GetTargetRect().R, 300.f);
  EXPECT_EQ(popup.GetCalloutDirection(), 3);
}

TEST_F(PopupLayout, AMenuWithSubmenusOpensAboveOrBelowAndItsSubmenusBesideTheirRow) {
  IPopupMenuControl& popup = Attach();
  IPopupMenu menu;
  menu.AddItem("Plain");
  menu.AddItem("More", new IPopupMenu("", {"Sub A", "Sub B"}));
  const Panel& top = Open(popup, menu, IRECT(100, 250, 150, 270));  // more room above
  EXPECT_EQ(popup.GetCalloutDirection(), 0);
  EXPECT_LT(top.GetTargetRect().B, 250.f);
  EXPECT_TRUE(popup.GetSubmenusOpenToTheRight());

  HoverRow(top, 1);
  const Panel* sub = popup.GetPanel(1);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetTargetRect().L, top.GetRow(1).R + 5.f);  // the padding, no call-out
  EXPECT_GE(sub->GetTargetRect().T, 10.f);
  EXPECT_LE(sub->GetTargetRect().B, 300.f);
}

TEST_F(PopupLayout, ASubmenuTallerThanTheAreaStartsAtItsTopAndScrolls) {
  IPopupMenuControl& popup = Attach();
  auto* tall = new IPopupMenu;
  for (int i = 0; i < 20; ++i)
    tall->AddItem("Long item");
  IPopupMenu menu;
  menu.AddItem("Tall", tall);
  const Panel& top = Open(popup, menu, IRECT(100, 260, 150, 280));
  HoverRow(top, 0);
  const Panel* sub = popup.GetPanel(1);
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(sub->GetScrolls());
  EXPECT_EQ(sub->GetRow(0).T, 15.f);
  EXPECT_EQ(sub->NRows(), 17);  // (300 - 5 - 15) / 16
  EXPECT_LE(sub->GetTargetRect().B, 300.f);
}

TEST_F(PopupLayout, AnAreaTooLowForOneRowStillShowsOne) {
  IPopupMenuControl& popup = Attach();
  popup.SetMenuBounds(IRECT(0, 0, 400, 30));
  IPopupMenu menu("", {"One", "Two", "Three"});
  const Panel& panel = Open(popup, menu, IRECT(100, 5, 150, 25));
  EXPECT_EQ(panel.GetVisibleCellLimit(), 1);
  EXPECT_EQ(panel.NRows(), 1);
  EXPECT_EQ(panel.GetRow(0).T, 15.f);
  // Drawing and hovering such a panel are safe.
  popup.Draw(g);
  HoverRow(panel, 0);
  HoverRow(panel, 0);
  EXPECT_GE(panel.GetScrollItemOffset(), 0);
}

TEST_F(PopupLayout, WithoutScrollingAFullColumnStartsANewOne) {
  IPopupMenuControl& popup = Attach();
  popup.SetScrollIfTooBig(false);
  popup.SetMaxColumnItems(3);
  IPopupMenu menu("", {"A", "B", "C", "D", "E", "F", "G"});
  const Panel& panel = Open(popup, menu, IRECT(10, 10, 20, 20));
  ASSERT_EQ(panel.NRows(), 7);
  const float columnStep = 35 + 2;  // row width ("A": 7 + 28) and the gap
  EXPECT_EQ(panel.GetRow(3).L, panel.GetRow(0).L + columnStep);
  EXPECT_EQ(panel.GetRow(3).T, panel.GetRow(0).T);
  EXPECT_EQ(panel.GetRow(6).L, panel.GetRow(0).L + 2 * columnStep);
  EXPECT_EQ(panel.GetTargetRect().R, panel.GetRow(6).R + 5);
}

TEST_F(PopupLayout, ExpandedBoundsFixEveryPanel) {
  const IRECT expanded(50, 50, 250, 200);
  IPopupMenuControl& popup = Attach(expanded);
  IPopupMenu menu;
  menu.AddItem("More", new IPopupMenu("", {"Sub"}));
  const Panel& top = Open(popup, menu, IRECT(10, 10, 20, 20));
  EXPECT_EQ(top.GetTargetRect(), expanded.GetPadded(5));
  HoverRow(top, 0);
  ASSERT_NE(popup.GetPanel(1), nullptr);
  EXPECT_EQ(popup.GetPanel(1)->GetTargetRect(), expanded.GetPadded(5));
}

TEST_F(PopupLayout, AnAnchorOrAreaThatIsNotANumberIsRefused) {
  IPopupMenuControl& popup = Attach();
  base::LogCapture logged;
  popup.SetMenuBounds(IRECT(0, 0, NAN, 100));
  EXPECT_EQ(popup.GetMenuBounds(), IRECT());
  IPopupMenu menu("", {"One"});
  const Panel& panel = Open(popup, menu, IRECT(NAN, 10, 20, INFINITY));
  EXPECT_EQ(logged.count(), 2u);
  const IRECT r = panel.GetRow(0);
  EXPECT_TRUE(base::isFiniteRect(r));
}

}  // namespace
