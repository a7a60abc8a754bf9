// Value slots, dirty marking and the paths a value takes to and from the delegate.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;
using testsupport::LoggingControl;
using Call = FakeEditorDelegate::Call;

namespace {

class ControlValues : public testsupport::ControlTestFixture<> {
 protected:
  LoggingControl* Attach(LoggingControl* c) {
    g.AttachControl(c);
    c->SetClean();
    dlg.ClearCalls();
    return c;
  }
};

TEST_F(ControlValues, OneSlotControlActsOnSlotZeroWhateverTheIndex) {
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 10, 10), FakeEditorDelegate::kParamInt));
  c->SetValue(0.25);
  c->SetDirty(true, 5);
  ASSERT_EQ(dlg.Calls().size(), 1u);
  EXPECT_EQ(dlg.Calls()[0], (Call{Call::kSetValue, FakeEditorDelegate::kParamInt, 0.25}));
  EXPECT_TRUE(c->IsDirty());
}

TEST_F(ControlValues, SetDirtyClampsEverySlotAndSendsNothingWithoutTrigger) {
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 10, 10), {0, 2, 3}));
  c->SetValue(1.7, 0);
  c->SetValue(-0.5, 1);
  c->SetValue(std::numeric_limits<double>::quiet_NaN(), 2);
  EXPECT_DOUBLE_EQ(c->GetValue(0), 1.7);  // SetValue stores as given
  c->SetDirty(false, kNoValIdx);
  EXPECT_DOUBLE_EQ(c->GetValue(0), 1.0);
  EXPECT_DOUBLE_EQ(c->GetValue(1), 0.0);
  EXPECT_DOUBLE_EQ(c->GetValue(2), 0.0);  // NaN becomes 0, never a parameter value
  EXPECT_TRUE(dlg.Calls().empty());
}

TEST_F(ControlValues, TriggeredSetDirtySendsBoundSlotsThenRunsTheAction) {
  std::vector<std::string> order;
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 10, 10), {kNoParameter, 2}));
  c->SetActionFunction(
      [&](IControl*) { order.push_back("action after " + std::to_string(dlg.Calls().size())); });
  c->SetValue(0.5, 0);
  c->SetValue(0.75, 1);
  c->SetDirty(true, kNoValIdx);
  ASSERT_EQ(dlg.Calls().size(), 1u);  // the unbound slot sends nothing
  EXPECT_EQ(dlg.Calls()[0], (Call{Call::kSetValue, 2, 0.75}));
  EXPECT_EQ(order, std::vector<std::string>{"action after 1"});
}

TEST_F(ControlValues, SlotIndicesOutsideTheListNeverReadOrWritePastIt) {
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 10, 10), {2, 3}));
  EXPECT_EQ(c->GetParamIdx(7), kNoParameter);
  EXPECT_EQ(c->GetParamIdx(-3), kNoParameter);
  EXPECT_DOUBLE_EQ(c->GetValue(2), 0.0);
  c->SetValue(0.5, 2);
  c->SetDirty(true, 9);
  EXPECT_TRUE(dlg.Calls().empty());
  EXPECT_EQ(c->GetParam(4), nullptr);
  EXPECT_THROW(c->SetParamIdx(1, 2), std::out_of_range);

  LoggingControl none(IRECT(), {});
  EXPECT_EQ(none.NVals(), 0);
  EXPECT_EQ(none.GetValIdxForParam(0), kNoValIdx);
  EXPECT_EQ(none.GetValIdxForPos(0, 0), kNoValIdx);
  none.SetDirty(true);  // only marks dirty
  EXPECT_TRUE(none.IsDirty());
}

TEST_F(ControlValues, ValueFromDelegateMarksDirtyOnlyOnChangeAndNeverRunsTheAction) {
  int actions = 0;
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 10, 10), 2));
  c->SetActionFunction([&](IControl*) { ++actions; });
  c->SetValueFromDelegate(0.0);
  EXPECT_FALSE(c->IsDirty());
  c->SetValueFromDelegate(0.4);
  EXPECT_TRUE(c->IsDirty());
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.4);
  EXPECT_EQ(actions, 0);
  EXPECT_TRUE(dlg.Calls().empty());
}

