#include "host/IPlugAPPHost.h"

#include <jack/jack.h>
#include <rtaudio/RtAudio.h>
#include <rtmidi/RtMidi.h>

#include <string>
#include <utility>
#include <vector>

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
  if (mUsesJack)
    base::log(base::LogLevel::Info, "host", "MIDI and audio use JACK");
  else
    base::warn("host", "no JACK server answers: MIDI and audio use ALSA until one starts");
  OpenMidi();
  for (int i = 0; i < mApp->NParams(); ++i)
    mApp->GetParam(i)->Set(mApp->GetParam(i)->GetDefault());
  if (!StartRememberedAudio()) {
    base::warn("host", "the audio stream did not start on %s%s", mUsesJack ? "JACK" : "ALSA",
               mUsesJack ? "" : " (no JACK server answers)");
    mSoundcardMessageDue = true;
  }
  if (!mUsesJack) ShowWhatRuns(kNoJackStatus);
}

std::string IPlugAPPHost::SoundcardMessage() const {
  std::string text = kSoundcardMessage;
  if (!mUsesJack) text += std::string("\n\n") + kNoJackCause;
  return text;
}

std::string IPlugAPPHost::WhatRuns() const {
  const bool in = mMidiIn != nullptr, out = mMidiOut != nullptr;
  std::vector<std::string> runs, missing;
  if (in && out) {
    runs.push_back("MIDI");
  } else if (!in && !out) {
    missing.push_back("no MIDI");
  } else {
    runs.push_back(in ? "MIDI input" : "MIDI output");
    missing.push_back(in ? "no MIDI output" : "no MIDI input");
  }
  if (AudioRunning())
    runs.push_back("audio");
  else
    missing.push_back("no audio");
  std::string text;
  if (!runs.empty()) {
    text = runs.size() > 1 ? runs[0] + " and " + runs[1] : runs[0];
    text += !mUsesJack ? " on ALSA" : runs.size() > 1 ? " run" : " runs";
  }
  for (const std::string& part : missing)
    text += (text.empty() ? "" : ", ") + part;
  return text;
}

void IPlugAPPHost::ShowWhatRuns(const char* event) {
  if (mApp) mApp->OnHostStatus((std::string(event) + ": " + WhatRuns()).c_str());
}

}  // namespace host
