#pragma once

// The gallery's directory control: a button that offers the presets of a folder tree as a popup
// menu (a submenu per folder) and shows the name of the preset chosen. The gallery makes the
// tree when it starts and removes it when it ends.

#include <string>

#include "controls/Controls.h"

namespace gallery {

using namespace iplug::igraphics;

class PresetBrowser : public IDirBrowseControlBase {
 public:
  static constexpr const char* kExtension = "csx";
  static constexpr const char* kNoChoiceText = "Presets";

  explicit PresetBrowser(const IRECT& bounds);

  void Draw(IGraphics& g) override;
  // Opens the menu below the control.
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnPopupMenuSelection(IPopupMenu* menu, int valIdx) override;

  // The file of the chosen preset, or "" before a choice.
  const std::string& GetChosenFile() const { return mChosenFile; }

 private:
  std::string mChosenFile;
  std::string mChosenName;
};

// Makes a folder tree of presets under the temporary folder: "Factory" with presets and a
// subfolder of pads, "User" with one preset beside a file of another kind. Returns the root, or
// "" (logged) when it cannot be made.
std::string MakePresetTree();
// Removes a tree MakePresetTree made.
void RemovePresetTree(const std::string& root);

}  // namespace gallery
