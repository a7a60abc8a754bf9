#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/Button.h"
#include "platform/Window.h"
#include "support/ControlRecorders.h"
#include "support/PlatformHarness.h"

using namespace platform;
using testsupport::ControlRecorder;

namespace {

using Events = std::vector<std::string>;

// A key window with one button at (20, 20), 100 x 24, targeting a recorder.
class ButtonTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  Ref<ControlRecorder> rec = Ref<ControlRecorder>::adopt(new ControlRecorder);
  NSWindow* w = nullptr;
  NSButton* button = nullptr;

  void SetUp() override {
    w = new NSWindow(NSMakeRect(100, 100, 300, 200), NSWindowStyleMaskTitled);
    Ref<NSView> content = Ref<NSView>::adopt(new NSView);
    w->setContentView(content.get());
    button = new NSButton(NSMakeRect(20, 20, 100, 24));
    button->setTarget(rec.get());
    button->setAction(7);
    content->addSubview(button);
    button->release();
    w->makeKeyAndOrderFront();
  }
  void TearDown() override { w->close(); }

  void click() {
    h.click(w, {70, 32});
    h.runUntilIdle();
  }
};

TEST_F(ButtonTest, ClicksMoveTheStateByButtonType) {
  struct Case {
    NSButtonType type;
    bool allowsMixed;
    int start;
    std::vector<int> afterClicks;
  };
  const Case cases[] = {
      {NSButtonTypeMomentaryPushIn, false, NSControlStateValueOff, {0, 0}},
      {NSButtonTypeSwitch, false, NSControlStateValueOff, {1, 0, 1}},
      {NSButtonTypeSwitch, true, NSControlStateValueOn, {0, -1, 1, 0}},
      {NSButtonTypeRadio, false, NSControlStateValueOff, {1, 1}},
      {NSButtonTypePushOnPushOff, false, NSControlStateValueOff, {1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    button->setButtonType(c.type);
    button->setAllowsMixedState(c.allowsMixed);
    button->setState(c.start);
    rec->take();
    std::vector<int> seen;
    for (std::size_t i = 0; i < c.afterClicks.size(); ++i) {
      click();
      seen.push_back(button->state());
    }
    EXPECT_EQ(seen, c.afterClicks);
    EXPECT_EQ(rec->take().size(), c.afterClicks.size()) << "one action per click";
  }
}

TEST_F(ButtonTest, ReleasingOutsideCancelsAndDisabledButtonsIgnoreClicks) {
  button->setButtonType(NSButtonTypeSwitch);
  h.mouseDown(w, {70, 32});
  h.runUntilIdle();
  EXPECT_TRUE(button->isHighlighted());
  h.drag(w, {70, 32}, {250, 150});
  h.mouseUp(w, {250, 150});
  h.runUntilIdle();
  EXPECT_FALSE(button->isHighlighted());
  EXPECT_EQ(button->state(), NSControlStateValueOff);
  EXPECT_TRUE(rec->events.empty());

  button->setEnabled(false);
  click();
  button->performClick();
  EXPECT_EQ(button->state(), NSControlStateValueOff);
  EXPECT_TRUE(rec->events.empty());
}

TEST_F(ButtonTest, MixedNeedsAllowingIt) {
  button->setButtonType(NSButtonTypeSwitch);
  button->setState(NSControlStateValueMixed);
  EXPECT_EQ(button->state(), NSControlStateValueOn);
  button->setAllowsMixedState(true);
  button->setState(NSControlStateValueMixed);
  EXPECT_EQ(button->state(), NSControlStateValueMixed);
  button->setAllowsMixedState(false);
  EXPECT_EQ(button->state(), NSControlStateValueOn);
  button->setState(5);
  EXPECT_EQ(button->state(), NSControlStateValueOn);
}

TEST_F(ButtonTest, KeyEquivalentClicksOnlyWithItsModifiers) {
  button->setKeyEquivalent("\r");
  NSEvent ret;
  ret.type = NSEventTypeKeyDown;
  ret.keyCode = 36;
  ret.characters = ret.charactersIgnoringModifiers = "\r";
  EXPECT_TRUE(button->performKeyEquivalent(ret));
  ret.modifierFlags = NSEventModifierFlagCommand;
  EXPECT_FALSE(button->performKeyEquivalent(ret));
  button->setKeyEquivalentModifierMask(NSEventModifierFlagCommand);
  ret.modifierFlags |= NSEventModifierFlagCapsLock;  // not a key-equivalent modifier
  EXPECT_TRUE(button->performKeyEquivalent(ret));
  button->setHidden(true);
  EXPECT_FALSE(button->performKeyEquivalent(ret));
  EXPECT_EQ(rec->take(), (Events{"action 7", "action 7"}));
}

TEST_F(ButtonTest, SizeToFitFollowsTheMeasuredTitle) {
  button->setTitle("OK");
  button->sizeToFit();
  NSSize small = button->frame().size;
  button->setTitle("A much longer title");
  button->sizeToFit();
  NSSize large = button->frame().size;
  EXPECT_GT(large.width, small.width + 50);
  EXPECT_GE(small.height, 21);
  EXPECT_EQ(button->frame().origin, (NSPoint{20, 20}));
  button->setButtonType(NSButtonTypeSwitch);
  button->sizeToFit();
  EXPECT_LT(button->frame().size.width, large.width);
  // A bigger font measures wider.
  button->setFont(NSFont::systemFontOfSize(26));
  button->sizeToFit();
  EXPECT_GT(button->frame().size.width, large.width);
  EXPECT_EQ(NSFont("Sans", std::nan("")).pointSize(), NSFont::systemFontSize());
  // Invalid UTF-8 measures as replacement characters and spoils nothing after it.
  NSFont font = NSFont::systemFontOfSize(13);
  double before = font.sizeOfString("abc").width;
  EXPECT_GT(font.sizeOfString("a\xFF\xC3").width, 0);
  EXPECT_EQ(font.sizeOfString("abc").width, before);
}

}  // namespace
