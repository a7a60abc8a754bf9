#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/Log.h"
#include "base/Utf8.h"
#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/View.h"
#include "platform/objects/Object.h"
#include "platform/panels/OpenPanel.h"
#include "platform/panels/SavePanel.h"
#include "platform/system/MainThread.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/dialogs/DialogPlacement.h"
#include "windowing/dialogs/DialogResources.h"
#include "windowing/menus/Menus.h"
#include "windowing/stddialogs/StandardDialogs.h"
#include "windowing/stddialogs/detail/FileChooserState.h"
#include "windowing/stddialogs/detail/FilterList.h"

using platform::NSModalResponse;
using platform::NSOpenPanel;
using platform::NSSavePanel;
using platform::Ref;

namespace {

// The longest initial name or folder taken from an initial file.
constexpr std::size_t kMaxInitialPath = 2047;
// The command the "File type:" chooser sends when its selection changes (CBN_SELCHANGE).
constexpr WPARAM kFileTypeSelectionChanged = (1u << 16) | swell::kFileTypeComboId;

struct PendingTemplate {
  const char* resid = nullptr;
  DLGPROC proc = nullptr;
  SWELL_DialogResourceIndex* head = nullptr;
  bool set = false;
};

PendingTemplate& pendingTemplate() {
  static PendingTemplate pending;
  return pending;
}

// Creates the dialog set for the next chooser under the parent and forgets it.
HWND takeTemplate(HWND parent) {
  PendingTemplate t = std::exchange(pendingTemplate(), {});
  return t.set ? SWELL_CreateDialog(t.head, t.resid, parent, t.proc, 0) : nullptr;
}

// Where a chooser starts: the initial file's folder and name, else the initial folder.
struct InitialPlace {
  std::string folder, name;
};

InitialPlace initialPlace(const char* initialdir, const char* initialfile) {
  InitialPlace place;
  if (initialfile && *initialfile && *initialfile != '.') {
    std::string file(initialfile, base::utf8PrefixLength(initialfile, kMaxInitialPath));
    std::size_t slash = file.find_last_of('/');
    if (slash == std::string::npos) {
      place.name = file;
    } else {
      place.folder = slash == 0 ? "/" : file.substr(0, slash);
      place.name = file.substr(slash + 1);
    }
  }
  if (place.folder.empty() && initialdir && *initialdir)
    place.folder.assign(initialdir, base::utf8PrefixLength(initialdir, kMaxInitialPath));
  return place;
}

// While a chooser runs, a copy of the default modal-window menu is the main menu; then
// the key window's menu (or the default window menu) takes its place again.
class ModalMenus {
 public:
  ModalMenus() {
    HMENU modal = SWELL_GetDefaultModalWindowMenu();
    if (!modal) return;
    mCopy = SWELL_DuplicateMenu(modal);
    if (auto* menu = platform::liveObjectAs<platform::NSMenu>(mCopy))
      platform::NSApp()->setMainMenu(menu);
  }
  ~ModalMenus() {
    if (!mCopy) return;
    HMENU restore = nullptr;
    if (platform::NSWindow* key = platform::NSApp()->keyWindow())
      restore = SWELL_FindMenuForWindow(swell::handleFromObject(key->contentView()),
                                        swell::handleFromObject(key), false);
    if (!restore) restore = SWELL_GetDefaultWindowMenu();
    platform::NSApp()->setMainMenu(platform::liveObjectAs<platform::NSMenu>(restore));
    DestroyMenu(mCopy);
  }
  ModalMenus(const ModalMenus&) = delete;
  ModalMenus& operator=(const ModalMenus&) = delete;

