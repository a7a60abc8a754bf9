// The bitmap controls: which frame they draw and where, how the switch steps, where the slider's
// handle goes, how the rotater turns, how bitmap text is laid out, and what happens when an image
// is missing or the screen scale changes. Images come from the test resource folder through the
// bitmap cache; drawing is recorded.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "graphics/APIBitmap.h"
#include "graphics/BitmapCache.h"
#include "graphics/ResourcePaths.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::DrawCall;
using testsupport::FakeEditorDelegate;
using testsupport::RecordingGraphics;

namespace {

// Loads real images through the bitmap cache, as the drawing graphics context does, and
// remembers each request.
class BitmapGraphics : public RecordingGraphics {
 public:
  using RecordingGraphics::RecordingGraphics;
  IBitmap LoadBitmap(const char* name, int nStates, bool framesAreHorizontal,
                     int targetScale) override {
    if (targetScale <= 0) targetScale = static_cast<int>(std::ceil(GetScreenScale()));
    mLoads.push_back({name, targetScale});
    APIBitmap* b = BitmapCache::Load(name, targetScale);
    if (!b) return IBitmap();
    return IBitmap(b, static_cast<int>(b->GetWidth() / b->GetScale()),
                   static_cast<int>(b->GetHeight() / b->GetScale()), nStates, framesAreHorizontal,
                   name);
  }

  struct Load {
    std::string name;
    int scale;
  };
  std::vector<Load> mLoads;
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Makes the test images findable by name before any fixture member loads one.
struct TestResourceFolder {
  TestResourceFolder() { ResourcePaths::Add(TEST_RESOURCES_DIR); }
};

class BitmapControls : public testsupport::ControlTestFixture<BitmapGraphics> {
 protected:
  // The one bitmap drawn in the last frame.
  DrawCall OnlyBitmap() const {
    const auto calls = g.Calls("DrawBitmap");
    EXPECT_EQ(calls.size(), 1u);
    return calls.empty() ? DrawCall() : calls[0];
  }
  // A left click on the control's middle; the pointer stays there.
  void Click(IControl* c) {
    g.OnMouseDown(c->GetRECT().MW(), c->GetRECT().MH(), kLeft);
    g.OnMouseUp(c->GetRECT().MW(), c->GetRECT().MH(), kLeft);
  }

  TestResourceFolder folder;
  // Three 10 x 10 frames: stacked (red, green, blue from the top) and side by side.
  const IBitmap stripV = g.LoadBitmap("strip_v.png", 3, false, 1);
  const IBitmap stripH = g.LoadBitmap("strip_h.png", 3, true, 1);
  // Two 40 x 20 frames, stacked.
  const IBitmap button = g.LoadBitmap("button2.png", 2, false, 1);
};

TEST(BitmapFrame, TheValueRoundsToTheNearestOfTheFramesAndEndsStayInRange) {
  const std::vector<std::pair<double, int>> threeFrames = {
      {0.0, 1}, {0.24, 1}, {0.25, 2},  {0.74, 2}, {0.75, 3},
      {1.0, 3}, {1.5, 3},  {1e300, 3}, {-0.2, 1}, {-1e300, 1}};
  for (const auto& [value, frame] : threeFrames)
    EXPECT_EQ(IBitmapBase::FrameForValue(value, 3), frame) << value;
  EXPECT_EQ(IBitmapBase::FrameForValue(0.49, 2), 1);
  EXPECT_EQ(IBitmapBase::FrameForValue(0.5, 2), 2);
  EXPECT_EQ(IBitmapBase::FrameForValue(0.7, 1), 1);
  EXPECT_EQ(IBitmapBase::FrameForValue(0.7, 0), 1);
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity()})
    EXPECT_EQ(IBitmapBase::FrameForValue(bad, 3), 1) << "a value that is not finite shows frame 1";
}

TEST_F(BitmapControls, APictureIsOneFrameInSizeAndDrawsTheFrameOfItsValue) {
  ASSERT_TRUE(stripV.IsValid());
  auto* v = Attach(new IBitmapControl(5, 5, stripV, kNoParameter, EBlend::Add));
  auto* h = Attach(new IBitmapControl(50, 5, stripH));
  EXPECT_EQ(v->GetRECT(), IRECT(5, 5, 15, 15));
  EXPECT_EQ(h->GetRECT(), IRECT(50, 5, 60, 15));
  EXPECT_EQ(v->GetBlend().mMethod, EBlend::Add);
  EXPECT_EQ(v->GetBlend().mWeight, 1.f);

  const std::vector<std::pair<double, int>> offsets = {{0.0, 0}, {0.25, 10}, {0.75, 20}};
  for (const auto& [value, offset] : offsets) {
    v->SetValue(value);
    h->SetValue(value);
    v->SetDirty(false);
    h->SetDirty(false);
    Frame();
    const auto calls = g.Calls("DrawBitmap");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].rect, IRECT(5, 5, 15, 15));
    EXPECT_EQ(calls[0].nums, (std::vector<float>{0.f, static_cast<float>(offset)})) << value;
    EXPECT_EQ(calls[1].rect, IRECT(50, 5, 60, 15));
    EXPECT_EQ(calls[1].nums, (std::vector<float>{static_cast<float>(offset), 0.f})) << value;
  }
}

