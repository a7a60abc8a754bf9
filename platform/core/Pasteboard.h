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
inline constexpr const char* NSPasteboardNameGeneral = "Apple CFPasteboard general";
inline constexpr const char* NSPasteboardNameDrag = "Apple CFPasteboard drag";

// The in-process general pasteboard: typed data, declared in one go. Declaring or
// clearing raises the change count and drops what was there. A file list is held
// under the file-names type.
class NSPasteboard {
 public:
  static NSPasteboard& generalPasteboard();
  // A pasteboard by name, made on first use (the drag pasteboard carries what is being
  // dragged); the general one under its own name.
  static NSPasteboard& pasteboardWithName(const std::string& name);

  // Drops the contents and announces the types about to be written.
  long declareTypes(const std::vector<std::string>& types);
  long clearContents();
  long changeCount() const;
  std::vector<std::string> types() const;
  bool hasType(const std::string& type) const;

  bool setData(const std::vector<std::uint8_t>& data, const std::string& type);
  std::optional<std::vector<std::uint8_t>> dataForType(const std::string& type) const;
  // A list of strings under a type (such as the types of promised files).
  bool setPropertyList(const std::vector<std::string>& list, const std::string& type);
  std::vector<std::string> propertyListForType(const std::string& type) const;
  bool setString(const std::string& text, const std::string& type = NSPasteboardTypeString);
  std::optional<std::string> stringForType(const std::string& type = NSPasteboardTypeString) const;
  // File URL objects: written beside the declared types, read back as paths.
  bool setFileList(const std::vector<std::string>& paths);
  std::vector<std::string> fileList() const;
  bool hasFileList() const;

  // Another program took the general pasteboard's text over: the contents here are
  // dropped and the change count rises. Reads then ask the display for that program's
  // text.
  void noteForeignChange();

 private:
  NSPasteboard() = default;
  bool writeLocked(const std::string& type, std::vector<std::uint8_t> data);
  static std::vector<std::string> splitList(const std::vector<std::uint8_t>& data);
  bool isGeneral() const;
  // The text of another program that owns the general pasteboard (main thread only).
  std::optional<std::string> foreignText() const;
  void shareText(const std::string& type, const std::vector<std::uint8_t>& data) const;

  mutable std::mutex mMutex;
  long mChangeCount = 0;
  std::vector<std::string> mTypes;  // in declaration order
  std::map<std::string, std::vector<std::uint8_t>> mData;
  std::vector<std::string> mFiles;
};

}  // namespace platform
