#include "host/IPlugAPPHost.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <rtaudio/RtAudio.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <streambuf>
#include <thread>
#include <utility>

#include "base/Log.h"
#include "host/AppResources.h"

namespace host {

namespace {

constexpr int kOutputChannels = 2;
constexpr int kInputChannels = 2;
constexpr unsigned char kSysExStart = 0xF0;
constexpr std::size_t kShortMessageBytes = 3;
// How long the host waits for the audio library to close a JACK stream whose server went away,
// which it does on a thread of its own.
constexpr auto kAudioCloseLimit = std::chrono::seconds(2);
constexpr auto kAudioClosePoll = std::chrono::milliseconds(10);
// A JACK server that is there may answer a new client too late on a busy machine (the client
// then fails with a communication error, or the audio library sees no devices): it is asked
// again this many times, this far apart.
constexpr int kJackAttempts = 5;
constexpr auto kJackRetryPause = std::chrono::milliseconds(200);

void quietJackError(const char*) {}

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

// Takes characters and keeps none, and makes no system call, so a write to it is never a point
// where a thread can be cancelled.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

// While a host lives, standard error's stream goes nowhere. The MIDI and audio libraries print
// their errors there before throwing them, and the host logs what it catches. And the audio
// library prints there from JACK's thread when the server goes away, while another of its
// threads closes the client and so cancels that thread: cancelled inside the stream's flush,
// which must not throw, it would end the program.
NullBuffer gDropped;
std::streambuf* gSavedErrorBuffer = nullptr;
int gHostsDroppingOutput = 0;  // main thread only

void dropLibraryOutput() {
  if (gHostsDroppingOutput++ == 0) gSavedErrorBuffer = std::cerr.rdbuf(&gDropped);
}

void restoreLibraryOutput() {
  if (--gHostsDroppingOutput == 0) std::cerr.rdbuf(gSavedErrorBuffer);
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

bool listed(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Opens the port of that name on a MIDI object (kNoMidiPort closes it); false when it is not
// listed or fails. `quiet` leaves a failure unlogged.
bool openPortNamed(RtMidi* midi, const std::vector<std::string>& names, const std::string& name,
                   const MidiDirection& direction, bool quiet = false) {
  if (!midi) return false;
  takeAlsaError();
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

// Keeps a direction's port on its remembered device: closes it when the device went away and
// opens it when the device is listed again. A device that is listed but does not open is logged
// once; `retryQuiet` keeps the retries quiet until it opens or goes away.
void followRememberedPort(RtMidi* midi, const std::vector<std::string>& names,
                          const std::string& remembered, const MidiDirection& direction,
                          bool& retryQuiet) {
  if (!midi || remembered == kNoMidiPort) return;
  const bool present = listed(names, remembered);
  if (midi->isPortOpen()) {
    if (present) return;
    try {
      midi->closePort();
    } catch (const RtMidiError&) {
    }
    base::warn("host", "the MIDI %s device \"%s\" went away; it is connected when it comes back",
               direction.name, remembered.c_str());
    return;
  }
  if (!present) {
    retryQuiet = false;
    return;
  }
  if (openPortNamed(midi, names, remembered, direction, retryQuiet)) {
    retryQuiet = false;
    base::log(base::LogLevel::Info, "host", "the MIDI %s device \"%s\" is connected",
              direction.name, remembered.c_str());
  } else {
    retryQuiet = true;
  }
}

bool portOpen(const RtMidi* midi) {
  return midi && midi->isPortOpen();
}

}  // namespace

IPlugAPPHost::IPlugAPPHost(std::string settingsPath) : mSettingsPath(std::move(settingsPath)) {
  snd_lib_error_set_handler(onAlsaError);
  dropLibraryOutput();
}

IPlugAPPHost::~IPlugAPPHost() {
  StopAudio();
  CloseMidi();
  if (mJackWatch) jack_client_close(mJackWatch);
  if (mApp) mApp->SetMidiSender(nullptr);
  if (sInstance == this) sInstance = nullptr;
  restoreLibraryOutput();
}

void IPlugAPPHost::Init() {
  mApp.reset(iplug::CreateAppInstance());
  mApp->SetMidiSender(this);
  ReadIniFile();
  mUsesJack = OpenJackWatch();
  base::log(base::LogLevel::Info, "host", "MIDI and audio use %s",
            mUsesJack ? "JACK" : "the system's default API");
  OpenMidi();
  for (int i = 0; i < mApp->NParams(); ++i)
    mApp->GetParam(i)->Set(mApp->GetParam(i)->GetDefault());
  if (!StartRememberedAudio()) {
    base::warn("host", "%s", kSoundcardMessage);
    mSoundcardMessageDue = true;
  }
}

bool IPlugAPPHost::OpenJackWatch() {
  jack_set_error_function(quietJackError);
  jack_set_info_function(quietJackError);
  const std::string name = std::string(kAppName) + " watch";
  for (int attempt = 0; attempt < kJackAttempts && !mJackWatch; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kJackRetryPause);
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
  if (mUsesJack) {
    if (mJackWatch && mJackGone) OnJackServerGone();
    if (!mJackWatch) {
      if (!OpenJackWatch()) return;
      OnJackServerBack();
    }
  }
  ProbeMidiPorts();
  followRememberedPort(mMidiIn.get(), mMidiInNames, mSettings.midiInDev, kInput, mMidiInRetryQuiet);
  followRememberedPort(mMidiOut.get(), mMidiOutNames, mSettings.midiOutDev, kOutput,
                       mMidiOutRetryQuiet);
}

void IPlugAPPHost::OnJackServerGone() {
  base::warn("host", "the JACK server went away: MIDI and audio stop until it answers again");
  jack_client_close(mJackWatch);
  mJackWatch = nullptr;
  // The audio library closes a running stream of a server that went away itself, on a thread
  // of its own; the stream is let go once that is done.
  const auto deadline = std::chrono::steady_clock::now() + kAudioCloseLimit;
  while (mAudio && mAudio->isStreamOpen() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(kAudioClosePoll);
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
  if (!StartRememberedAudio()) base::warn("host", "%s", kSoundcardMessage);
  if (mApp) mApp->OnHostStatus(kJackBackStatus);
}

void IPlugAPPHost::OpenMidi() {
  // Without a JACK server MIDI goes through ALSA alone: left to choose, the MIDI library would
  // take JACK when a server answers it later, and the host would not watch that server.
  const RtMidi::Api api = mUsesJack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
  takeAlsaError();
  try {
    mMidiIn = std::make_unique<RtMidiIn>(api, std::string(kAppName) + " in");
    mMidiIn->ignoreTypes(false, true, true);
    mMidiIn->setCallback(onMidiIn, mApp.get());
  } catch (const RtMidiError& e) {
    base::warn("host", "no MIDI input: %s%s", e.what(), takeAlsaError().c_str());
    mMidiIn.reset();
  }
  try {
    mMidiOut = std::make_unique<RtMidiOut>(api, std::string(kAppName) + " out");
  } catch (const RtMidiError& e) {
    base::warn("host", "no MIDI output: %s%s", e.what(), takeAlsaError().c_str());
    mMidiOut.reset();
  }
  ProbeMidiPorts();
  mMidiInRetryQuiet = mMidiOutRetryQuiet = false;
  if (mSettings.midiInDev != kNoMidiPort) SelectMidiInput(mSettings.midiInDev);
  if (mSettings.midiOutDev != kNoMidiPort) SelectMidiOutput(mSettings.midiOutDev);
}

void IPlugAPPHost::CloseMidi() {
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
  takeAlsaError();
  try {
    mAudio = std::make_unique<RtAudio>(mUsesJack ? RtAudio::UNIX_JACK : RtAudio::UNSPECIFIED);
    mAudio->showWarnings(false);
    unsigned count = mAudio->getDeviceCount();
    for (int attempt = 1; mUsesJack && count == 0 && attempt < kJackAttempts; ++attempt) {
      std::this_thread::sleep_for(kJackRetryPause);
      count = mAudio->getDeviceCount();
    }
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

void IPlugAPPHost::StopAudio() {
  if (!mAudio) return;
  try {
    if (mAudio->isStreamRunning()) mAudio->stopStream();
    if (mAudio->isStreamOpen()) mAudio->closeStream();
  } catch (const RtAudioError& e) {
    base::warn("host", "closing the audio stream failed: %s", e.what());
  }
  mAudio.reset();
}

}  // namespace host
