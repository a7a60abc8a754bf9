#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/IPlugAPP.h"

class RtMidiIn;
class RtMidiOut;
class RtAudio;

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
  // Opens the port of that name (kNoMidiPort closes it) and remembers the name; false
  // when no such port exists or it cannot be opened (the name is still remembered).
  bool SelectMidiInput(const std::string& name);
  bool SelectMidiOutput(const std::string& name);

  bool AudioRunning() const;
  // The remembered audio devices did not start at load: the user is to be told.
  bool SoundcardMessageDue() const { return mSoundcardMessageDue; }
  bool UsesJack() const { return mUsesJack; }
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
  void OpenMidi();
  bool StartAudio(const std::string& inName, const std::string& outName);
  void StopAudio();

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

  static inline IPlugAPPHost* sInstance = nullptr;
};

}  // namespace host
