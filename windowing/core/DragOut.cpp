#include "windowing/core/DragOut.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/Log.h"
#include "platform/core/DragSession.h"
#include "platform/core/Pasteboard.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/TestHooks.h"

namespace {
struct DragOutState {
  std::string sourcePath;
  SWELL_DragOutWriter writer = nullptr;
  bool active = false;
};

DragOutState& state() {
  static DragOutState* s = new DragOutState;
  return *s;
}
}  // namespace

void SWELL_FinishDragDrop() {
  DragOutState& s = state();
  s.sourcePath.clear();
  s.writer = nullptr;
  s.active = false;
}

namespace swell {

void setDragOutState(const char* sourcePath, SWELL_DragOutWriter writer) {
  DragOutState& s = state();
  s.sourcePath = sourcePath ? sourcePath : "";
  s.writer = writer;
  s.active = sourcePath != nullptr;
}

bool hasDragOutState() {
  return state().active;
}

std::string dragOutSourcePath() {
  return state().sourcePath;
}

SWELL_DragOutWriter dragOutWriter() {
  return state().writer;
}

}  // namespace swell

namespace {

// "Keep Both Files" numbers copies with three digits; past these the search stops.
constexpr int kMaxCopyNumber = 999;

bool exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// The source of promised-file drags: where the drop lands, the promised file is written.
struct PromisedFileSource final : platform::NSDraggingSource {
  std::vector<std::string> namesOfPromisedFilesDroppedAtDestination(
      const std::string& folder) override {
    return SWELL_CopyPromisedFile(folder.c_str());
  }
};

PromisedFileSource& promisedFileSource() {
  static auto* source = new PromisedFileSource;
  return *source;
}

std::string lastComponent(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

}  // namespace

std::vector<std::string> SWELL_CopyPromisedFile(const char* folder) {
  std::string source = swell::dragOutSourcePath();
  SWELL_DragOutWriter writer = swell::dragOutWriter();
  std::string name = lastComponent(source.c_str());
  if (!folder || !*folder || !writer || name.empty() || name == "." || name == "..") {
    SWELL_FinishDragDrop();
    return {};
  }
  std::string path = std::string(folder) + "/" + name;
  if (exists(path)) {
    // The question whether to replace waits for the alert; until then the default
    // answer, "Keep Both Files": a free numbered name beside it.
    std::string stem = name, extension;
    if (auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) {
      stem = name.substr(0, dot);
      extension = name.substr(dot);
    }
    int number = 1;
    // A trailing number of the stem, after a blank, is where counting starts.
    if (auto blank = stem.rfind(' ');
        blank != std::string::npos &&
        stem.find_first_not_of("0123456789", blank + 1) == std::string::npos &&
        blank + 1 < stem.size() && stem.size() - blank <= 4) {
      number = std::atoi(stem.c_str() + blank + 1);
      stem.erase(blank + 1);
    } else {
      stem += ' ';
    }
    bool found = false;
    for (; number <= kMaxCopyNumber && !found; ++number) {
      char candidate[32];
      std::snprintf(candidate, sizeof candidate, "%03d", number);
      path = std::string(folder) + "/" + stem + candidate + extension;
      found = !exists(path);
    }
    if (!found) {
      base::warn("swell-cocoa", "SWELL_CopyPromisedFile: no free name for \"%s\"", name.c_str());
      SWELL_FinishDragDrop();
      return {};
    }
  }
  writer(path.c_str());
  SWELL_FinishDragDrop();
  if (!exists(path)) return {};
  return {lastComponent(path.c_str())};
}

void SWELL_InitiateDragDrop(HWND h, const RECT* srcRect, const char* srcFile,
                            void (*callback)(const char* dropPath)) {
  SWELL_FinishDragDrop();
  auto* view = platform::liveObjectAs<Swell_vCorvaneBrisko_hwnd>(h);
  if (!view) return;
  if (!srcRect || !srcFile || !*srcFile) {
    base::warn("swell-cocoa", "SWELL_InitiateDragDrop: no source rectangle or file");
    return;
  }
  swell::setDragOutState(srcFile, callback);
  // The type is the extension of the file's own name, not of a folder on its path.
  std::string name = lastComponent(srcFile);
  auto dot = name.rfind('.');
  std::string type = dot == std::string::npos ? name : name.substr(dot + 1);
  platform::NSDragPromisedFiles(view, &promisedFileSource(), {type});
}

void SWELL_InitiateDragDropOfFileList(HWND h, const RECT* srcRect, const char** files, int count,
                                      HICON icon) {
  SWELL_FinishDragDrop();
  auto* view = platform::liveObjectAs<Swell_vCorvaneBrisko_hwnd>(h);
  if (!view) return;
  if (!srcRect || !files || count < 1) {
    base::warn("swell-cocoa", "SWELL_InitiateDragDropOfFileList: no rectangle or no files");
    return;
  }
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    if (!files[i]) {
      base::warn("swell-cocoa", "SWELL_InitiateDragDropOfFileList: file %d is null", i);
      return;
    }
    paths.emplace_back(files[i]);
  }
  platform::NSPasteboard& board =
      platform::NSPasteboard::pasteboardWithName(platform::NSPasteboardNameDrag);
  board.declareTypes({platform::NSFilenamesPboardType});
  board.setPropertyList(paths, platform::NSFilenamesPboardType);
  board.setFileList(paths);
  platform::NSRunDrag(view, nullptr);
}
