// The stock click actions and animation functions: timing on the manual clock, the splash of a
// vector-styled control, and the value bubble.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;
using testsupport::LoggingControl;
using testsupport::RecordingGraphics;

namespace {

// A vector-styled control whose press runs its action, as a button's does.
class PressControl : public IControl, public IVectorBase {
 public:
  PressControl(const IRECT& bounds, IActionFunction action)
      : IControl(bounds, action), IVectorBase(DEFAULT_STYLE) {
    AttachIControl(this);
  }
  void Draw(IGraphics& g) override { DrawSplash(g, mRECT); }
  void OnMouseDown(float x, float y, const IMouseMod& mod) override { SetDirty(true); }
};

// Remembers every value bubble it is asked to show.
class BubbleGraphics : public RecordingGraphics {
 public:
  using RecordingGraphics::RecordingGraphics;
  struct Bubble {
    IControl* caller;
    float x, y;
    std::string text;
    EDirection dir;
    IRECT minimum;
  };
  void ShowBubbleControl(IControl* caller, float x, float y, const char* str, EDirection dir,
                         const IRECT& minimumContentBounds) override {
    mBubbles.push_back({caller, x, y, str, dir, minimumContentBounds});
  }
  std::vector<Bubble> mBubbles;
};

class ClickActions : public testsupport::ControlTestFixture<BubbleGraphics> {
 protected:
  // Advances the clock and runs one frame; true when it drew anything.
  bool Frame(double advanceMs) {
    g.Clock().advance(advanceMs);
    return g.DrawFrame();
  }

  PressControl* button = static_cast<PressControl*>(
      g.AttachControl(new PressControl(IRECT(0, 0, 100, 100), SplashClickActionFunc)));
};

TEST_F(ClickActions, DefaultClickRunsAHundredMillisecondsAndEndsOnTheFrameAfter) {
  auto* c = static_cast<LoggingControl*>(g.AttachControl(new LoggingControl(IRECT(0, 0, 5, 5))));
  c->SetActionFunction(DefaultClickActionFunc);
  c->SetDirty(true);
  EXPECT_DOUBLE_EQ(c->GetAnimationProgress(), 0.0);
  EXPECT_DOUBLE_EQ(c->GetAnimationDuration(), 100.0);
  Frame(50);
  EXPECT_DOUBLE_EQ(c->GetAnimationProgress(), 0.5);
  Frame(50);
  EXPECT_TRUE(c->GetAnimationFunction()) << "exactly at the duration it still runs";
  EXPECT_TRUE(Frame(1)) << "the end redraws the control once more";
  EXPECT_FALSE(c->GetAnimationFunction());
  EXPECT_FALSE(Frame(1));
}

TEST_F(ClickActions, SplashGrowsFromThePressedPointAndDisappearsAfterTheEnd) {
  g.OnMouseDown(30, 40, IMouseMod(true));
  float x = 0, y = 0;
  button->GetSplashPoint(x, y);
  EXPECT_EQ(x, 30.f);
  EXPECT_EQ(y, 40.f);
  Frame(0);
  EXPECT_EQ(button->GetSplashRadius(), 0.f);
  Frame(50);
  EXPECT_FLOAT_EQ(button->GetSplashRadius(), 25.f);
  EXPECT_TRUE(Frame(51)) << "the end redraws the control without its splash";
  EXPECT_FALSE(button->GetAnimationFunction());
  EXPECT_FALSE(Frame(1));
}

TEST_F(ClickActions, ASecondPressMidSplashRestartsItFromTheNewPoint) {
  g.OnMouseDown(30, 40, IMouseMod(true));
  Frame(60);
  g.OnMouseUp(30, 40, IMouseMod(true));
  g.OnMouseDown(70, 80, IMouseMod(true));
  Frame(10);
  float x = 0, y = 0;
  button->GetSplashPoint(x, y);
  EXPECT_EQ(x, 70.f);
  EXPECT_EQ(y, 80.f);
  EXPECT_FLOAT_EQ(button->GetSplashRadius(), 5.f);
  Frame(85);
  EXPECT_TRUE(button->GetAnimationFunction()) << "a fresh 100 ms from the second press";
}

TEST_F(ClickActions, AZeroLengthSplashNeverMakesANaNRadius) {
  button->SetAnimation(SplashAnimationFunc, 0);
  button->Animate();
  EXPECT_EQ(button->GetSplashRadius(), 0.f);
  EXPECT_TRUE(button->GetAnimationFunction());
  g.Clock().advance(1);
  button->Animate();
  EXPECT_FALSE(button->GetAnimationFunction());
  EXPECT_FALSE(std::isnan(button->GetSplashRadius()));
}

TEST_F(ClickActions, SplashOnAPlainControlIsTheDefaultClickAndUnattachedDoesNothing) {
  auto* plain =
      static_cast<LoggingControl*>(g.AttachControl(new LoggingControl(IRECT(0, 0, 5, 5))));
  SplashClickActionFunc(plain);
  ASSERT_TRUE(plain->GetAnimationFunction());
  Frame(101);
  EXPECT_FALSE(plain->GetAnimationFunction());

  PressControl loose(IRECT(0, 0, 10, 10), SplashClickActionFunc);
  loose.SetDirty(true);
  EXPECT_FALSE(loose.GetAnimationFunction());
}

TEST_F(ClickActions, BubblesShowTheParameterTextBesideOrAboveTheControl) {
  dlg.GetParam(FakeEditorDelegate::kParamGain)->Set(5.0);
  dlg.GetParam(FakeEditorDelegate::kParamEnum)->Set(2.0);
  IControl* time =
      g.AttachControl(new LoggingControl(IRECT(10, 20, 50, 60), FakeEditorDelegate::kParamGain));
  IControl* mode =
      g.AttachControl(new LoggingControl(IRECT(100, 20, 140, 60), FakeEditorDelegate::kParamEnum));

  ShowBubbleHorizontalActionFunc(time);
  ShowBubbleVerticalActionFunc(mode);
  ASSERT_EQ(g.mBubbles.size(), 2u);
  const auto& h = g.mBubbles[0];
  EXPECT_EQ(h.caller, time);
  EXPECT_EQ(h.text, "5.0 dB");
  EXPECT_EQ(h.x, 50.f);
  EXPECT_EQ(h.y, 40.f);
  EXPECT_EQ(h.dir, EDirection::Horizontal);
  EXPECT_EQ(h.minimum, IRECT(0, 0, 50, 30));
  const auto& v = g.mBubbles[1];
  EXPECT_EQ(v.text, "Mid") << "a value shown by its display text takes no label";
  EXPECT_EQ(v.x, 120.f);
  EXPECT_EQ(v.y, 20.f);
  EXPECT_EQ(v.dir, EDirection::Vertical);
}

TEST_F(ClickActions, BubblesNeedAParameterAndAGraphicsContext) {
  IControl* unbound = g.AttachControl(new LoggingControl(IRECT(0, 0, 10, 10)));
  IControl* missing = g.AttachControl(new LoggingControl(IRECT(0, 0, 10, 10), 99));
  LoggingControl loose(IRECT(0, 0, 10, 10), FakeEditorDelegate::kParamTime);
  for (IControl* c : {unbound, missing, static_cast<IControl*>(&loose)}) {
    ShowBubbleHorizontalActionFunc(c);
    ShowBubbleVerticalActionFunc(c);
  }
  ShowBubbleHorizontalActionFunc(nullptr);
  EXPECT_TRUE(g.mBubbles.empty());
}

}  // namespace
