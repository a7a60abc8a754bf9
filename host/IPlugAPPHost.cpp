#include "host/IPlugAPPHost.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <rtaudio/RtAudio.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <streambuf>
#include <string_view>
#include <thread>
#include <utility>

#include "base/Log.h"
#include "host/AppMain.h"
#include "host/AppResources.h"

namespace host {

namespace {

constexpr int kOutputChannels = 2;
constexpr int kInputChannels = 2;
constexpr unsigned char kSysExStart = 0xF0;
constexpr std::size_t kShortMessageBytes = 3;
// A JACK server that is there may answer a new client too late on a busy machine (the client
// then fails with a communication error, or the audio library sees no devices): it is asked
// again this many times, this far apart.
constexpr int kJackAttempts = 5;
constexpr auto kJackRetryPause = std::chrono::milliseconds(200);
constexpr auto kQuitPoll = std::chrono::milliseconds(10);

// JACK's client library lets go of every client the program holds (closes and deletes them,
// and says so on its error channel) when a client is opened after the server went away; the
// audio library opens one for each of its questions. The objects that held those clients must
// then never use them again.
constexpr const char* kJackDroppedClients = "clients are still allocated";
std::atomic<bool> gJackDroppedClients{false};

void onJackMessage(const char* message) {
  if (message && std::strstr(message, kJackDroppedClients)) gJackDroppedClients = true;
}

// Takes JACK's errors and notes, which are otherwise printed; the audio library silences them
// as each of its objects is made, so the host takes them back after.
void listenToJack() {
  jack_set_error_function(onJackMessage);
  jack_set_info_function(onJackMessage);
}

// Keeps, unused and never deleted, an object whose client JACK let go of: its destructor would
// close that client again.
template <class Object>
void forget(std::unique_ptr<Object>& object) {
  static auto* forgotten = new std::vector<const void*>;
  if (object) forgotten->push_back(object.release());
}

// Waits before a late JACK server is asked again; false, and at once, when the program is to
// quit, which must not wait for a server that takes its time.
bool pauseBeforeAskingAgain() {
  const auto end = std::chrono::steady_clock::now() + kJackRetryPause;
  while (!QuitRequested() && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(kQuitPoll);
  return !QuitRequested();
}

void onJackShutdown(jack_status_t, const char*, void* gone) {
  static_cast<std::atomic<bool>*>(gone)->store(true);
}

// The ALSA library reports each step of a failing look-up on standard error; the host keeps
// only the last report and adds it to its own line about the failure.
std::mutex gAlsaMutex;
std::string gAlsaError;

void onAlsaError(const char* file, int line, const char* function, int error, const char* format,
                 ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::string report = text;
  if (error != 0) report += std::string(": ") + snd_strerror(error);
  const std::lock_guard<std::mutex> lock(gAlsaMutex);
  gAlsaError = std::move(report);
}

// The ALSA library's last report since the previous call, as " (ALSA: ...)", or "".
std::string takeAlsaError() {
  const std::lock_guard<std::mutex> lock(gAlsaMutex);
  std::string report = gAlsaError.empty() ? "" : " (ALSA: " + gAlsaError + ")";
  gAlsaError.clear();
  return report;
}

// Takes characters and keeps none; it holds no state, so threads may write to it at once.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

// The MIDI and audio libraries print their errors on standard error before throwing them; the
// host logs what it catches, so their own lines are dropped while the host calls into them.
class LibraryOutputDropped {
 public:
  LibraryOutputDropped() : mSaved(std::cerr.rdbuf(&sDropped)) { takeAlsaError(); }
  ~LibraryOutputDropped() { std::cerr.rdbuf(mSaved); }
  LibraryOutputDropped(const LibraryOutputDropped&) = delete;
  LibraryOutputDropped& operator=(const LibraryOutputDropped&) = delete;

 private:
  static inline NullBuffer sDropped;
  std::streambuf* mSaved;
};

// The JACK clients that the audio and MIDI libraries keep to themselves. Each library's object
// holds its interface object, whose data record begins with the client; they are reached through
// classes derived from the libraries' own, which may name their protected members. The layouts
// are those of the libraries' major versions named here.
static_assert(std::string_view(RTAUDIO_VERSION).substr(0, 2) == "5.",
              "streamClient reads the audio library's JACK record as version 5 lays it out");
static_assert(std::string_view(RTMIDI_VERSION).substr(0, 2) == "5.",
              "midiClient reads the MIDI library's JACK record as version 5 lays it out");
class AudioAccess : public RtAudio {
 public:
  static RtApi* Interface(RtAudio& audio) { return audio.*(&AudioAccess::rtapi_); }
};
class AudioInterfaceAccess : public RtApi {
 public:
  static void* Record(RtApi& api) { return (api.*(&AudioInterfaceAccess::stream_)).apiHandle; }
};
class MidiAccess : public RtMidi {
 public:
  static MidiApi* Interface(RtMidi& midi) { return midi.*(&MidiAccess::rtapi_); }
};
class MidiInterfaceAccess : public MidiApi {
 public:
  static void* Record(MidiApi& api) { return api.*(&MidiInterfaceAccess::apiData_); }
};

jack_client_t* clientOf(void* record) {
  return record ? *static_cast<jack_client_t**>(record) : nullptr;
}

// The client of the audio stream, null when no stream on JACK is open.
jack_client_t* streamClient(RtAudio& audio) {
  if (audio.getCurrentApi() != RtAudio::UNIX_JACK || !audio.isStreamOpen()) return nullptr;
  RtApi* api = AudioAccess::Interface(audio);
  return api ? clientOf(AudioInterfaceAccess::Record(*api)) : nullptr;
}

// The client of a MIDI object made for JACK, null when it has none.
jack_client_t* midiClient(RtMidi& midi) {
  MidiApi* api = MidiAccess::Interface(midi);
  return api ? clientOf(MidiInterfaceAccess::Record(*api)) : nullptr;
}

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

int onAudio(void* output, void*, unsigned int nFrames, double, RtAudioStreamStatus,
            void* userData) {
  auto* app = static_cast<iplug::IPlugAPP*>(userData);
  auto* planes = static_cast<float*>(output);
  float* channels[kOutputChannels];
  for (int c = 0; c < kOutputChannels; ++c)
    channels[c] = planes ? planes + static_cast<std::size_t>(c) * nFrames : nullptr;
  app->AppProcess(channels, kOutputChannels, static_cast<int>(nFrames));
  return 0;
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
// once the server has gone away makes JACK delete every client the program still holds. A
// server that answers late is asked again; null when no object could be made.
template <class Midi>
std::unique_ptr<Midi> makeMidi(RtMidi::Api api, const std::string& client,
                               const MidiDirection& direction) {
  for (int attempt = 0; attempt < kJackAttempts; ++attempt) {
    if (attempt > 0 && !pauseBeforeAskingAgain()) break;
    try {
      auto midi = std::make_unique<Midi>(api, client);
      if (api != RtMidi::UNIX_JACK || midiClient(*midi)) return midi;
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

IPlugAPPHost::IPlugAPPHost(std::string settingsPath) : mSettingsPath(std::move(settingsPath)) {
  snd_lib_error_set_handler(onAlsaError);
}

IPlugAPPHost::~IPlugAPPHost() {
  ForgetClientsJackDropped();
  StopAudio();
  CloseMidi();
  if (mJackWatch) jack_client_close(mJackWatch);
  if (mApp) mApp->SetMidiSender(nullptr);
  if (sInstance == this) sInstance = nullptr;
}

void IPlugAPPHost::Init() {
  mApp.reset(iplug::CreateAppInstance());
  mApp->SetMidiSender(this);
  ReadIniFile();
  mUsesJack = OpenJackWatch(kJackAttempts);
  if (mUsesJack) {
    base::log(base::LogLevel::Info, "host", "MIDI and audio use JACK");
  } else {
    base::warn("host", "no JACK server answers: MIDI and audio use ALSA until one starts");
    mApp->OnHostStatus(kNoJackStatus);
  }
  OpenMidi();
  for (int i = 0; i < mApp->NParams(); ++i)
    mApp->GetParam(i)->Set(mApp->GetParam(i)->GetDefault());
  if (!StartRememberedAudio()) {
    base::warn("host", "the audio stream did not start on %s%s", mUsesJack ? "JACK" : "ALSA",
               mUsesJack ? "" : " (no JACK server answers)");
    mSoundcardMessageDue = true;
  }
}

std::string IPlugAPPHost::SoundcardMessage() const {
  std::string text = kSoundcardMessage;
  if (!mUsesJack) text += std::string("\n\n") + kNoJackCause;
  return text;
}

bool IPlugAPPHost::OpenJackWatch(int attempts) {
  listenToJack();
  const std::string name = std::string(kAppName) + " watch";
  for (int attempt = 0; attempt < attempts && !mJackWatch; ++attempt) {
    if (attempt > 0 && !pauseBeforeAskingAgain()) break;
    jack_status_t status{};
    mJackWatch = jack_client_open(name.c_str(), JackNoStartServer, &status);
    // No server at all answers at once; only one that is there but late is asked again.
    if (!mJackWatch && !(status & JackServerError)) return false;
  }
  if (!mJackWatch) return false;
  mJackGone = false;
  jack_on_info_shutdown(mJackWatch, onJackShutdown, &mJackGone);
  return true;
}

void IPlugAPPHost::WatchDevices() {
  if (!mUsesJack) {
    // One quick question a tick: a missing server does not answer and is asked no further.
    if (OpenJackWatch(1)) OnJackServerFound();
  } else {
    ForgetClientsJackDropped();
    if (mJackClientsDropped || (mJackWatch && mJackGone)) OnJackServerGone();
    if (!mJackWatch) {
      if (!OpenJackWatch(1)) return;
      OnJackServerBack();
    }
  }
  FollowRememberedDevices();
}

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

void IPlugAPPHost::OnJackServerFound() {
  base::log(base::LogLevel::Info, "host",
            "a JACK server answers: MIDI and audio leave ALSA for JACK");
  // The ALSA ports and stream close first; the MIDI objects were made for ALSA alone.
  StopAudio();
  CloseMidi();
  mUsesJack = true;
  OpenMidi();
  if (!StartRememberedAudio()) base::warn("host", "the audio stream did not start on JACK");
  if (mApp) mApp->OnHostStatus(kJackFoundStatus);
}

void IPlugAPPHost::OnJackServerGone() {
  base::warn("host", "the JACK server went away: MIDI and audio stop until it answers again");
  mJackClientsDropped = false;
  if (mJackWatch) jack_client_close(mJackWatch);
  mJackWatch = nullptr;
  StopAudio();
  CloseMidi();
  mMidiInNames.clear();
  mMidiOutNames.clear();
  if (mApp) mApp->OnHostStatus(kJackGoneStatus);
}

void IPlugAPPHost::OnJackServerBack() {
  base::log(base::LogLevel::Info, "host",
            "the JACK server answers again: reopening MIDI and audio");
  OpenMidi();
  if (!StartRememberedAudio()) base::warn("host", "the audio stream did not start on JACK");
  if (mApp) mApp->OnHostStatus(kJackBackStatus);
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

bool IPlugAPPHost::SendMidiMsg(const iplug::IMidiMsg& msg) {
  if (!mMidiOut || !mMidiOut->isPortOpen()) return false;
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
  if (!mMidiOut || !mMidiOut->isPortOpen() || !msg.mData || msg.mSize <= 0) return false;
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

bool IPlugAPPHost::AudioRunning() const {
  return mAudio && mAudio->isStreamRunning();
}

bool IPlugAPPHost::StartRememberedAudio() {
  if (StartAudio(mSettings.audioInDev, mSettings.audioOutDev)) return true;
  if (mSettings.audioInDev != kDefaultAudioDevice || mSettings.audioOutDev != kDefaultAudioDevice)
    StartAudio(kDefaultAudioDevice, kDefaultAudioDevice);
  return false;
}

bool IPlugAPPHost::StartAudio(const std::string& inName, const std::string& outName) {
  StopAudio();
  const LibraryOutputDropped dropped;
  try {
    // Without a JACK server audio goes through ALSA alone, as MIDI does: left to choose, the
    // audio library asks JACK first and takes a server that answers meanwhile, unwatched.
    mAudio = std::make_unique<RtAudio>(mUsesJack ? RtAudio::UNIX_JACK : RtAudio::LINUX_ALSA);
    listenToJack();
    mAudio->showWarnings(false);
    unsigned count = mAudio->getDeviceCount();
    for (int attempt = 1;
         mUsesJack && count == 0 && attempt < kJackAttempts && pauseBeforeAskingAgain(); ++attempt)
      count = mAudio->getDeviceCount();
    if (count == 0) {
      base::warn("host", "no audio devices%s",
                 mUsesJack ? " (the JACK server took no client or offers no audio ports)"
                           : takeAlsaError().c_str());
      return false;
    }
    auto find = [&](const std::string& name, bool output) -> int {
      if (name == kDefaultAudioDevice)
        return static_cast<int>(output ? mAudio->getDefaultOutputDevice()
                                       : mAudio->getDefaultInputDevice());
      for (unsigned i = 0; i < count; ++i)
        if (mAudio->getDeviceInfo(i).name == name) return static_cast<int>(i);
      return -1;
    };
    const int out = find(outName, true);
    const int in = find(inName, false);
    if (out < 0) {
      base::warn("host", "no audio output device \"%s\"", outName.c_str());
      return false;
    }
    RtAudio::StreamParameters outParams;
    outParams.deviceId = static_cast<unsigned>(out);
    outParams.nChannels = kOutputChannels;
    RtAudio::StreamParameters inParams;
    const bool withInput = in >= 0 && mAudio->getDeviceInfo(in).inputChannels > 0;
    inParams.deviceId = static_cast<unsigned>(withInput ? in : 0);
    inParams.nChannels = kInputChannels;
    RtAudio::StreamOptions options;
    options.flags = RTAUDIO_NONINTERLEAVED;
    options.streamName = kAppName;
    unsigned frames = static_cast<unsigned>(mSettings.bufferSize);
    mAudio->openStream(&outParams, withInput ? &inParams : nullptr, RTAUDIO_FLOAT32,
                       static_cast<unsigned>(mSettings.sampleRate), &frames, onAudio, mApp.get(),
                       &options);
    if (ForgetClientsJackDropped()) return false;
    TakeStreamShutdown();
    mAudio->startStream();
    base::log(base::LogLevel::Info, "host", "audio runs on \"%s\" at %u Hz, %u frames",
              mAudio->getDeviceInfo(out).name.c_str(), mAudio->getStreamSampleRate(), frames);
    return true;
  } catch (const RtAudioError& e) {
    base::warn("host", "audio stream failed: %s%s", e.what(), takeAlsaError().c_str());
    StopAudio();
    return false;
  }
}

void IPlugAPPHost::TakeStreamShutdown() {
  // Told to the client before it is activated, as JACK requires.
  if (jack_client_t* client = streamClient(*mAudio))
    jack_on_info_shutdown(client, onJackShutdown, &mJackGone);
}

bool IPlugAPPHost::ForgetClientsJackDropped() {
  if (!gJackDroppedClients.exchange(false)) return false;
  base::warn("host", "JACK let go of the program's clients, as its server went away");
  forget(mMidiIn);
  forget(mMidiOut);
  forget(mAudio);
  mJackWatch = nullptr;
  mJackClientsDropped = true;
  return true;
}

void IPlugAPPHost::StopAudio() {
  ForgetClientsJackDropped();
  if (!mAudio) return;
  const LibraryOutputDropped dropped;
  try {
    // Aborted, not stopped: stopping waits for the stream's callback to play out what it holds,
    // which never happens when the JACK server goes away meanwhile.
    if (mAudio->isStreamRunning()) mAudio->abortStream();
    if (mAudio->isStreamOpen()) mAudio->closeStream();
  } catch (const RtAudioError& e) {
    base::warn("host", "closing the audio stream failed: %s", e.what());
  }
  mAudio.reset();
}

}  // namespace host
