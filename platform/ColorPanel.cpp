#include "platform/ColorPanel.h"

#include "platform/Application.h"
#include "platform/RunLoop.h"
#include "platform/Timer.h"

namespace platform {

namespace {
NSColorPanel::Script& script() {
  static NSColorPanel::Script s;
  return s;
}
}  // namespace

NSColorPanel::NSColorPanel()
    : NSPanel(NSMakeRect(0, 0, 220, 260), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable) {
  setReleasedWhenClosed(false);
  setTitle("Colors");
}

NSColorPanel* NSColorPanel::sharedColorPanel() {
  static NSColorPanel* panel = new NSColorPanel;
  return panel;
}

void NSColorPanel::setScript(Script s) {
  script() = std::move(s);
}

std::optional<NSColor> NSColorPanel::runModal(NSColor initial) {
  setColor(initial);
  std::optional<NSColor> answer;
  // The answer arrives from inside the modal loop, as a user's would.
  Ref<NSTimer> answerTimer = NSTimer::timerWithTimeInterval(0, false, [&](NSTimer*) {
    if (script()) answer = script()(this, initial);
    if (answer) mColor = *answer;
    NSApp()->stopModalWithCode(answer ? NSModalResponseOK : NSModalResponseCancel);
  });
  answerTimer->setFireDateMs(0);
  NSRunLoop::mainRunLoop().addTimer(answerTimer.get(), NSRunLoopCommonModes);
  NSApp()->runModalForWindow(this);
  answerTimer->invalidate();
  orderOut();
  return answer;
}

}  // namespace platform
