#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/Log.h"
#include "host/AppResources.h"
#include "host/IPlugAPPHost.h"
#include "windowing/Win32.h"

namespace host {

namespace {

// A remembered device name is read whole however long it is, up to this bound.
constexpr std::size_t kFirstReadBytes = 128;
constexpr std::size_t kLongestSetting = 64 * 1024;

// Makes the folder and any missing folder above it (a fresh account has no configuration
// folder yet).
bool makeFolder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (!error) return true;
  base::warn("host", "cannot make the folder %s: %s", path.c_str(), error.message().c_str());
  return false;
}

// GetPrivateProfileString cuts to the buffer and says so by filling it: read again with
// a larger buffer until the text fits, so long device names come back whole.
std::string readSetting(const char* section, const char* key, const std::string& fallback,
                        const std::string& path) {
  std::vector<char> buffer(kFirstReadBytes);
  for (;;) {
    const DWORD n = GetPrivateProfileString(section, key, fallback.c_str(), buffer.data(),
                                            static_cast<int>(buffer.size()), path.c_str());
    if (n + 1 < buffer.size()) return std::string(buffer.data(), n);
    if (buffer.size() >= kLongestSetting) {
      base::warn("host", "[%s] %s is longer than %zu bytes; using \"%s\"", section, key,
                 kLongestSetting, fallback.c_str());
      return fallback;
    }
    buffer.resize(buffer.size() * 4);
  }
}

}  // namespace

std::string SettingsPath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::string(home) + "/.config";
    if (!makeFolder(base)) return {};
  } else {
    base::warn("host", "neither XDG_CONFIG_HOME nor HOME is set");
    return {};
  }
  const std::string folder = base + "/" + kAppName;
  if (!makeFolder(folder)) return {};
  return folder + "/settings.ini";
}

bool IPlugAPPHost::ReadIniFile() {
  const AppSettings defaults;
  if (mSettingsPath.empty()) return false;
  if (access(mSettingsPath.c_str(), F_OK) != 0) {
    base::log(base::LogLevel::Info, "host", "writing default settings to %s",
              mSettingsPath.c_str());
    mSettings = defaults;
    return UpdateIniFile();
  }
  if (access(mSettingsPath.c_str(), R_OK) != 0) {
    base::warn("host", "cannot read %s; using the default settings", mSettingsPath.c_str());
    mSettings = defaults;
    return false;
  }
  const char* path = mSettingsPath.c_str();
  mSettings.audioInDev = readSetting("audio", "indev", defaults.audioInDev, mSettingsPath);
  mSettings.audioOutDev = readSetting("audio", "outdev", defaults.audioOutDev, mSettingsPath);
  mSettings.sampleRate = GetPrivateProfileInt("audio", "sr", defaults.sampleRate, path);
  mSettings.bufferSize = GetPrivateProfileInt("audio", "buffer", defaults.bufferSize, path);
  mSettings.midiInDev = readSetting("midi", "indev", defaults.midiInDev, mSettingsPath);
  mSettings.midiOutDev = readSetting("midi", "outdev", defaults.midiOutDev, mSettingsPath);
  if (mSettings.sampleRate <= 0) mSettings.sampleRate = defaults.sampleRate;
  if (mSettings.bufferSize <= 0) mSettings.bufferSize = defaults.bufferSize;
  return true;
}

bool IPlugAPPHost::UpdateIniFile() {
  if (mSettingsPath.empty()) return false;
  const char* path = mSettingsPath.c_str();
  const std::string sampleRate = std::to_string(mSettings.sampleRate);
  const std::string bufferSize = std::to_string(mSettings.bufferSize);
  const bool written =
      WritePrivateProfileString("audio", "indev", mSettings.audioInDev.c_str(), path) &&
      WritePrivateProfileString("audio", "outdev", mSettings.audioOutDev.c_str(), path) &&
      WritePrivateProfileString("audio", "sr", sampleRate.c_str(), path) &&
      WritePrivateProfileString("audio", "buffer", bufferSize.c_str(), path) &&
      WritePrivateProfileString("midi", "indev", mSettings.midiInDev.c_str(), path) &&
      WritePrivateProfileString("midi", "outdev", mSettings.midiOutDev.c_str(), path);
  if (!written) base::warn("host", "cannot write %s", path);
  return written;
}

bool IPlugAPPHost::SaveChangedMidiSettings() {
  if (!mSettingsPath.empty()) {
    const char* path = mSettingsPath.c_str();
    if (mMidiInUnsaved &&
        WritePrivateProfileString("midi", "indev", mSettings.midiInDev.c_str(), path))
      mMidiInUnsaved = false;
    if (mMidiOutUnsaved &&
        WritePrivateProfileString("midi", "outdev", mSettings.midiOutDev.c_str(), path))
      mMidiOutUnsaved = false;
  }
  if (!mMidiInUnsaved && !mMidiOutUnsaved) return true;
  base::warn("host",
             "cannot write the MIDI devices chosen to %s; they stay in use until the "
             "program ends",
             mSettingsPath.empty() ? "a settings file" : mSettingsPath.c_str());
  return false;
}

}  // namespace host
