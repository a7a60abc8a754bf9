// The panel, vector panel and LED: what they draw, and the LED's decay on the manual clock.

#include <gtest/gtest.h>

#include <limits>
#include <thread>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::DrawCall;
using testsupport::RecordingGraphics;

namespace {

// Keeps the whole pattern of every path fill, which the shared log reduces to one colour.
class PatternRecordingGraphics : public RecordingGraphics {
 public:
  using RecordingGraphics::RecordingGraphics;
  void PathFill(const IPattern& pattern, const IFillOptions& options,
                const IBlend* blend) override {
    RecordingGraphics::PathFill(pattern, options, blend);
    mFills.push_back(pattern);
  }
  std::vector<IPattern> mFills;
};

class PanelAndLED : public testsupport::ControlTestFixture<PatternRecordingGraphics> {
 protected:
  // Also forgets the patterns of the frames before.
  void Frame() {
    g.ClearLog();
    g.mFills.clear();
    g.DrawFrame();
  }
  std::vector<std::string> DrawOps() const {
    std::vector<std::string> ops = g.Ops();
    std::erase(ops, "BeginFrame");
    std::erase(ops, "EndFrame");
    return ops;
  }
};

const IColor kPanelColor(255, 30, 60, 90);
const IColor kFullLight = IColor::FromHSLA(0.5f, 1.f, 0.65f, 1.f);

TEST_F(PanelAndLED, APanelFillsItsPathUnblendedFramesItInLightGreyAndTakesOtherPatterns) {
  auto* panel = Attach(new IPanelControl(IRECT(10, 20, 110, 70), kPanelColor, true));
  EXPECT_EQ(g.GetMouseControl(50, 40), nullptr) << "a panel takes no mouse input";
  panel->SetDisabled(true);
  Frame();
  EXPECT_EQ(DrawOps(),
            (std::vector<std::string>{"PathClear", "PathMoveTo", "PathLineTo", "PathLineTo",
                                      "PathLineTo", "PathClose", "PathFill", "DrawRect"}));
  EXPECT_EQ(g.Calls("PathLineTo")[1].nums, (std::vector<float>{110, 70}));
  EXPECT_EQ(g.Calls("PathFill")[0].color, kPanelColor);
  EXPECT_FALSE(g.Calls("PathFill")[0].hasBlend) << "a disabled panel is not dimmed";
  EXPECT_EQ(g.Calls("DrawRect")[0].color, IColor(255, 240, 240, 240));

  panel->SetPattern(IPattern::CreateLinearGradient(0, 0, 50, 0, {{COLOR_RED, 0}, {COLOR_BLUE, 1}}));
  Frame();
  ASSERT_EQ(g.mFills.size(), 1u);
  EXPECT_EQ(g.mFills[0].mType, EPatternType::Linear);
}

TEST_F(PanelAndLED, AVectorPanelDrawsBackgroundWidgetAndLabelAndTakesNoMouse) {
  const IVStyle style = DEFAULT_STYLE.WithColor(kBG, COLOR_WHITE).WithDrawShadows(false);
  auto* panel = Attach(new IVPanelControl(IRECT(0, 0, 100, 80), "Pedals", style));
  EXPECT_EQ(g.GetMouseControl(50, 50), nullptr);
  // The label (19 points tall at the default label size) takes the top strip.
  EXPECT_EQ(panel->GetTargetRECT(), IRECT(0, 19, 100, 80));
  panel->SetDisabled(true);
  Frame();
  EXPECT_EQ(DrawOps(),
            (std::vector<std::string>{"FillRect", "FillRoundRect", "DrawRoundRect", "DrawText"}));
  EXPECT_FLOAT_EQ(g.Calls("FillRect")[0].blendWeight, IControl::kDisabledBlendWeight);
  EXPECT_EQ(g.Calls("FillRoundRect")[0].rect, IRECT(0, 19, 100, 80));
  EXPECT_EQ(g.Calls("FillRoundRect")[0].color, style.GetColor(kFG)) << "never drawn pressed";
}

TEST_F(PanelAndLED, AFullyLitLEDHasItsColourAGlowOneAndTwoThirdsItsSizeAndARadialGradient) {
  auto* led = Attach(new ILEDControl(IRECT(0, 0, 40, 40), 0.5f));
  led->SetValue(1.0);
  led->SetDirty(false);
  Frame();
  EXPECT_EQ(DrawOps(), (std::vector<std::string>{"FillEllipse", "DrawEllipse", "PathClear",
                                                 "PathEllipse", "PathFill"}));
  EXPECT_EQ(g.Calls("FillEllipse")[0].color, kFullLight);
  EXPECT_EQ(g.Calls("FillEllipse")[0].rect, IRECT(10, 10, 30, 30));
  EXPECT_EQ(g.Calls("DrawEllipse")[0].color, COLOR_BLACK);
  EXPECT_EQ(g.Calls("PathEllipse")[0].rect, IRECT(3.5f, 3.5f, 36.5f, 36.5f));
  EXPECT_FLOAT_EQ(g.Calls("PathFill")[0].blendWeight, 0.65f);

  // The control's half width maps onto the unit circle about the control's centre.
  ASSERT_EQ(g.mFills.size(), 1u);
  const IPattern& p = g.mFills[0];
  EXPECT_EQ(p.mType, EPatternType::Radial);
  ASSERT_EQ(p.NStops(), 2);
  EXPECT_EQ(p.GetStop(0).mColor, kFullLight);
  EXPECT_EQ(p.GetStop(1).mColor, COLOR_TRANSPARENT);
  EXPECT_EQ(p.GetStop(1).mOffset, 1.f);
  EXPECT_DOUBLE_EQ(p.mTransform.mXX, 0.05);
  EXPECT_DOUBLE_EQ(p.mTransform.mYY, 0.05);
  EXPECT_DOUBLE_EQ(p.mTransform.mTX, -1.0);
  EXPECT_DOUBLE_EQ(p.mTransform.mTY, -1.0);
}

TEST_F(PanelAndLED, ADarkLEDIsBlackWithAnInvisibleGlowTheSizeOfTheLight) {
  auto* nan = Attach(new ILEDControl(IRECT(0, 40, 60, 80), 0.2f));
  nan->SetValue(std::numeric_limits<double>::quiet_NaN());
  Attach(new ILEDControl(IRECT(100, 0, 160, 40), 0.2f));
  Frame();
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(g.Calls("FillEllipse")[i].color, COLOR_BLACK) << "NaN shows dark too";
    EXPECT_EQ(g.Calls("PathEllipse")[i].rect, g.Calls("FillEllipse")[i].rect);
    EXPECT_FLOAT_EQ(g.Calls("PathFill")[i].blendWeight, 0.f);
  }
  EXPECT_EQ(g.Calls("FillEllipse")[1].rect, IRECT(115, 5, 145, 35));
}

