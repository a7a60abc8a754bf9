// The audio stream: opened on the remembered devices, else the defaults, through ALSA or JACK,
// and closed by the host on the main thread.

#include <jack/jack.h>
#include <rtaudio/RtAudio.h>

#include <memory>
#include <string>
#include <string_view>

#include "base/Log.h"
#include "host/AppLibraries.h"
#include "host/AppResources.h"
#include "host/IPlugAPPHost.h"

namespace host {

namespace {

constexpr int kOutputChannels = 2;
constexpr int kInputChannels = 2;

// The audio library has no call that reaches the JACK client of its stream, and no way to keep
// its own handler of the server shutting that client down, which closes the stream from a thread
// of its own (see TakeStreamShutdown). The host reads the client from the library's JACK record:
// its object holds its interface object, whose stream's record begins with the client, reached
// through classes derived from the library's own, which may name their protected members. That
// layout is this version's alone: any other version fails the build, and a library of another
// version found at run time is not read.
constexpr std::string_view kReadAudioVersion = "5.2.0";
static_assert(std::string_view(RTAUDIO_VERSION) == kReadAudioVersion,
              "streamClient reads the audio library's JACK record as version 5.2.0 lays it out");
class AudioAccess : public RtAudio {
 public:
  static RtApi* Interface(RtAudio& audio) { return audio.*(&AudioAccess::rtapi_); }
};
class AudioInterfaceAccess : public RtApi {
 public:
  static void* Record(RtApi& api) { return (api.*(&AudioInterfaceAccess::stream_)).apiHandle; }
};

// The client of the audio stream, null when no stream on JACK is open or the library loaded is
// not the version whose record is read.
jack_client_t* streamClient(RtAudio& audio) {
  if (audio.getCurrentApi() != RtAudio::UNIX_JACK || !audio.isStreamOpen()) return nullptr;
  static const bool readable = [] {
    const std::string loaded = RtAudio::getVersion();
    if (loaded == kReadAudioVersion) return true;
    base::warn("host",
               "the audio library loaded is version %s, not the %s the program was built with: "
               "its stream is left to close itself when the JACK server shuts it down",
               loaded.c_str(), std::string(kReadAudioVersion).c_str());
    return false;
  }();
  if (!readable) return nullptr;
  RtApi* api = AudioAccess::Interface(audio);
  void* record = api ? AudioInterfaceAccess::Record(*api) : nullptr;
  return record ? *static_cast<jack_client_t**>(record) : nullptr;
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

}  // namespace

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
