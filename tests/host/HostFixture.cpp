#include "HostFixture.h"

#include <cstdlib>

#include "platform/core/Window.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowInterfaces.h"

namespace hosttest {

void HostTest::SetUp() {
  config = std::filesystem::path(::testing::TempDir()) /
           ("host-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  std::filesystem::remove_all(config);
  std::filesystem::create_directories(config);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

void HostTest::TearDown() {
  stop();
  std::filesystem::remove_all(config);
}

void HostTest::start() {
  AppMainProc(SWELLAPP_ONLOAD, 0, 0);
  AppMainProc(SWELLAPP_LOADED, 0, 0);
  ASSERT_NE(host::MainWindow(), nullptr);
}

void HostTest::stop() {
  AppMainProc(SWELLAPP_SHOULDDESTROY, 0, 0);
  AppMainProc(SWELLAPP_DESTROY, 0, 0);
  EXPECT_EQ(host::MainWindow(), nullptr);
  EXPECT_EQ(hostObject(), nullptr);
}

void HostTest::withPreferences(const std::function<void(HWND)>& hook) {
  bool ran = false;
  answers.add([&](platform::NSWindow* window) {
    ran = true;
    hook(swell::handleFromObject(window->contentView()));
  });
  SendMessage(host::MainWindow(), WM_COMMAND, host::kCmdPreferences, 0);
  EXPECT_TRUE(ran);
}

bool HostTest::pick(HWND dialog, int listId, const std::string& text) {
  HWND list = GetDlgItem(dialog, listId);
  const LRESULT index = SendMessage(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) return false;
  SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessage(dialog, WM_COMMAND,
              static_cast<WPARAM>(CBN_SELCHANGE) << 16 | static_cast<WPARAM>(listId),
              reinterpret_cast<LPARAM>(list));
  return true;
}

std::string HostTest::selection(HWND dialog, int listId) {
  HWND list = GetDlgItem(dialog, listId);
  const LRESULT index = SendMessage(list, CB_GETCURSEL, 0, 0);
  if (index < 0) return "<none>";
  std::string text(static_cast<std::size_t>(SendMessage(list, CB_GETLBTEXTLEN, index, 0)) + 1,
                   '\0');
  SendMessage(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::char_traits<char>::length(text.c_str()));
  return text;
}

}  // namespace hosttest
