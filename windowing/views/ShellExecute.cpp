#include "windowing/views/ShellExecute.h"

#include <strings.h>

#include <string>

#include "base/Log.h"
#include "platform/system/Workspace.h"

namespace {

// A file that opens the system's file viewer: as good as nothing.
constexpr const char* kFileViewer = "explorer.exe";
// The text editor names that stand for "the document's own application".
constexpr const char* kTextEditorNames[] = {"notepad.exe", "notepad"};
// "/select,\"path\"": show a file in its folder.
constexpr const char* kSelectPrefix = "/select,\"";
constexpr const char* kApplicationSuffix = ".app";

bool isWebAddress(const std::string& text) {
  return strncasecmp(text.c_str(), "http://", 7) == 0 ||
         strncasecmp(text.c_str(), "https://", 8) == 0;
}

bool isTextEditor(const std::string& text) {
  for (const char* name : kTextEditorNames)
    if (strcasecmp(text.c_str(), name) == 0) return true;
  return false;
}

bool endsWithApplicationSuffix(const std::string& text) {
  const std::size_t n = std::string(kApplicationSuffix).size();
  return text.size() > n && strcasecmp(text.c_str() + text.size() - n, kApplicationSuffix) == 0;
}

// Opens the folder that holds the file named after the select prefix.
BOOL openContainingFolder(const std::string& selection) {
  std::string path = selection;
  if (!path.empty() && path.back() == '"') path.pop_back();
  const std::size_t slash = path.find_last_of("/\\");
  if (path.empty() || slash == std::string::npos) {
    base::warn("swell-cocoa", "ShellExecute: no folder in \"%s\"", path.c_str());
    return FALSE;
  }
  return platform::NSWorkspace::sharedWorkspace().openFile(path.substr(0, slash)) ? TRUE : FALSE;
}

}  // namespace

BOOL ShellExecute(HWND, const char*, const char* fileArg, const char* parametersArg, const char*,
                  int) {
  platform::NSWorkspace& workspace = platform::NSWorkspace::sharedWorkspace();
  std::string file = fileArg ? fileArg : "";
  std::string parameters = parametersArg ? parametersArg : "";
  if (isWebAddress(file)) return workspace.openURL(file) ? TRUE : FALSE;
  if (strcasecmp(file.c_str(), kFileViewer) == 0) file.clear();
  if (strcasecmp(parameters.c_str(), kFileViewer) == 0) parameters.clear();

  if (!file.empty() && !parameters.empty()) {
    // The text editor stands for the document's default application.
    if (isTextEditor(file)) return workspace.openFile(parameters) ? TRUE : FALSE;
    return workspace.openFileWithApplication(parameters, file) ? TRUE : FALSE;
  }
  const std::string target = file.empty() ? parameters : file;
  if (target.rfind(kSelectPrefix, 0) == 0)
    return openContainingFolder(target.substr(std::string(kSelectPrefix).size()));
  if (target.empty()) {
    base::warn("swell-cocoa", "ShellExecute: nothing to open");
    return FALSE;
  }
  if (endsWithApplicationSuffix(target)) return workspace.launchApplication(target) ? TRUE : FALSE;
  return workspace.openFile(target) ? TRUE : FALSE;
}
