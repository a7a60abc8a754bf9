#include "base/Log.h"
#include "windowing/app/detail/AppController.h"

#include <cstring>

#include "platform/core/DisplaySwitch.h"
#include "platform/x11/X11Display.h"
#include "windowing/app/ApiLookup.h"
#include "windowing/core/DefWindowProc.h"
#include "windowing/core/MessageQueue.h"
#include "windowing/kernel/WorkerThreads.h"

using platform::NSApplication;

namespace {

INT_PTR callHost(int code, INT_PTR parm1, INT_PTR parm2) {
  return AppMainProc ? AppMainProc(code, parm1, parm2) : 0;
}

NSApplication* makeApplication() {
  return new SWELLApplication;
}

}  // namespace

namespace swell {
bool installApplicationClass() {
  NSApplication::setPrincipalClass(makeApplication);
  return dynamic_cast<SWELLApplication*>(platform::NSApp()) != nullptr;
}
}  // namespace swell

void SWELLAppController::awakeFromNib() {
  SWELL_EnsureMultithreadedCocoa();
  platform::NSApp()->setDelegate(this);
  // The queue's timer needs the delegate in place.
  SWELL_Internal_PostMessage_Init();
  callHost(SWELLAPP_ONLOAD, 0, 0);
}

void SWELLAppController::applicationDidFinishLaunching(NSApplication*) {
  callHost(SWELLAPP_LOADED, 0, 0);
}

platform::NSApplicationTerminateReply SWELLAppController::applicationShouldTerminate(
    NSApplication*) {
  return callHost(SWELLAPP_SHOULDDESTROY, 0, 0) < 1 ? platform::NSTerminateNow
                                                    : platform::NSTerminateLater;
}

void SWELLAppController::applicationWillTerminate(NSApplication*) {
  callHost(SWELLAPP_DESTROY, 0, 0);
}

bool SWELLAppController::applicationOpenFile(NSApplication*, const std::string& path) {
  // A path that does not fit is refused whole: a cut path would name another file.
  if (path.empty() || path.size() >= swell::kOpenFilePathCapacity ||
      std::memchr(path.data(), 0, path.size())) {
    if (!path.empty())
      base::warn("swell-cocoa", "application:openFile: refused a path of %zu bytes", path.size());
    return false;
  }
  char buffer[swell::kOpenFilePathCapacity];
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return callHost(SWELLAPP_OPENFILE, reinterpret_cast<INT_PTR>(buffer), 0) > 0;
}

bool SWELLAppController::applicationOpenUntitledFile(NSApplication*) {
  return callHost(SWELLAPP_NEWFILE, 0, 0) > 0;
}

bool SWELLAppController::applicationShouldOpenUntitledFile(NSApplication*) {
  return callHost(SWELLAPP_SHOULDOPENNEWFILE, 0, 0) > 0;
}

void SWELLAppController::activationChanged(bool active) {
  if (callHost(SWELLAPP_ACTIVATE, active ? 1 : 0, 0) == 0)
    SWELL_BroadcastMessage(WM_ACTIVATEAPP, active ? 1 : 0, 0);
}

void SWELLAppController::applicationDidBecomeActive(NSApplication*) {
  activationChanged(true);
}

void SWELLAppController::applicationDidResignActive(NSApplication*) {
  activationChanged(false);
}

void SWELLAppController::onSysMenuCommand(platform::NSObject* sender) {
  auto* item = platform::liveObjectAs<platform::NSMenuItem>(sender);
  if (!item || item->tag() == 0) return;
  callHost(SWELLAPP_ONCOMMAND, static_cast<INT_PTR>(item->tag()), reinterpret_cast<INT_PTR>(item));
}

void* SWELLAppController::swellGetAPPAPIFunc() const {
  return reinterpret_cast<void*>(&SWELL_GetAPIFunctionByName);
}

namespace swell {
SWELLAppController* applicationController() {
  // One for the program, as one made from an interface file; the posted-message queue's
  // timer keeps calling it.
  static SWELLAppController* controller = new SWELLAppController;
  return controller;
}
}  // namespace swell

int SWELL_ApplicationMain(int, char**) {
  if (!swell::installApplicationClass()) {
    base::warn("swell-cocoa", "the application exists already and is not a SWELLApplication");
    return 1;
  }
  swell::applicationController()->awakeFromNib();
  // The program's windows show on the X display when DISPLAY names one that answers.
  platform::chooseDisplayBackend(&platform::makeX11DisplayBackend);
  platform::NSApp()->run();
  return 0;
}
