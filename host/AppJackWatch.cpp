// The JACK watch: the host's own client of the JACK server, which tells of a server answering
// where none did, going away and answering again, and the ports and stream moved with it.

#include <jack/jack.h>

#include <string>

#include "base/Log.h"
#include "host/AppLibraries.h"
#include "host/AppResources.h"
#include "host/IPlugAPPHost.h"

namespace host {

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

void IPlugAPPHost::OnJackServerFound() {
  base::log(base::LogLevel::Info, "host",
            "a JACK server answers: MIDI and audio leave ALSA for JACK");
  // The ALSA ports and stream close first; the MIDI objects were made for ALSA alone.
  StopAudio();
  CloseMidi();
  mUsesJack = true;
  OpenMidi();
  if (!StartRememberedAudio()) base::warn("host", "the audio stream did not start on JACK");
  ShowWhatRuns(kJackFoundStatus);
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
  ShowWhatRuns(kJackBackStatus);
}

bool IPlugAPPHost::ForgetClientsJackDropped() {
  if (!takeJackDroppedClients()) return false;
  base::warn("host", "JACK let go of the program's clients, as its server went away");
  forget(mMidiIn);
  forget(mMidiOut);
  forget(mAudio);
  mJackWatch = nullptr;
  mJackClientsDropped = true;
  return true;
}

}  // namespace host
