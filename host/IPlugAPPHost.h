#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "framework/IPlugAPP.h"

class RtMidi;
class RtMidiIn;
class RtMidiOut;
class RtAudio;
struct _jack_client;

namespace host {

// What settings.ini remembers. "default" names the audio API's default device; "off"
// names no MIDI port.
struct AppSettings {
  std::string audioInDev = "default";
  std::string audioOutDev = "default";
  int sampleRate = 48000;
  int bufferSize = 256;
  std::string midiInDev = "off";
  std::string midiOutDev = "off";
};

inline constexpr const char* kNoMidiPort = "off";
inline constexpr const char* kDefaultAudioDevice = "default";
// What the user is told when the audio stream does not start, and the alert's title.
inline constexpr const char* kSoundcardMessage =
    "Please check your soundcard settings in Preferences";
inline constexpr const char* kSoundcardMessageTitle = "Error";
// What the user is told when "Preferences" cannot store the choice (the file's path follows),
// and the alert's title.
inline constexpr const char* kSettingsNotSavedMessage =
    "The MIDI devices you chose are in use, but they could not be saved, so the program will "
    "not remember them next time. Check that this file can be written:";
inline constexpr const char* kSettingsNotSavedTitle = "Settings not saved";
// Why, while no JACK server answers, the host runs on ALSA; the alert about the audio stream
// adds it to its text.
inline constexpr const char* kNoJackCause =
    "No JACK server answers, so MIDI and audio use ALSA until one starts.";
// What the application shows at start-up while no JACK server answers, when one first
// answers and when it answers again: the event, a colon, then what runs, by its API's name on
// ALSA, and what does not ("MIDI and audio on ALSA", "MIDI on ALSA, no audio", "no MIDI, no
// audio"; on JACK "MIDI and audio run", "audio runs, no MIDI"). When the server goes away
// nothing runs.
inline constexpr const char* kNoJackStatus = "No JACK server";
inline constexpr const char* kJackFoundStatus = "JACK server started";
inline constexpr const char* kJackBackStatus = "JACK server back";
inline constexpr const char* kJackGoneStatus = "JACK server stopped: no MIDI, no audio";
// What the application shows when a remembered MIDI device goes away or is connected again,
// the device's name after a colon; both directions at once are named together, without names.
inline constexpr const char* kMidiInputGoneStatus = "MIDI input device gone";
inline constexpr const char* kMidiOutputGoneStatus = "MIDI output device gone";
inline constexpr const char* kMidiBothGoneStatus = "MIDI input and output devices gone";
inline constexpr const char* kMidiInputBackStatus = "MIDI input device connected";
inline constexpr const char* kMidiOutputBackStatus = "MIDI output device connected";
inline constexpr const char* kMidiBothBackStatus = "MIDI input and output devices connected";

// The settings file: $XDG_CONFIG_HOME (else ~/.config)/<program>/settings.ini; the
// folder is made when missing. Empty when there is no home to put it in.
std::string SettingsPath();

// The one host object: settings, the MIDI ports and the audio stream around the
// application object. Lives from load (code 1) until the main window is destroyed.
class IPlugAPPHost : public iplug::IMidiSender {
 public:
  explicit IPlugAPPHost(std::string settingsPath);
  ~IPlugAPPHost() override;

  // Load: makes the application, reads settings.ini (writing defaults when missing),
  // lists and opens the remembered MIDI ports, resets the parameters and starts the
  // audio stream (the default devices and a message when that fails).
  void Init();

  // Reads the settings; a missing file is written with the defaults. False when the file
  // exists but cannot be read (the defaults stay, the file is left alone).
  bool ReadIniFile();
  // Writes every setting; false when the file could not be written.
  bool UpdateIniFile();

  // Lists the MIDI ports anew.
  void ProbeMidiPorts();
  const std::vector<std::string>& MidiInputNames() const { return mMidiInNames; }
  const std::vector<std::string>& MidiOutputNames() const { return mMidiOutNames; }
  // The user's choice in "Preferences" (OK or Apply). A device other than the remembered one
  // is opened and remembered, and only such changes are written to settings.ini (with any an
  // earlier write lost), so what another instance stored meanwhile stays; the same device as
  // before is only opened again when it is not open. False when settings.ini could not be
  // written: the choice stays in use, and the next call tries to write it again.
  bool ApplyMidiChoice(const std::string& input, const std::string& output);
  // Whether the remembered device of each direction is open.
  bool MidiInputConnected() const;
  bool MidiOutputConnected() const;

  // Every kDeviceWatchMs on the main thread: notices a JACK server answering when none did at
  // start-up (MIDI and audio leave ALSA for it), the JACK server going away (the ports and the
  // stream are closed) and answering again (they are opened anew), and a remembered device that
  // went away or appeared (it is closed, or connected); the application is told each.
  void WatchDevices();
  static constexpr int kDeviceWatchMs = 1000;

