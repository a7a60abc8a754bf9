#pragma once

#include <cstdint>

#include <gtest/gtest.h>

#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/WindowHarness.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowInterfaces.h"

namespace testsupport {

// A dialog resource id, or a bare-window request, as the interface takes it.
inline const char* resid(std::uintptr_t id) {
  return reinterpret_cast<const char*>(id);
}

// Adds a new control with the tag (its id) to the parent, which keeps the only reference.
template <class T>
T* addControl(platform::NSView* parent, T* control, long tag) {
  control->setTag(tag);
  parent->addSubview(control);
  control->release();
  return control;
}

// The frame-style bits of a bare top-level window request: titled and closable.
inline constexpr std::uintptr_t kTitledClosable = 2;

// What the windowing tests start from: the harness and a message log whose procedures
// the tests' windows use.
class WindowTest : public ::testing::Test {
 public:
  // A bare window with the procedure: a child of the parent, or without one a titled
  // top-level window, whose content view is returned.
  static HWND bareWindow(HWND parent = nullptr, DLGPROC proc = MessageLog::windowProc) {
    std::uintptr_t request = kBareWindowRequest + (parent ? 0 : kTitledClosable);
    return SWELL_CreateDialog(SWELL_DialogResourceHead, resid(request), parent, proc, 0);
  }
  static platform::NSView* viewOf(HWND hwnd) {
    return swell::objectFromHandleAs<platform::NSView>(hwnd);
  }

 protected:
  WindowHarness h;
  MessageLog log;
};

}  // namespace testsupport
