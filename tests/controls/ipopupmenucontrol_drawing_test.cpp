// What the popup-menu control paints: each panel's shadow and body under its rows, the colours
// of hovered, disabled and checked rows, separators only once a panel is nearly opaque, scroll
// markers in place of the end rows of a scrolled panel, and the call-out arrow.

#include <gtest/gtest.h>

#include <algorithm>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::DrawCall;
using testsupport::LoggingControl;

namespace {

const IColor kHighlight(255, 0, 0, 255);
const IColor kDisabledText(255, 127, 127, 127);
const IColor kSeparator(255, 200, 200, 200);
const IRECT kAnchor(100, 100, 150, 120);

class PopupDrawing : public testsupport::ControlTestFixture<> {
 protected:
  PopupDrawing() {
    requester = g.AttachControl(new LoggingControl(IRECT(0, 0, 10, 10)));
    g.AttachPopupMenuControl();
    popup = static_cast<IPopupMenuControl*>(g.GetPopupMenuControl());
  }
  void Open(IPopupMenu& menu, double fadeMs = 101) {
    g.CreatePopupMenu(*requester, menu, kAnchor);
    g.Clock().advance(fadeMs);
    g.DrawFrame();
  }
  // The calls of one Draw of the popup alone.
  std::vector<DrawCall> Paint() {
    g.ClearLog();
    popup->Draw(g);
    return g.Log();
  }
  std::vector<std::string> Texts(const std::vector<DrawCall>& calls) {
    std::vector<std::string> texts;
    for (const DrawCall& c : calls) {
      if (c.op == "DrawText") texts.push_back(c.text);
    }
    return texts;
  }
  const DrawCall* Find(const std::vector<DrawCall>& calls, const std::string& op,
                       const IColor& color) {
    auto it = std::find_if(calls.begin(), calls.end(),
                           [&](const DrawCall& c) { return c.op == op && c.color == color; });
    return it == calls.end() ? nullptr : &*it;
  }

  IControl* requester;
  IPopupMenuControl* popup;
};

TEST_F(PopupDrawing, APanelIsShadowBodyThenRowsInItsOpacity) {
  IPopupMenu menu("", {"Plain", "Off", "Ticked"});
  menu.GetItem(1)->SetEnabled(false);
  menu.GetItem(2)->SetChecked(true);
  Open(menu);
  const auto* panel = popup->GetPanel(0);
  const IRECT hovered = panel->GetRow(0);
  g.OnMouseOver(hovered.MW(), hovered.MH(), IMouseMod());
  const auto calls = Paint();

  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].op, "DrawBoxShadow");
  EXPECT_EQ(calls[0].rect, panel->GetRect().GetPadded(-10));
  EXPECT_EQ(calls[1].op, "FillRoundRect");
  EXPECT_EQ(calls[1].rect, panel->GetTargetRect());
  EXPECT_EQ(calls[1].nums[0], 5.f);
  for (const DrawCall& c : calls)
    EXPECT_FLOAT_EQ(c.blendWeight, 0.95f) << c.op;

  // The hovered row: highlight across the panel's padding, text in the highlighted colour.
  const DrawCall* highlight = Find(calls, "FillRect", kHighlight);
  ASSERT_NE(highlight, nullptr);
  EXPECT_EQ(highlight->rect, IRECT(hovered.L - 5, hovered.T, hovered.R + 5, hovered.B));
  const auto texts = Texts(calls);
  EXPECT_EQ(texts, (std::vector<std::string>{"Plain", "Off", "Ticked"}));
  const auto drawn = g.Calls("DrawText");
  EXPECT_EQ(drawn[0].color, COLOR_WHITE);
  EXPECT_EQ(drawn[0].rect, IRECT(hovered.L + 10 + 5, hovered.T, hovered.R - 5, hovered.B));
  EXPECT_EQ(drawn[1].color, kDisabledText);
  EXPECT_EQ(drawn[2].color, COLOR_BLACK);
  // The tick: a 5-point rounded square centred in the check column.
  const IRECT ticked = panel->GetRow(2);
  const auto squares = g.Calls("FillRoundRect");
  ASSERT_EQ(squares.size(), 2u);
  EXPECT_EQ(squares[1].rect,
            IRECT(ticked.L + 2.5f, ticked.MH() - 2.5f, ticked.L + 7.5f, ticked.MH() + 2.5f));
}

