// The control list: attaching, tags, groups, removal and values from the delegate.

#include <gtest/gtest.h>

#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;
using testsupport::LoggingControl;

namespace {

class GraphicsControls : public testsupport::ControlTestFixture<> {
 protected:
};

TEST_F(GraphicsControls, AttachLinksTheControlAndCallsItsHooksInOrder) {
  struct Checking : LoggingControl {
    using LoggingControl::LoggingControl;
    void OnAttached() override {
      LoggingControl::OnAttached();
      attachedInList = GetUI() && GetUI()->GetControlIdx(this) >= 0;
      groupSet = std::string(GetGroup()) == "jack1";
    }
    bool attachedInList = false, groupSet = false;
  };
  auto* c = new Checking(IRECT(0, 0, 10, 10));
  EXPECT_EQ(g.AttachControl(c, 7, "jack1"), c);
  EXPECT_EQ(c->mEvents,
            (std::vector<std::string>{"OnInit", "OnResize", "OnRescale", "OnAttached"}));
  EXPECT_TRUE(c->attachedInList);
  EXPECT_TRUE(c->groupSet);
  EXPECT_EQ(c->GetUI(), &g);
  EXPECT_EQ(c->GetDelegate(), &dlg);
  EXPECT_EQ(g.GetControlWithTag(7), c);
  EXPECT_EQ(g.GetControlTag(c), 7);
}

TEST_F(GraphicsControls, ADuplicateTagIsRefusedAndTheRefusedControlDeleted) {
  g.AttachControl(new LoggingControl(IRECT()), 3);
  bool destroyed = false;
  auto* dup = new LoggingControl(IRECT());
  dup->mDestroyed = &destroyed;
  EXPECT_EQ(g.AttachControl(dup, 3), nullptr);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(g.NControls(), 1);
  // Untagged controls never clash.
  EXPECT_NE(g.AttachControl(new LoggingControl(IRECT())), nullptr);
  EXPECT_NE(g.AttachControl(new LoggingControl(IRECT())), nullptr);
  EXPECT_EQ(g.AttachControl(nullptr), nullptr);
}

TEST_F(GraphicsControls, GroupsAreVisitedInAttachOrder) {
  auto* a = g.AttachControl(new LoggingControl(IRECT()), kNoTag, "pedal");
  g.AttachControl(new LoggingControl(IRECT()), kNoTag, "switch");
  auto* c = g.AttachControl(new LoggingControl(IRECT()), kNoTag, "pedal");
  std::vector<IControl*> seen;
  g.ForControlInGroup("pedal", [&](IControl* ctrl) { seen.push_back(ctrl); });
  EXPECT_EQ(seen, (std::vector<IControl*>{a, c}));
  g.ForControlInGroup(nullptr, [&](IControl* ctrl) { seen.push_back(ctrl); });
  EXPECT_EQ(seen.size(), 2u);
}

TEST_F(GraphicsControls, RemovingAControlForgetsItsTagAndDeletesIt) {
  bool destroyed = false;
  auto* c = new LoggingControl(IRECT());
  c->mDestroyed = &destroyed;
  g.AttachControl(c, 4);
  g.RemoveControlWithTag(4);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(g.GetControlWithTag(4), nullptr);
  EXPECT_NE(g.AttachControl(new LoggingControl(IRECT()), 4), nullptr);  // the tag is free again
}

TEST_F(GraphicsControls, AControlRemovingItselfInItsOwnHandlerLivesUntilTheEventEnds) {
  struct SelfRemoving : LoggingControl {
    using LoggingControl::LoggingControl;
    void OnMouseDown(float, float, const IMouseMod&) override {
      GetUI()->RemoveControl(this);
      mEvents.push_back("still here");  // would be a use after free if deleted at once
    }
  };
  bool destroyed = false;
  auto* c = new SelfRemoving(IRECT(0, 0, 10, 10), 2);
  c->mDestroyed = &destroyed;
  g.AttachControl(c);
  g.OnMouseDown(5, 5, IMouseMod(true));
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(g.NControls(), 0);
  g.OnMouseUp(5, 5, IMouseMod(true));  // the capture was cleared with it
  // The gesture begun by the press ends with the control, and only once.
  using Call = FakeEditorDelegate::Call;
  EXPECT_EQ(dlg.Calls(), (std::vector<Call>{{Call::kBegin, 2, 0}, {Call::kEnd, 2, 0}}));
}

TEST_F(GraphicsControls, DelegateValuesReachEveryBoundSlotInNormalisedForm) {
  auto* a = static_cast<LoggingControl*>(
      g.AttachControl(new LoggingControl(IRECT(), FakeEditorDelegate::kParamIntOffset)));
  auto* b = static_cast<LoggingControl*>(
      g.AttachControl(new LoggingControl(IRECT(), {1, FakeEditorDelegate::kParamIntOffset})));
  int actions = 0;
  a->SetActionFunction([&](IControl*) { ++actions; });
  g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamIntOffset, 4.0, false);
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.2);
  EXPECT_DOUBLE_EQ(b->GetValue(1), 0.2);
  g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamIntOffset, 0.75, true);
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.75);
  EXPECT_EQ(actions, 0);
  g.SendParameterValueFromDelegate(99, 1.0, false);  // no such parameter: nothing happens
  EXPECT_TRUE(dlg.Calls().empty());
}

TEST_F(GraphicsControls, MessagesAndMidiGoOnlyToTheControlsThatTakeThem) {
  auto* tagged = static_cast<LoggingControl*>(g.AttachControl(new LoggingControl(IRECT()), 9));
  auto* midi = static_cast<LoggingControl*>(g.AttachControl(new LoggingControl(IRECT())));
  midi->SetWantsMidi(true);
  g.SendControlMsgFromDelegate(9, 12, 0, nullptr);
  g.SendControlMsgFromDelegate(10, 13, 0, nullptr);
  g.SendMidiMsgFromDelegate(iplug::IMidiMsg(0, 0x90, 60, 100));
  EXPECT_TRUE(tagged->Saw("OnMsgFromDelegate 12"));
  EXPECT_FALSE(tagged->Saw("OnMidi"));
  EXPECT_TRUE(midi->Saw("OnMidi"));
  EXPECT_FALSE(midi->Saw("OnMsgFromDelegate 13"));
}

}  // namespace
