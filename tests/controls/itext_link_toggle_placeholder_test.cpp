// The link, text-toggle and placeholder controls: what a click opens, colours, underline,
// toggled texts and the placeholder's bounded info texts.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "graphics/IGraphicsMac.h"
#include "platform/system/Workspace.h"
#include "support/ControlTestFixture.h"
#include "support/PlatformHarness.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;
using testsupport::RecordingGraphics;

namespace {

// A recording context whose OpenURL answers from the test and remembers what it was asked.
class LinkGraphics : public RecordingGraphics {
 public:
  using RecordingGraphics::RecordingGraphics;
  bool OpenURL(const char* url, const char*, const char*, const char*) override {
    opened.push_back(url ? url : "(null)");
    return answer;
  }
  bool answer = true;
  std::vector<std::string> opened;
};

class LinkControls : public testsupport::ControlTestFixture<LinkGraphics> {
 protected:
  const IText text14{14.f, COLOR_BLACK};
  const IColor over = COLOR_RED, visited = COLOR_GREEN;
  IURLControl* Link(const char* url, const IText& text) {
    return Attach(
        new IURLControl(IRECT(10, 10, 110, 40), "abcd", url, text, COLOR_WHITE, over, visited));
  }
  // The colour of the underline in a fresh frame of the control.
  IColor LineColor(IControl* c) {
    g.ClearLog();
    c->Draw(g);
    return g.Calls("DrawLine").at(0).color;
  }
};

TEST_F(LinkControls, ColourFollowsPointerAndAVisitThatOpened) {
  IURLControl* c = Link("https://example.com", text14);
  EXPECT_EQ(LineColor(c), COLOR_BLACK);
  g.OnMouseOver(20, 20, kLeft);
  EXPECT_EQ(g.GetMouseCursor(), IURLControl::kLinkCursor);
  EXPECT_EQ(LineColor(c), over);

  g.answer = false;  // a failed open never looks visited
  Click(20, 20);
  EXPECT_EQ(g.opened, (std::vector<std::string>{"https://example.com"}));
  EXPECT_EQ(g.GetMouseCursor(), 0);
  EXPECT_FALSE(c->GetClicked());
  EXPECT_EQ(LineColor(c), COLOR_BLACK);

  g.answer = true;
  Click(20, 20);
  EXPECT_TRUE(c->GetClicked());
  EXPECT_EQ(LineColor(c), visited) << "the visited colour stays after the pointer left";

  // An empty or null address opens nothing.
  for (const char* url : {"", static_cast<const char*>(nullptr)})
    Link(url, text14)->OnMouseDown(20, 20, kLeft);
  EXPECT_EQ(g.opened.size(), 2u);
}

TEST_F(LinkControls, UnderlineSitsUnderTheTextForEachAlignment) {
  // "abcd" at 14 points measures 28 x 14; the rectangle is (10, 10, 110, 40).
  struct Row {
    EAlign align;
    EVAlign valign;
    float x1, x2, y;
  };
  const Row rows[] = {
      {EAlign::Near, EVAlign::Top, 10, 38, 24},
      {EAlign::Center, EVAlign::Middle, 46, 74, 32},
      {EAlign::Far, EVAlign::Bottom, 82, 110, 40},
  };
  for (const Row& row : rows) {
    IURLControl* c = Link("u", IText(14.f, COLOR_BLACK, nullptr, row.align, row.valign));
    g.ClearLog();
    c->Draw(g);
    ASSERT_EQ(g.Ops(), (std::vector<std::string>{"FillRect", "DrawLine", "DrawText"}));
    EXPECT_EQ(g.Calls("DrawLine")[0].nums, (std::vector<float>{row.x1, row.y, row.x2, row.y, 1.f}))
        << static_cast<int>(row.align);
  }
}

// The real platform path: the workspace is given the address or file as one argument.
TEST(LinkOpening, WebAddressAndFileReachTheHandlerAndAMissingFileStaysUnvisited) {
  testsupport::PlatformHarness h;
  FakeEditorDelegate dlg;
  IGraphicsMac g(dlg, 200, 100);
  std::vector<std::vector<std::string>> launched;
  auto previous = platform::NSWorkspace::sharedWorkspace().setLauncher(
      [&](const std::vector<std::string>& argv) {
        launched.push_back(argv);
        return true;
      });
  const std::string file = testing::TempDir() + "link_manual.pdf";
  std::ofstream(file) << "pdf";

  struct Row {
    std::string url;
    bool visited;
  };
  const Row rows[] = {{"https://example.com/a b", true}, {file, true}, {file + ".gone", false}};
  for (const Row& row : rows) {
    auto* c = static_cast<IURLControl*>(
        g.AttachControl(new IURLControl(IRECT(0, 0, 50, 20), "link", row.url.c_str())));
    c->OnMouseDown(5, 5, IMouseMod(true));
    EXPECT_EQ(c->GetClicked(), row.visited) << row.url;
  }
  platform::NSWorkspace::sharedWorkspace().setLauncher(std::move(previous));
  unlink(file.c_str());
  ASSERT_EQ(launched.size(), 2u);
  EXPECT_EQ(launched[0].back(), "https://example.com/a b");
  EXPECT_EQ(launched[1].back(), file);
}

using TextToggle = testsupport::ControlTestFixture<>;

TEST_F(TextToggle, TextFollowsTheValueFromClicksAndFromTheParameter) {
  auto* c = Attach(
      new ITextToggleControl(IRECT(0, 0, 40, 20), FakeEditorDelegate::kParamGain, "off", "on"));
  EXPECT_STREQ(c->GetStr(), "off");
  struct Row {
    double normalized;
    const char* shown;
  };
  for (const Row& row : {Row{0.8, "on"}, Row{0.5, "off"}, Row{1.0, "on"}, Row{0.0, "off"}}) {
    g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamGain, row.normalized, true);
    EXPECT_STREQ(c->GetStr(), row.shown) << row.normalized;
  }
  g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamGain, 0.3, true);
  Click(10, 10);
  EXPECT_DOUBLE_EQ(c->GetValue(), 1.0);
  EXPECT_STREQ(c->GetStr(), "on");
  Click(10, 10);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.0);
  EXPECT_STREQ(c->GetStr(), "off");

  int actions = 0;
  auto* a = Attach(new ITextToggleControl(
      IRECT(50, 0, 90, 20), [&](IControl*) { ++actions; }, nullptr, "yes"));
  Click(60, 10);
  EXPECT_STREQ(a->GetStr(), "yes");
  Click(60, 10);
  EXPECT_STREQ(a->GetStr(), "");
  EXPECT_EQ(actions, 2);
}

