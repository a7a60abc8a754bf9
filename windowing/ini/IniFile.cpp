#include "windowing/ini/IniFile.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Log.h"
#include "base/Utf8.h"
#include "windowing/ini/detail/IniCache.h"
#include "windowing/ini/detail/IniParser.h"
#include "windowing/ini/detail/IniPath.h"
#include "windowing/ini/detail/IniReadout.h"
#include "windowing/ini/detail/IniStorage.h"
#include "windowing/ini/detail/IniStructCodec.h"

namespace {

using swell::IniCache;
using swell::IniFileCache;
using swell::IniSectionTable;

// How much of each string WritePrivateProfileSection searches for its '='.
constexpr std::size_t kSectionStringScanLength = 8191;

// A write whose file was just read in a changing state tries this many times to read a
// settled version before giving up.
constexpr int kSettleAttempts = 3;

// Settings made through SWELL_ExtendedAPI; guarded by the cache's mutex.
struct ExtendedSettings {
  std::string defaultIniPath;
  void* appName = nullptr;
  void* fontPangram = nullptr;
};

ExtendedSettings& extendedSettings() {
  static ExtendedSettings* settings = new ExtendedSettings();  // never destroyed, as the cache
  return *settings;
}

// Caller holds the cache's mutex.
std::string resolvePath(const char* fileName) {
  const std::string& defaultPath = extendedSettings().defaultIniPath;
  return swell::resolveIniPath(fileName, defaultPath.empty() ? nullptr : &defaultPath,
                               std::getenv("HOME"));
}

// Caller holds the cache's mutex.
IniFileCache& openForReading(const char* fileName) {
  IniCache& cache = IniCache::instance();
  IniFileCache& slot = cache.slotFor(resolvePath(fileName));
  cache.refresh(slot);
  return slot;
}

// Runs one API call, turning an exception (memory exhaustion) into the failure value: these
// functions are called as C functions and must not throw.
template <typename Result, typename Body>
Result guarded(const char* function, Result failure, Body body) {
  try {
    return body();
  } catch (const std::exception& error) {
    base::warn("swell-cocoa", "%s failed: %s", function, error.what());
    return failure;
  }
}

bool hasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that would not read back as written (or would change other lines) are
// refused: a line break splits the line, ']' ends a header early, '=' in a key moves the
// split, a key led by a blank loses it, and a key led by '[' reads as a header.
bool isWritableSection(std::string_view name) {
  return !name.empty() && !hasLineBreak(name) && name.find(']') == std::string_view::npos &&
         name.size() <= swell::kIniMaxSectionNameLength;
}

bool isWritableKey(std::string_view key) {
  return !key.empty() && !hasLineBreak(key) && key.find('=') == std::string_view::npos &&
         key.front() != ' ' && key.front() != '\t' && key.front() != '[';
}

bool isWritableEntry(std::string_view key, std::string_view value) {
  return isWritableKey(key) && !hasLineBreak(value) &&
         key.size() + 1 + value.size() <= swell::kIniMaxLineLength;
}

// Applies `edit` to the current content of a file and writes the result back, all under
// the file's write lock so that writers in other processes neither interleave nor lose
// each other's changes. `edit` returns false when nothing changed (no write is made).
template <typename Edit>
BOOL editIniFile(const char* function, const char* fileName, Edit edit) {
  IniCache& cache = IniCache::instance();
  std::lock_guard<std::mutex> lock(cache.mutex());
  const std::string path = resolvePath(fileName);
  const std::optional<std::string> target = swell::resolveIniWriteTarget(path);
  if (!target) {
    base::warn("swell-cocoa", "%s: %s does not lead to a file that can be written", function,
               path.c_str());
    return FALSE;
  }
  swell::IniWriteLock writeLock;
  if (!writeLock.acquire(*target)) return FALSE;

  IniFileCache& slot = cache.slotFor(path);
  for (int attempt = 0; attempt < kSettleAttempts && (attempt == 0 || slot.stale); ++attempt) {
    cache.refresh(slot, &*target);
  }
  if (slot.stale || !slot.complete) {
    // Writing back what was read would lose the part that was not.
    base::warn("swell-cocoa", "%s: %s was not read whole; not writing it", function, path.c_str());
    return FALSE;
  }
  try {
    if (!edit(slot.sections)) return TRUE;
    // A section read from the file may hold a name longer than a file can start with; once
    // the sections before it are gone, the file would no longer read.
    if (!slot.sections.empty() &&
        slot.sections.sectionName(0).size() > swell::kIniMaxSectionNameLength) {
      base::warn("swell-cocoa", "%s: %s would start with a section name too long to read back",
                 function, path.c_str());
      slot.stale = true;  // the table holds the refused change
      return FALSE;
    }
    return cache.writeBack(slot, *target) ? TRUE : FALSE;
  } catch (...) {
    slot.stale = true;  // the table may hold a change that never reached the disk
    throw;
  }
}

}  // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                              int bufferSize, LPCSTR fileName) {
  if (bufferSize < 1) return 0;
  if (!buffer) {
    base::warn("swell-cocoa", "GetPrivateProfileString: no buffer");
    return 0;
  }
  return guarded("GetPrivateProfileString", DWORD{0}, [&]() -> DWORD {
    const std::size_t size = static_cast<std::size_t>(bufferSize);
    std::lock_guard<std::mutex> lock(IniCache::instance().mutex());
    IniFileCache& slot = openForReading(fileName);
    if (!section || !key) {
      if (size < 2) {
        buffer[0] = '\0';
        return 0;
      }
      std::string list;
      if (!section) {
        list = swell::iniSectionNames(slot.sections);
      } else if (const std::optional<std::size_t> s = slot.sections.findSection(section)) {
        list = swell::iniKeyNames(slot.sections, *s);
      }
      return static_cast<DWORD>(swell::copyIniNameList(list, buffer, size));
    }
    std::string_view text = defaultText ? defaultText : "";
    if (const std::optional<std::string_view> value = slot.sections.findValue(section, key)) {
      text = swell::iniValueAsRead(*value);
    }
    return static_cast<DWORD>(base::copyUtf8(text, buffer, size));
  });
}

