// The caption control: texts from its parameter, the menu triangle, and the prompts a click
// opens.

#include <gtest/gtest.h>

#include <functional>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;

namespace {

using P = FakeEditorDelegate;

class Caption : public testsupport::ControlTestFixture<> {
 protected:
  // Each caption gets its own row, 100 x 20, the first at the top.
  ICaptionControl* Attach(int paramIdx, bool showLabel = true) {
    const IRECT bounds = IRECT::MakeXYWH(0, 30.f * g.NControls(), 100, 20);
    return static_cast<ICaptionControl*>(
        g.AttachControl(new ICaptionControl(bounds, paramIdx, IText(), COLOR_WHITE, showLabel)));
  }
  // The text a fresh frame draws in the caption.
  std::string DrawnText(ICaptionControl* c) {
    g.ClearLog();
    c->SetDirty(false);
    g.DrawFrame();
    std::string drawn = "<none>";
    for (const auto& call : g.Calls("DrawText")) {
      if (call.rect == c->GetRECT()) drawn = call.text;
    }
    return drawn;
  }
};

TEST_F(Caption, ShowsTheParameterDisplayTextWithOrWithoutItsLabel) {
  dlg.GetParam(P::kParamGain)->Set(-3.5);
  dlg.GetParam(P::kParamEnum)->Set(2.0);
  EXPECT_EQ(DrawnText(Attach(P::kParamGain)), "-3.5 dB");
  EXPECT_EQ(DrawnText(Attach(P::kParamGain, false)), "-3.5");
  EXPECT_EQ(DrawnText(Attach(P::kParamEnum)), "Mid ") << "the blank stays without a label";
  EXPECT_EQ(DrawnText(Attach(P::kParamEnum, false)), "Mid");
}

TEST_F(Caption, DrawingDoesNotDirtyTheCaptionAgain) {
  ICaptionControl* c = Attach(P::kParamInt);
  g.DrawFrame();
  EXPECT_FALSE(c->IsDirty());
  EXPECT_STREQ(c->GetStr(), "64 ");
}

TEST_F(Caption, AMissingParameterKeepsTheLastTextAndOpensNothing) {
  ICaptionControl* c = Attach(99);
  c->SetStr("last");
  EXPECT_EQ(DrawnText(c), "last");
  g.OnMouseDown(10, 10, IMouseMod(true));
  EXPECT_TRUE(g.ShownMenus().empty());
  EXPECT_FALSE(g.GetPlatformTextEntry().open);
  EXPECT_EQ(c->GetTriangleRECT(), IRECT());
}

TEST_F(Caption, EnumerationsGetATriangleNearTheRightEdge) {
  ICaptionControl* c = Attach(P::kParamEnum);
  EXPECT_EQ(c->GetTriangleRECT(), IRECT(86, 7.5f, 94, 12.5f));
  g.ClearLog();
  c->SetDirty(false);
  g.DrawFrame();
  auto tri = g.Calls("FillTriangle");
  ASSERT_EQ(tri.size(), 1u);
  EXPECT_EQ(tri[0].nums, (std::vector<float>{86, 7.5f, 94, 7.5f, 90, 12.5f}));
  EXPECT_EQ(tri[0].color, COLOR_BLACK);
  EXPECT_FLOAT_EQ(tri[0].blendWeight, 0.5f);

  g.ClearLog();
  g.OnMouseOver(50, 10, IMouseMod());
  g.DrawFrame();
  tri = g.Calls("FillTriangle");
  ASSERT_EQ(tri.size(), 1u);
  EXPECT_EQ(tri[0].color, COLOR_WHITE);
  EXPECT_FALSE(tri[0].hasBlend);

  // Moving the caption moves the triangle.
  c->SetPosition(100, 0);
  EXPECT_EQ(c->GetTriangleRECT(), IRECT(186, 7.5f, 194, 12.5f));
}

TEST_F(Caption, OtherParametersShowNoTriangle) {
  for (int p : {int(P::kParamBool), int(P::kParamInt), int(P::kParamGain)}) {
    ICaptionControl* c = Attach(p);
    EXPECT_EQ(c->GetTriangleRECT().W(), 0.f);
  }
  g.DrawFrame();
  EXPECT_EQ(g.Count("FillTriangle"), 0);
}

TEST_F(Caption, AClickOnAnEnumerationPicksFromTheMenu) {
  ICaptionControl* c = Attach(P::kParamEnum);
  dlg.GetParam(P::kParamEnum)->Set(1.0);
  g.SetPopupMenuAnswer(2);
  g.OnMouseDown(10, 10, IMouseMod(true));
  ASSERT_EQ(g.ShownMenus().size(), 1u);
  const auto& menu = g.ShownMenus()[0];
  EXPECT_EQ(menu.title, "Mode");
  EXPECT_EQ(menu.items, (std::vector<std::string>{"Off", "Low", "Mid", "High"}));
  EXPECT_EQ(menu.flags, (std::vector<int>{0, IPopupMenu::Item::kChecked, 0, 0}));
  EXPECT_EQ(menu.bounds, c->GetRECT());
  EXPECT_DOUBLE_EQ(dlg.GetParam(P::kParamEnum)->Value(), 2.0);
  EXPECT_EQ(DrawnText(c), "Mid ");

  // A double click is a click: the right button and a second click open it too.
  g.OnMouseUp(10, 10, IMouseMod(true));
  g.OnMouseDblClick(10, 10, IMouseMod(true));
  g.OnMouseUp(10, 10, IMouseMod(true));
  g.OnMouseDown(10, 10, IMouseMod(false, true));
  EXPECT_EQ(g.ShownMenus().size(), 3u);
}

TEST_F(Caption, AClickOnANumberOpensATextEntryOfItsValue) {
  ICaptionControl* c = Attach(P::kParamGain);
  dlg.GetParam(P::kParamGain)->Set(1.5);
  g.OnMouseDown(10, 10, IMouseMod(true));
  const auto& entry = g.GetPlatformTextEntry();
  ASSERT_TRUE(entry.open);
  EXPECT_STREQ(entry.str.Get(), "1.5");
  EXPECT_EQ(entry.bounds, c->GetRECT());
  EXPECT_EQ(entry.length, IControl::kDefaultTextEntryLength);
  g.SetControlValueAfterTextEdit("-6");
  EXPECT_DOUBLE_EQ(dlg.GetParam(P::kParamGain)->Value(), -6.0);
}

// The press that opens a text prompt is over when the button comes up: the caption is let go
// (so values from the host reach it while the user types) and its gesture ends with the edit,
// which ever way the edit ends.
TEST_F(Caption, ATextPromptLetsTheCaptionGoAndEndsItsGestureWithTheEdit) {
  const auto typeReturn = [this] { g.OnKeyDown(0, 0, iplug::IKeyPress("\r", iplug::kVK_RETURN)); };
  const auto typeEscape = [this] {
    g.OnKeyDown(0, 0, iplug::IKeyPress("\x1b", iplug::kVK_ESCAPE));
  };
  const auto clickOutside = [this] { Click(390, 290); };
  const auto platformAnswer = [this] { g.SetControlValueAfterTextEdit("3"); };
  const struct {
    const char* name;
    bool inInterface;
    std::function<void()> end;
  } cases[] = {{"Return", true, typeReturn},
               {"Escape", true, typeEscape},
               {"click outside", true, clickOutside},
               {"platform field", false, platformAnswer}};
  ICaptionControl* c = Attach(P::kParamGain);
  for (const auto& tc : cases) {
    g.SetHasPlatformTextEntry(!tc.inInterface);
    g.OnMouseDown(10, 10, kLeft);
    g.OnMouseUp(10, 10, kLeft);
    EXPECT_FALSE(g.ControlIsCaptured(c)) << tc.name;
    dlg.GetParam(P::kParamGain)->Set(6.0);
    g.SendParameterValueFromDelegate(P::kParamGain, 6.0, false);
    EXPECT_DOUBLE_EQ(c->GetValue(), dlg.GetParam(P::kParamGain)->GetNormalized()) << tc.name;
    tc.end();
    EXPECT_EQ(dlg.GetGestureDepth(P::kParamGain), 0) << tc.name;
  }
}

}  // namespace
