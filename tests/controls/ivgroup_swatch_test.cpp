// The vector group frame (its union of the group's controls, label gap and corners) and the
// colour swatch (cell layout, drawing, and the colour chooser a click opens).

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "graphics/IGraphicsMac.h"
#include "platform/panels/ColorPanel.h"
#include "support/ControlTestFixture.h"
#include "support/PlatformHarness.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;

namespace {

using Group = testsupport::ControlTestFixture<>;

IControl* Cell(const IRECT& r) {
  return new IVPanelControl(r);
}

TEST_F(Group, FrameUnitesItsGroupPaddedAndNeverCountsItself) {
  g.AttachControl(Cell(IRECT(10, 10, 50, 50)), kNoTag, "cells");
  g.AttachControl(Cell(IRECT(60, 20, 100, 80)), kNoTag, "cells");
  g.AttachControl(Cell(IRECT(300, 300, 310, 310)), kNoTag, "others");
  // The frame sits in its own group, so a second sizing must not grow it.
  auto* frame = static_cast<IVGroupControl*>(
      g.AttachControl(new IVGroupControl(nullptr, "cells", 5, 5, 5, 5), kNoTag, "cells"));
  EXPECT_EQ(frame->GetRECT(), IRECT(5, 5, 105, 85));
  frame->SetBoundsBasedOnGroup("cells", 5, 5, 5, 5);
  EXPECT_EQ(frame->GetRECT(), IRECT(5, 5, 105, 85));
  EXPECT_STREQ(frame->GetLabelStr(), "");
  EXPECT_EQ(g.GetMouseControl(55, 15), nullptr) << "the frame never takes the mouse";

  frame->SetBoundsBasedOnGroup("nobody", 1, 2, 3, 4);
  EXPECT_EQ(frame->GetRECT(), IRECT(-1, -2, 3, 4));
  auto* unnamed = Attach(new IVGroupControl("x", nullptr));
  EXPECT_STREQ(unnamed->GetGroupName(), "");
}

TEST_F(Group, StrokeLeavesAGapForTheLabelOrClosesAtTheCentre) {
  struct Row {
    const char* label;
    float gapL, gapR, strokeY;
  };
  // A 19-point label of three bytes is 28.5 wide, padded by 10 on each side and placed at
  // left + frame + offset; the top edge runs through the label's middle.
  const Row rows[] = {{"Grp", 11.f, 59.5f, 9.5f}, {"", 100.f, 100.f, 0.f}};
  for (const Row& row : rows) {
    auto* frame = Attach(new IVGroupControl(IRECT(0, 0, 200, 100), row.label));
    g.ClearLog();
    frame->DrawWidget(g);
    ASSERT_EQ(g.Count("PathArc"), 4);
    EXPECT_EQ(g.Calls("PathMoveTo")[0].nums, (std::vector<float>{row.gapR, row.strokeY}));
    EXPECT_EQ(g.Calls("PathLineTo")[0].nums, (std::vector<float>{row.gapL, row.strokeY}));
    EXPECT_EQ(g.Calls("PathStroke")[0].color, DEFAULT_SHCOLOR);
  }
}

class Swatch : public testsupport::ControlTestFixture<> {
 protected:
  // No label, value, frame or shadow: the widget is the whole rectangle.
  const IVStyle plain =
      DEFAULT_STYLE.WithShowLabel(false).WithShowValue(false).WithDrawFrame(false).WithDrawShadows(
          false);
  IVColorSwatchControl* Make(const IRECT& r, int layout, std::initializer_list<int> ids,
                             std::initializer_list<const char*> labels = {}) {
    return Attach(new IVColorSwatchControl(r, "", nullptr, plain, layout, ids, labels));
  }
};

TEST_F(Swatch, CellsFollowTheLayout) {
  struct Row {
    int layout;
    std::initializer_list<int> ids;
    int cell;
    IRECT expected;
  };
  const Row rows[] = {
      {IVColorSwatchControl::kGrid, {0, 1, 2, 3, 4, 5, 6, 7, 8}, 4, IRECT(32, 32, 58, 58)},
      {IVColorSwatchControl::kGrid, {0, 1, 2, 3, 4, 5, 6, 7, 8, 1}, 9, IRECT(2, 2, 88, 88)},
      {IVColorSwatchControl::kHorizontal, {0, 1, 2}, 2, IRECT(62, 2, 88, 88)},
      {IVColorSwatchControl::kVertical, {0, 1}, 1, IRECT(2, 47, 88, 88)},
  };
  for (const Row& row : rows) {
    auto* c = Make(IRECT(0, 0, 90, 90), row.layout, row.ids);
    EXPECT_EQ(c->GetCellRect(row.cell), row.expected) << row.layout << " " << row.cell;
  }
}

TEST_F(Swatch, LabelledCellsShowAQuarterPatchAndBadIdsNothing) {
  base::LogCapture log;
  const std::size_t logged = log.count();
  auto* c = Make(IRECT(0, 0, 104, 24), IVColorSwatchControl::kHorizontal, {kFG, 12, kX1},
                 {"Fore", "Bad", ""});
  EXPECT_EQ(log.count(), logged + 1);
  g.ClearLog();
  c->DrawWidget(g);
  // Cells 0 and 2 are drawn; the bad one is blank.
  ASSERT_EQ(g.Ops(),
            (std::vector<std::string>{"FillRect", "DrawRect", "DrawText", "FillRect", "DrawRect"}));
  const IRECT cell0 = c->GetCellRect(0), cell2 = c->GetCellRect(2);
  EXPECT_FLOAT_EQ(g.Calls("FillRect")[0].rect.L, cell0.R - 0.25f * cell0.W());
  EXPECT_EQ(g.Calls("FillRect")[0].color, DEFAULT_FGCOLOR);
  EXPECT_FLOAT_EQ(g.Calls("DrawText")[0].rect.R, cell0.L + 0.7f * cell0.W());
  EXPECT_EQ(g.Calls("FillRect")[1].rect, cell2) << "an empty label leaves the whole cell";
  EXPECT_EQ(g.Calls("DrawRect")[1].color, IColor(255, 70, 70, 70));

  g.OnMouseOver(cell2.MW(), cell2.MH(), kLeft);
  EXPECT_EQ(c->GetCellUnderMouse(), 2);
  g.ClearLog();
  c->DrawWidget(g);
  EXPECT_EQ(g.Calls("DrawRect")[1].color, IColor(255, 127, 127, 127));
  g.OnMouseOver(cell0.R + 1.f, 10, kLeft);  // the margin between cells
  EXPECT_EQ(c->GetCellUnderMouse(), -1);
}

// A click runs the platform's colour panel, answered here by its script.
class SwatchChooser : public ::testing::Test {
 protected:
  void TearDown() override { platform::NSColorPanel::setScript({}); }
  void Answer(std::optional<platform::NSColor> answer) {
    platform::NSColorPanel::setScript(
        [this, answer](platform::NSColorPanel* panel, platform::NSColor) {
          titles.push_back(panel->title());
          return answer;
        });
  }

