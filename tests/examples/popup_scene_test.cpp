// The gallery's second picture: the patch menu open with its banks submenu scrolled part way,
// the pointer on a bank, and the gain caption's text entry in progress.

#include <gtest/gtest.h>

#include "PopupScene.h"
#include "controls/Controls.h"
#include "graphics/IGraphicsNanoVG.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using gallery::PopupScene;

namespace {

class PopupSceneRender : public testsupport::ControlTestFixture<IGraphicsNanoVG, PopupScene::kWidth,
                                                                PopupScene::kHeight> {
 protected:
  void SetUp() override {
    scene.Render();
    popup = dynamic_cast<IPopupMenuControl*>(g.GetPopupMenuControl());
    ASSERT_NE(popup, nullptr);
  }
  IColor PixelAt(float x, float y) const {
    return g.GetPixel(static_cast<int>(x), static_cast<int>(y));
  }

  PopupScene scene{g};
  IPopupMenuControl* popup = nullptr;
};

TEST_F(PopupSceneRender, TheMenuIsOpenWithItsSubmenuScrolledAndHovered) {
  EXPECT_EQ(popup->GetState(), IPopupMenuControl::kOpen);
  ASSERT_EQ(popup->NPanels(), 2);
  const auto* top = popup->GetPanel(0);
  const auto* banks = popup->GetPanel(1);
  EXPECT_EQ(&top->GetMenu(), &scene.GetMenu());
  EXPECT_TRUE(top->IsVisible() && banks->IsVisible());
  EXPECT_TRUE(banks->GetScrolls());
  EXPECT_EQ(banks->GetScrollItemOffset(), PopupScene::kScrollSteps);
  EXPECT_EQ(popup->GetActivePanel(), banks);
  EXPECT_EQ(popup->GetMouseOverRow(), banks->NRows() / 2);
  EXPECT_EQ(g.GetControlInPopupMenu(), scene.GetMenuButton());
  EXPECT_EQ(g.GetControlInTextEntry(), scene.GetEntryCaption());
}

TEST_F(PopupSceneRender, ThePanelsAndTheirHighlightsArePainted) {
  const auto* top = popup->GetPanel(0);
  const auto* banks = popup->GetPanel(1);
  // Panels are 95 % opaque: colours come out close to, not exactly, their own.
  auto isHighlight = [](const IColor& c) { return c.B >= 240 && c.R <= 30 && c.G <= 30; };
  auto isBody = [](const IColor& c) { return c.R >= 240 && c.G >= 240 && c.B >= 240; };
  // Left of each highlighted row's text, inside the highlight's padding.
  const IRECT banksRow = top->GetRow(top->GetHighlightedRow());
  EXPECT_TRUE(isHighlight(PixelAt(banksRow.L - 2, banksRow.MH())));
  const IRECT bankRow = banks->GetRow(popup->GetMouseOverRow());
  EXPECT_TRUE(isHighlight(PixelAt(bankRow.L - 2, bankRow.MH())));
  const IRECT plain = banks->GetRow(2);
  EXPECT_TRUE(isBody(PixelAt(plain.L - 2, plain.MH())));
  // Beside the panels the page shows.
  EXPECT_FALSE(isBody(PixelAt(PopupScene::kWidth - 5, 100)));
}

}  // namespace
