#include "platform/core/Pasteboard.h"

#include <algorithm>

#include "platform/display/DisplayBackend.h"
#include "platform/system/MainThread.h"

namespace platform {

NSPasteboard& NSPasteboard::generalPasteboard() {
  static NSPasteboard* board = new NSPasteboard;
  return *board;
}

NSPasteboard& NSPasteboard::pasteboardWithName(const std::string& name) {
  if (name == NSPasteboardNameGeneral) return generalPasteboard();
  // Pasteboards live for the program, as the platform's do.
  static std::mutex mutex;
  static auto* boards = new std::map<std::string, NSPasteboard*>;
  std::lock_guard<std::mutex> lock(mutex);
  NSPasteboard*& board = (*boards)[name];
  if (!board) board = new NSPasteboard;
  return *board;
}

long NSPasteboard::declareTypes(const std::vector<std::string>& types) {
  std::lock_guard<std::mutex> lock(mMutex);
  mData.clear();
  mFiles.clear();
  mTypes.clear();
  for (const auto& t : types)
    if (std::find(mTypes.begin(), mTypes.end(), t) == mTypes.end()) mTypes.push_back(t);
  return ++mChangeCount;
}

long NSPasteboard::clearContents() {
  return declareTypes({});
}

long NSPasteboard::changeCount() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mChangeCount;
}

bool NSPasteboard::isGeneral() const {
  return this == &generalPasteboard();
}

std::optional<std::string> NSPasteboard::foreignText() const {
  if (!isGeneral() || !isMainThread()) return std::nullopt;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (!mTypes.empty()) return std::nullopt;  // written here since the last foreign change
  }
  return displayBackend().foreignPasteboardText();
}

void NSPasteboard::shareText(const std::string& type, const std::vector<std::uint8_t>& data) const {
  if (isGeneral() && type == NSPasteboardTypeString && isMainThread())
    displayBackend().pasteboardTextWritten(std::string(data.begin(), data.end()));
}

void NSPasteboard::noteForeignChange() {
  std::lock_guard<std::mutex> lock(mMutex);
  mData.clear();
  mFiles.clear();
  mTypes.clear();
  ++mChangeCount;
}

std::vector<std::string> NSPasteboard::types() const {
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (!mTypes.empty() || !isGeneral()) return mTypes;
  }
  if (foreignText()) return {NSPasteboardTypeString};
  return {};
}

bool NSPasteboard::hasType(const std::string& type) const {
  std::vector<std::string> all = types();
  return std::find(all.begin(), all.end(), type) != all.end();
}

std::vector<std::string> NSPasteboard::splitList(const std::vector<std::uint8_t>& data) {
  // Strings each followed by a NUL; the last one may lack it.
  std::vector<std::string> list;
  std::string current;
  for (std::uint8_t c : data) {
    if (c == 0) {
      list.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(static_cast<char>(c));
    }
  }
  if (!current.empty()) list.push_back(std::move(current));
  return list;
}

bool NSPasteboard::writeLocked(const std::string& type, std::vector<std::uint8_t> data) {
  // Writing a type that was not declared adds it, as after clearContents.
  if (std::find(mTypes.begin(), mTypes.end(), type) == mTypes.end()) mTypes.push_back(type);
  // The file list and the file-names type are one list however it was written.
  if (type == NSFilenamesPboardType) mFiles = splitList(data);
  mData[type] = std::move(data);
  return true;
}

bool NSPasteboard::setData(const std::vector<std::uint8_t>& data, const std::string& type) {
  if (type.empty()) return false;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    writeLocked(type, data);
  }
  shareText(type, data);
  return true;
}

std::optional<std::vector<std::uint8_t>> NSPasteboard::dataForType(const std::string& type) const {
  {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mData.find(type);
    if (it != mData.end()) return it->second;
  }
  if (type == NSPasteboardTypeString) {
    if (auto text = foreignText()) return std::vector<std::uint8_t>(text->begin(), text->end());
  }
  return std::nullopt;
}

bool NSPasteboard::setString(const std::string& text, const std::string& type) {
  return setData(std::vector<std::uint8_t>(text.begin(), text.end()), type);
}

std::optional<std::string> NSPasteboard::stringForType(const std::string& type) const {
  auto data = dataForType(type);
  if (!data) return std::nullopt;
  return std::string(data->begin(), data->end());
}

bool NSPasteboard::setFileList(const std::vector<std::string>& paths) {
  std::lock_guard<std::mutex> lock(mMutex);
  // The data form of the list: the paths, each followed by a NUL.
  std::vector<std::uint8_t> joined;
  for (const auto& p : paths) {
    joined.insert(joined.end(), p.begin(), p.end());
    joined.push_back(0);
  }
  return writeLocked(NSFilenamesPboardType, std::move(joined));
}

std::vector<std::string> NSPasteboard::fileList() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mFiles;
}

}  // namespace platform

namespace platform {

bool NSPasteboard::setPropertyList(const std::vector<std::string>& list, const std::string& type) {
  if (type.empty()) return false;
  // Kept as the strings, each followed by a NUL.
  std::vector<std::uint8_t> joined;
  for (const auto& item : list) {
    joined.insert(joined.end(), item.begin(), item.end());
    joined.push_back(0);
  }
  std::lock_guard<std::mutex> lock(mMutex);
  return writeLocked(type, std::move(joined));
}

std::vector<std::string> NSPasteboard::propertyListForType(const std::string& type) const {
  auto data = dataForType(type);
  return data ? splitList(*data) : std::vector<std::string>{};
}

bool NSPasteboard::hasFileList() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return !mFiles.empty();
}

}  // namespace platform
