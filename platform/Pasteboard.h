#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace platform {

inline constexpr const char* NSPasteboardTypeString = "public.utf8-plain-text";
inline constexpr const char* NSPasteboardTypeFileURL = "public.file-url";
inline constexpr const char* NSFilenamesPboardType = "NSFilenamesPboardType";
inline constexpr const char* NSFilesPromisePboardType = "NSFilesPromisePboardType";

// The in-process general pasteboard: typed data, declared in one go. Declaring or
// clearing raises the change count and drops what was there. A file list is held
// under the file-names type.
class NSPasteboard {
 public:
  static NSPasteboard& generalPasteboard();

  // Drops the contents and announces the types about to be written.
  long declareTypes(const std::vector<std::string>& types);
  long clearContents();
  long changeCount() const;
  std::vector<std::string> types() const;
  bool hasType(const std::string& type) const;

  bool setData(const std::vector<std::uint8_t>& data, const std::string& type);
  std::optional<std::vector<std::uint8_t>> dataForType(const std::string& type) const;
  bool setString(const std::string& text, const std::string& type = NSPasteboardTypeString);
  std::optional<std::string> stringForType(const std::string& type = NSPasteboardTypeString) const;
  bool setFileList(const std::vector<std::string>& paths);
  std::vector<std::string> fileList() const;

 private:
  NSPasteboard() = default;
  bool writeLocked(const std::string& type, std::vector<std::uint8_t> data);

  mutable std::mutex mMutex;
  long mChangeCount = 0;
  std::vector<std::string> mTypes;  // in declaration order
  std::map<std::string, std::vector<std::uint8_t>> mData;
  std::vector<std::string> mFiles;
};

}  // namespace platform
