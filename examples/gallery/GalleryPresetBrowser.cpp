#include "GalleryPresetBrowser.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "GalleryControls.h"
#include "base/Log.h"

namespace gallery {

namespace fs = std::filesystem;

namespace {

const IColor kButtonColor(255, 70, 90, 120);
const IColor kButtonOverColor(255, 95, 120, 160);

// Relative paths of the tree's files.
const char* const kTreeFiles[] = {"Factory/Bright.csx",     "Factory/Warm.csx",
                                  "Factory/Pads/Glass.csx", "Factory/Pads/Choir.csx",
                                  "User/Stage.csx",         "User/readme.txt"};

}  // namespace

PresetBrowser::PresetBrowser(const IRECT& bounds)
    : IDirBrowseControlBase(bounds, kExtension, false) {}

void PresetBrowser::Draw(IGraphics& g) {
  const char* text = mChosenName.empty() ? kNoChoiceText : mChosenName.c_str();
  DrawMenuButton(g, mRECT, mMouseIsOver ? kButtonOverColor : kButtonColor, text, &mBlend);
}

void PresetBrowser::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (IGraphics* ui = GetUI()) ui->CreatePopupMenu(*this, mMainMenu, mRECT);
}

void PresetBrowser::OnPopupMenuSelection(IPopupMenu* menu, int valIdx) {
  const IPopupMenu::Item* item = menu ? menu->GetChosenItem() : nullptr;
  const char* file = item ? GetFile(item->GetTag()) : nullptr;
  if (!file) return;
  for (int i = 0; i < NItems(); ++i) {
    if (GetItem(i) == item) mSelectedItemIndex = i;
  }
  mChosenFile = file;
  mChosenName = item->GetText();
  SetDirty(false);
}

std::string MakePresetTree() {
  std::error_code ec;
  const fs::path temp = fs::temp_directory_path(ec);
  if (ec) {
    base::warn("gallery", "no temporary folder for the presets: %s", ec.message().c_str());
    return "";
  }
  std::string pattern = (temp / "gallery-presets-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    base::warn("gallery", "cannot make a preset folder in %s", temp.c_str());
    return "";
  }
  const fs::path root = pattern;
  for (const char* file : kTreeFiles) {
    const fs::path path = root / file;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path);
    out << "preset\n";
    if (!out) base::warn("gallery", "cannot write %s", path.c_str());
  }
  return root.string();
}

void RemovePresetTree(const std::string& root) {
  if (root.empty()) return;
  std::error_code ec;
  fs::remove_all(root, ec);
  if (ec) base::warn("gallery", "cannot remove %s: %s", root.c_str(), ec.message().c_str());
}

}  // namespace gallery