TEST_F(ControlValues, ValueFromDelegateIsIgnoredWhileTheUserHoldsTheControl) {
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 10, 10), 2));
  g.OnMouseDown(5, 5, IMouseMod(true));
  c->SetClean();
  c->SetValueFromDelegate(0.9);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.0);
  EXPECT_FALSE(c->IsDirty());
  g.OnMouseUp(5, 5, IMouseMod(true));
  c->SetValueFromDelegate(0.9);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.9);
}

TEST_F(ControlValues, DefaultValueComesFromTheParameterAndSlotsWithoutOneKeepTheirs) {
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 10, 10),
                                      {FakeEditorDelegate::kParamEnumOffset, kNoParameter}));
  c->SetValue(0.9, 0);
  c->SetValue(0.3, 1);
  c->SetValueToDefault(kNoValIdx);
  EXPECT_DOUBLE_EQ(c->GetValue(0), 1.0 / 3);  // 4 in 3..6
  EXPECT_DOUBLE_EQ(c->GetValue(1), 0.3);
  EXPECT_EQ(dlg.Calls(),
            (std::vector<Call>{{Call::kSetValue, FakeEditorDelegate::kParamEnumOffset, 1.0 / 3}}));
}

TEST_F(ControlValues, DoubleClickResetsToDefaultAndRunsTheAction) {
  int actions = 0;
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 10, 10), FakeEditorDelegate::kParamInt));
  c->SetActionFunction([&](IControl*) { ++actions; });
  c->SetValue(0.1);
  g.OnMouseDblClick(5, 5, IMouseMod(true));
  EXPECT_NEAR(c->GetValue(), 64.0 / 127.0, 1e-12);
  EXPECT_EQ(actions, 1);
}

TEST_F(ControlValues, UserChangesReachPeersBoundToTheSameParameter) {
  auto* a = Attach(new LoggingControl(IRECT(0, 0, 10, 10), 2));
  auto* b = Attach(new LoggingControl(IRECT(20, 0, 30, 10), {5, 2}));
  auto* other = Attach(new LoggingControl(IRECT(40, 0, 50, 10), 3));
  int peerActions = 0;
  b->SetActionFunction([&](IControl*) { ++peerActions; });
  a->SetValue(0.6);
  a->SetDirty(true);
  EXPECT_DOUBLE_EQ(b->GetValue(1), 0.6);
  EXPECT_DOUBLE_EQ(b->GetValue(0), 0.0);
  EXPECT_DOUBLE_EQ(other->GetValue(), 0.0);
  EXPECT_TRUE(b->IsDirty());
  EXPECT_EQ(peerActions, 0);  // peers are updated as from the delegate
  EXPECT_EQ(dlg.Calls().size(), 1u);
}

TEST(UnattachedControl, EveryServiceIsSafeWithoutDelegateOrGraphics) {
  LoggingControl c(IRECT(0, 0, 10, 10), 2);
  int actions = 0;
  c.SetActionFunction([&](IControl*) { ++actions; });
  c.DisablePrompt(false);
  c.SetValue(0.5);
  c.SetDirty(true);
  c.SetValueFromDelegate(0.2);
  c.SetValueToDefault();
  c.PromptUserInput(0);
  c.OnMouseDown(1, 1, IMouseMod(false, true));
  c.AttachGestureRecognizer(3, [](IControl*, const IGestureInfo&) {});
  c.SetPTParameterHighlight(true, 1);
  IPopupMenu menu;
  menu.AddItem("x");
  menu.SetChosenItemIdx(0);
  c.OnPopupMenuSelection(&menu, 0);
  EXPECT_EQ(c.GetParam(), nullptr);
  EXPECT_EQ(actions, 2);
}

}  // namespace
