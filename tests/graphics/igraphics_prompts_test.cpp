// Value prompts: the menu of display texts, text entry and their answers.

#include <gtest/gtest.h>

#include <utility>

#include "base/detail/TestHooks.h"
#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::AttachFakeTextEntryControl;
using testsupport::FakeEditorDelegate;
using testsupport::FakeTextEntryControl;
using testsupport::LoggingControl;
using Call = FakeEditorDelegate::Call;

namespace {

class GraphicsPrompts : public testsupport::ControlTestFixture<> {
 protected:
  LoggingControl* Add(int paramIdx, const IRECT& r = IRECT(100, 100, 180, 140)) {
    auto* c = static_cast<LoggingControl*>(g.AttachControl(new LoggingControl(r, paramIdx)));
    c->DisablePrompt(false);
    return c;
  }
};

TEST_F(GraphicsPrompts, WithoutControlFactoriesMenusAndTextEntryStayWithThePlatform) {
  auto popupFactory = IGraphics::SetPopupMenuControlFactory(nullptr);
  auto textEntryFactory = IGraphics::SetTextEntryControlFactory(nullptr);
  g.SetHasPlatformPopupMenu(false);
  g.SetHasPlatformTextEntry(false);
  base::LogCapture logged;
  auto* c = Add(FakeEditorDelegate::kParamEnum);
  g.OnMouseDown(120, 120, kRight);
  EXPECT_EQ(g.GetPopupMenuControl(), nullptr);
  EXPECT_TRUE(c->Saw("OnPopupMenuSelection null"));
  g.CreateTextEntry(*c, IText(), c->GetRECT(), "1", 0);
  EXPECT_EQ(g.GetTextEntryControl(), nullptr);
  EXPECT_TRUE(g.GetPlatformTextEntry().open);
  EXPECT_EQ(logged.count(), 2u);
  IGraphics::SetPopupMenuControlFactory(std::move(popupFactory));
  IGraphics::SetTextEntryControlFactory(std::move(textEntryFactory));
}

TEST_F(GraphicsPrompts, ARightClickDoesNothingWhileThePromptIsDisabled) {
  auto* c = Add(FakeEditorDelegate::kParamEnum);
  c->DisablePrompt(true);
  g.OnMouseDown(120, 120, kRight);
  EXPECT_TRUE(g.ShownMenus().empty());
  EXPECT_FALSE(g.GetPlatformTextEntry().open);
}

TEST_F(GraphicsPrompts, AnEnumerationOpensAMenuOfItsTextsWithTheCurrentOneChecked) {
  dlg.GetParam(FakeEditorDelegate::kParamEnum)->Set(2);
  auto* c = Add(FakeEditorDelegate::kParamEnum);
  g.OnMouseDown(120, 120, kRight);
  ASSERT_EQ(g.ShownMenus().size(), 1u);
  const auto& menu = g.ShownMenus()[0];
  EXPECT_EQ(menu.title, "Mode");
  EXPECT_EQ(menu.items, (std::vector<std::string>{"Off", "Low", "Mid", "High"}));
  EXPECT_EQ(menu.flags, (std::vector<int>{0, 0, IPopupMenu::Item::kChecked, 0}));
  EXPECT_EQ(menu.bounds, c->GetRECT());  // a menu covers the control
}

TEST_F(GraphicsPrompts, AChosenItemSetsTheValueOfItsTextEvenWhenTheRangeDoesNotStartAtZero) {
  auto* c = Add(FakeEditorDelegate::kParamEnumOffset);
  g.SetPopupMenuAnswer(2);  // "five"
  g.OnMouseDown(120, 120, kRight);
  EXPECT_NEAR(c->GetValue(), (5.0 - 3.0) / 3.0, 1e-12);
  g.OnMouseUp(120, 120, kRight);
  // Pressed, set, ended once by the menu's answer; the release ends nothing more.
  const int p = FakeEditorDelegate::kParamEnumOffset;
  EXPECT_EQ(dlg.Calls(),
            (std::vector<Call>{
                {Call::kBegin, p, 0}, {Call::kSetValue, p, c->GetValue()}, {Call::kEnd, p, 0}}));
}

TEST_F(GraphicsPrompts, AMenuOpenedWithoutAPressEndsNoGestureItDidNotBegin) {
  auto* c = Add(FakeEditorDelegate::kParamEnumOffset);
  g.SetPopupMenuAnswer(1);
  c->PromptUserInput(0);
  const int p = FakeEditorDelegate::kParamEnumOffset;
  EXPECT_EQ(dlg.Calls(), (std::vector<Call>{{Call::kSetValue, p, c->GetValue()}}));
}

TEST_F(GraphicsPrompts, NothingChosenHandsTheControlANullMenu) {
  auto* c = Add(FakeEditorDelegate::kParamEnum);
  c->SetValue(0.5);
  g.OnMouseDown(120, 120, kRight);
  EXPECT_TRUE(c->Saw("OnPopupMenuSelection null"));
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.5);
}

