#pragma once

#include <cstddef>
#include <string>

#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/View.h"
#include "windowing/Win32Types.h"
#include "windowing/app/AppStub.h"
#include "windowing/core/PostMessageHooks.h"

// The application class: every key event is filtered for collapsed auto-repeats, then
// offered to the host's callback and to the dialog shortcuts before the platform
// routes it; every other event is routed as by the platform.
class SWELLApplication : public platform::NSApplication {
 public:
  void sendEvent(const platform::NSEvent& event) override;

 private:
  void routeKey(const platform::NSEvent& event);
  // Escape, Return, Command+W and Command+C/X/V of dialogs; false when the key is not
  // one of those and goes on to the platform.
  bool dialogShortcut(const platform::NSEvent& event, platform::NSView* focus,
                      platform::NSView* content);
};

// The application delegate: turns the application's life into calls of the host's
// callback, and serves the posted-message queue.
class SWELLAppController : public platform::NSObject,
                           public platform::NSApplicationDelegate,
                           public platform::ActionTarget,
                           public SwellMessageQueueDelegate {
 public:
  // Load: the multithreaded switch, this object as the application's delegate, the
  // posted-message queue, then the callback's code 1.
  void awakeFromNib();

  void applicationDidFinishLaunching(platform::NSApplication* app) override;
  platform::NSApplicationTerminateReply applicationShouldTerminate(
      platform::NSApplication* app) override;
  void applicationWillTerminate(platform::NSApplication* app) override;
  bool applicationOpenFile(platform::NSApplication* app, const std::string& path) override;
  bool applicationOpenUntitledFile(platform::NSApplication* app) override;
  bool applicationShouldOpenUntitledFile(platform::NSApplication* app) override;
  void applicationDidBecomeActive(platform::NSApplication* app) override;
  void applicationDidResignActive(platform::NSApplication* app) override;

  // The action of the application menu's items.
  void onSysMenuCommand(platform::NSObject* sender);
  void performAction(int action, platform::NSObject* sender) override { onSysMenuCommand(sender); }

  // The layer's functions by name, for modules loaded at run time.
  void* swellGetAPPAPIFunc() const;

 private:
  void activationChanged(bool active);
};

namespace swell {
// Makes SWELLApplication the application class; true when the application is (or
// will be) one.
bool installApplicationClass();
// The controller of the program's start-up, made on first use and kept for the program.
SWELLAppController* applicationController();
// The longest file path handed to the host, in bytes with its NUL.
inline constexpr std::size_t kOpenFilePathCapacity = 4096;
}  // namespace swell