TEST_F(PopupDrawing, SeparatorsWaitUntilThePanelIsNearlyOpaque) {
  IPopupMenu menu("", {"One", "", "Two"});
  menu.GetItem(1)->SetFlags(IPopupMenu::Item::kSeparator);
  Open(menu, 50);
  EXPECT_EQ(Find(Paint(), "FillRect", kSeparator), nullptr);
  g.Clock().advance(51);
  g.DrawFrame();
  const auto calls = Paint();
  const DrawCall* separator = Find(calls, "FillRect", kSeparator);
  ASSERT_NE(separator, nullptr);
  EXPECT_EQ(separator->rect, popup->GetPanel(0)->GetRow(1));
  EXPECT_EQ(separator->rect.H(), 2.f);
  EXPECT_FLOAT_EQ(separator->blendWeight, 0.25f);
}

TEST_F(PopupDrawing, AScrolledPanelShowsMarkersInPlaceOfItsEndRows) {
  popup->SetMenuBounds(IRECT(0, 0, 400, 180));
  IPopupMenu menu;
  for (int i = 1; i <= 30; ++i)
    menu.AddItem(("Item " + std::to_string(i)).c_str());
  Open(menu);
  const auto* panel = popup->GetPanel(0);
  ASSERT_EQ(panel->NRows(), 10);

  auto texts = Texts(Paint());
  ASSERT_EQ(texts.size(), 9u);
  EXPECT_EQ(texts.front(), "Item 1");
  EXPECT_EQ(g.Count("FillTriangle"), 1);  // the down marker
  const IRECT last = panel->GetRow(9);
  const float k = 0.3f * last.H();
  const auto down = g.Calls("FillTriangle")[0].nums;
  EXPECT_EQ(down, (std::vector<float>{last.MW() - k, last.MH() - k, last.MW() + k, last.MH() - k,
                                      last.MW(), last.MH() + k}));

  for (int i = 0; i < 5; ++i)
    g.OnMouseOver(last.MW(), last.MH(), IMouseMod());
  texts = Texts(Paint());
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts.front(), "Item 7");  // row 1 of offset 5
  EXPECT_EQ(texts.back(), "Item 14");
  EXPECT_EQ(g.Count("FillTriangle"), 2);
  // The pointer rests on the down marker: its row is highlighted.
  EXPECT_NE(Find(g.Log(), "FillRect", kHighlight), nullptr);
}

TEST_F(PopupDrawing, TheCalloutPointsAtTheAnchorAndSubmenuRowsGetTheirMarker) {
  popup->SetCallout(true);
  IPopupMenu menu;
  menu.AddItem("More", new IPopupMenu("", {"Sub"}));
  Open(menu);
  const auto calls = Paint();
  // The panel is below the anchor: an upward triangle in the 8-point call-out rectangle.
  EXPECT_EQ(popup->GetCalloutRect(), IRECT(121, 120, 129, 128));
  const auto triangles = g.Calls("FillTriangle");
  ASSERT_EQ(triangles.size(), 2u);
  const IRECT row = popup->GetPanel(0)->GetRow(0);
  EXPECT_EQ(triangles[0].nums,
            (std::vector<float>{row.R + 2.5f - 7, row.MH() - 3.5f, row.R + 2.5f - 7,
                                row.MH() + 3.5f, row.R + 2.5f, row.MH()}));
  EXPECT_EQ(triangles[1].color, COLOR_WHITE);
  EXPECT_EQ(triangles[1].nums, (std::vector<float>{121, 128, 129, 128, 125, 120}));
}

}  // namespace