 private:
  HMENU mCopy = nullptr;
};

NSModalResponse runChooser(NSSavePanel* panel) {
  ModalMenus menus;
  // Over the window the user is working in: the chooser belongs to it.
  swell::centreDialogOverOwner(panel, swell::dialogOwnerOf(nullptr));
  return panel->runModal();
}

// Destroys the accessory (and the dialogs in it) and takes it out of the panel.
void removeAccessory(NSSavePanel* panel) {
  if (platform::NSView* accessory = panel->accessoryView()) {
    Ref<platform::NSView> keep(accessory);
    DestroyWindow(swell::handleFromObject(accessory));
    panel->setAccessoryView(nullptr);
  }
}

bool refusedOffMainThread(const char* function) {
  if (platform::isMainThread()) return false;
  base::warn("swell-cocoa", "%s called off the main thread; nothing shown", function);
  return true;
}

// Writes a chosen path to the caller's buffer; one that does not fit is not cut (a cut
// path names another file) but refused, leaving the buffer empty.
bool writePath(const std::string& path, char* fn, int fnsize, const char* function) {
  if (path.empty()) return false;
  if (path.size() >= static_cast<std::size_t>(fnsize)) {
    base::warn("swell-cocoa", "%s: the chosen path (%zu bytes) does not fit a buffer of %d",
               function, path.size(), fnsize);
    return false;
  }
  std::memcpy(fn, path.c_str(), path.size() + 1);
  return true;
}

// The extension fix-up of a confirmed name, done before the panel asks about replacing
// what it names: an allowed extension is kept; else the initial file's extension, the
// selected type or the first allowed type is added.
class SaveNameFixUp : public platform::NSSavePanelDelegate {
 public:
  explicit SaveNameFixUp(const char* initialfile) : mInitialFile(initialfile) {}

  std::string panelUserEnteredPath(NSSavePanel* panel, const std::string& path) override {
    const std::vector<std::string>& allowed = panel->allowedFileTypes();
    std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
      const char* extension = path.c_str() + dot + 1;
      for (const std::string& type : allowed)
        if (strcasecmp(type.c_str(), extension) == 0) return path;
    }
    if (mInitialFile && *mInitialFile == '.') return path + mInitialFile;
    const char* selected = swell::selectedFileType();
    if (selected && *selected) return path + "." + swell::extensionText(selected);
    if (!allowed.empty()) return path + "." + allowed.front();
    return path;
  }

 private:
  const char* mInitialFile;
};

}  // namespace

void BrowseFile_SetTemplate(const char* dlgid, DLGPROC dlgProc,
                            SWELL_DialogResourceIndex* reshead) {
  pendingTemplate() = {dlgid, dlgProc, reshead, true};
}