  bool AudioRunning() const;
  // The remembered audio devices did not start at load: the user is to be told.
  bool SoundcardMessageDue() const { return mSoundcardMessageDue; }
  // The alert's text: the fixed message, and the cause when the host knows it.
  std::string SoundcardMessage() const;
  bool UsesJack() const { return mUsesJack; }
  // With JACK: whether its server answered when last looked at.
  bool JackServerAnswers() const { return mJackWatch != nullptr; }
  iplug::IPlugAPP* GetApp() const { return mApp.get(); }
  AppSettings& Settings() { return mSettings; }
  const std::string& SettingsFile() const { return mSettingsPath; }

  bool SendMidiMsg(const iplug::IMidiMsg& msg) override;
  bool SendSysEx(const iplug::ISysEx& msg) override;

  // Main thread: logs the messages the rings dropped since the last call.
  void LogDroppedMidi();

  static IPlugAPPHost* Instance() { return sInstance; }
  static void SetInstance(IPlugAPPHost* host) { sInstance = host; }

 private:
  // Opens a client of the JACK server that hears of its going away; false when none answers.
  // A server that is there but fails to answer is asked up to `attempts` times; the watch of
  // every tick asks once, as a server that keeps failing would otherwise hold the main thread
  // for most of each tick, and the next tick asks again.
  bool OpenJackWatch(int attempts);
  // What runs, as the status lines after the event say it (see kNoJackStatus).
  std::string WhatRuns() const;
  // Tells the application of the event and what runs after it.
  void ShowWhatRuns(const char* event);
  // A JACK server answers where none did at start-up: MIDI and audio leave ALSA for it.
  void OnJackServerFound();
  void OnJackServerGone();
  void OnJackServerBack();
  // Keeps both directions' ports on their remembered devices and tells the application of a
  // device that went away or was connected.
  void FollowRememberedDevices();
  void OpenMidi();
  void CloseMidi();
  // Whether a message can be sent now. A JACK output waits, with no limit, for room in a buffer
  // that only the server's process cycle empties, so nothing is sent once the server is known
  // to be gone (until the next look of the watch closes the ports).
  bool MidiOutputWritable() const;
  bool SelectMidiInput(const std::string& name);
  bool SelectMidiOutput(const std::string& name);
  // Writes the MIDI settings the user changed that settings.ini does not hold yet.
  bool SaveChangedMidiSettings();
  // The remembered devices, else the defaults; false when the defaults were needed.
  bool StartRememberedAudio();
  bool StartAudio(const std::string& inName, const std::string& outName);
  // Has the JACK server's shutting down of the open stream's client reported to the host (as
  // mJackGone) in place of the audio library. The library would close the stream itself: from
  // JACK's thread it starts a thread that closes the client, and closing a client cancels JACK's
  // threads of it at any instruction, the one still running the library's report among them,
  // which ends the program when it is unwound through a function that must not throw; and that
  // closing races the host's own. JACK calls an info-shutdown callback in place of the plain one.
  void TakeStreamShutdown();
  // On the main thread: the stream, when there is one, is aborted, closed and let go.
  void StopAudio();
  // When JACK let go of the program's clients (a client was opened after the server went away),
  // forgets the MIDI objects, the audio object and the watch that held them, which count as
  // closed, and returns true; the next watch reports the server gone.
  bool ForgetClientsJackDropped();

  std::string mSettingsPath;
  AppSettings mSettings;
  std::unique_ptr<iplug::IPlugAPP> mApp;
  std::unique_ptr<RtMidiIn> mMidiIn;
  std::unique_ptr<RtMidiOut> mMidiOut;
  std::unique_ptr<RtAudio> mAudio;
  std::vector<std::string> mMidiInNames;
  std::vector<std::string> mMidiOutNames;
  bool mUsesJack = false;
  bool mSoundcardMessageDue = false;
  // MIDI settings changed by the user that settings.ini does not hold yet.
  bool mMidiInUnsaved = false;
  bool mMidiOutUnsaved = false;
  // A remembered device that is listed but did not open was logged once; retries are quiet.
  bool mMidiInRetryQuiet = false;
  bool mMidiOutRetryQuiet = false;
  // The client that watches the JACK server, and the flag that its shutdown callback and the
  // audio stream's set (on JACK's threads). A stream that the server shut down alone (a client
  // too slow for it) takes the same road: everything is closed, and opened again once the
  // server answers.
  _jack_client* mJackWatch = nullptr;
  std::atomic<bool> mJackGone{false};
  bool mJackClientsDropped = false;

  static inline IPlugAPPHost* sInstance = nullptr;
};

}  // namespace host
