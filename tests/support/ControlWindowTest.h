#pragma once

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "platform/core/Control.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/ControlRecorders.h"
#include "support/PlatformHarness.h"

namespace testsupport {

// A key window of 400 x 300 at (100, 100) with a plain content view, for driving platform
// controls with events: add() puts a control into the content view with the recorder as
// its target and an action (any other view goes in as it is), and hands it back.
class ControlWindowTest : public ::testing::Test {
 protected:
  using Events = std::vector<std::string>;

  PlatformHarness h;
  platform::Ref<ControlRecorder> rec = platform::Ref<ControlRecorder>::adopt(new ControlRecorder);
  platform::NSWindow* w = nullptr;
  platform::NSView* content = nullptr;

  void SetUp() override {
    w = new platform::NSWindow(platform::NSMakeRect(100, 100, 400, 300),
                               platform::NSWindowStyleMaskTitled);
    auto view = platform::Ref<platform::NSView>::adopt(new platform::NSView);
    w->setContentView(view.get());
    content = view.get();
    w->makeKeyAndOrderFront();
  }
  void TearDown() override { w->close(); }

  template <class T>
  T* add(T* control, int action = 3) {
    if constexpr (std::is_base_of_v<platform::NSControl, T>) {
      control->setTarget(rec.get());
      control->setAction(action);
    }
    content->addSubview(control);
    control->release();
    return control;
  }
  // The middle of a view, in the window's coordinates (what events carry).
  static platform::NSPoint middle(const platform::NSView* v) {
    const platform::NSRect b = v->bounds();
    return v->convertPointToView({b.midX(), b.midY()}, nullptr);
  }
};

}  // namespace testsupport