TEST_F(GraphicsPrompts, ABooleanWithTextsGetsAMenuAndANumberGetsATextEntry) {
  Add(FakeEditorDelegate::kParamBool);
  g.OnMouseDown(120, 120, kRight);
  ASSERT_EQ(g.ShownMenus().size(), 1u);
  EXPECT_EQ(g.ShownMenus()[0].items, (std::vector<std::string>{"Bypassed", "Active"}));

  dlg.GetParam(FakeEditorDelegate::kParamGain)->Set(-3.5);
  auto* gain = Add(FakeEditorDelegate::kParamGain, IRECT(0, 0, 60, 20));
  gain->SetPromptShowsParamLabel(true);
  gain->SetTextEntryLength(5);
  g.OnMouseDown(10, 10, kRight);
  const auto& entry = g.GetPlatformTextEntry();
  ASSERT_TRUE(entry.open);
  EXPECT_STREQ(entry.str.Get(), "-3.5 dB");
  EXPECT_EQ(entry.bounds, IRECT(10, 2, 50, 18));  // 40 x 16 about the control's centre
  EXPECT_EQ(entry.length, 5);
  EXPECT_EQ(entry.paramIdx, FakeEditorDelegate::kParamGain);
  EXPECT_EQ(g.GetControlInTextEntry(), gain);
}

TEST_F(GraphicsPrompts, TypedValuesAreRoundedToTheStepAndClampedToTheRange) {
  auto* c = Add(FakeEditorDelegate::kParamInt);
  c->PromptUserInput(0);
  g.SetControlValueAfterTextEdit("64.6");
  EXPECT_DOUBLE_EQ(c->GetValue(), 65.0 / 127.0);
  EXPECT_EQ(g.GetControlInTextEntry(), nullptr);
  c->PromptUserInput(0);
  g.SetControlValueAfterTextEdit("500");
  EXPECT_DOUBLE_EQ(c->GetValue(), 1.0);
  c->PromptUserInput(0);
  g.SetControlValueAfterTextEdit("-20");
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.0);
}

TEST_F(GraphicsPrompts, NotANumberLeavesTheValueAsItWas) {
  auto* c = Add(FakeEditorDelegate::kParamGain);
  c->SetValue(0.5);
  // A decimal comma ("0,5") could as well be a thousands separator ("1,000"): neither is read
  // as the number before the comma.
  for (const char* text :
       {"nan", "inf", "-inf", "1e999", "NaN", "abc", "-", ".", "", "0,5", "1,000", "-3,5 dB"}) {
    c->PromptUserInput(0);
    g.SetControlValueAfterTextEdit(text);
    EXPECT_DOUBLE_EQ(c->GetValue(), 0.5) << text;
  }
  c->PromptUserInput(0);
  g.SetControlValueAfterTextEdit(nullptr);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.5);
  EXPECT_TRUE(dlg.Calls().empty());
}

TEST_F(GraphicsPrompts, ANumberFollowedByTheUnitOrSpacesIsTaken) {
  auto* c = Add(FakeEditorDelegate::kParamGain);
  for (const auto& [text, value] : {std::pair{"-6 dB", -6.0}, {" 3.5 ", 3.5}, {"1.5dB", 1.5}}) {
    c->PromptUserInput(0);
    g.SetControlValueAfterTextEdit(text);
    EXPECT_DOUBLE_EQ(dlg.GetParam(FakeEditorDelegate::kParamGain)->Value(), value) << text;
  }
}

TEST_F(GraphicsPrompts, AControlWithoutParameterReceivesTheTextItself) {
  auto* c = Add(kNoParameter);
  g.CreateTextEntry(*c, IText(), IRECT(0, 0, 10, 10), "abc", 0);
  g.SetControlValueAfterTextEdit("typed");
  EXPECT_TRUE(c->Saw("OnTextEntryCompletion typed"));
}

TEST_F(GraphicsPrompts, RemovingTheRequesterWhileAPromptIsOpenClearsTheRecord) {
  auto* c = Add(FakeEditorDelegate::kParamInt);
  c->PromptUserInput(0);
  ASSERT_EQ(g.GetControlInTextEntry(), c);
  g.RemoveControl(c);
  EXPECT_EQ(g.GetControlInTextEntry(), nullptr);
  g.SetControlValueAfterTextEdit("10");  // must not touch the deleted control
  EXPECT_TRUE(dlg.Calls().empty());
}

TEST_F(GraphicsPrompts, RemovingTheRequesterEndsAnInterfaceEditWithoutAResult) {
  FakeTextEntryControl* entry = AttachFakeTextEntryControl(g);
  auto* c = Add(FakeEditorDelegate::kParamInt);
  c->PromptUserInput(0);
  ASSERT_TRUE(entry->EditInProgress());
  EXPECT_EQ(entry->mText, "64");
  EXPECT_EQ(entry->mLength, IControl::kDefaultTextEntryLength);
  g.RemoveControl(c);
  EXPECT_FALSE(entry->EditInProgress());
}

TEST_F(GraphicsPrompts, ContextMenusOfferTheControlsItemsAndReportTheIndex) {
  auto* c = Add(FakeEditorDelegate::kParamInt);
  c->mContextItems = {"Copy", "Paste"};
  g.SetPopupMenuAnswer(1);
  g.OnMouseDown(120, 120, kRight);
  ASSERT_EQ(g.ShownMenus().size(), 1u);
  EXPECT_EQ(g.ShownMenus()[0].items, (std::vector<std::string>{"Copy", "Paste"}));
  EXPECT_EQ(g.ShownMenus()[0].bounds, IRECT(120, 120, 120, 120));
  EXPECT_TRUE(c->Saw("OnContextMenuSelection 1"));
  EXPECT_FALSE(c->Saw("OnMouseDown"));  // the menu replaced the press
  EXPECT_FALSE(g.GetPlatformTextEntry().open);
}

}  // namespace
