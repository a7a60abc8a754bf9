#pragma once

// A base for control test fixtures: the parameter-rich fake delegate, a graphics context over it
// (the recording one, a test's own subclass of it, or a drawing one) of the given size, and the
// steps most control tests take. A fixture that needs a different step declares its own, which
// hides the one here.

#include <gtest/gtest.h>

#include "support/FakeEditorDelegate.h"
#include "support/RecordingGraphics.h"

namespace testsupport {

template <class Graphics = RecordingGraphics, int Width = 400, int Height = 300>
class ControlTestFixture : public ::testing::Test {
 protected:
  static inline const IMouseMod kLeft{true};
  static inline const IMouseMod kRight{false, true};

  // Attaches the control and hands it back with its own type.
  template <class T>
  T* Attach(T* c) {
    return static_cast<T*>(g.AttachControl(c));
  }
  // Draws a frame into an empty log, so the log holds just that frame.
  void Frame() {
    g.ClearLog();
    g.DrawFrame();
  }
  // A left click that then leaves, so no mouse-over state stays behind.
  void Click(float x, float y) {
    g.OnMouseDown(x, y, kLeft);
    g.OnMouseUp(x, y, kLeft);
    g.OnMouseOut();
  }

  FakeEditorDelegate dlg;
  Graphics g{dlg, Width, Height};
};

}  // namespace testsupport