bool BrowseForSaveFile(const char* text, const char* initialdir, const char* initialfile,
                       const char* extlist, char* fn, int fnsize) {
  if (fn && fnsize > 0) fn[0] = '\0';
  if (refusedOffMainThread("BrowseForSaveFile")) return false;
  platform::NSAutoreleasePool pool;
  swell::selectedFileType() = nullptr;
  auto panel = Ref<NSSavePanel>::adopt(new NSSavePanel);
  if (text) panel->setTitle(text);
  std::vector<std::string> extensions = swell::filterExtensions(extlist, nullptr);
  HWND panelHandle = swell::handleFromObject(panel.get());

  swell::FileTypeAccessoryParams params{extlist, initialfile};
  HWND accessory = nullptr;
  if (extensions.size() >= 2)
    accessory = SWELL_CreateDialog(
        nullptr, reinterpret_cast<const char*>(kBareWindowRequest), panelHandle,
        reinterpret_cast<DLGPROC>(swell::fileTypeAccessoryProc), reinterpret_cast<LPARAM>(&params));
  HWND dialog = takeTemplate(accessory ? accessory : panelHandle);
  if (accessory && dialog) {
    // The caller's dialog goes under the chooser, the accessory grown to hold both.
    RECT chooser, below;
    GetClientRect(accessory, &chooser);
    GetClientRect(dialog, &below);
    SetWindowPos(dialog, nullptr, 0, chooser.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(accessory, nullptr, 0, 0, std::max(chooser.right, below.right),
                 chooser.bottom + below.bottom, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(dialog, SW_SHOW);
  }
  if (accessory) {
    panel->setAccessoryView(swell::objectFromHandleAs<platform::NSView>(accessory));
    SendMessage(accessory, WM_COMMAND, kFileTypeSelectionChanged, 0);
    ShowWindow(accessory, SW_SHOW);
  } else if (!extensions.empty()) {
    panel->setAllowedFileTypes(extensions);
  }

  InitialPlace place = initialPlace(initialdir, initialfile);
  if (!place.folder.empty()) panel->setDirectory(place.folder);
  panel->setNameFieldStringValue(place.name);
  SaveNameFixUp fixUp(initialfile);
  panel->setSavePanelDelegate(&fixUp);
  NSModalResponse answer = runChooser(panel.get());
  removeAccessory(panel.get());
  panel->setSavePanelDelegate(nullptr);
  panel->close();
  if (answer != platform::NSModalResponseOK || !fn || fnsize < 1) return false;
  return writePath(panel->path(), fn, fnsize, "BrowseForSaveFile");
}

char* BrowseForFiles(const char* text, const char* initialdir, const char* initialfile,
                     bool allowmul, const char* extlist) {
  if (refusedOffMainThread("BrowseForFiles")) return nullptr;
  platform::NSAutoreleasePool pool;
  auto panel = Ref<NSOpenPanel>::adopt(new NSOpenPanel);
  if (text) panel->setTitle(text);
  panel->setCanChooseFiles(true);
  panel->setCanChooseDirectories(false);
  panel->setResolvesAliases(true);
  panel->setAllowsMultipleSelection(allowmul);
  std::vector<std::string> extensions = swell::filterExtensions(extlist, nullptr);
  if (!extensions.empty()) panel->setAllowedFileTypes(std::move(extensions));
  takeTemplate(swell::handleFromObject(panel.get()));
  InitialPlace place = initialPlace(initialdir, initialfile);
  if (!place.folder.empty()) panel->setDirectory(place.folder);
  panel->setNameFieldStringValue(place.name);
  NSModalResponse answer = runChooser(panel.get());
  removeAccessory(panel.get());
  panel->close();
  const std::vector<std::string>& paths = panel->paths();
  if (answer != platform::NSModalResponseOK || paths.empty()) return nullptr;

  // One file: the path and two NULs. Several: an empty string, each path, a final NUL.
  bool several = allowmul && paths.size() > 1;
  std::string list = several ? std::string(1, '\0') : std::string();
  for (const std::string& path : paths) {
    list += path;
    list += '\0';
  }
  list += '\0';
  auto* result = static_cast<char*>(std::malloc(list.size()));
  if (!result) {
    base::warn("swell-cocoa", "BrowseForFiles: no memory for %zu bytes of paths", list.size());
    return nullptr;
  }
  std::memcpy(result, list.data(), list.size());
  return result;
}

bool BrowseForDirectory(const char* text, const char* initialdir, char* fn, int fnsize) {
  if (fn && fnsize > 0) fn[0] = '\0';
  if (refusedOffMainThread("BrowseForDirectory")) return false;
  platform::NSAutoreleasePool pool;
  auto panel = Ref<NSOpenPanel>::adopt(new NSOpenPanel);
  if (text) panel->setTitle(text);
  panel->setCanChooseFiles(false);
  panel->setCanChooseDirectories(true);
  panel->setCanCreateDirectories(true);
  panel->setResolvesAliases(true);
  takeTemplate(swell::handleFromObject(panel.get()));
  if (initialdir && *initialdir) panel->setDirectory(initialdir);
  NSModalResponse answer = runChooser(panel.get());
  removeAccessory(panel.get());
  panel->close();
  if (answer != platform::NSModalResponseOK || !fn || fnsize < 1) return false;
  return writePath(panel->path(), fn, fnsize, "BrowseForDirectory");
}
