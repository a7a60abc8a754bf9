#include <jack/jack.h>
#include <poll.h>
#include <rtmidi/RtMidi.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HostFixture.h"
#include "demo/app/DemoApp.h"
#include "support/JackServer.h"

namespace hosttest {
namespace {

using namespace std::chrono_literals;

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

// The socket of a JACK server of that name that takes every client's connection and drops it,
// so each client open fails with a communication error; counts the connections.
class DroppingJackServer {
 public:
  explicit DroppingJackServer(const std::string& name)
      : mPath("/dev/shm/jack_" + name + "_" + std::to_string(getuid()) + "_0") {
    mSocket = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (mSocket < 0 || mPath.size() >= sizeof address.sun_path) return;
    mPath.copy(address.sun_path, mPath.size());
    unlink(mPath.c_str());
    if (bind(mSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(mSocket, 64) != 0)
      return;
    mListening = true;
    mThread = std::thread([this] {
      while (!mStop) {
        pollfd waiting{mSocket, POLLIN, 0};
        if (poll(&waiting, 1, 10) <= 0) continue;
        const int client = accept(mSocket, nullptr, nullptr);
        if (client < 0) continue;
        close(client);
        ++mConnections;
      }
    });
  }
  ~DroppingJackServer() {
    mStop = true;
    if (mThread.joinable()) mThread.join();
    if (mSocket >= 0) close(mSocket);
    unlink(mPath.c_str());
  }
  DroppingJackServer(const DroppingJackServer&) = delete;
  DroppingJackServer& operator=(const DroppingJackServer&) = delete;
  bool listening() const { return mListening; }
  int connections() const { return mConnections; }

 private:
  std::string mPath;
  int mSocket = -1;
  bool mListening = false;
  std::atomic<bool> mStop{false};
  std::atomic<int> mConnections{0};
  std::thread mThread;
};

// A JACK server that is there but fails every client (of another protocol version, or full)
// is asked once a tick by the watch, like a missing one: asked again and again with pauses, it
// would hold the main thread for most of every tick. A tick connects to it no more often than
// one client open does.
TEST_F(HostTest, AJackServerThatFailsEveryClientIsAskedOnceATick) {
  const std::string name = "failing-" + std::to_string(getpid());
  const char* saved = std::getenv("JACK_DEFAULT_SERVER");
  const std::string savedName = saved ? saved : "";
  setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
  {
    DroppingJackServer server(name);
    if (!server.listening()) GTEST_SKIP() << "no socket for a JACK server could be made";
    jack_status_t status{};
    const int before = server.connections();
    EXPECT_EQ(jack_client_open("probe", JackNoStartServer, &status), nullptr);
    ASSERT_TRUE(status & JackServerError) << "the dropped client is a communication error";
    EXPECT_TRUE(waitFor([&] { return server.connections() > before; }));
    const int perOpen = server.connections() - before;
    start();
    EXPECT_FALSE(hostObject()->UsesJack());
    for (int tick = 0; tick < 3; ++tick) {
      SCOPED_TRACE(tick);
      std::this_thread::sleep_for(50ms);
      const int atTick = server.connections();
      hostObject()->WatchDevices();
      std::this_thread::sleep_for(50ms);
      EXPECT_LE(server.connections() - atTick, perOpen);
    }
    stop();
  }
  if (saved)
    setenv("JACK_DEFAULT_SERVER", savedName.c_str(), 1);
  else
    unsetenv("JACK_DEFAULT_SERVER");
}

TEST_F(HostTest, MidiOnJackIsListedChosenRememberedAndCarriesSysEx) {
  testsupport::JackServer jack;
  if (!jack.running()) GTEST_SKIP() << "no JACK server for this test: " << jack.whyNot();
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
  // The program's clients leave before the server goes.
  stop();
}

// A host started before any JACK server answers runs on ALSA and says so on the screen; a server
// started later is taken up without a restart. Remembered devices that appear later are connected
// without "Preferences", and one that goes away is let go; either is shown on the screen, for
// each direction and for both at once. When the JACK server goes away the host says so in the log
// and on the screen; when a server answers again it opens its ports and stream anew and connects
// the remembered devices as soon as they are back, without a restart.
TEST_F(HostTest, TheRememberedDevicesAreFollowedFromNoJackServerThroughAbsenceAndRestart) {
  const std::string port = "Tellmar-Audio Corvane Brisko";
  const std::string input = "device:" + port, output = "monitor:monitor in";
  std::filesystem::create_directories(config / host::kAppName);
  std::ofstream(settingsFile()) << "[midi]\nindev=" << input << "\noutdev=" << output << "\n";
  // Started where ALSA has neither a sequencer nor a sound card (its configuration names none),
  // the host says that nothing runs rather than naming ALSA.
  const std::string noAlsa = (config / "no-alsa.conf").string();
  std::ofstream{noAlsa};
  const char* alsaConfig = std::getenv("ALSA_CONFIG_PATH");
  const std::string savedAlsaConfig = alsaConfig ? alsaConfig : "";
  setenv("ALSA_CONFIG_PATH", noAlsa.c_str(), 1);
  start();
  if (alsaConfig)
    setenv("ALSA_CONFIG_PATH", savedAlsaConfig.c_str(), 1);
  else
    unsetenv("ALSA_CONFIG_PATH");
  if (hostObject()->UsesJack()) GTEST_SKIP() << "a JACK server of the default name answers";
  auto* app = static_cast<demo::DemoApp*>(hostObject()->GetApp());
  EXPECT_EQ(app->MonitorText(), std::string(host::kNoJackStatus) + ": no MIDI, no audio");
  EXPECT_TRUE(h.logged("no JACK server answers: MIDI and audio use ALSA until one starts"));
  const auto watched = [&](const std::function<bool()>& done) {
    return waitFor([&] {
      h.advance(host::IPlugAPPHost::kDeviceWatchMs);
      return done();
    });
  };

  testsupport::JackServer jack;
  if (!jack.running()) GTEST_SKIP() << "no JACK server for this test: " << jack.whyNot();
  EXPECT_TRUE(watched([&] { return hostObject()->UsesJack(); }));
  EXPECT_TRUE(hostObject()->JackServerAnswers());
  EXPECT_EQ(app->MonitorText(), std::string(host::kJackFoundStatus) + ": MIDI and audio run");
  EXPECT_TRUE(hostObject()->AudioRunning());
  EXPECT_FALSE(hostObject()->MidiInputConnected());

  std::unique_ptr<RtMidiOut> device;
  std::unique_ptr<RtMidiIn> monitor;
  const auto plug = [&](bool in, bool out) {
    if (in) {
      device = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "device");
      device->openVirtualPort(port);
    }
    if (out) {
      monitor = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "monitor");
      monitor->openVirtualPort("monitor in");
    }
  };
  const auto connected = [&] {
    return hostObject()->MidiInputConnected() && hostObject()->MidiOutputConnected();
  };
  std::vector<unsigned char> sysex{0xF0, 0x00, 0x5E, 0x27, 0x04, 0x02, 0x05, 0x10, 0xF7};
  for (const bool restart : {false, true}) {
    SCOPED_TRACE(restart ? "after a JACK restart" : "appearing after start-up");
    if (restart) {
      plug(true, true);
    } else {
      // An open "Preferences" follows the devices: a remembered one loses its absent marker as
      // it comes and gets it back as it goes, a port that comes is listed, and a choice the user
      // has not confirmed yet stays chosen.
      withPreferences([&](HWND dialog) {
        const std::string absentInput = input + host::kAbsentDeviceMark;
        EXPECT_EQ(selection(dialog, host::kMidiInList), absentInput);
        ASSERT_TRUE(pick(dialog, host::kMidiOutList, "off"));
        plug(true, true);
        EXPECT_TRUE(watched([&] { return selection(dialog, host::kMidiInList) == input; }));
        EXPECT_EQ(selection(dialog, host::kMidiOutList), "off");
        EXPECT_GE(SendMessage(GetDlgItem(dialog, host::kMidiOutList), CB_FINDSTRINGEXACT,
                              static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(output.c_str())),
                  0);
        device.reset();
        EXPECT_TRUE(watched([&] { return selection(dialog, host::kMidiInList) == absentInput; }));
        plug(true, false);
        EXPECT_TRUE(watched([&] { return selection(dialog, host::kMidiInList) == input; }));
        SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
      });
    }
    EXPECT_TRUE(watched(connected));
    EXPECT_EQ(app->MonitorText(), restart ? host::kMidiBothBackStatus
                                          : std::string(host::kMidiInputBackStatus) + ": " + input);
    device->sendMessage(&sysex);
    EXPECT_TRUE(watched([&] { return app->MonitorText().rfind("SysEx 9 bytes", 0) == 0; }));
    EXPECT_TRUE(hostObject()->AudioRunning());
    if (restart) break;

    struct Case {
      bool in, out;
      std::string gone, back;
    };
    const Case cases[] = {
        {true, false, std::string(host::kMidiInputGoneStatus) + ": " + input,
         std::string(host::kMidiInputBackStatus) + ": " + input},
        {false, true, std::string(host::kMidiOutputGoneStatus) + ": " + output,
         std::string(host::kMidiOutputBackStatus) + ": " + output},
        {true, true, host::kMidiBothGoneStatus, host::kMidiBothBackStatus},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.gone);
      if (c.in) device.reset();
      if (c.out) monitor.reset();
      EXPECT_TRUE(watched([&] { return app->MonitorText() == c.gone; })) << app->MonitorText();
      EXPECT_EQ(hostObject()->MidiInputConnected(), !c.in);
      EXPECT_EQ(hostObject()->MidiOutputConnected(), !c.out);
      plug(c.in, c.out);
      EXPECT_TRUE(watched([&] { return app->MonitorText() == c.back; })) << app->MonitorText();
      EXPECT_TRUE(connected());
    }
    EXPECT_TRUE(h.logged("went away"));
    device.reset();
    monitor.reset();

    jack.kill();
    EXPECT_TRUE(watched([&] { return !hostObject()->JackServerAnswers(); }));
    EXPECT_TRUE(h.logged("the JACK server went away"));
    EXPECT_EQ(app->MonitorText(), host::kJackGoneStatus);
    EXPECT_FALSE(hostObject()->AudioRunning());
    ASSERT_TRUE(jack.start()) << jack.whyNot();
    EXPECT_TRUE(watched([&] { return hostObject()->JackServerAnswers(); }));
    EXPECT_EQ(app->MonitorText(), std::string(host::kJackBackStatus) + ": MIDI and audio run");
  }
  EXPECT_EQ(hostObject()->Settings().midiInDev, input);
  EXPECT_EQ(hostObject()->Settings().midiOutDev, output);
  // The program's clients leave before the server goes.
  stop();
}

}  // namespace
}  // namespace hosttest
