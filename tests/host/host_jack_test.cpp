#include <fcntl.h>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "HostFixture.h"
#include "demo/DemoApp.h"

namespace hosttest {
namespace {

using namespace std::chrono_literals;

void quietJack(const char*) {}

// A JACK server of this test's own on the dummy driver, named uniquely so parallel
// tests never share one; stopped by its pid.
class JackServer {
 public:
  JackServer() {
    const std::string name = "host-test-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    mPid = fork();
    if (mPid == 0) {
      const int devNull = open("/dev/null", O_WRONLY);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
      execlp("jackd", "jackd", "-n", name.c_str(), "-d", "dummy", "-r", "48000", "-p", "256",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    if (mPid < 0) {
      whyNot = "fork failed";
      return;
    }
    jack_set_error_function(quietJack);
    for (int attempt = 0; attempt < 100; ++attempt) {
      int status = 0;
      if (waitpid(mPid, &status, WNOHANG) == mPid) {
        mPid = -1;
        whyNot = "jackd exited at once (status " + std::to_string(status) + ")";
        return;
      }
      jack_status_t jackStatus{};
      if (jack_client_t* probe = jack_client_open("probe", JackNoStartServer, &jackStatus)) {
        jack_client_close(probe);
        running = true;
        return;
      }
      std::this_thread::sleep_for(100ms);
    }
    whyNot = "jackd did not answer within 10 s";
  }
  ~JackServer() {
    if (mPid > 0) {
      kill(mPid, SIGTERM);
      waitpid(mPid, nullptr, 0);
    }
    unsetenv("JACK_DEFAULT_SERVER");
  }
  bool running = false;
  std::string whyNot;

 private:
  pid_t mPid = -1;
};

bool waitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 250; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

// The entry of a list whose text contains the port name, as JACK prefixes its client.
std::string entryNaming(HWND dialog, int listId, const std::string& port) {
  HWND list = GetDlgItem(dialog, listId);
  const LRESULT count = SendMessage(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[512] = {};
    SendMessage(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    if (std::string(text).find(port) != std::string::npos) return text;
  }
  return {};
}

TEST_F(HostTest, MidiOnJackIsListedChosenRememberedAndCarriesSysEx) {
  JackServer jack;
  if (!jack.running) GTEST_SKIP() << "no JACK server for this test: " << jack.whyNot;
  RtMidiOut device(RtMidi::UNIX_JACK, "device");
  device.openVirtualPort("Tellmar-Audio Corvane Brisko");
  RtMidiIn monitor(RtMidi::UNIX_JACK, "monitor");
  monitor.ignoreTypes(false, true, true);
  monitor.openVirtualPort("monitor in");

  start();
  ASSERT_TRUE(hostObject()->UsesJack());
  EXPECT_TRUE(hostObject()->AudioRunning());
  std::string deviceEntry, monitorEntry;
  withPreferences([&](HWND dialog) {
    deviceEntry = entryNaming(dialog, host::kMidiInList, "Tellmar-Audio Corvane Brisko");
    monitorEntry = entryNaming(dialog, host::kMidiOutList, "monitor in");
    EXPECT_TRUE(pick(dialog, host::kMidiInList, deviceEntry));
    EXPECT_TRUE(pick(dialog, host::kMidiOutList, monitorEntry));
    SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  ASSERT_FALSE(deviceEntry.empty());
  ASSERT_FALSE(monitorEntry.empty());
  EXPECT_EQ(hostObject()->Settings().midiInDev, deviceEntry);

  // In through the ring, the audio thread and the 20 ms tick to the monitor text.
  std::vector<unsigned char> sysex{0xF0, 0x00, 0x5E, 0x27, 0x04, 0x02, 0x05, 0x10, 0xF7};
  device.sendMessage(&sysex);
  auto* app = static_cast<demo::DemoApp*>(hostObject()->GetApp());
  EXPECT_TRUE(waitFor([&] {
    app->OnTimer();
    return app->SysExReceived() > 0;
  }));
  EXPECT_EQ(app->MonitorText(), "SysEx 9 bytes: F0 00 5E 27 04 02 05 10 F7");
  EXPECT_TRUE(app->MidiInLit());

  // Out through the chosen port.
  ASSERT_TRUE(app->SendSysEx(iplug::ISysEx(0, sysex.data(), static_cast<int>(sysex.size()))));
  std::vector<unsigned char> received;
  EXPECT_TRUE(waitFor([&] {
    monitor.getMessage(&received);
    return !received.empty();
  }));
  EXPECT_EQ(received, sysex);

  // The next start opens the remembered ports and selects them again.
  stop();
  start();
  withPreferences([&](HWND dialog) {
    EXPECT_EQ(selection(dialog, host::kMidiInList), deviceEntry);
    EXPECT_EQ(selection(dialog, host::kMidiOutList), monitorEntry);
    SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  ASSERT_TRUE(app = static_cast<demo::DemoApp*>(hostObject()->GetApp()));
  device.sendMessage(&sysex);
  EXPECT_TRUE(waitFor([&] {
    app->OnTimer();
    return app->SysExReceived() > 0;
  }));
}

}  // namespace
}  // namespace hosttest
