// The MIDI ports: the MIDI objects of both directions, their ports kept on the remembered
// devices, and the messages going in and out.

#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Log.h"
#include "host/AppLibraries.h"
#include "host/AppResources.h"
#include "host/IPlugAPPHost.h"

namespace host {

namespace {

constexpr unsigned char kSysExStart = 0xF0;
constexpr std::size_t kShortMessageBytes = 3;

// Runs on the MIDI library's thread (JACK's process thread): no locks, no allocation.
// Short messages and System Exclusive messages go to the application's rings; anything
// that does not fit is dropped and counted there.
void onMidiIn(double, std::vector<unsigned char>* message, void* userData) {
  auto* app = static_cast<iplug::IPlugAPP*>(userData);
  if (!message || message->empty()) return;
  const unsigned char* bytes = message->data();
  if (bytes[0] == kSysExStart) {
    app->QueueSysExIn(bytes, static_cast<int>(message->size()));
  } else if (message->size() <= kShortMessageBytes) {
    app->QueueMidiIn(iplug::IMidiMsg(0, bytes[0], message->size() > 1 ? bytes[1] : 0,
                                     message->size() > 2 ? bytes[2] : 0));
  }
}

std::vector<std::string> portNames(RtMidi* midi) {
  std::vector<std::string> names;
  if (!midi) return names;
  try {
    const unsigned count = midi->getPortCount();
    for (unsigned i = 0; i < count; ++i)
      names.push_back(midi->getPortName(i));
  } catch (const RtMidiError& e) {
    base::warn("host", "listing MIDI ports failed: %s", e.what());
  }
  return names;
}

// One direction of MIDI: how the log names it, and the name of the host's own port.
struct MidiDirection {
  const char* name;
  const char* portLabel;
};
constexpr MidiDirection kInput{"input", "midi in"};
constexpr MidiDirection kOutput{"output", "midi out"};

// Makes the MIDI object of one direction, named `client`. On JACK it must hold a client of the
// server: the library would open one the next time it is asked anything, and a client opened
// once the server has gone away makes JACK delete every client the program still holds. The
// library opens the client as the object is made and, with no error callback set yet, warns on
// standard error when it cannot; asking the object anything afterwards would try again (and
// an output object would lose the buffer of each try). A server that answers late is asked
// again; null when no object could be made.
template <class Midi>
std::unique_ptr<Midi> makeMidi(RtMidi::Api api, const std::string& client,
                               const MidiDirection& direction) {
  for (int attempt = 0; attempt < kJackAttempts; ++attempt) {
    if (attempt > 0 && !pauseBeforeAskingAgain()) break;
    try {
      const LibraryOutputDropped made;
      auto midi = std::make_unique<Midi>(api, client);
      if (api != RtMidi::UNIX_JACK || !made.printed()) return midi;
    } catch (const RtMidiError& e) {
      base::warn("host", "no MIDI %s: %s%s", direction.name, e.what(), takeAlsaError().c_str());
      return nullptr;
    }
  }
  base::warn("host", "no MIDI %s: the JACK server took no client", direction.name);
  return nullptr;
}

bool listed(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Opens the port of that name on a MIDI object (kNoMidiPort closes it); false when it is not
// listed or fails. `quiet` leaves a failure unlogged.
bool openPortNamed(RtMidi* midi, const std::vector<std::string>& names, const std::string& name,
                   const MidiDirection& direction, bool quiet = false) {
  if (!midi) return false;
  const LibraryOutputDropped dropped;
  try {
    midi->closePort();
    if (name == kNoMidiPort) return true;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] != name) continue;
      midi->openPort(static_cast<unsigned>(i), direction.portLabel);
      return midi->isPortOpen();
    }
  } catch (const RtMidiError& e) {
    if (!quiet)
      base::warn("host", "opening the MIDI %s device \"%s\" failed: %s%s", direction.name,
                 name.c_str(), e.what(), takeAlsaError().c_str());
    return false;
  }
  if (!quiet)
    base::warn("host", "the MIDI %s device \"%s\" is absent; it is connected when it appears",
               direction.name, name.c_str());
  return false;
}

// What became of a direction's remembered device at one look.
enum class DeviceChange { None, Gone, Connected };

// Keeps a direction's port on its remembered device: closes it when the device went away and
// opens it when the device is listed again. A device that is listed but does not open is logged
// once; `retryQuiet` keeps the retries quiet until it opens or goes away.
DeviceChange followRememberedPort(RtMidi* midi, const std::vector<std::string>& names,
                                  const std::string& remembered, const MidiDirection& direction,
                                  bool& retryQuiet) {
  if (!midi || remembered == kNoMidiPort) return DeviceChange::None;
  const bool present = listed(names, remembered);
  if (midi->isPortOpen()) {
    if (present) return DeviceChange::None;
    const LibraryOutputDropped dropped;
    try {
      midi->closePort();
    } catch (const RtMidiError&) {
    }
    base::warn("host", "the MIDI %s device \"%s\" went away; it is connected when it comes back",
               direction.name, remembered.c_str());
    return DeviceChange::Gone;
  }
  if (!present) {
    retryQuiet = false;
    return DeviceChange::None;
  }
  if (openPortNamed(midi, names, remembered, direction, retryQuiet)) {
    retryQuiet = false;
    base::log(base::LogLevel::Info, "host", "the MIDI %s device \"%s\" is connected",
              direction.name, remembered.c_str());
    return DeviceChange::Connected;
  }
  retryQuiet = true;
  return DeviceChange::None;
}