int GetPrivateProfileInt(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName) {
  if (!section || !key) return defaultValue;
  return guarded("GetPrivateProfileInt", defaultValue, [&]() {
    std::lock_guard<std::mutex> lock(IniCache::instance().mutex());
    IniFileCache& slot = openForReading(fileName);
    const std::optional<std::string_view> value = slot.sections.findValue(section, key);
    return swell::iniTextToInt(value ? swell::iniValueAsRead(*value) : std::string_view(),
                               defaultValue);
  });
}

DWORD GetPrivateProfileSection(LPCSTR section, LPSTR buffer, DWORD bufferSize, LPCSTR fileName) {
  if (bufferSize < 1) return 0;
  if (!buffer) {
    base::warn("swell-cocoa", "GetPrivateProfileSection: no buffer");
    return 0;
  }
  buffer[0] = '\0';
  if (bufferSize < 2) return 0;
  buffer[1] = '\0';
  if (!section) {
    base::warn("swell-cocoa", "GetPrivateProfileSection: no section name");
    return 0;
  }
  return guarded("GetPrivateProfileSection", DWORD{0}, [&]() -> DWORD {
    std::lock_guard<std::mutex> lock(IniCache::instance().mutex());
    IniFileCache& slot = openForReading(fileName);
    const std::optional<std::size_t> s = slot.sections.findSection(section);
    if (!s) return 0;
    return static_cast<DWORD>(swell::copyIniEntryList(slot.sections, *s, buffer, bufferSize));
  });
}

