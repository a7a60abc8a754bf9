// The SVG controls: which image each draws where, the slider's layout, index clamping, images
// that cannot be drawn, and the pixels of a turned knob.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "graphics/IGraphicsNanoVG.h"
#include "graphics/SVGCache.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;

namespace {

class SVGControls : public testsupport::ControlTestFixture<> {
 protected:
  static ISVG Load(const char* name) {
    IGraphicsNanoVG::AddResourcePath(TEST_RESOURCES_DIR);
    ISVG svg = SVGCache::Load(name);
    EXPECT_TRUE(svg.IsValid()) << name;
    return svg;
  }
  // The drawing calls of one frame of the control.
  void DrawOnly(IControl* c) {
    g.ClearLog();
    c->Draw(g);
  }

  const ISVG off = Load("button_off.svg"), on = Load("button_on.svg");
  const ISVG knob = Load("knob.svg");
  const ISVG states[3] = {Load("switch_0.svg"), Load("switch_1.svg"), Load("switch_2.svg")};
  const ISVG track = Load("slider_track.svg"), handle = Load("slider_handle.svg");
};

TEST_F(SVGControls, ButtonShowsTheOnImageOnlyAboveHalf) {
  auto* c = Attach(new ISVGButtonControl(IRECT(0, 0, 20, 20), nullptr, off, on));
  for (auto [value, image] : {std::pair{0.5, off}, std::pair{0.51, on}, std::pair{0.0, off}}) {
    c->SetValue(value);
    DrawOnly(c);
    ASSERT_EQ(g.Count("DrawSVG"), 1);
    EXPECT_EQ(g.Calls("DrawSVG")[0].image, image.mImage.get()) << value;
    EXPECT_EQ(g.Calls("DrawSVG")[0].rect, IRECT(0, 0, 20, 20));
  }
}

TEST_F(SVGControls, KnobTurnsFromMinus135To135AboutItsCentre) {
  auto* c = Attach(new ISVGKnobControl(IRECT(10, 20, 50, 80), knob));
  for (auto [value, angle] : {std::pair{0.0, -135.f}, {0.5, 0.f}, {1.0, 135.f}}) {
    c->SetValue(value);
    DrawOnly(c);
    EXPECT_EQ(g.Calls("DrawRotatedSVG").at(0).nums,
              (std::vector<float>{30.f, 50.f, 40.f, 60.f, angle}));
  }
}

TEST_F(SVGControls, SwitchIndexRoundsAndStaysWithinTheImages) {
  auto* c = Attach(new ISVGSwitchControl(IRECT(0, 0, 20, 20), {states[0], states[1], states[2]}));
  struct Row {
    double value;
    int image;
  };
  for (const Row& row : {Row{0, 0}, Row{0.24, 0}, Row{0.25, 1}, Row{0.5, 1}, Row{1, 2}}) {
    c->SetValue(row.value);
    DrawOnly(c);
    EXPECT_EQ(g.Calls("DrawSVG").at(0).image, states[row.image].mImage.get()) << row.value;
  }
  // A parameter of four states over three images: the last state shows the last image.
  auto* bound = Attach(new ISVGSwitchControl(IRECT(0, 0, 20, 20), {states[0], states[1], states[2]},
                                             FakeEditorDelegate::kParamEnum));
  ASSERT_EQ(bound->GetNumStates(), 4);
  bound->SetValue(1.0);
  EXPECT_EQ(bound->ImageIndex(), 2);
  bound->SetValue(2.0 / 3.0);
  EXPECT_EQ(bound->ImageIndex(), 2);

  auto* none = Attach(new ISVGSwitchControl(IRECT(0, 0, 20, 20), {}));
  none->SetValue(1.0);
  DrawOnly(none);
  EXPECT_EQ(g.Log().size(), 0u);
}

TEST_F(SVGControls, SliderLaysOutTrackAndHandleForEachDirection) {
  // The track image is 10 x 100 and the handle 10 x 10; the horizontal row turns the track's
  // proportions round to 100 x 10.
  const ISVG wideTrack(track.mImage, 100.f, 10.f);
  struct Row {
    IRECT bounds;
    EDirection dir;
    ISVG trackImage;
    IRECT trackImageBounds, atZero, atOne;
  };
  const Row rows[] = {
      {IRECT(0, 0, 40, 200), EDirection::Vertical, track, IRECT(10, 0, 30, 200),
       IRECT(10, 180, 30, 200), IRECT(10, 0, 30, 20)},
      {IRECT(0, 0, 200, 40), EDirection::Horizontal, wideTrack, IRECT(0, 10, 200, 30),
       IRECT(0, 10, 20, 30), IRECT(180, 10, 200, 30)},
      // A control without height still lays out a drawable point.
      {IRECT(0, 50, 40, 50), EDirection::Vertical, track, IRECT(19.5f, 49.5f, 20.5f, 50.5f),
       IRECT(19.5f, 49.5f, 20.5f, 50.5f), IRECT(19.5f, 49.5f, 20.5f, 50.5f)},
  };
  for (const Row& row : rows) {
    auto* c =
        Attach(new ISVGSliderControl(row.bounds, handle, row.trackImage, kNoParameter, row.dir));
    EXPECT_EQ(c->GetTrackImageBounds(), row.trackImageBounds);
    EXPECT_EQ(c->GetHandleBounds(0.0), row.atZero);
    EXPECT_EQ(c->GetHandleBounds(1.0), row.atOne);
    c->SetValue(1.0);
    DrawOnly(c);
    ASSERT_EQ(g.Count("DrawSVG"), 2);
    EXPECT_EQ(g.Calls("DrawSVG")[0].rect, row.trackImageBounds);
    EXPECT_EQ(g.Calls("DrawSVG")[1].rect, row.atOne);
  }
}

TEST_F(SVGControls, SliderWithoutAUsableImageDrawsNothing) {
  const ISVG flat(handle.mImage, 10.f, 0.f);
  for (const auto& [h, t] : {std::pair{ISVG(), track},
                             {handle, ISVG()},
                             {flat, track},
                             {handle, ISVG(track.mImage, 0.f, 100.f)}}) {
    auto* c = Attach(new ISVGSliderControl(IRECT(0, 0, 40, 200), h, t));
    EXPECT_TRUE(c->GetTrackImageBounds().Empty());
    EXPECT_TRUE(c->GetTrack().Empty());
    DrawOnly(c);
    EXPECT_EQ(g.Log().size(), 0u);
    c->OnMouseDown(20, 100, kLeft);  // no track to place the pointer on
    EXPECT_DOUBLE_EQ(c->GetValue(), 0.0);
  }
}

bool Near(const IColor& a, const IColor& b, int tolerance = 16) {
  return std::abs(a.A - b.A) <= tolerance && std::abs(a.R - b.R) <= tolerance &&
         std::abs(a.G - b.G) <= tolerance && std::abs(a.B - b.B) <= tolerance;
}

// The knob image's red pointer runs from the centre to the top: turned, it points elsewhere.
TEST(SVGKnobPixels, ThePointerTurnsClockwiseWithTheValue) {
  IGraphicsNanoVG::AddResourcePath(TEST_RESOURCES_DIR);
  FakeEditorDelegate dlg;
  IGraphicsNanoVG g(dlg, 80, 80);
  g.AttachControl(new IPanelControl(g.GetBounds(), COLOR_WHITE));
  auto* c = static_cast<ISVGKnobControl*>(
      g.AttachControl(new ISVGKnobControl(IRECT(20, 20, 60, 60), g.LoadSVG("knob.svg"))));
  struct Row {
    double value;
    int redX, redY;  // a point on the pointer
  };
  // Points 12 from the centre (40, 40): up, right, left, and down-right for +135.
  const Row rows[] = {{0.5, 40, 28}, {5.0 / 6.0, 52, 40}, {1.0 / 6.0, 28, 40}, {1.0, 48, 48}};
  for (const Row& row : rows) {
    c->SetValue(row.value);
    g.SetAllControlsDirty();
    g.DrawFrame();
    EXPECT_TRUE(Near(g.GetPixel(row.redX, row.redY), COLOR_RED)) << row.value;
    for (const Row& other : rows) {
      if (&other == &row) continue;
      EXPECT_EQ(g.GetPixel(other.redX, other.redY), COLOR_WHITE)
          << row.value << " at " << other.value;
    }
  }
}

}  // namespace