using Placeholder = testsupport::ControlTestFixture<>;

TEST_F(Placeholder, InfoTextsAreOneDecimalAndBoundedToThirtyTwoBytes) {
  auto* c = Attach(new PlaceHolder(IRECT(5, 7.25f, 105, 57.75f), "Soon"));
  c->OnResize();
  EXPECT_STREQ(c->GetPositionStr(), "5.0, 7.2");
  EXPECT_STREQ(c->GetWidthStr(), "100.0");
  EXPECT_STREQ(c->GetHeightStr(), "50.5");

  c->SetTargetAndDrawRECTs(IRECT(-1e30f, NAN, 1e30f, INFINITY));
  c->OnResize();
  EXPECT_EQ(std::string(c->GetPositionStr()).size(), PlaceHolder::kMaxInfoLen - 1u);
  EXPECT_EQ(std::string(c->GetWidthStr()).size(), PlaceHolder::kMaxInfoLen - 1u);
  EXPECT_STREQ(c->GetHeightStr(), "nan");
}

TEST_F(Placeholder, DrawsCrossInfoAndCaptionUntilTheCaptionIsEditedAway) {
  auto* c = Attach(new PlaceHolder(IRECT(0, 0, 100, 50), "Soon"));
  c->OnResize();
  g.ClearLog();
  c->Draw(g);
  ASSERT_EQ(g.Ops(), (std::vector<std::string>{"FillRect", "DrawLine", "DrawLine", "FillRect",
                                               "DrawText", "FillRect", "DrawText", "FillRect",
                                               "DrawText", "FillRect", "DrawText"}));
  EXPECT_EQ(g.Calls("DrawLine")[0].color, IColor(255, 255, 0, 0));
  EXPECT_FLOAT_EQ(g.Calls("DrawLine")[1].blendWeight, 0.5f);
  EXPECT_EQ(g.Calls("DrawText")[3].text, "Soon");
  EXPECT_FALSE(c->GetCaptionBounds().Empty());

  g.SetHasPlatformTextEntry(true);
  c->OnMouseDblClick(10, 10, kLeft);
  EXPECT_EQ(g.GetControlInTextEntry(), c);
  c->OnTextEntryCompletion("", 0);
  g.ClearInTextEntryControl();
  g.ClearLog();
  c->Draw(g);
  EXPECT_EQ(g.Count("DrawText"), 3) << "no caption box for an empty caption";
  EXPECT_EQ(g.Count("FillRect"), 4);
}

}  // namespace
