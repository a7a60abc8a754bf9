#include "host/IPlugAPPHost.h"

#include <jack/jack.h>
#include <rtaudio/RtAudio.h>
#include <rtmidi/RtMidi.h>

#include <utility>

#include "base/Log.h"
#include "host/AppLibraries.h"
#include "host/AppResources.h"

namespace host {

IPlugAPPHost::IPlugAPPHost(std::string settingsPath) : mSettingsPath(std::move(settingsPath)) {
  keepAlsaReports();
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

}  // namespace host
