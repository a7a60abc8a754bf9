// The gallery's text entry in progress: the edit is open over the caption, shows what was typed
// with the caret after it, and is drawn in its own colours on top of the caption.

#include <gtest/gtest.h>

#include <cstdlib>

#include "GalleryTextEntry.h"
#include "controls/Controls.h"
#include "graphics/IGraphicsNanoVG.h"
#include "platform/system/Clock.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;

namespace {

class GalleryTextEntry : public testsupport::ControlTestFixture<IGraphicsNanoVG, 220, 70> {
 protected:
  void SetUp() override { platform::setClock(&clock); }
  void TearDown() override { platform::setClock(nullptr); }

  platform::ManualClock clock{0.};
};

TEST_F(GalleryTextEntry, AnEditIsOpenOverTheCaptionWithTheTypedTextAndACaret) {
  const IRECT area(10, 10, 210, 60);
  IControl* caption =
      gallery::AddTextEntryInProgress(g, area, FakeEditorDelegate::kParamGain, "12.5");
  ASSERT_NE(caption, nullptr);
  g.DrawFrame();
  if (const char* out = std::getenv("GALLERY_TEXTENTRY_PNG")) g.WritePNG(out);

  auto* te = dynamic_cast<ITextEntryControl*>(g.GetTextEntryControl());
  ASSERT_NE(te, nullptr);
  EXPECT_TRUE(te->EditInProgress());
  EXPECT_EQ(g.GetControlInTextEntry(), caption);
  EXPECT_EQ(te->GetRECT(), caption->GetRECT());
  EXPECT_EQ(te->GetText(), "12.5");
  EXPECT_EQ(te->GetCursor(), 4);
  EXPECT_TRUE(te->IsCaretShown());

  // The field's white replaces the caption's background, and its dark blue text and caret show.
  const IRECT& r = te->GetRECT();
  int white = 0, ink = 0;
  for (int y = static_cast<int>(r.T); y < static_cast<int>(r.B); ++y) {
    for (int x = static_cast<int>(r.L); x < static_cast<int>(r.R); ++x) {
      const IColor c = g.GetPixel(x, y);
      white += c == COLOR_WHITE;
      ink += c.B > c.R + 40;
    }
  }
  EXPECT_GT(white, static_cast<int>(r.W() * r.H()) / 2);
  EXPECT_GT(ink, 20);
}

}  // namespace
