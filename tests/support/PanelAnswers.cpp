#include "support/PanelAnswers.h"

#include "platform/core/Application.h"
#include "platform/objects/Object.h"

namespace testsupport {

void clickView(PlatformHarness& h, platform::NSView* view) {
  platform::NSRect r = view->convertRectToView(view->bounds(), nullptr);
  h.click(view->window(), {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2});
}

PanelAnswers::PanelAnswers(PlatformHarness& h) : mHarness(h) {
  mHarness.onModal([this](platform::NSWindow* w) {
    if (!w || !mSeen.insert(platform::NSApp()->modalSerial()).second) return;
    ++mAnswered;
    if (mAnswers.empty()) {
      platform::NSApp()->abortModal();
      return;
    }
    Answer answer = std::move(mAnswers.front());
    mAnswers.pop_front();
    answer(w);
  });
}

PanelAnswers::~PanelAnswers() {
  mHarness.onModal(nullptr);
}

}  // namespace testsupport
