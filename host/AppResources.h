#pragma once

// The program's resources: dialogs, the menu and their command ids.
namespace host {

constexpr int kMainDialogId = 40001;
constexpr int kPreferencesDialogId = 40002;
constexpr int kMainMenuId = 40004;

// Menu commands.
constexpr int kCmdAbout = 40005;
constexpr int kCmdPreferences = 40006;
constexpr int kCmdQuit = 40007;
constexpr int kCmdReadManual = 40008;
constexpr int kCmdDebugOne = 40025;
constexpr int kCmdDebugThree = 40026;
constexpr int kCmdDebugFour = 40027;
constexpr int kCmdDebugTwo = 40028;
constexpr int kCmdFirmwareUpdate = 40029;

// "Preferences" controls.
constexpr int kMidiInList = 40018;
constexpr int kMidiOutList = 40019;
constexpr int kApplyButton = 40024;

// Links 40001, 40002 and 40004 into the windowing layer's resource lists; a second call
// does nothing. Runs at static initialisation of the host.
void RegisterAppResources();

// The application's name: the main window's title and the settings folder.
inline constexpr const char* kAppName = "CorvaneBrisko";

}  // namespace host