TEST_F(BitmapControls, ATwoFramePictureBoundToATwoStateParameterFollowsIt) {
  auto* c = Attach(new IBitmapControl(0, 0, button, FakeEditorDelegate::kParamBool));
  g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamBool, 1., false);
  Frame();
  EXPECT_EQ(OnlyBitmap().nums, (std::vector<float>{0.f, 20.f}));
  g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamBool, 0., false);
  Frame();
  EXPECT_EQ(OnlyBitmap().nums, (std::vector<float>{0.f, 0.f}));

  c->SetDisabled(true);
  Frame();
  EXPECT_FLOAT_EQ(OnlyBitmap().blendWeight, IControl::kDisabledBlendWeight);
}

TEST_F(BitmapControls, AButtonShowsItsSecondFrameUntilTheClickAnimationEnds) {
  auto* b = Attach(new IBButtonControl(IRECT(0, 0, 100, 40), button));
  EXPECT_EQ(b->GetRECT(), IRECT(30, 10, 70, 30)) << "one frame, centred in the bounds";
  auto* atPoint = Attach(new IBButtonControl(100, 50, button));
  EXPECT_EQ(atPoint->GetRECT(), IRECT(100, 50, 140, 70));

  g.OnMouseDown(50, 20, IMouseMod(true));
  g.OnMouseUp(50, 20, IMouseMod(true));
  Frame();
  EXPECT_EQ(g.Calls("DrawBitmap")[0].nums, (std::vector<float>{0.f, 20.f}));
  g.Clock().advance(101);
  Frame();
  EXPECT_EQ(OnlyBitmap().nums, (std::vector<float>{0.f, 0.f}));
  EXPECT_DOUBLE_EQ(b->GetValue(), 0.);
}

TEST_F(BitmapControls, ASwitchStepsByItsFrameCountWhateverItsStateCount) {
  auto* three = Attach(new IBSwitchControl(IRECT(0, 0, 30, 30), stripV));
  EXPECT_EQ(three->GetRECT(), IRECT(10, 10, 20, 20));
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i) {
    Click(three);
    seen.push_back(three->GetValue());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));

  auto* two = Attach(new IBSwitchControl(100, 0, button));
  Click(two);
  EXPECT_DOUBLE_EQ(two->GetValue(), 1.);
  Click(two);
  EXPECT_DOUBLE_EQ(two->GetValue(), 0.);

  const IBitmap single = g.LoadBitmap("dot.png", 1, false, 1);
  auto* one = Attach(new IBSwitchControl(200, 0, single));
  Click(one);
  EXPECT_DOUBLE_EQ(one->GetValue(), 1.);
  Click(one);
  EXPECT_DOUBLE_EQ(one->GetValue(), 0.) << "2.0 passes the wrap threshold";

  // Bound to a four-state parameter, the three-frame switch still steps by halves and sends
  // each step to the parameter.
  auto* bound = Attach(new IBSwitchControl(0, 100, stripV, FakeEditorDelegate::kParamEnum));
  EXPECT_EQ(bound->GetNumStates(), 4);
  dlg.ClearCalls();
  Click(bound);
  EXPECT_DOUBLE_EQ(bound->GetValue(), 0.5);
  const FakeEditorDelegate::Call sent{FakeEditorDelegate::Call::kSetValue,
                                      FakeEditorDelegate::kParamEnum, 0.5};
  EXPECT_NE(std::find(dlg.Calls().begin(), dlg.Calls().end(), sent), dlg.Calls().end());
  Frame();
  EXPECT_EQ(g.Calls("DrawBitmap").back().nums, (std::vector<float>{0.f, 10.f}));
}

