#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "base/Log.h"
#include "base/Utf8.h"
#include "windowing/kernel/Kernel.h"
#include "windowing/kernel/detail/KernelBundle.h"

using namespace swell;

namespace {

struct Bundle {
  std::string folder;
};

// A loaded module; its address is the module handle.
struct Module {
  void* library = nullptr;  // the dynamic loader's handle
  std::unique_ptr<Bundle> bundle;
  std::int32_t refCount = 1;
  SWELL_dllMain_t swellEntry = nullptr;
  DllMain_t dllEntry = nullptr;
  void* lastFunction = nullptr;  // the last symbol GetProcAddress found
};

// The loaded modules by the loader's handle. The mutex is held across loading,
// the entry-point calls and freeing; it is recursive so an entry point may load
// or free a library itself. Never destroyed: a library may be freed while
// static objects are torn down at exit.
struct ModuleTable {
  std::recursive_mutex mutex;
  std::map<std::int64_t, Module*> byLibrary;
};

ModuleTable& modules() {
  static ModuleTable* instance = new ModuleTable;
  return *instance;
}

std::int64_t keyOf(void* library) {
  return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(library));
}

// The module behind a handle, or null when the table does not hold it. Called
// with the table's mutex held.
Module* findModuleLocked(ModuleTable& table, HINSTANCE h) {
  if (!h) return nullptr;
  for (const auto& entry : table.byLibrary) {
    if (reinterpret_cast<HINSTANCE>(entry.second) == h) return entry.second;
  }
  return nullptr;
}

HINSTANCE handleOf(Module* module) {
  return reinterpret_cast<HINSTANCE>(module);
}

bool isFolder(const char* path) {
  struct stat info;
  return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

HINSTANCE LoadLibrary(const char* path) {
  return LoadLibraryGlobals(path, false);
}

HINSTANCE LoadLibraryGlobals(const char* path, bool globalSymbols) {
  if (!path || !*path) return nullptr;

  // A folder is a bundle whose executable is loaded; any other name goes to
  // the dynamic loader as it stands, so a plain name is looked for on the
  // loader's search path.
  std::unique_ptr<Bundle> bundle;
  std::string file = path;
  if (isFolder(path)) {
    bundle = std::make_unique<Bundle>();
    bundle->folder = bundleFolderPath(path);
    file = bundleExecutablePath(path);
    if (file.empty()) {
      base::warn("swell-cocoa", "LoadLibrary: bundle %s names no usable executable", path);
      return nullptr;
    }
  }
  void* library = ::dlopen(file.c_str(), RTLD_NOW | (globalSymbols ? RTLD_GLOBAL : RTLD_LOCAL));
  if (!library) {
    const char* why = ::dlerror();
    base::warn("swell-cocoa", "LoadLibrary: cannot load %s: %s", path, why ? why : "unknown error");
    return nullptr;
  }

  ModuleTable& table = modules();
  std::lock_guard<std::recursive_mutex> lock(table.mutex);
  auto found = table.byLibrary.find(keyOf(library));
  if (found != table.byLibrary.end()) {
    // The loader counted this load too; the matching FreeLibrary gives it back.
    ++found->second->refCount;
    return handleOf(found->second);
  }

  auto* module = new Module;
  module->library = library;
  module->bundle = std::move(bundle);
  table.byLibrary.emplace(keyOf(library), module);
  HINSTANCE h = handleOf(module);

  auto swellEntry = reinterpret_cast<SWELL_dllMain_t>(::dlsym(library, "SWELL_dllMain"));
  if (!swellEntry) return h;
  if (!swellEntry(h, DLL_PROCESS_ATTACH, nullptr)) {
    FreeLibrary(h);
    return nullptr;
  }
  auto dllEntry = reinterpret_cast<DllMain_t>(::dlsym(library, "DllMain"));
  if (!dllEntry) {
    module->swellEntry = swellEntry;
    return h;
  }
  if (dllEntry(h, DLL_PROCESS_ATTACH, nullptr)) {
    module->swellEntry = swellEntry;
    module->dllEntry = dllEntry;
    return h;
  }
  swellEntry(h, DLL_PROCESS_DETACH, nullptr);
  FreeLibrary(h);
  return nullptr;
}

BOOL FreeLibrary(HINSTANCE h) {
  ModuleTable& table = modules();
  std::lock_guard<std::recursive_mutex> lock(table.mutex);
  Module* module = findModuleLocked(table, h);
  if (!module) {
    if (h)
      base::warn("swell-cocoa", "FreeLibrary: %p is not a loaded module", static_cast<void*>(h));
    return FALSE;
  }
  const bool last = --module->refCount <= 0;
  if (last) {
    table.byLibrary.erase(keyOf(module->library));
    if (module->swellEntry) module->swellEntry(h, DLL_PROCESS_DETACH, nullptr);
    if (module->dllEntry) module->dllEntry(h, DLL_PROCESS_DETACH, nullptr);
  }
  ::dlclose(module->library);  // the reference the matching load took
  if (last) delete module;
  return TRUE;
}

void* GetProcAddress(HINSTANCE h, const char* symbol) {
  if (!h || !symbol) return nullptr;
  ModuleTable& table = modules();
  std::lock_guard<std::recursive_mutex> lock(table.mutex);
  Module* module = findModuleLocked(table, h);
  if (!module) {
    base::warn("swell-cocoa", "GetProcAddress: %p is not a loaded module", static_cast<void*>(h));
    return nullptr;
  }
  void* function = ::dlsym(module->library, symbol);
  if (function) module->lastFunction = function;
  return function;
}

void* SWELL_GetBundle(HINSTANCE h) {
  ModuleTable& table = modules();
  std::lock_guard<std::recursive_mutex> lock(table.mutex);
  Module* module = findModuleLocked(table, h);
  return module ? module->bundle.get() : nullptr;
}

DWORD GetModuleFileName(HINSTANCE h, char* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  std::string path;
  if (!h) {
    path = mainBundleFolder();
  } else {
    ModuleTable& table = modules();
    std::lock_guard<std::recursive_mutex> lock(table.mutex);
    Module* module = findModuleLocked(table, h);
    if (!module) {
      base::warn("swell-cocoa", "GetModuleFileName: %p is not a loaded module",
                 static_cast<void*>(h));
      return 0;
    }
    if (module->bundle) {
      path = module->bundle->folder;
    } else if (module->lastFunction) {
      Dl_info info{};
      if (::dladdr(module->lastFunction, &info) && info.dli_fname) path = info.dli_fname;
    }
  }
  return static_cast<DWORD>(base::copyUtf8(path, buffer, size));
}