TEST_F(PanelAndLED, ANarrowLEDStillShowsALightAndAnLEDWithoutWidthSkipsItsGlow) {
  Attach(new ILEDControl(IRECT(0, 0, 1, 10), 0.5f));
  Frame();
  EXPECT_EQ(g.Calls("FillEllipse")[0].rect, IRECT(0, 4.5f, 1, 5.5f)) << "diameter at least 1";

  // The frame never draws a control without area; whoever draws one directly gets the light
  // without a glow, whose gradient would have a radius of 0.
  ILEDControl none(IRECT(20, 0, 20, 10), 0.5f);
  none.SetValue(1.0);
  g.ClearLog();
  none.Draw(g);
  EXPECT_EQ(g.Ops(), (std::vector<std::string>{"FillEllipse", "DrawEllipse"}));
}

TEST_F(PanelAndLED, TheDecayFallsAlongACubeAndARetriggerRestartsItFromFull) {
  auto* led = Attach(new ILEDControl(IRECT(0, 0, 40, 40), 0.5f));
  g.DrawFrame();
  led->TriggerWithDecay(200);
  Frame();
  EXPECT_DOUBLE_EQ(led->GetValue(), 1.0);
  EXPECT_EQ(g.Calls("FillEllipse")[0].color, kFullLight);

  g.Clock().advance(100);
  Frame();
  EXPECT_DOUBLE_EQ(led->GetValue(), 0.125) << "half time: (1 - 0.5)^3";
  EXPECT_EQ(g.Calls("FillEllipse")[0].color, IColor::FromHSLA(0.5f, 1.f, 0.125f * 0.65f, 1.f));

  led->TriggerWithDecay(200);
  Frame();
  EXPECT_DOUBLE_EQ(led->GetValue(), 1.0);
  g.Clock().advance(150);
  Frame();
  EXPECT_DOUBLE_EQ(led->GetValue(), 0.015625);
  g.Clock().advance(100);
  Frame();
  EXPECT_FALSE(led->GetAnimationFunction());
  EXPECT_DOUBLE_EQ(led->GetValue(), 0.015625) << "the last step's value stays";
  EXPECT_EQ(g.Count("FillEllipse"), 1) << "drawn once more as the decay ends";
  Frame();
  EXPECT_EQ(g.Count("FillEllipse"), 0);
}