TEST_F(BitmapControls, AVerticalSliderWithoutTrackRunsItsHandleFromBottomToTop) {
  const IBitmap handle = g.LoadBitmap("slider_handle.png", 1, false, 1);  // 10 x 20
  auto* s = Attach(new IBSliderControl(10, 20, 100, handle, IBitmap()));
  EXPECT_EQ(s->GetRECT(), IRECT(10, 20, 20, 120));
  EXPECT_EQ(s->GetHandleSize(), 20.f);
  EXPECT_EQ(s->GetTrack(), IRECT(10, 20, 20, 120));
  EXPECT_EQ(s->GetHandleBounds(0.), IRECT(10, 100, 20, 120));
  EXPECT_EQ(s->GetHandleBounds(0.5), IRECT(10, 60, 20, 80));
  EXPECT_EQ(s->GetHandleBounds(1.), IRECT(10, 20, 20, 40));

  s->SetValue(1.);
  s->SetDirty(false);
  Frame();
  EXPECT_EQ(OnlyBitmap().rect, IRECT(10, 20, 20, 40)) << "only the handle is drawn";
  s->SetValue(kNaN);
  EXPECT_EQ(s->GetHandleBounds(), IRECT(10, 100, 20, 120));
}

TEST_F(BitmapControls, AHorizontalSliderDrawsItsTrackThenTheHandleAlongIt) {
  const IBitmap handle = g.LoadBitmap("slider_handle.png", 1, false, 1);  // 10 x 20
  const IBitmap track = g.LoadBitmap("slider_track.png", 1, false, 1);    // 150 x 6
  auto* s = Attach(new IBSliderControl(IRECT(0, 0, 200, 40), handle, track, kNoParameter,
                                       EDirection::Horizontal));
  EXPECT_EQ(s->GetHandleSize(), 10.f);
  EXPECT_EQ(s->GetTrack(), IRECT(25, 17, 175, 23));
  EXPECT_EQ(s->GetHandleBounds(0.), IRECT(25, 17, 35, 37));
  EXPECT_EQ(s->GetHandleBounds(1.), IRECT(165, 17, 175, 37));

  // Laid out from a length: the handle's height across, the length along.
  const IBSliderControl fromLength(0, 100, 120, handle, IBitmap(), kNoParameter,
                                   EDirection::Horizontal);
  EXPECT_EQ(fromLength.GetRECT(), IRECT(0, 100, 120, 120));

  s->SetValue(0.5);
  s->SetDirty(false);
  Frame();
  const auto calls = g.Calls("DrawBitmap");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].text, "slider_track.png");
  EXPECT_EQ(calls[0].rect, IRECT(25, 17, 175, 23));
  EXPECT_EQ(calls[1].text, "slider_handle.png");
  EXPECT_EQ(calls[1].rect, IRECT(95, 17, 105, 37));
}

TEST_F(BitmapControls, ARotaterTurnsItsBitmapAboutTheCentreThroughTwoHundredSixtyDegrees) {
  EXPECT_DOUBLE_EQ(IBKnobRotaterControl::AngleForValue(2.), 130.);
  EXPECT_DOUBLE_EQ(IBKnobRotaterControl::AngleForValue(kNaN), -130.);

  const IBitmap knob = g.LoadBitmap("knob.png", 1, false, 1);
  auto* k = Attach(new IBKnobRotaterControl(IRECT(0, 0, 60, 40), knob));
  k->SetValue(0.5);
  k->SetDirty(false);
  Frame();
  const auto calls = g.Calls("DrawRotatedBitmap");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].nums, (std::vector<float>{30.f, 20.f, 0.f}));
}

// The layout itself is the graphics context's; these check what the control hands it.
TEST_F(BitmapControls, BitmapTextIsLaidOutWithTheControlsFontSizesAndFlags) {
  const IBitmap font = g.LoadBitmap("font.png", 96, false, 1);  // 8 x 12 a character
  ASSERT_TRUE(font.IsValid());
  // Six 10-point characters in a 50-point box, multi-line: five on the first line, one below.
  Attach(new IBTextControl(IRECT(0, 0, 50, 40), font, IText(14.f, EAlign::Near), "ABCDEF", 10, 12,
                           0, true, false));
  // On one line, centred both ways, with a 2-point gap: cut at the edge.
  auto* t = Attach(new IBTextControl(IRECT(0, 50, 50, 90), font, IText(14.f, EAlign::Center), "A B",
                                     8, 12, 2, false, true));
  Frame();
  const auto chars = g.Calls("DrawBitmap");
  ASSERT_EQ(chars.size(), 9u);
  EXPECT_EQ(chars[4].rect, IRECT(40, 0, 50, 12));
  EXPECT_EQ(chars[5].rect, IRECT(0, 12, 10, 24));
  EXPECT_EQ(chars[6].rect, IRECT(13, 64, 21, 76));
  EXPECT_EQ(chars[7].rect, IRECT(23, 64, 31, 76));

  t->SetStr("ABCDEFGHIJ");
  Frame();
  EXPECT_EQ(g.Count("DrawBitmap"), 6) << "as many as fit in 50 points";
  t->SetStr("");
  Frame();
  EXPECT_EQ(g.Count("DrawBitmap"), 0);
}

