#include "platform/panels/FileList.h"

#include <dirent.h>
#include <sys/stat.h>

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "base/Log.h"
#include "platform/core/ControlDrawing.h"
#include "platform/display/Event.h"
#include "platform/objects/Color.h"

namespace platform {

namespace {

constexpr double kTextInset = 6;
constexpr std::uint64_t kExtendModifiers = NSEventModifierFlagShift | NSEventModifierFlagCommand;

bool isDirectoryEntry(const std::string& folder, const dirent* d) {
  if (d->d_type == DT_DIR) return true;
  if (d->d_type != DT_UNKNOWN && d->d_type != DT_LNK) return false;
  // A link counts as what it points to.
  struct stat st {};
  return stat(joinPath(folder, d->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string parentFolder(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return path;
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool FileListView::load(const std::string& folder, const EnabledTest& enabled) {
  mEntries.clear();
  mSelected.clear();
  mFolder = folder;
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    base::warn("platform", "cannot list folder \"%s\": %s", folder.c_str(), std::strerror(errno));
    fitHeight();
    return false;
  }
  while (const dirent* d = readdir(dir)) {
    if (d->d_name[0] == '.') continue;
    FileListEntry e{d->d_name, isDirectoryEntry(folder, d), true};
    e.enabled = !enabled || enabled(e.name, e.isDirectory);
    mEntries.push_back(std::move(e));
  }
  closedir(dir);
  std::sort(mEntries.begin(), mEntries.end(), [](const FileListEntry& a, const FileListEntry& b) {
    if (a.isDirectory != b.isDirectory) return a.isDirectory;
    int order = strcasecmp(a.name.c_str(), b.name.c_str());
    return order != 0 ? order < 0 : a.name < b.name;
  });
  fitHeight();
  if (onSelectionChange) onSelectionChange();
  return true;
}

int FileListView::rowNamed(const std::string& name) const {
  for (std::size_t i = 0; i < mEntries.size(); ++i)
    if (mEntries[i].name == name) return static_cast<int>(i);
  return -1;
}

bool FileListView::selectRow(int row, bool extend) {
  if (row < 0 || row >= static_cast<int>(mEntries.size()) || !mEntries[row].enabled) return false;
  if (!extend || !mMultiple) mSelected.clear();
  auto at = std::lower_bound(mSelected.begin(), mSelected.end(), row);
  if (at == mSelected.end() || *at != row) mSelected.insert(at, row);
  setNeedsDisplay(true);
  if (onSelectionChange) onSelectionChange();
  return true;
}

void FileListView::deselectAll() {
  mSelected.clear();
  setNeedsDisplay(true);
  if (onSelectionChange) onSelectionChange();
}

NSRect FileListView::rectOfRow(int row) const {
  return NSMakeRect(0, row * kRowHeight, frame().size.width, kRowHeight);
}

int FileListView::rowAtPoint(NSPoint point) const {
  // Written so that a point that is no number is on no row.
  const double row = std::floor(point.y / kRowHeight);
  if (!(row >= 0 && row < static_cast<double>(mEntries.size()))) return -1;
  return static_cast<int>(row);
}

void FileListView::mouseDown(const NSEvent& e) {
  Ref<FileListView> keep(this);
  int row = rowAtPoint(convertPointFromView(e.locationInWindow, nullptr));
  if (row < 0) {
    deselectAll();
    return;
  }
  if (!selectRow(row, (e.modifierFlags & kExtendModifiers) != 0)) return;
  if (e.clickCount >= 2 && onOpen) onOpen(row);
}

void FileListView::fitHeight() {
  double height = mEntries.size() * kRowHeight;
  if (NSView* clip = superview()) height = std::max(height, clip->frame().size.height);
  setFrameSize({frame().size.width, height});
  setNeedsDisplay(true);
}

void FileListView::drawRect(const NSRect& dirtyRect) {
  controldrawing::topDown(this, [&](CGContext* cg) {
    controldrawing::fillRect(cg, bounds(), NSColor::textBackgroundColor());
    NSColor grey = NSColor::colorWithRGBA(0.6, 0.6, 0.6, 1);
    // Only the rows in the dirty rectangle: a folder of many thousand entries draws the few
    // on show.
    const double rows = static_cast<double>(mEntries.size());
    auto rowEdge = [rows](double row) { return row >= 0 ? std::min(row, rows) : 0.0; };
    const double top = rowEdge(std::floor(dirtyRect.minY() / kRowHeight));
    const double bottom = std::max(top, rowEdge(std::ceil(dirtyRect.maxY() / kRowHeight)));
    const auto first = static_cast<std::size_t>(top), last = static_cast<std::size_t>(bottom);
    for (std::size_t i = first; i < last; ++i) {
      NSRect r = rectOfRow(static_cast<int>(i));
      if (std::binary_search(mSelected.begin(), mSelected.end(), static_cast<int>(i)))
        controldrawing::fillRect(cg, r, NSColor::selectedTextBackgroundColor());
      const FileListEntry& e = mEntries[i];
      r.origin.x += kTextInset;
      r.size.width -= kTextInset;
      controldrawing::drawText(cg, e.isDirectory ? e.name + "/" : e.name, r, mFont,
                               e.enabled ? NSColor::textColor() : grey, NSTextAlignmentLeft);
    }
  });
}

}  // namespace platform