  testsupport::PlatformHarness h;
  FakeEditorDelegate dlg;
  IGraphicsMac g{dlg, 200, 200};
  std::vector<std::string> titles;
  std::vector<std::pair<int, IColor>> chosen;
  IVColorSwatchControl* c =
      static_cast<IVColorSwatchControl*>(g.AttachControl(new IVColorSwatchControl(
          IRECT(0, 0, 90, 30), "",
          [this](int cell, const IColor& color) { chosen.emplace_back(cell, color); },
          DEFAULT_STYLE.WithShowLabel(false).WithShowValue(false),
          IVColorSwatchControl::kHorizontal, {kX1, kX2, kX1, 9})));
};

TEST_F(SwatchChooser, AChosenColourChangesEveryCellOfItsIdAndACancelNothing) {
  const IRECT cell2 = c->GetCellRect(2);
  Answer(platform::NSColor::colorWithRGBA(1, 0, 0, 1));
  c->OnMouseDown(cell2.MW(), cell2.MH(), IMouseMod(true));
  EXPECT_EQ(titles, (std::vector<std::string>{"Choose a color"}));
  EXPECT_EQ(c->GetColor(kX1), COLOR_RED);
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], std::make_pair(2, COLOR_RED));

  Answer(std::nullopt);
  const IRECT cell1 = c->GetCellRect(1);
  c->OnMouseDown(cell1.MW(), cell1.MH(), IMouseMod(true));
  EXPECT_EQ(titles.size(), 2u);
  EXPECT_EQ(c->GetColor(kX2), DEFAULT_X2COLOR);
  EXPECT_EQ(chosen.size(), 1u);

  // Margins and the cell of a bad id open nothing.
  const IRECT bad = c->GetCellRect(3);
  c->OnMouseDown(cell1.R + 1.f, cell1.MH(), IMouseMod(true));
  c->OnMouseDown(bad.MW(), bad.MH(), IMouseMod(true));
  EXPECT_EQ(titles.size(), 2u);
  EXPECT_EQ(c->GetColor(kX3), DEFAULT_X3COLOR);
}

}  // namespace
