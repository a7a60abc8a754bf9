// Event routing: hit testing, capture, gestures on the delegate, hover, keys, and the popup
// menu and text entry taking events while open.

#include <gtest/gtest.h>

#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using iplug::IKeyPress;
using testsupport::AttachFakePopupMenuControl;
using testsupport::AttachFakeTextEntryControl;
using testsupport::FakeEditorDelegate;
using testsupport::FakePopupMenuControl;
using testsupport::FakeTextEntryControl;
using testsupport::LoggingControl;
using Call = FakeEditorDelegate::Call;

namespace {

class GraphicsEvents : public testsupport::ControlTestFixture<> {
 protected:
  LoggingControl* Add(const IRECT& r, int paramIdx = kNoParameter) {
    return static_cast<LoggingControl*>(g.AttachControl(new LoggingControl(r, paramIdx)));
  }
};

TEST_F(GraphicsEvents, TheLastAttachedControlUnderThePointerWins) {
  auto* below = Add(IRECT(0, 0, 100, 100));
  auto* above = Add(IRECT(50, 50, 150, 150));
  EXPECT_EQ(g.GetMouseControl(75, 75), above);
  EXPECT_EQ(g.GetMouseControl(25, 25), below);
  EXPECT_EQ(g.GetMouseControl(200, 200), nullptr);
  EXPECT_EQ(g.GetMouseControl(std::numeric_limits<float>::quiet_NaN(), 10), nullptr);
}

TEST_F(GraphicsEvents, HiddenIgnoringAndDisabledControlsAreSkippedUnlessTheirFlagsSaySo) {
  auto* below = Add(IRECT(0, 0, 100, 100));
  auto* above = Add(IRECT(0, 0, 100, 100));
  above->Hide(true);
  EXPECT_EQ(g.GetMouseControl(10, 10), below);
  above->Hide(false);
  above->SetIgnoreMouse(true);
  EXPECT_EQ(g.GetMouseControl(10, 10), below);
  above->SetIgnoreMouse(false);
  above->SetDisabled(true);
  EXPECT_EQ(g.GetMouseControl(10, 10), below);
  EXPECT_EQ(g.GetMouseControl(10, 10, true), below);
  above->SetMOWhenGrayed(true);
  EXPECT_EQ(g.GetMouseControl(10, 10, true), above);
  EXPECT_EQ(g.GetMouseControl(10, 10), below);
  above->SetMEWhenGrayed(true);
  EXPECT_EQ(g.GetMouseControl(10, 10), above);
}

TEST_F(GraphicsEvents, APressCapturesTheControlAndBracketsItsParametersOnTheDelegate) {
  auto* c = static_cast<LoggingControl*>(
      g.AttachControl(new LoggingControl(IRECT(0, 0, 50, 50), {2, kNoParameter, 3})));
  g.OnMouseDown(10, 10, kLeft);
  EXPECT_TRUE(g.ControlIsCaptured(c));
  float x = 0, y = 0;
  g.GetMouseDownPoint(x, y);
  EXPECT_EQ(x, 10.f);
  EXPECT_EQ(y, 10.f);
  // Drags reach the held control even outside it; a drag without movement does not.
  g.OnMouseDrag(300, 300, 5, 5, kLeft);
  g.OnMouseDrag(300, 300, 0, 0, kLeft);
  g.OnMouseUp(300, 300, kLeft);
  EXPECT_FALSE(g.ControlIsCaptured());
  EXPECT_EQ(c->mEvents, (std::vector<std::string>{"OnInit", "OnResize", "OnRescale", "OnAttached",
                                                  "OnMouseDown", "OnMouseDrag", "OnMouseUp"}));
  EXPECT_EQ(
      dlg.Calls(),
      (std::vector<Call>{
          {Call::kBegin, 2, 0}, {Call::kBegin, 3, 0}, {Call::kEnd, 2, 0}, {Call::kEnd, 3, 0}}));
}

TEST_F(GraphicsEvents, ReleasingTheCaptureEndsTheGesturesOfTheControlsLetGo) {
  auto* c = Add(IRECT(0, 0, 50, 50), 2);
  g.OnMouseDown(10, 10, kLeft);
  g.ReleaseMouseCapture();
  EXPECT_FALSE(g.ControlIsCaptured(c));
  EXPECT_EQ(dlg.GetGestureDepth(2), 0);
  g.OnMouseUp(10, 10, kLeft);
  EXPECT_EQ(dlg.Calls(), (std::vector<Call>{{Call::kBegin, 2, 0}, {Call::kEnd, 2, 0}}));
}

TEST_F(GraphicsEvents, DoubleClicksGoToTheControlOrArePressesWhenItAsks) {
  auto* c = Add(IRECT(0, 0, 50, 50));
  EXPECT_TRUE(g.OnMouseDblClick(10, 10, kLeft));
  EXPECT_TRUE(c->Saw("OnMouseDblClick"));
  EXPECT_FALSE(c->Saw("OnMouseDown"));
  c->SetDblAsSingleClick(true);
  g.OnMouseDblClick(10, 10, kLeft);
  EXPECT_TRUE(c->Saw("OnMouseDown"));
  EXPECT_TRUE(g.ControlIsCaptured(c));
  EXPECT_FALSE(g.OnMouseDblClick(200, 200, kLeft));
}

TEST_F(GraphicsEvents, HoverMovesFromControlToControlWithOneMouseOut) {
  auto* a = Add(IRECT(0, 0, 50, 50));
  auto* b = Add(IRECT(60, 0, 100, 50));
  a->mEvents.clear();
  b->mEvents.clear();
  EXPECT_TRUE(g.OnMouseOver(10, 10, IMouseMod()));
  EXPECT_TRUE(a->GetMouseIsOver());
  g.OnMouseOver(70, 10, IMouseMod());
  EXPECT_FALSE(a->GetMouseIsOver());
  EXPECT_TRUE(b->GetMouseIsOver());
  EXPECT_EQ(a->mEvents, (std::vector<std::string>{"OnMouseOver", "OnMouseOut"}));
  g.OnMouseOut();
  EXPECT_FALSE(b->GetMouseIsOver());
  EXPECT_EQ(g.GetMouseOver(), nullptr);
}

TEST_F(GraphicsEvents, WheelAndKeysGoToTheControlUnderThePointer) {
  auto* c = Add(IRECT(0, 0, 50, 50));
  g.OnMouseWheel(10, 10, IMouseMod(), 1.f);
  g.OnMouseWheel(10, 10, IMouseMod(), std::numeric_limits<float>::infinity());
  EXPECT_EQ(std::count(c->mEvents.begin(), c->mEvents.end(), "OnMouseWheel"), 1);
  EXPECT_FALSE(g.OnKeyDown(10, 10, IKeyPress("a", iplug::kVK_A)));
  c->mHandleKeys = true;
  EXPECT_TRUE(g.OnKeyDown(10, 10, IKeyPress("a", iplug::kVK_A)));
  EXPECT_FALSE(g.OnKeyDown(200, 10, IKeyPress("a", iplug::kVK_A)));
}

TEST_F(GraphicsEvents, AnOpenPopupMenuTakesEveryMouseEvent) {
  FakePopupMenuControl* popup = AttachFakePopupMenuControl(g);
  auto* c = Add(IRECT(0, 0, 50, 50), FakeEditorDelegate::kParamEnum);
  c->mEvents.clear();

  IPopupMenu menu("", {"a", "b"});
  g.CreatePopupMenu(*c, menu, IRECT(0, 0, 10, 10));
  g.OnMouseOver(10, 10, IMouseMod());
  g.OnMouseDown(10, 10, kLeft);
  EXPECT_EQ(popup->mEvents, (std::vector<std::string>{"OnMouseOver", "OnMouseDown"}));
  EXPECT_TRUE(c->mEvents.empty());
  popup->Choose(1);
  g.OnMouseDown(10, 10, kLeft);
  EXPECT_TRUE(c->Saw("OnMouseDown"));
}

TEST_F(GraphicsEvents, AnEditTakesTheMouseAndTheKeysItHandles) {
  FakeTextEntryControl* entry = AttachFakeTextEntryControl(g);
  auto* c = Add(IRECT(0, 0, 50, 50));
  c->mHandleKeys = true;
  c->mEvents.clear();

  g.CreateTextEntry(*c, IText(), IRECT(0, 0, 40, 16), "", 0);
  ASSERT_TRUE(entry->EditInProgress());
  g.OnMouseDown(10, 10, kLeft);
  EXPECT_TRUE(g.OnKeyDown(10, 10, IKeyPress("5", iplug::kVK_5)));
  EXPECT_FALSE(c->Saw("OnKeyDown"));
  // A key the edit does not handle goes on to the control under the pointer.
  EXPECT_TRUE(g.OnKeyDown(10, 10, IKeyPress("", iplug::kVK_TAB)));
  EXPECT_TRUE(c->Saw("OnKeyDown"));
  EXPECT_FALSE(c->Saw("OnMouseDown"));
  g.OnKeyDown(10, 10, IKeyPress("", iplug::kVK_RETURN));
  EXPECT_TRUE(c->Saw("OnTextEntryCompletion 5"));
  EXPECT_EQ(g.GetControlInTextEntry(), nullptr);
}

}  // namespace