BOOL GetPrivateProfileStruct(LPCSTR section, LPCSTR key, LPVOID buffer, int size, LPCSTR fileName) {
  if (!section || !key || size < 0 || (!buffer && size > 0)) return FALSE;
  return guarded("GetPrivateProfileStruct", FALSE, [&]() -> BOOL {
    std::lock_guard<std::mutex> lock(IniCache::instance().mutex());
    IniFileCache& slot = openForReading(fileName);
    const std::optional<std::string_view> value = slot.sections.findValue(section, key);
    if (!value) return FALSE;
    return swell::decodeIniStruct(swell::iniValueAsRead(*value), buffer,
                                  static_cast<std::size_t>(size))
               ? TRUE
               : FALSE;
  });
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (!section || (key && !*key)) return FALSE;
  if (!isWritableSection(section) || (key && !isWritableKey(key)) ||
      (key && value && !isWritableEntry(key, value))) {
    base::warn("swell-cocoa",
               "WritePrivateProfileString: refused a section, key or value that cannot be "
               "stored as one line");
    return FALSE;
  }
  return guarded("WritePrivateProfileString", FALSE, [&]() {
    return editIniFile("WritePrivateProfileString", fileName, [&](IniSectionTable& table) {
      const std::optional<std::size_t> s = table.findSection(section);
      if (!key) {
        if (!s) return false;
        table.eraseSection(*s);
        return true;
      }
      if (!value) return s && table.eraseValue(*s, key);
      return table.setValue(s ? *s : table.insertSection(section), key, value);
    });
  });
}

BOOL WritePrivateProfileSection(LPCSTR section, LPCSTR strings, LPCSTR fileName) {
  if (!section) return FALSE;
  if (!isWritableSection(section)) {
    base::warn("swell-cocoa",
               "WritePrivateProfileSection: refused a section name that cannot be stored");
    return FALSE;
  }
  return guarded("WritePrivateProfileSection", FALSE, [&]() {
    std::vector<std::pair<std::string_view, std::string_view>> entries;
    for (const char* p = strings; p && *p; p += std::strlen(p) + 1) {
      const std::string_view text(p);
      const std::size_t equals = text.substr(0, kSectionStringScanLength).find('=');
      if (equals == std::string_view::npos || equals == 0) continue;  // no key: nothing to store
      const std::string_view entryKey = text.substr(0, equals);
      const std::string_view entryValue = text.substr(equals + 1);
      if (!isWritableEntry(entryKey, entryValue)) {
        base::warn("swell-cocoa",
                   "WritePrivateProfileSection: refused an entry that cannot be stored as "
                   "one line");
        return FALSE;
      }
      entries.emplace_back(entryKey, entryValue);
    }
    const bool listEmpty = !strings || !*strings;
    return editIniFile("WritePrivateProfileSection", fileName, [&](IniSectionTable& table) {
      std::optional<std::size_t> s = table.findSection(section);
      if (!s && listEmpty) return false;
      if (!s) s = table.insertSection(section);
      table.clearSection(*s);
      for (const auto& [entryKey, entryValue] : entries)
        table.setValue(*s, entryKey, entryValue);
      return true;
    });
  });
}

BOOL WritePrivateProfileStruct(LPCSTR section, LPCSTR key, const void* data, int size,
                               LPCSTR fileName) {
  if (!key || !data) return WritePrivateProfileString(section, key, nullptr, fileName);
  if (size < 0) return FALSE;
  // Checked before encoding, so an absurd size costs no memory.
  const std::size_t textLength = 2 * (static_cast<std::size_t>(size) + 1);
  if (std::strlen(key) + 1 + textLength > swell::kIniMaxLineLength) {
    base::warn("swell-cocoa",
               "WritePrivateProfileStruct: a block of %d bytes is too large to store", size);
    return FALSE;
  }
  return guarded("WritePrivateProfileStruct", FALSE, [&]() {
    const std::string text = swell::encodeIniStruct(data, static_cast<std::size_t>(size));
    return WritePrivateProfileString(section, key, text.c_str(), fileName);
  });
}

void* SWELL_ExtendedAPI(const char* key, void* value) {
  if (!key) return nullptr;
  std::lock_guard<std::mutex> lock(IniCache::instance().mutex());
  ExtendedSettings& settings = extendedSettings();
  if (std::strcmp(key, "INIFILE") == 0) {
    settings.defaultIniPath = value ? static_cast<const char*>(value) : "";
  } else if (std::strcmp(key, "APPNAME") == 0) {
    settings.appName = value;
  } else if (std::strcmp(key, "FONTPANGRAM") == 0) {
    settings.fontPangram = value;
  }
  return nullptr;
}
