#include "controls/IDirBrowseControlBase.h"

#include <cstring>
#include <filesystem>

#include "base/Log.h"

namespace iplug {
namespace igraphics {

IDirBrowseControlBase::IDirBrowseControlBase(const IRECT& bounds, const char* extension,
                                             bool showFileExtensions, bool showEmptySubmenus)
    : IControl(bounds),
      mShowEmptySubmenus(showEmptySubmenus),
      mShowFileExtensions(showFileExtensions),
      mExtension(extension ? extension : "") {}

IDirBrowseControlBase::~IDirBrowseControlBase() = default;

void IDirBrowseControlBase::AddPath(const char* path, const char* label) {
  mPaths.emplace_back(path ? path : "");
  mPathLabels.emplace_back(label ? label : "");
}

IPopupMenu::Item* IDirBrowseControlBase::GetItem(int idx) const {
  return idx >= 0 && idx < NItems() ? mItems[static_cast<std::size_t>(idx)] : nullptr;
}

const char* IDirBrowseControlBase::GetFile(int tag) const {
  return tag >= 0 && tag < NFiles() ? mFiles[static_cast<std::size_t>(tag)].Get() : nullptr;
}

void IDirBrowseControlBase::SetUpMenu() {
  mFiles.clear();
  mItems.clear();
  mMainMenu.Clear();
  mSelectedItemIndex = -1;

  if (mPaths.size() == 1) {
    ScanPath(mPaths[0].Get(), mMainMenu);
  } else {
    for (std::size_t i = 0; i < mPaths.size(); ++i) {
      auto* submenu = new IPopupMenu();
      // A submenu the menu could not take was deleted with its item; it is not scanned.
      if (!mMainMenu.AddItem(mPathLabels[i].Get(), submenu, static_cast<int>(i))) continue;
      ScanPath(mPaths[i].Get(), *submenu);
    }
  }
  CollectItems(mMainMenu);
}

void IDirBrowseControlBase::CollectItems(const IPopupMenu& menu) {
  for (int i = 0; i < menu.NItems(); ++i) {
    IPopupMenu::Item* item = menu.GetItem(i);
    if (item->GetSubmenu())
      CollectItems(*item->GetSubmenu());
    else
      mItems.push_back(item);
  }
}

bool IDirBrowseControlBase::ItemTextForFile(const char* name, std::string& text) const {
  const char* ext = mExtension.Get();
  const char* found = std::strstr(name, ext);
  // The extension counts only after a dot that follows at least one character of the name,
  // and only where its first occurrence ends the name.
  if (!*ext || !found || found - name < 2 || found[-1] != '.') return false;
  if (std::strlen(found) != std::strlen(ext)) return false;
  const std::size_t stem = static_cast<std::size_t>(found - name) - 1;
  text = mShowFileExtensions || stem < 1 ? std::string(name) : std::string(name, stem);
  return true;
}

void IDirBrowseControlBase::ScanPath(const char* path, IPopupMenu& menu) {
  // The folders above the path count as the walk's own: a link back to any of them is a loop.
  std::vector<FolderId> chain;
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  if (!ec) {
    for (std::filesystem::path p = real.parent_path();; p = p.parent_path()) {
      FolderId id;
      if (DirectoryScanner::Identify(p.string(), id)) chain.push_back(id);
      if (p == p.root_path() || p.empty()) break;
    }
  }
  ScanDirectory(path, menu, chain, 0);
}

void IDirBrowseControlBase::ScanDirectory(const std::string& path, IPopupMenu& menu,
                                          std::vector<FolderId>& chain, int depth) {
  FolderId self;
  if (!DirectoryScanner::Identify(path, self)) {
    base::warn("controls", "IDirBrowseControlBase: \"%s\" is no folder that can be scanned",
               path.c_str());
  } else if (depth > kMaxScanDepth) {
    base::warn("controls", "IDirBrowseControlBase: \"%s\" lies deeper than %d folders; not scanned",
               path.c_str(), kMaxScanDepth);
  } else {
    chain.push_back(self);
    // Each level has its own scanner, so the parent's place in its folder survives the descent.
    DirectoryScanner scanner;
    for (bool more = scanner.First(path.c_str()) == 0; more; more = scanner.Next()) {
      const char* name = scanner.GetCurrentFN();
      if (name[0] == '.') continue;
      FolderId id;
      const DirectoryScanner::EKind kind = scanner.CurrentKind(&id);
      if (kind == DirectoryScanner::EKind::kFolder) {
        // A folder the walk is already inside, by whatever link, is a loop.
        bool loop = false;
        for (const FolderId& outer : chain)
          loop = loop || outer == id;
        if (loop) continue;
        auto* submenu = new IPopupMenu();
        // A submenu the menu could not take was deleted with its item; it is not scanned.
        if (!menu.AddItem(name, submenu, IPopupMenu::kSorted)) continue;
        ScanDirectory(scanner.GetCurrentFullFN(), *submenu, chain, depth + 1);
      } else if (kind == DirectoryScanner::EKind::kFile) {
        std::string text;
        if (!ItemTextForFile(name, text)) continue;
        const int tag = NFiles();
        menu.AddItem(new IPopupMenu::Item(text.c_str(), 0, tag), IPopupMenu::kSorted);
        mFiles.emplace_back(scanner.GetCurrentFullFN().c_str());
      }
    }
    chain.pop_back();
  }

  if (mShowEmptySubmenus) return;
  for (int i = menu.NItems() - 1; i >= 0; --i) {
    IPopupMenu::Item* item = menu.GetItem(i);
    if (item->GetSubmenu() && item->GetSubmenu()->NItems() == 0) menu.RemoveItem(item);
  }
}

}  // namespace igraphics
}  // namespace iplug
