#include "platform/objects/ClassRegistry.h"

#include <map>
#include <mutex>

namespace platform {

namespace {
struct Registry {
  std::mutex mutex;
  std::map<std::string, NSClassFactory> factories;
};
Registry& registry() {
  static auto* r = new Registry;
  return *r;
}
}  // namespace

void NSRegisterClass(const std::string& name, NSClassFactory factory) {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (factory)
    r.factories[name] = factory;
  else
    r.factories.erase(name);
}

NSClassFactory NSClassFromString(const std::string& name) {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.factories.find(name);
  return it == r.factories.end() ? nullptr : it->second;
}

}  // namespace platform
