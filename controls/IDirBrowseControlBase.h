#pragma once

// The base of a control that offers the files of one or more folders, filtered by extension, as
// a popup menu: each folder a submenu mirroring its tree, each matching file an item whose tag
// is the index of its full path in the file list. A derived control draws it and opens the menu.

#include <string>
#include <vector>

#include "controls/DirectoryScanner.h"
#include "framework/WDLString.h"
#include "graphics/IControl.h"
#include "graphics/IPopupMenu.h"

namespace iplug {
namespace igraphics {

class IDirBrowseControlBase : public IControl {
 public:
  // Folders nested deeper than this below a path are not scanned (logged).
  static constexpr int kMaxScanDepth = 32;

  // extension is matched without its dot; null counts as "".
  IDirBrowseControlBase(const IRECT& bounds, const char* extension, bool showFileExtensions = true,
                        bool showEmptySubmenus = false);
  ~IDirBrowseControlBase() override = 0;

  // Adds a folder to scan and the text of its submenu (null counts as "").
  void AddPath(const char* path, const char* label);
  // Rescans every folder and rebuilds the menu, the file list and the item list.
  void SetUpMenu();

  int NItems() const { return static_cast<int>(mItems.size()); }
  IPopupMenu::Item* GetItem(int idx) const;
  int NFiles() const { return static_cast<int>(mFiles.size()); }
  // The full path of the file of a tag, or null for a tag that names none.
  const char* GetFile(int tag) const;
  IPopupMenu& GetMenu() { return mMainMenu; }
  int GetSelectedItemIdx() const { return mSelectedItemIndex; }

 protected:
  // Scans one of the added paths into menu.
  void ScanPath(const char* path, IPopupMenu& menu);
  // Adds the folder's matching files and subfolders to menu, then drops the folders without
  // any unless empty folders are shown. chain holds the identities of the folders the walk is
  // inside and those above the path it started from; depth counts folders below that path.
  void ScanDirectory(const std::string& path, IPopupMenu& menu, std::vector<FolderId>& chain,
                     int depth);
  // The item text of a file name, or false when the name does not match the extension.
  bool ItemTextForFile(const char* name, std::string& text) const;

  int mSelectedItemIndex = -1;
  bool mShowEmptySubmenus;
  bool mShowFileExtensions;
  IPopupMenu mMainMenu;
  std::vector<WDL_String> mPaths;
  std::vector<WDL_String> mPathLabels;
  std::vector<WDL_String> mFiles;
  // Every file item of the menu tree in menu order; the menu owns them.
  std::vector<IPopupMenu::Item*> mItems;
  WDL_String mExtension;

 private:
  void CollectItems(const IPopupMenu& menu);
};

}  // namespace igraphics
}  // namespace iplug
