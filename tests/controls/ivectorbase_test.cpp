// Layout of label, widget and value rectangles, and the drawing of the vector style part.

#include <gtest/gtest.h>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;

namespace {

// A vector control that lays itself out with MakeRects and draws every part.
class VectorTestControl : public IControl, public IVectorBase {
 public:
  VectorTestControl(const IRECT& bounds, const char* label, const IVStyle& style,
                    bool labelInWidget = false, bool valueInWidget = false, bool hasHandle = false)
      : IControl(bounds), IVectorBase(style, labelInWidget, valueInWidget), mHasHandle(hasHandle) {
    AttachIControl(this, label);
  }
  void Draw(IGraphics& g) override {
    DrawBackground(g, mRECT);
    DrawLabel(g);
    DrawPressableShape(g, mShape, mWidgetBounds, mPressed, mMouseIsOver, IsDisabled());
    DrawValue(g, mMouseIsOver);
  }
  void OnResize() override { SetTargetRECT(MakeRects(mRECT, mHasHandle)); }

  bool mPressed = false;
  bool mHasHandle;
};

class VectorBase : public testsupport::ControlTestFixture<> {
 protected:
  VectorTestControl* Make(const char* label, const char* value,
                          const IVStyle& style = DEFAULT_STYLE, bool labelInWidget = false,
                          bool valueInWidget = false, bool hasHandle = false) {
    auto* c = new VectorTestControl(IRECT(0, 0, 100, 100), label, style, labelInWidget,
                                    valueInWidget, hasHandle);
    c->SetValueStr(value);
    g.AttachControl(c);
    return c;
  }
};

// The measurer gives 0.5 x size per character by size: a 19-point label "Gain" is 38 x 19 and a
// 14-point value "12" is 14 x 14.

TEST_F(VectorBase, LabelOnTopValueAtTheBottomWidgetBetween) {
  auto* c = Make("Gain", "12");
  EXPECT_EQ(c->GetLabelBounds(), IRECT(31, 0, 69, 19));
  EXPECT_EQ(c->GetTargetRECT(), IRECT(0, 19, 100, 100));
  const IRECT v = c->GetValueBounds();
  EXPECT_FLOAT_EQ(v.W(), 2.f * 0.66f * 14.f);
  EXPECT_FLOAT_EQ(v.MW(), 50.f);
  EXPECT_FLOAT_EQ(v.T, 86.f);
  EXPECT_FLOAT_EQ(v.B, 100.f);
  EXPECT_EQ(c->GetWidgetBounds(), IRECT(0, 19, 100, 86));
}

TEST_F(VectorBase, ValueOnTopAndInTheMiddle) {
  auto* top =
      Make("", "12", DEFAULT_STYLE.WithValueText(DEFAULT_VALUE_TEXT.WithVAlign(EVAlign::Top)));
  EXPECT_EQ(top->GetLabelBounds(), IRECT());
  EXPECT_FLOAT_EQ(top->GetValueBounds().T, 0.f);
  EXPECT_FLOAT_EQ(top->GetValueBounds().B, 14.f);
  EXPECT_EQ(top->GetWidgetBounds(), IRECT(0, 14, 100, 100));

  auto* mid = Make("", "12",
                   DEFAULT_STYLE.WithValueText(DEFAULT_VALUE_TEXT.WithVAlign(EVAlign::Middle))
                       .WithWidgetFrac(0.5f));
  EXPECT_FLOAT_EQ(mid->GetValueBounds().T, 43.f);
  EXPECT_FLOAT_EQ(mid->GetValueBounds().B, 57.f);
  EXPECT_EQ(mid->GetWidgetBounds(), IRECT(25, 25, 75, 75));
}

TEST_F(VectorBase, AHandleIsInsetByHalfTheFrameAndTheShadowOffset) {
  const IVStyle style = DEFAULT_STYLE.WithShowLabel(false)
                            .WithShowValue(false)
                            .WithFrameThickness(2.f)
                            .WithShadowOffset(3.f);
  auto* c = Make("", "", style, false, false, true);
  EXPECT_EQ(c->GetWidgetBounds(), IRECT(4, 1, 96, 96));
}

TEST_F(VectorBase, DrawsBackgroundLabelShapeAndValueInOrderWithTheOwnersBlend) {
  auto* c = Make("Gain", "12", DEFAULT_STYLE.WithRoundness(0.5f));
  c->SetDisabled(true);
  g.ClearLog();
  g.DrawFrame();
  EXPECT_EQ(g.Ops(),
            (std::vector<std::string>{"BeginFrame", "FillRect", "DrawText", "FillRoundRect",
                                      "DrawRoundRect", "DrawText", "EndFrame"}));
  for (const auto& call : g.Log()) {
    if (call.op == "FillRect" || call.op == "DrawText" || call.op == "FillRoundRect") {
      EXPECT_FLOAT_EQ(call.blendWeight, 0.25f) << call.op;
    }
  }
  const auto body = g.Calls("FillRoundRect")[0];
  const float radius = 0.5f * 67.f * 0.5f;  // half the smaller side (67) times the roundness
  EXPECT_EQ(body.nums, (std::vector<float>{radius, radius, radius, radius}));
  EXPECT_EQ(body.color, DEFAULT_FGCOLOR);
}

TEST_F(VectorBase, ShapeNumbersSelectRectangleEllipseTriangleOrTopRoundedRectangle) {
  auto* c = Make("", "",
                 DEFAULT_STYLE.WithShowLabel(false)
                     .WithShowValue(false)
                     .WithDrawShadows(false)
                     .WithDrawFrame(false)
                     .WithRoundness(1.f));
  auto drawShape = [&](int shape) {
    c->SetShape(shape);
    g.ClearLog();
    g.DrawFrame();
    auto ops = g.Ops();
    return ops.size() == 4 ? ops[2] : std::string("none");  // BeginFrame, background, shape, End
  };
  EXPECT_EQ(drawShape(0), "FillRoundRect");
  EXPECT_EQ(drawShape(1), "FillEllipse");
  EXPECT_EQ(drawShape(2), "FillTriangle");
  EXPECT_EQ(drawShape(3), "FillRoundRect");
  EXPECT_EQ(g.Calls("FillRoundRect")[0].nums, (std::vector<float>{50, 50, 0, 0}));
  EXPECT_EQ(drawShape(4), "FillRoundRect");
  EXPECT_EQ(drawShape(7), "none");
}

TEST_F(VectorBase, TriangleTurnsClockwiseAboutItsCentre) {
  auto* c = Make("", "",
                 DEFAULT_STYLE.WithShowLabel(false)
                     .WithShowValue(false)
                     .WithDrawShadows(false)
                     .WithDrawFrame(false)
                     .WithAngle(90.f));
  c->SetShape(IVectorBase::kVShapeTriangle);
  g.ClearLog();
  g.DrawFrame();
  const auto tri = g.Calls("FillTriangle");
  ASSERT_EQ(tri.size(), 1u);
  // The apex (50, 0) turns to the right edge (100, 50).
  EXPECT_NEAR(tri[0].nums[2], 100.f, 1e-4);
  EXPECT_NEAR(tri[0].nums[3], 50.f, 1e-4);
}

TEST_F(VectorBase, SplashIsClippedToTheShapeWhileAnAnimationRuns) {
  auto* c = Make("", "", DEFAULT_STYLE.WithShowLabel(false).WithShowValue(false));
  c->SetSplashPoint(20, 30);
  c->SetSplashRadius(10);
  c->SetAnimation([](IControl*) {}, 100);
  g.ClearLog();
  g.DrawFrame();
  const auto& log = g.Log();
  auto it = std::find_if(log.begin(), log.end(),
                         [](const auto& call) { return call.op == "FillCircle"; });
  ASSERT_NE(it, log.end());
  EXPECT_EQ(it->nums, (std::vector<float>{20, 30, 10}));
  EXPECT_EQ((it - 1)->op, "Clip");
  EXPECT_EQ((it - 1)->rect, IRECT(0, 0, 100, 100));
  EXPECT_EQ((it + 1)->op, "Clip");  // back to the whole region
}

TEST(VectorBaseUnattached, MakeRectsWithoutGraphicsMeasuresNothing) {
  struct Bare : IControl, IVectorBase {
    Bare() : IControl(IRECT(0, 0, 50, 50)), IVectorBase(DEFAULT_STYLE) {
      AttachIControl(this, "Label");
    }
    void Draw(IGraphics&) override {}
  } bare;
  EXPECT_EQ(bare.MakeRects(IRECT(0, 0, 50, 50)), IRECT(0, 0, 50, 50));
  EXPECT_EQ(bare.GetLabelBounds().H(), 0.f);
}

}  // namespace
