#include "host/AppResources.h"

#include <cstdint>
#include <iterator>

#include "windowing/Win32.h"

namespace host {

namespace {

const char* resourceId(std::uintptr_t id) {
  return reinterpret_cast<const char*>(id);
}

// Dialog flag 8: the dialog keeps its controls' sizes (no size-to-fit).
constexpr int kFlagNoSizeToFit = 8;
constexpr int kMainDialogFlags = 28;
constexpr int kPreferencesFlags = 12;
// "Preferences" lays its controls out at one and a half points per dialog unit, and its size,
// 334 x 195 dialog units, is given in points at the same scale: at 334 x 195 points the Cancel
// button (220 + 50 units across) would lie outside the dialog.
constexpr float kPreferencesScale = 1.5f;
constexpr int kPreferencesWidth = static_cast<int>(334 * kPreferencesScale + 0.5f);
constexpr int kPreferencesHeight = static_cast<int>(195 * kPreferencesScale + 0.5f);

const SWELL_MenuGen_Entry kMainMenu[] = {
    {"/.BO^O:&File", 0, 0},
    {"&Preferences...\tCtrl+,", kCmdPreferences, 0},
    {"&Firmware Update", kCmdFirmwareUpdate, 0},
    {"&Quit\tCtrl+Q", kCmdQuit, 0},
    {"EN%%%^:", 0, 0},
    {"/.BO^O:&Debug", 0, 0},
    {"One", kCmdDebugOne, 0},
    {"Two", kCmdDebugTwo, 0},
    {"Three", kCmdDebugThree, 0},
    {"Four", kCmdDebugFour, 0},
    {"EN%%%^:", 0, 0},
    {"/.BO^O:&Help", 0, 0},
    {"&About", kCmdAbout, 0},
    {"&Read Manual", kCmdReadManual, 0},
    {"EN%%%^:", 0, 0},
};

const SWELL_DlgResourceControl kPreferencesControls[] = {
    {"__SWELL_BUTTON", 1, "OK", IDOK, 110, 105, 50, 14, 0},
    {"__SWELL_BUTTON", 0, "Apply", kApplyButton, 165, 105, 50, 14, 0},
    {"__SWELL_BUTTON", 0, "Cancel", IDCANCEL, 220, 105, 50, 14, 0},
    {"__SWELL_GROUP", 0, "MIDI Device Settings", 40020, 7, 7, 210, 90, 0},
    {"__SWELL_LABEL", -1, "Output Device", 40021, 15, 60, 80, 10, 0},
    {"__SWELL_LABEL", -1, "Input Device", 40022, 15, 30, 80, 10, 0},
    {"__SWELL_COMBO", 0, "", kMidiOutList, 15, 70, 180, 100, CBS_DROPDOWNLIST},
    {"__SWELL_COMBO", 0, "", kMidiInList, 15, 40, 180, 100, CBS_DROPDOWNLIST},
};

void MainMenuCreate(HMENU menu) {
  SWELL_GenerateMenuFromList(menu, kMainMenu, static_cast<int>(std::size(kMainMenu)));
}

void createMainDialog(HWND view, int flags) {
  SWELL_MakeSetCurParms(view, false, !(flags & kFlagNoSizeToFit), 1.0f, 1.0f, 0, 0);
}

void createPreferencesDialog(HWND view, int flags) {
  SWELL_MakeSetCurParms(view, false, !(flags & kFlagNoSizeToFit), kPreferencesScale,
                        kPreferencesScale, 0, 0);
  SWELL_GenerateDialogFromList(kPreferencesControls,
                               static_cast<int>(std::size(kPreferencesControls)));
}

}  // namespace

void RegisterAppResources() {
  // Made on the first call, so the order of static initialisers does not matter.
  static bool registered = false;
  if (registered) return;
  registered = true;
  static SWELL_MenuResourceIndex mainMenuResource{resourceId(kMainMenuId), MainMenuCreate};
  static SWELL_DialogResourceIndex mainDialogResource{
      resourceId(kMainDialogId), kAppName, kMainDialogFlags, createMainDialog, 300, 300};
  static SWELL_DialogResourceIndex preferencesResource{
      resourceId(kPreferencesDialogId), "Preferences",     kPreferencesFlags,
      createPreferencesDialog,          kPreferencesWidth, kPreferencesHeight};
  SWELL_RegisterMenuResource(&mainMenuResource);
  // Newest first: 40002 goes in before 40001 so the list reads 40001, 40002.
  SWELL_RegisterDialogResource(&preferencesResource);
  SWELL_RegisterDialogResource(&mainDialogResource);
}

}  // namespace host
