#include "host/AppMain.h"

#include <algorithm>
#include <csignal>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Log.h"
#include "host/AppResources.h"
#include "host/IPlugAPPHost.h"
#include "platform/core/Application.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Text.h"
#include "platform/core/Timer.h"
#include "platform/core/Window.h"
#include "platform/objects/Object.h"
#include "platform/objects/Screen.h"

namespace host {

namespace {

HWND gMainWindow = nullptr;
std::unique_ptr<IPlugAPPHost> gHost;
// The host of the closed main window, kept while a call into its application may still be on
// the stack (the window closed from one of the editor's events, or from a host procedure nested
// in another) and deleted once none is.
std::unique_ptr<IPlugAPPHost> gClosedHost;
bool gClosedHostRetryPending = false;
int gProcedureDepth = 0;  // host procedures running, nested ones included
volatile std::sig_atomic_t gQuitRequested = 0;

// Registers the resources once the host unit is part of the program.
const bool kResourcesRegistered = (RegisterAppResources(), true);

int commandId(WPARAM wParam) {
  return static_cast<int>(wParam & 0xFFFF);
}

// Deletes the closed host once no host procedure runs and its editor handles no event. While the
// editor still does, it tries again a tick later in the run loop's default mode, which menu
// tracking and modal loops do not run.
void releaseClosedHostWhenIdle() {
  if (!gClosedHost || gProcedureDepth > 0) return;
  const iplug::IPlugAPP* app = gClosedHost->GetApp();
  if (app && app->EditorIsHandlingEvent()) {
    if (!gClosedHostRetryPending) {
      gClosedHostRetryPending = true;
      platform::NSTimer::scheduledTimerWithTimeInterval(iplug::IPlugAPP::kTimerIntervalMs / 1000.0,
                                                        false, [](platform::NSTimer*) {
                                                          gClosedHostRetryPending = false;
                                                          releaseClosedHostWhenIdle();
                                                        });
    }
    return;
  }
  gClosedHost.reset();
  base::log(base::LogLevel::Info, "host", "ports and stream closed");
}

// Counts the host procedures running; the outermost one releases a closed host as it returns.
class ProcedureScope {
 public:
  ProcedureScope() { ++gProcedureDepth; }
  ~ProcedureScope() {
    if (--gProcedureDepth == 0) releaseClosedHostWhenIdle();
  }
  ProcedureScope(const ProcedureScope&) = delete;
  ProcedureScope& operator=(const ProcedureScope&) = delete;
};

void terminateApplication() {
  platform::NSApp()->terminate(nullptr);
}

// One list of "Preferences": its control, and the devices behind its entries by the entries'
// item data. The entries from `listed` on are devices that are not listed, shown marked absent.
struct DeviceList {
  int id;
  std::vector<std::string> entries;
  std::size_t listed = 0;
};
// The lists of the one modal "Preferences" that runs at a time, while it runs.
HWND gPreferences = nullptr;
DeviceList gInputList{kMidiInList, {}};
DeviceList gOutputList{kMidiOutList, {}};

// The device of the list's selected entry.
std::string chosenDevice(HWND dialog, const DeviceList& list) {
  HWND box = GetDlgItem(dialog, list.id);
  const LRESULT index = SendMessage(box, CB_GETCURSEL, 0, 0);
  if (index < 0) return kNoMidiPort;
  const LRESULT entry = SendMessage(box, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (entry < 0 || static_cast<std::size_t>(entry) >= list.entries.size()) return kNoMidiPort;
  return list.entries[static_cast<std::size_t>(entry)];
}

// Fills a list with "off", the listed ports and, marked absent, the remembered device and the
// chosen one when they are not among them, and selects the chosen device. A list that shows
// these entries already is left as it is.
void fillList(HWND dialog, DeviceList& list, const std::vector<std::string>& names,
              const std::string& remembered, const std::string& chosen) {
  std::vector<std::string> entries = {kNoMidiPort};
  entries.insert(entries.end(), names.begin(), names.end());
  const std::size_t listed = entries.size();
  for (const std::string& device : {remembered, chosen})
    if (std::find(entries.begin(), entries.end(), device) == entries.end())
      entries.push_back(device);
  if (entries == list.entries && listed == list.listed) return;
  list.entries = std::move(entries);
  list.listed = listed;
  HWND box = GetDlgItem(dialog, list.id);
  SendMessage(box, CB_RESETCONTENT, 0, 0);
  LRESULT selected = 0;
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    const std::string text = i < listed ? list.entries[i] : list.entries[i] + kAbsentDeviceMark;
    const LRESULT index = SendMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) continue;
    SendMessage(box, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
    if (list.entries[i] == chosen) selected = index;
  }
  SendMessage(box, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// Has an open "Preferences" show the ports the host lists now, with the remembered devices and
// the user's choice as they are. Not while a list or menu is open: its rows would change under
// the user's pointer; the next look catches up.
void followDevicesInPreferences() {
  if (!gPreferences || !gHost) return;
  if (platform::NSRunLoop::mainRunLoop().currentMode() == platform::NSEventTrackingRunLoopMode)
    return;
  fillList(gPreferences, gInputList, gHost->MidiInputNames(), gHost->Settings().midiInDev,
           chosenDevice(gPreferences, gInputList));
  fillList(gPreferences, gOutputList, gHost->MidiOutputNames(), gHost->Settings().midiOutDev,
           chosenDevice(gPreferences, gOutputList));
}

// Uses the devices chosen and stores the changes; when they cannot be stored the user is told
// and false returned, so the dialog does not close as if they were.
bool applyPreferences(HWND dialog) {
  if (!gHost) return true;
  if (gHost->ApplyMidiChoice(chosenDevice(dialog, gInputList), chosenDevice(dialog, gOutputList)))
    return true;
  const std::string text = std::string(kSettingsNotSavedMessage) + "\n" + gHost->SettingsFile();
  MessageBox(dialog, text.c_str(), kSettingsNotSavedTitle, MB_OK);
  return false;
}

// Opens the application's editor in the main window, which takes the editor's size and is
// centred on the screen. Without an editor the window keeps the size of its resource.
void openEditor(HWND hwnd) {
  // A window handle is the window's view object itself.
  auto* content = platform::liveObjectAs<platform::NSView>(hwnd);
  iplug::IPlugAPP* app = gHost ? gHost->GetApp() : nullptr;
  if (!content || !app) return;
  auto* editor = static_cast<platform::NSView*>(app->OpenWindow(content));
  if (!editor) {
    base::warn("host", "the application has no editor to show");
    return;
  }
  platform::NSWindow* window = content->window();
  if (!window) return;
  window->setContentSize(editor->frame().size);
  if (const platform::NSScreen* screen = platform::NSScreen::mainScreen()) {
    const platform::NSRect area = screen->visibleFrame;
    const platform::NSRect frame = window->frame();
    window->setFrameOrigin({area.origin.x + (area.size.width - frame.size.width) / 2,
                            area.origin.y + (area.size.height - frame.size.height) / 2});
  }
}

// Escape and Return in a non-text view go to the view itself (dialog keys), not to menus.
INT_PTR routeDialogKey(const MSG* msg, const platform::NSEvent* event) {
  if (!msg || !msg->hwnd || !event || msg->message != WM_KEYDOWN) return 0;
  if ((msg->lParam & ~static_cast<LPARAM>(FVIRTKEY)) != 0) return 0;
  if (msg->wParam != VK_ESCAPE && msg->wParam != VK_RETURN) return 0;
  auto* view = platform::liveObjectAs<platform::NSView>(msg->hwnd);
  if (!view || dynamic_cast<platform::NSText*>(view)) return 0;
  view->keyDown(*event);
  return 1;
}

}  // namespace

HWND MainWindow() {
  return gMainWindow;
}

void RequestQuit() {
  gQuitRequested = 1;
}

bool QuitRequested() {
  return gQuitRequested != 0;
}

void ReleaseClosedHost() {
  gClosedHost.reset();
}

INT_PTR MainDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  const ProcedureScope scope;
  switch (msg) {
    case WM_INITDIALOG:
      openEditor(hwnd);
      SetTimer(hwnd, kIdleTimerId, iplug::IPlugAPP::kTimerIntervalMs, nullptr);
      SetTimer(hwnd, kDeviceTimerId, IPlugAPPHost::kDeviceWatchMs, nullptr);
      return 1;
    case WM_TIMER:
      if (wParam == kDeviceTimerId) {
        if (gHost) gHost->WatchDevices();
        followDevicesInPreferences();
        return 1;
      }
      if (wParam != kIdleTimerId) return 0;
      if (gHost && gHost->GetApp()) {
        gHost->GetApp()->OnTimer();
        gHost->LogDroppedMidi();
      }
      if (gQuitRequested) {
        // A dialog or alert is up: it ends first, as cancelled, and the next tick quits from
        // the main loop (terminating inside a modal run would leave the run going).
        if (platform::NSApp()->modalWindow()) {
          platform::NSApp()->abortModal();
          return 1;
        }
        gQuitRequested = 0;
        base::log(base::LogLevel::Info, "host", "quitting on a signal");
        terminateApplication();
      }
      return 1;
    case WM_CLOSE:
      terminateApplication();
      return 1;
    case WM_COMMAND:
      switch (commandId(wParam)) {
        case kCmdPreferences:
          SWELL_DialogBox(
              SWELL_DialogResourceHead,
              reinterpret_cast<const char*>(static_cast<UINT_PTR>(kPreferencesDialogId)), hwnd,
              PreferencesDlgProc, 0);
          return 1;
        case kCmdQuit:
          terminateApplication();
          return 1;
        case IDOK:
        case IDCANCEL:
          // Return and Escape in the main window: it has no default or cancel button.
          return 1;
        default:
          if (gHost && gHost->GetApp()) gHost->GetApp()->OnHostMenuCommand(commandId(wParam));
          return 1;
      }
    case WM_DESTROY:
      KillTimer(hwnd, kIdleTimerId);
      KillTimer(hwnd, kDeviceTimerId);
      gMainWindow = nullptr;
      if (gHost && gHost->GetApp()) {
        gHost->GetApp()->CloseWindow();
        gHost->GetApp()->OnEditorClosed();
      }
      // The ports and the stream close with the host, once nothing of its application is on
      // the stack: the window may have been closed from inside one of the editor's events.
      IPlugAPPHost::SetInstance(nullptr);
      gClosedHost = std::move(gHost);
      base::log(base::LogLevel::Info, "host", "main window closed");
      return 1;
    default:
      return 0;
  }
}

INT_PTR PreferencesDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  const ProcedureScope scope;
  switch (msg) {
    case WM_INITDIALOG:
      if (!gHost) return 1;
      gPreferences = hwnd;
      gHost->ProbeMidiPorts();
      for (DeviceList* list : {&gInputList, &gOutputList})
        list->entries.clear();
      fillList(hwnd, gInputList, gHost->MidiInputNames(), gHost->Settings().midiInDev,
               gHost->Settings().midiInDev);
      fillList(hwnd, gOutputList, gHost->MidiOutputNames(), gHost->Settings().midiOutDev,
               gHost->Settings().midiOutDev);
      return 1;
    case WM_DESTROY:
      if (gPreferences == hwnd) gPreferences = nullptr;
      return 0;
    case WM_COMMAND:
      switch (commandId(wParam)) {
        case IDOK:
          if (applyPreferences(hwnd)) EndDialog(hwnd, IDOK);
          return 1;
        case kApplyButton:
          applyPreferences(hwnd);
          return 1;
        case IDCANCEL:
          EndDialog(hwnd, IDCANCEL);
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

}  // namespace host

INT_PTR AppMainProc(int code, INT_PTR parm1, INT_PTR parm2) {
  using namespace host;
  const ProcedureScope scope;
  switch (code) {
    case SWELLAPP_ONLOAD:
      if (!kResourcesRegistered) return 0;
      base::log(base::LogLevel::Info, "host", "starting");
      // A device name cut to fit its list keeps this marker whole, as the name's own end is cut.
      platform::controldrawing::keepEndingWhole(kAbsentDeviceMark);
      gHost = std::make_unique<IPlugAPPHost>(SettingsPath());
      IPlugAPPHost::SetInstance(gHost.get());
      gHost->Init();
      return 0;
    case SWELLAPP_LOADED: {
      HMENU menu =
          SWELL_LoadMenu(SWELL_MenuResourceHead,
                         reinterpret_cast<const char*>(static_cast<UINT_PTR>(kMainMenuId)));
      gMainWindow =
          SWELL_CreateDialog(SWELL_DialogResourceHead,
                             reinterpret_cast<const char*>(static_cast<UINT_PTR>(kMainDialogId)),
                             nullptr, MainDlgProc, 0);
      if (!gMainWindow) {
        base::warn("host", "the main window could not be made");
        if (menu) DestroyMenu(menu);
        return 0;
      }
      if (menu) {
        SetMenu(gMainWindow, menu);
        SWELL_SetDefaultModalWindowMenu(menu);
      }
      ShowWindow(gMainWindow, SW_SHOW);
      base::log(base::LogLevel::Info, "host", "main window open");
      // Told once the window is up, so the alert stands over it.
      if (gHost && gHost->SoundcardMessageDue())
        MessageBox(gMainWindow, gHost->SoundcardMessage().c_str(), kSoundcardMessageTitle, MB_OK);
      return 0;
    }
    case SWELLAPP_DESTROY:
      if (gMainWindow) DestroyWindow(gMainWindow);
      return 0;
    case SWELLAPP_ONCOMMAND:
      if (gMainWindow && (parm1 & 0xFFFF))
        SendMessage(gMainWindow, WM_COMMAND, static_cast<WPARAM>(parm1 & 0xFFFF), 0);
      return 0;
    case SWELLAPP_PROCESSMESSAGE:
      return routeDialogKey(reinterpret_cast<const MSG*>(parm1),
                            reinterpret_cast<const platform::NSEvent*>(parm2));
    default:
      return 0;
  }
}
