// Shared by every test program: the graphics core gets the control library's popup-menu and
// text-entry controls before any test runs, as a program that uses the library installs them.

#include <gtest/gtest.h>

#include "controls/Controls.h"

namespace {

class ControlLibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { iplug::igraphics::InstallDefaultControlFactories(); }
};

[[maybe_unused]] const ::testing::Environment* const kControlLibrary =
    ::testing::AddGlobalTestEnvironment(new ControlLibraryEnvironment);

}  // namespace
