// The text control: its text, formatting limits, fitting to the text and drawing.

#include <gtest/gtest.h>

#include <climits>

#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;

namespace {

class TextControl : public testsupport::ControlTestFixture<> {
 protected:
  // Draws whatever is dirty, so the controls start clean.
  void Settle() {
    g.DrawFrame();
    g.ClearLog();
  }

  // 14-point text measures 7 points per byte and 14 high.
  const IText text14{14.f};
};

TEST_F(TextControl, SetStrRedrawsOnlyForANewText) {
  ITextControl* c = Attach(new ITextControl(IRECT(0, 0, 50, 20), nullptr));
  EXPECT_EQ(g.GetMouseControl(10, 10), nullptr) << "text is never hit";
  c->SetStr("abc");
  Settle();
  c->SetStr("abc");
  EXPECT_FALSE(c->IsDirty());
  c->SetStr("abd");
  EXPECT_TRUE(c->IsDirty());
  Settle();
  c->SetStr(nullptr);
  EXPECT_STREQ(c->GetStr(), "");
  EXPECT_TRUE(c->IsDirty());
  Settle();
  c->ClearStr();
  EXPECT_FALSE(c->IsDirty());
}

TEST_F(TextControl, SetStrFmtKeepsToTheLimitWithoutSplittingACharacter) {
  ITextControl* c = Attach(new ITextControl(IRECT(0, 0, 50, 20), "old"));
  c->SetStrFmt(3, "%d", 12345);
  EXPECT_STREQ(c->GetStr(), "123");
  c->SetStrFmt(INT_MAX, "%s-%d", "ab", 7);
  EXPECT_STREQ(c->GetStr(), "ab-7");
  c->SetStrFmt(4, "%s", "ab\xE2\x82\xAC");  // "ab" and a three-byte euro sign
  EXPECT_STREQ(c->GetStr(), "ab");
  c->SetStrFmt(0, "%d", 5);
  EXPECT_STREQ(c->GetStr(), "");
  c->SetStrFmt(-4, "%d", 5);
  EXPECT_STREQ(c->GetStr(), "");

  c->SetStr("kept");
  Settle();
  base::LogCapture logged;
  const char* noFormat = nullptr;
  // A missing format is the bad input under test.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
  c->SetStrFmt(8, noFormat);
#pragma GCC diagnostic pop
  EXPECT_STREQ(c->GetStr(), "kept");
  EXPECT_GT(logged.count(), 0u);
}

TEST_F(TextControl, SizeToTextFitsAroundTheCentreOnAttachAndOnEachNewText) {
  auto* c = new ITextControl(IRECT(0, 0, 100, 40), "abcd", text14, COLOR_WHITE, true);
  c->SetStr("abcdef");  // unattached: nothing to measure with yet
  EXPECT_EQ(c->GetRECT(), IRECT(0, 0, 100, 40));
  Attach(c);
  EXPECT_EQ(c->GetRECT(), IRECT(29, 13, 71, 27));
  EXPECT_EQ(c->GetTargetRECT(), c->GetRECT());
  c->SetStr("ab");
  EXPECT_EQ(c->GetRECT(), IRECT(43, 13, 57, 27));
  c->SetStr("");
  EXPECT_EQ(c->GetRECT(), IRECT(50, 20, 50, 20));

  // SetStrFmt neither compares nor fits.
  c->SetStrFmt(10, "%s", "abcdef");
  EXPECT_EQ(c->GetRECT(), IRECT(50, 20, 50, 20));
}

TEST_F(TextControl, DrawsBackgroundThenTextButNoTextUnderTextEntry) {
  ITextControl* c = Attach(new ITextControl(IRECT(0, 0, 50, 20), "hi", text14, COLOR_RED));
  c->SetDisabled(true);
  Settle();
  c->SetDirty(false);
  g.DrawFrame();
  ASSERT_EQ(g.Ops(), (std::vector<std::string>{"BeginFrame", "FillRect", "DrawText", "EndFrame"}));
  EXPECT_EQ(g.Calls("FillRect")[0].color, COLOR_RED);
  EXPECT_FLOAT_EQ(g.Calls("FillRect")[0].blendWeight, 0.25f);
  EXPECT_EQ(g.Calls("DrawText")[0].text, "hi");
  EXPECT_FLOAT_EQ(g.Calls("DrawText")[0].blendWeight, 0.25f);

  g.ClearLog();
  g.CreateTextEntry(*c, c->GetText(), c->GetRECT(), "hi");
  c->SetDirty(false);
  g.DrawFrame();
  EXPECT_EQ(g.Count("FillRect"), 1);
  EXPECT_EQ(g.Count("DrawText"), 0);

  g.ClearLog();
  g.ClearInTextEntryControl();
  c->SetStr("");
  g.DrawFrame();
  EXPECT_EQ(g.Count("DrawText"), 0);
}

}  // namespace
