#pragma once

// The gallery's second picture: the in-interface popup menu open over an editor page, with a
// submenu showing and that submenu scrolled part way down a long list, and a value being typed
// into a caption's text entry. The scene is driven as a user would drive it (a click opens the
// menu, the pointer moves over a row with a submenu, then down the submenu), on a clock of its
// own so the picture is the same on every run.

#include "graphics/Graphics.h"
#include "platform/system/Clock.h"

namespace gallery {

using iplug::igraphics::IControl;
using iplug::igraphics::IGraphics;
using iplug::igraphics::IPopupMenu;
using iplug::igraphics::IRECT;

class PopupScene {
 public:
  static constexpr int kWidth = 520;
  static constexpr int kHeight = 360;
  // Banks in the submenu: far more than the picture's height holds.
  static constexpr int kBanks = 32;
  // Rows the pointer scrolls the submenu down before it rests on a bank.
  static constexpr int kScrollSteps = 6;

  // Attaches the page to g, whose delegate must be the test parameters' delegate. The scene's
  // clock is the process clock while the scene lives.
  explicit PopupScene(IGraphics& g);
  ~PopupScene();
  PopupScene(const PopupScene&) = delete;
  PopupScene& operator=(const PopupScene&) = delete;

  // Opens the menu and its submenu, scrolls, starts the text entry and draws one frame.
  void Render();

  // The button whose menu the picture shows, and the menu.
  IControl* GetMenuButton() const { return mMenuButton; }
  IPopupMenu& GetMenu() const;
  // The caption whose value is being typed, and where its entry sits.
  IControl* GetEntryCaption() const { return mEntryCaption; }

 private:
  // Moves the pointer to the centre of r, as one mouse-move event.
  void MoveTo(const IRECT& r);
  void Advance(double ms);
  // Opens the caption's text entry and types into it (PopupSceneTextEntry.cpp).
  void StartTextEntry();

  IGraphics& mGraphics;
  platform::ManualClock mClock;
  IControl* mMenuButton = nullptr;
  IControl* mEntryCaption = nullptr;
};

}  // namespace gallery
