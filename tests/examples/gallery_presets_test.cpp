// The gallery's rows of links, toggles, swatches and SVG controls show what sets them apart, and
// its preset browser offers the folder tree the gallery made through the popup-menu control.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GalleryPresetBrowser.h"
#include "GalleryTestFixture.h"
#include "controls/Controls.h"
#include "platform/system/Clock.h"

using namespace iplug::igraphics;
using gallery::Gallery;

namespace {

class GalleryPresets : public testsupport::GalleryTestFixture {
 protected:
  IControl* ControlOf(const std::string& row, Gallery::EState state) const {
    return CellOf(row, state).control;
  }
  bool Differ(const IControl* a, const IControl* b) const {
    return GalleryTestFixture::Differ(a->GetRECT(), b->GetRECT());
  }
  void Advance(double ms) {
    dynamic_cast<platform::ManualClock&>(platform::clock()).advance(ms);
    g.DrawFrame();
  }
};

TEST_F(GalleryPresets, LinksTogglesAndSVGControlsShowTheirValuesAndStates) {
  const struct {
    const char* rowA;
    Gallery::EState stateA;
    const char* rowB;
    Gallery::EState stateB;
  } pairs[] = {
      {"Link", Gallery::kNormal, "Link, visited", Gallery::kNormal},
      {"Link", Gallery::kNormal, "Link", Gallery::kMouseOver},
      {"Text toggle, off", Gallery::kNormal, "Text toggle, on", Gallery::kNormal},
      {"Swatches, grid", Gallery::kNormal, "Swatches, grid", Gallery::kDisabled},
  };
  for (const auto& p : pairs) {
    EXPECT_TRUE(Differ(ControlOf(p.rowA, p.stateA), ControlOf(p.rowB, p.stateB)))
        << p.rowA << " / " << p.rowB;
  }
  // Along each strip of values no two neighbours look alike.
  for (const auto& strip : gallery.Strips()) {
    if (strip.row.rfind("SVG", 0) != 0) continue;
    ASSERT_GE(strip.controls.size(), 2u) << strip.row;
    for (std::size_t i = 1; i < strip.controls.size(); ++i)
      EXPECT_TRUE(Differ(strip.controls[i - 1], strip.controls[i])) << strip.row << " " << i;
  }
}

TEST_F(GalleryPresets, TheBrowsersMenuOpensInThePopupControlAndAChoiceNamesTheFile) {
  namespace fs = std::filesystem;
  ASSERT_FALSE(gallery.PresetFolder().empty());
  ASSERT_TRUE(fs::is_directory(gallery.PresetFolder()));
  auto* browser =
      dynamic_cast<gallery::PresetBrowser*>(ControlOf("Preset browser", Gallery::kNormal));
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->NFiles(), 5);  // the text file is left out

  const IRECT& b = browser->GetRECT();
  g.OnMouseDown(b.MW(), b.MH(), kLeft);
  g.OnMouseUp(b.MW(), b.MH(), kLeft);
  auto* popup = dynamic_cast<IPopupMenuControl*>(g.GetPopupMenuControl());
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(popup->GetExpanded());
  EXPECT_EQ(&popup->GetPanel(0)->GetMenu(), &browser->GetMenu());
  Advance(IPopupMenuControl::kFadeMs + 1.);

  // Over "User", its submenu opens; a click on its one preset chooses it.
  const IRECT user = popup->GetPanel(0)->GetRow(1);
  g.OnMouseOver(user.MW(), user.MH(), IMouseMod());
  Advance(IPopupMenuControl::kSubmenuFadeMs + 1.);
  ASSERT_EQ(popup->NPanels(), 2);
  const IRECT stage = popup->GetPanel(1)->GetRow(0);
  g.OnMouseOver(stage.MW(), stage.MH(), IMouseMod());
  g.OnMouseDown(stage.MW(), stage.MH(), kLeft);
  g.OnMouseUp(stage.MW(), stage.MH(), kLeft);

  EXPECT_EQ(fs::path(browser->GetChosenFile()),
            fs::path(gallery.PresetFolder()) / "User/Stage.csx");
  EXPECT_EQ(browser->GetSelectedItemIdx(), 4);
}

}  // namespace
