#pragma once

#include <string>
#include <vector>

#include "platform/panels/SavePanel.h"

namespace platform {

// The modal chooser of existing files or folders: the save panel's browser without a
// name field. Files not of the allowed types (or every file when files cannot be
// chosen) are greyed. A double click enters a folder and chooses a file; Open chooses
// the selected entries, or with nothing selected and folders choosable the shown folder.
class NSOpenPanel : public NSSavePanel {
 public:
  // The panel is not released when closed: its creator releases it.
  NSOpenPanel();

  bool canChooseFiles() const { return mCanChooseFiles; }
  void setCanChooseFiles(bool can) { mCanChooseFiles = can; }
  bool canChooseDirectories() const { return mCanChooseDirectories; }
  void setCanChooseDirectories(bool can) { mCanChooseDirectories = can; }
  bool allowsMultipleSelection() const;
  void setAllowsMultipleSelection(bool allows);
  // Chosen links are replaced by what they point to.
  bool resolvesAliases() const { return mResolvesAliases; }
  void setResolvesAliases(bool resolves) { mResolvesAliases = resolves; }

  // The chosen paths, in list order (empty before a run ends with OK).
  const std::vector<std::string>& paths() const { return mPaths; }

  bool isOpenPanel() const override { return true; }
  void setAccessoryViewDisclosed(bool disclosed) override { mDisclosed = disclosed; }
  bool isAccessoryViewDisclosed() const { return mDisclosed; }

 protected:
  bool confirm() override;
  bool isSelectable(const std::string& name, bool isDirectory) const override;
  void rowOpened(int row) override;
  void selectionChanged() override {}
  void clearChoice() override {
    NSSavePanel::clearChoice();
    mPaths.clear();
  }

 private:
  bool mCanChooseFiles = true;
  bool mCanChooseDirectories = false;
  bool mResolvesAliases = true;
  bool mDisclosed = false;
  std::vector<std::string> mPaths;
};

}  // namespace platform
