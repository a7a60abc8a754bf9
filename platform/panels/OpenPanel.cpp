#include "platform/panels/OpenPanel.h"

#include <climits>
#include <cstdlib>

#include "platform/core/Button.h"
#include "platform/panels/FileList.h"

namespace platform {

NSOpenPanel::NSOpenPanel() : NSSavePanel(false) {
  setCanCreateDirectories(false);
}

bool NSOpenPanel::allowsMultipleSelection() const {
  return fileList()->allowsMultipleSelection();
}

void NSOpenPanel::setAllowsMultipleSelection(bool allows) {
  fileList()->setAllowsMultipleSelection(allows);
}

bool NSOpenPanel::isSelectable(const std::string& name, bool isDirectory) const {
  return isDirectory || (mCanChooseFiles && isAllowedFileName(name));
}

void NSOpenPanel::rowOpened(int row) {
  const FileListEntry& e = fileList()->entries()[row];
  if (e.isDirectory)
    showFolder(joinPath(fileList()->folder(), e.name));
  else
    okButton()->performClick();
}

bool NSOpenPanel::confirm() {
  const std::string& folder = fileList()->folder();
  const std::vector<int>& rows = fileList()->selectedRows();
  std::vector<std::string> chosen;
  for (int row : rows) {
    const FileListEntry& e = fileList()->entries()[row];
    if (e.isDirectory && !mCanChooseDirectories) {
      // A lone folder that cannot be chosen is entered instead.
      if (rows.size() == 1) showFolder(joinPath(folder, e.name));
      continue;
    }
    if (!e.isDirectory && !mCanChooseFiles) continue;
    chosen.push_back(joinPath(folder, e.name));
  }
  if (rows.empty() && mCanChooseDirectories) chosen.push_back(folder);
  if (chosen.empty()) return false;
  if (mResolvesAliases)
    for (std::string& path : chosen)
      if (char* real = realpath(path.c_str(), nullptr)) {
        path = real;
        std::free(real);
      }
  mPaths = std::move(chosen);
  mPath = mPaths.front();
  return true;
}

}  // namespace platform
