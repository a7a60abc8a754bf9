#include "host/IPlugAPPHost.h"

#include <jack/jack.h>
#include <rtaudio/RtAudio.h>
#include <rtmidi/RtMidi.h>

#include <utility>

#include "base/Log.h"
#include "host/AppResources.h"

namespace host {

namespace {

constexpr int kOutputChannels = 2;
constexpr int kInputChannels = 2;
constexpr unsigned char kSysExStart = 0xF0;
constexpr std::size_t kShortMessageBytes = 3;

void quietJackError(const char*) {}

// Whether a JACK server answers; never starts one.
bool jackServerAnswers() {
  jack_set_error_function(quietJackError);
  jack_status_t status{};
  jack_client_t* client = jack_client_open("probe", JackNoStartServer, &status);
  if (!client) return false;
  jack_client_close(client);
  return true;
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

// Opens the port of that name on a MIDI object; false when it is not listed or fails.
bool openPortNamed(RtMidi* midi, const std::vector<std::string>& names, const std::string& name,
                   const char* portLabel) {
  if (!midi) return false;
  try {
    midi->closePort();
    if (name == kNoMidiPort) return true;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] != name) continue;
      midi->openPort(static_cast<unsigned>(i), portLabel);
      return midi->isPortOpen();
    }
  } catch (const RtMidiError& e) {
    base::warn("host", "opening MIDI port \"%s\" failed: %s", name.c_str(), e.what());
    return false;
  }
  base::warn("host", "no MIDI port named \"%s\"", name.c_str());
  return false;
}

}  // namespace

IPlugAPPHost::IPlugAPPHost(std::string settingsPath) : mSettingsPath(std::move(settingsPath)) {}

IPlugAPPHost::~IPlugAPPHost() {
  StopAudio();
  try {
    if (mMidiIn) mMidiIn->closePort();
    if (mMidiOut) mMidiOut->closePort();
  } catch (const RtMidiError& e) {
    base::warn("host", "closing MIDI ports failed: %s", e.what());
  }
  mMidiIn.reset();
  mMidiOut.reset();
  if (mApp) mApp->SetMidiSender(nullptr);
  if (sInstance == this) sInstance = nullptr;
}

void IPlugAPPHost::Init() {
  mApp.reset(iplug::CreateAppInstance());
  mApp->SetMidiSender(this);
  ReadIniFile();
  mUsesJack = jackServerAnswers();
  base::log(base::LogLevel::Info, "host", "MIDI and audio use %s",
            mUsesJack ? "JACK" : "the system's default API");
  OpenMidi();
  for (int i = 0; i < mApp->NParams(); ++i)
    mApp->GetParam(i)->Set(mApp->GetParam(i)->GetDefault());
  // The remembered devices first; when they fail, the defaults, and the user is told.
  if (!StartAudio(mSettings.audioInDev, mSettings.audioOutDev)) {
    if (mSettings.audioInDev != kDefaultAudioDevice || mSettings.audioOutDev != kDefaultAudioDevice)
      StartAudio(kDefaultAudioDevice, kDefaultAudioDevice);
    base::warn("host", "%s", kSoundcardMessage);
    mSoundcardMessageDue = true;
  }
}

void IPlugAPPHost::OpenMidi() {
  const RtMidi::Api api = mUsesJack ? RtMidi::UNIX_JACK : RtMidi::UNSPECIFIED;
  try {
    mMidiIn = std::make_unique<RtMidiIn>(api, std::string(kAppName) + " in");
    mMidiIn->ignoreTypes(false, true, true);
    mMidiIn->setCallback(onMidiIn, mApp.get());
  } catch (const RtMidiError& e) {
    base::warn("host", "no MIDI input: %s", e.what());
    mMidiIn.reset();
  }
  try {
    mMidiOut = std::make_unique<RtMidiOut>(api, std::string(kAppName) + " out");
  } catch (const RtMidiError& e) {
    base::warn("host", "no MIDI output: %s", e.what());
    mMidiOut.reset();
  }
  ProbeMidiPorts();
  if (mSettings.midiInDev != kNoMidiPort) SelectMidiInput(mSettings.midiInDev);
  if (mSettings.midiOutDev != kNoMidiPort) SelectMidiOutput(mSettings.midiOutDev);
}

void IPlugAPPHost::ProbeMidiPorts() {
  mMidiInNames = portNames(mMidiIn.get());
  mMidiOutNames = portNames(mMidiOut.get());
}

bool IPlugAPPHost::SelectMidiInput(const std::string& name) {
  mSettings.midiInDev = name;
  return openPortNamed(mMidiIn.get(), mMidiInNames, name, "midi in");
}

bool IPlugAPPHost::SelectMidiOutput(const std::string& name) {
  mSettings.midiOutDev = name;
  return openPortNamed(mMidiOut.get(), mMidiOutNames, name, "midi out");
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

bool IPlugAPPHost::StartAudio(const std::string& inName, const std::string& outName) {
  StopAudio();
  try {
    mAudio = std::make_unique<RtAudio>(mUsesJack ? RtAudio::UNIX_JACK : RtAudio::UNSPECIFIED);
    const unsigned count = mAudio->getDeviceCount();
    if (count == 0) {
      base::warn("host", "no audio devices");
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
    base::warn("host", "audio stream failed: %s", e.what());
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
