// The modal panels: alerts, file panels, the colour and font panels, answered by injected
// events as a user would answer them.

#include <gtest/gtest.h>

#include "platform/Alert.h"
#include "platform/Button.h"
#include "support/PanelAnswers.h"
#include "support/PlatformHarness.h"

using namespace platform;
using testsupport::clickView;
using testsupport::PanelAnswers;

namespace {

class PanelsTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  PanelAnswers answers{h};
};

}  // namespace

TEST_F(PanelsTest, AlertPlacesItsButtonsAndEndsOnlyByThem) {
  auto alert = Ref<NSAlertPanel>::adopt(
      new NSAlertPanel("Title", "Message", "Save", "Cancel", "Don't Save"));
  NSButton* save = alert->button(NSAlertDefaultReturn);
  NSButton* cancel = alert->button(NSAlertAlternateReturn);
  NSButton* dontSave = alert->button(NSAlertOtherReturn);
  ASSERT_TRUE(save && cancel && dontSave);
  EXPECT_LT(cancel->frame().maxX(), save->frame().origin.x);
  EXPECT_LT(dontSave->frame().maxX(), cancel->frame().origin.x);
  EXPECT_EQ(alert->defaultButtonCell(), save);
  EXPECT_FALSE(alert->styleMask() & NSWindowStyleMaskClosable);

  // A click beside the buttons changes nothing; the other button ends the run.
  answers.add([&](NSWindow* w) {
    EXPECT_EQ(w, alert.get());
    EXPECT_TRUE(alert->isKeyWindow());
    h.click(w, {5, 5});
    clickView(h, dontSave);
  });
  EXPECT_EQ(alert->runModal(), NSAlertOtherReturn);
  EXPECT_FALSE(alert->isVisible());

  answers.add([&](NSWindow* w) { h.key(w, 53, "\x1b"); });
  EXPECT_EQ(alert->runModal(), NSAlertAlternateReturn);
  answers.add([&](NSWindow*) { NSApp()->abortModal(); });
  EXPECT_EQ(alert->runModal(), NSAlertErrorReturn);
  alert->close();
}

TEST_F(PanelsTest, AlertShowsOnlyButtonsWithTitles) {
  auto alert = Ref<NSAlertPanel>::adopt(new NSAlertPanel("", "", "OK", "", ""));
  EXPECT_NE(alert->button(NSAlertDefaultReturn), nullptr);
  EXPECT_EQ(alert->button(NSAlertAlternateReturn), nullptr);
  EXPECT_EQ(alert->button(NSAlertOtherReturn), nullptr);
  answers.add([&](NSWindow* w) { h.key(w, 76, "\x03"); });  // keypad Enter
  EXPECT_EQ(alert->runModal(), NSAlertDefaultReturn);
  alert->close();
}
