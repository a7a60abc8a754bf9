// Shared by every test program: the graphics core gets the control library's popup-menu and
// text-entry controls before any test runs, as a program that uses the library installs them,
// and SendMessage the standard controls' message emulation, which tests that make native
// controls without the factories need.

#include <gtest/gtest.h>

#include "controls/Controls.h"
#include "windowing/controls/ControlMessages.h"

namespace {

class ControlLibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    iplug::igraphics::InstallDefaultControlFactories();
    swell::installControlEmulation();
  }
};

[[maybe_unused]] const ::testing::Environment* const kControlLibrary =
    ::testing::AddGlobalTestEnvironment(new ControlLibraryEnvironment);

}  // namespace