TEST_F(PanelAndLED, ATriggerFromAnotherThreadTakesEffectAtTheNextFrame) {
  auto* led = Attach(new ILEDControl(IRECT(0, 0, 40, 40), 0.5f));
  g.DrawFrame();
  std::thread([led] { led->TriggerWithDecay(200); }).join();
  EXPECT_FALSE(led->GetAnimationFunction()) << "the worker left the animation alone";

  Frame();
  EXPECT_TRUE(led->GetAnimationFunction());
  EXPECT_EQ(g.Calls("FillEllipse")[0].color, kFullLight) << "lit in the frame that took it";
  g.Clock().advance(100);
  g.DrawFrame();
  EXPECT_DOUBLE_EQ(led->GetValue(), 0.125);
}

TEST(ColorFromHSLA, ConvertsAroundTheCircleAndClampsWhatIsOutOfRange) {
  const IColor cyan(255, 0, 255, 255);
  EXPECT_EQ(IColor::FromHSLA(0.f, 1.f, 0.5f, 1.f), IColor(255, 255, 0, 0));
  EXPECT_EQ(IColor::FromHSLA(0.5f, 1.f, 0.5f, 1.f), cyan);
  EXPECT_EQ(IColor::FromHSLA(-0.5f, 1.f, 0.5f, 1.f), cyan);
  EXPECT_EQ(IColor::FromHSLA(1.5f, 1.f, 0.5f, 1.f), cyan);
  EXPECT_EQ(IColor::FromHSLA(0.3f, 0.f, 0.5f, 1.f), IColor(255, 127, 127, 127));
  EXPECT_EQ(IColor::FromHSLA(0.3f, 1.f, 0.f, 0.5f), IColor(127, 0, 0, 0));
  EXPECT_EQ(IColor::FromHSLA(0.f, 2.f, 1.7f, 3.f), COLOR_WHITE);
  EXPECT_EQ(IColor::FromHSLA(0.f, 1.f, 0.5f, -1.f).A, 0);
}

TEST(ColorFromHSLA, ANaNComponentCountsAsZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(IColor::FromHSLA(nan, 1.f, 0.5f, 1.f), IColor(255, 255, 0, 0));
  EXPECT_EQ(IColor::FromHSLA(inf, 1.f, 0.5f, 1.f), IColor(255, 255, 0, 0));
  EXPECT_EQ(IColor::FromHSLA(0.5f, nan, 0.5f, 1.f), IColor(255, 127, 127, 127));
  EXPECT_EQ(IColor::FromHSLA(0.5f, 1.f, nan, 1.f), COLOR_BLACK);
  EXPECT_EQ(IColor::FromHSLA(0.5f, 1.f, 0.5f, nan).A, 0);
}

}  // namespace
