#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// Opens addresses and files with the desktop's handler: xdg-open started directly with
// posix_spawn (no shell, so nothing in the text is interpreted). Tests install a
// launcher so that nothing is really started.
class NSWorkspace {
 public:
  using Launcher = std::function<bool(const std::vector<std::string>& argv)>;

  static NSWorkspace& sharedWorkspace();

  bool openURL(const std::string& url);
  bool openFile(const std::string& path);
  // Starts the application with the document as its argument; false unless the
  // application is an executable file and the document names no option ('-' first).
  bool openFileWithApplication(const std::string& path, const std::string& application);
  // Starts the application; false unless it is an executable file.
  bool launchApplication(const std::string& application);
  static bool isExecutableFile(const std::string& path);

  // Installs a launcher (an empty one restores the real one); returns the previous.
  Launcher setLauncher(Launcher launcher);

  // Starts the program without a shell and reaps it in the background.
  static bool spawnDetached(const std::vector<std::string>& argv);

 private:
  NSWorkspace() = default;
  bool launch(const std::string& target);
  bool run(const std::vector<std::string>& argv);
  Launcher mLauncher;
};

}  // namespace platform