// The line the application shows for what became of the remembered devices, "" for nothing.
std::string deviceChangeStatus(DeviceChange input, const std::string& inputName,
                               DeviceChange output, const std::string& outputName) {
  if (input == output && input != DeviceChange::None)
    return input == DeviceChange::Gone ? kMidiBothGoneStatus : kMidiBothBackStatus;
  std::string status;
  const auto add = [&](DeviceChange change, const char* gone, const char* back,
                       const std::string& name) {
    if (change == DeviceChange::None) return;
    if (!status.empty()) status += "; ";
    status += std::string(change == DeviceChange::Gone ? gone : back) + ": " + name;
  };
  add(input, kMidiInputGoneStatus, kMidiInputBackStatus, inputName);
  add(output, kMidiOutputGoneStatus, kMidiOutputBackStatus, outputName);
  return status;
}

bool portOpen(const RtMidi* midi) {
  return midi && midi->isPortOpen();
}

}  // namespace

void IPlugAPPHost::FollowRememberedDevices() {
  ProbeMidiPorts();
  const DeviceChange input = followRememberedPort(mMidiIn.get(), mMidiInNames, mSettings.midiInDev,
                                                  kInput, mMidiInRetryQuiet);
  const DeviceChange output = followRememberedPort(
      mMidiOut.get(), mMidiOutNames, mSettings.midiOutDev, kOutput, mMidiOutRetryQuiet);
  const std::string status =
      deviceChangeStatus(input, mSettings.midiInDev, output, mSettings.midiOutDev);
  if (!status.empty() && mApp) mApp->OnHostStatus(status.c_str());
}

void IPlugAPPHost::OpenMidi() {
  // Without a JACK server MIDI goes through ALSA alone: left to choose, the MIDI library would
  // take JACK when a server answers it later, behind the watch that moves the host to JACK.
  const RtMidi::Api api = mUsesJack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
  const LibraryOutputDropped dropped;
  mMidiIn = makeMidi<RtMidiIn>(api, std::string(kAppName) + " in", kInput);
  if (mMidiIn) {
    mMidiIn->ignoreTypes(false, true, true);
    mMidiIn->setCallback(onMidiIn, mApp.get());
  }
  mMidiOut = makeMidi<RtMidiOut>(api, std::string(kAppName) + " out", kOutput);
  ProbeMidiPorts();
  mMidiInRetryQuiet = mMidiOutRetryQuiet = false;
  if (mSettings.midiInDev != kNoMidiPort) SelectMidiInput(mSettings.midiInDev);
  if (mSettings.midiOutDev != kNoMidiPort) SelectMidiOutput(mSettings.midiOutDev);
}

void IPlugAPPHost::CloseMidi() {
  ForgetClientsJackDropped();
  const LibraryOutputDropped dropped;
  try {
    if (mMidiIn) mMidiIn->closePort();
    if (mMidiOut) mMidiOut->closePort();
  } catch (const RtMidiError& e) {
    base::warn("host", "closing MIDI ports failed: %s", e.what());
  }
  mMidiIn.reset();
  mMidiOut.reset();
}

void IPlugAPPHost::ProbeMidiPorts() {
  ForgetClientsJackDropped();
  mMidiInNames = portNames(mMidiIn.get());
  mMidiOutNames = portNames(mMidiOut.get());
}

bool IPlugAPPHost::SelectMidiInput(const std::string& name) {
  mSettings.midiInDev = name;
  return openPortNamed(mMidiIn.get(), mMidiInNames, name, kInput);
}

bool IPlugAPPHost::SelectMidiOutput(const std::string& name) {
  mSettings.midiOutDev = name;
  return openPortNamed(mMidiOut.get(), mMidiOutNames, name, kOutput);
}

bool IPlugAPPHost::MidiInputConnected() const {
  return portOpen(mMidiIn.get());
}

bool IPlugAPPHost::MidiOutputConnected() const {
  return portOpen(mMidiOut.get());
}

bool IPlugAPPHost::ApplyMidiChoice(const std::string& input, const std::string& output) {
  ProbeMidiPorts();
  if (input != mSettings.midiInDev) {
    mMidiInUnsaved = true;
    SelectMidiInput(input);
  } else if (input != kNoMidiPort && !MidiInputConnected()) {
    SelectMidiInput(input);
  }
  if (output != mSettings.midiOutDev) {
    mMidiOutUnsaved = true;
    SelectMidiOutput(output);
  } else if (output != kNoMidiPort && !MidiOutputConnected()) {
    SelectMidiOutput(output);
  }
  return SaveChangedMidiSettings();
}

bool IPlugAPPHost::MidiOutputWritable() const {
  return mMidiOut && mMidiOut->isPortOpen() && !(mUsesJack && (mJackGone || mJackClientsDropped));
}

bool IPlugAPPHost::SendMidiMsg(const iplug::IMidiMsg& msg) {
  if (!MidiOutputWritable()) return false;
  const unsigned char bytes[] = {msg.mStatus, msg.mData1, msg.mData2};
  try {
    mMidiOut->sendMessage(bytes, sizeof bytes);
  } catch (const RtMidiError& e) {
    base::warn("host", "sending MIDI failed: %s", e.what());
    return false;
  }
  return true;
}

bool IPlugAPPHost::SendSysEx(const iplug::ISysEx& msg) {
  if (!MidiOutputWritable() || !msg.mData || msg.mSize <= 0) return false;
  try {
    mMidiOut->sendMessage(msg.mData, static_cast<std::size_t>(msg.mSize));
  } catch (const RtMidiError& e) {
    base::warn("host", "sending System Exclusive failed: %s", e.what());
    return false;
  }
  return true;
}

void IPlugAPPHost::LogDroppedMidi() {
  if (!mApp) return;
  if (const std::uint64_t dropped = mApp->TakeDroppedMessages())
    base::warn("host", "%llu incoming MIDI messages did not fit and were dropped",
               static_cast<unsigned long long>(dropped));
}

}  // namespace host