TEST_F(BitmapControls, BitmapTextWithoutRoomOrWithoutACharacterSizeDrawsNothing) {
  const IBitmap font = g.LoadBitmap("font.png", 96, false, 1);
  Attach(new IBTextControl(IRECT(0, 0, 7, 20), font, DEFAULT_TEXT, "A", 8, 12));
  base::LogCapture logs;
  Attach(new IBTextControl(IRECT(0, 30, 100, 50), font, DEFAULT_TEXT, "A", 0, 12));
  Attach(new IBTextControl(IRECT(0, 60, 100, 80), font, DEFAULT_TEXT, "A", 8, -3));
  EXPECT_EQ(logs.count(), 2u) << "each unusable font is reported once";
  Frame();
  Frame();
  EXPECT_EQ(g.Count("DrawBitmap"), 0);
  EXPECT_EQ(logs.count(), 2u);
}

TEST_F(BitmapControls, AMissingImageDrawsNothingAndTheControlsStillWork) {
  const IBitmap missing = g.LoadBitmap("no_such_image.png", 3, false, 1);
  ASSERT_FALSE(missing.IsValid());
  auto* picture = Attach(new IBitmapControl(0, 0, missing));
  auto* button = Attach(new IBButtonControl(IRECT(0, 0, 20, 20), missing));
  auto* sw = Attach(new IBSwitchControl(IRECT(20, 0, 40, 20), missing));
  auto* slider = Attach(new IBSliderControl(IRECT(40, 0, 60, 80), missing, missing));
  auto* knob = Attach(new IBKnobRotaterControl(IRECT(60, 0, 80, 20), missing));
  auto* text = Attach(new IBTextControl(IRECT(80, 0, 180, 20), missing, DEFAULT_TEXT, "Hi"));
  for (IControl* c : std::vector<IControl*>{picture, button, sw, slider, knob, text}) {
    c->SetValue(0.6);
    c->SetDirty(false);
  }
  Frame();
  EXPECT_EQ(g.Count("DrawBitmap"), 0);
  EXPECT_EQ(g.Count("DrawRotatedBitmap"), 0);
  // Without an image the switch has no size to click; pressed all the same, it steps as a
  // one-frame switch.
  EXPECT_EQ(sw->GetRECT(), IRECT(30, 10, 30, 10));
  sw->OnMouseDown(30, 10, IMouseMod(true));
  EXPECT_DOUBLE_EQ(sw->GetValue(), 0.) << "1.6 wraps";
  g.SetScreenScale(2.f);
  Frame();
  EXPECT_EQ(g.Count("DrawBitmap"), 0);
}

TEST_F(BitmapControls, ARescaleLoadsByNameAtTheScaleRoundedUp) {
  auto* c = Attach(new IBitmapControl(0, 0, button));
  ASSERT_EQ(g.mLoads.back().name, "button2.png");
  EXPECT_EQ(g.mLoads.back().scale, 1) << "attaching loads for the current scale";
  g.SetScreenScale(1.5f);
  EXPECT_EQ(g.mLoads.back().scale, 2);
  const IBitmap& now = c->GetBitmap();
  ASSERT_TRUE(now.IsValid());
  EXPECT_EQ(now.GetAPIBitmap()->GetScale(), 2.f) << "the @2x file";
  EXPECT_EQ(now.W, 40);
  EXPECT_EQ(now.H, 40);
  EXPECT_EQ(now.N, 2);
  EXPECT_STREQ(now.GetResourceName(), "button2.png");
}

TEST_F(BitmapControls, AFailedReloadKeepsTheBitmapItHad) {
  // A bitmap whose resource has gone since it was loaded.
  const IBitmap orphan(stripV.GetAPIBitmap(), 10, 30, 3, false, "gone.png");
  auto* c = Attach(new IBitmapControl(0, 0, orphan));
  base::LogCapture logs;
  g.SetScreenScale(2.f);
  EXPECT_GT(logs.count(), 0u);
  EXPECT_EQ(c->GetBitmap().GetAPIBitmap(), stripV.GetAPIBitmap());
  EXPECT_STREQ(c->GetBitmap().GetResourceName(), "gone.png");
  Frame();
  EXPECT_EQ(g.Count("DrawBitmap"), 1);
}

TEST_F(BitmapControls, ASliderReloadsItsHandleButNotItsTrack) {
  const IBitmap handle = g.LoadBitmap("slider_handle.png", 1, false, 1);
  const IBitmap track = g.LoadBitmap("slider_track.png", 1, false, 1);
  Attach(new IBSliderControl(IRECT(0, 0, 200, 40), handle, track, kNoParameter,
                             EDirection::Horizontal));
  g.mLoads.clear();
  g.SetScreenScale(2.f);
  ASSERT_EQ(g.mLoads.size(), 1u);
  EXPECT_EQ(g.mLoads[0].name, "slider_handle.png");
}

}  // namespace
