#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "host/AppMain.h"
#include "host/AppResources.h"
#include "host/IPlugAPPHost.h"
#include "support/PanelAnswers.h"
#include "support/WindowHarness.h"

namespace hosttest {

// A host started through the application callback in a headless harness, with its own
// configuration folder.
class HostTest : public ::testing::Test {
 protected:
  testsupport::WindowHarness h;
  // Modal runs nobody answers (the alert of a machine without audio) are cancelled.
  testsupport::PanelAnswers answers{h};
  std::filesystem::path config;

  void SetUp() override;
  void TearDown() override;

  std::string settingsFile() const { return (config / host::kAppName / "settings.ini").string(); }
  void start();
  void stop();
  host::IPlugAPPHost* hostObject() const { return host::IPlugAPPHost::Instance(); }

  // Opens "Preferences" from the menu command; the hook runs inside its modal loop with
  // the dialog's handle, then the dialog must have ended.
  void withPreferences(const std::function<void(HWND)>& hook);
  // Picks the entry of that text in a list as the user would: the selection, then the
  // list's notification. False when no entry has that text.
  static bool pick(HWND dialog, int listId, const std::string& text);
  static std::string selection(HWND dialog, int listId);
};

}  // namespace hosttest
