#include "platform/system/UserDefaults.h"

namespace platform {

NSUserDefaults& NSUserDefaults::standardUserDefaults() {
  static NSUserDefaults* defaults = new NSUserDefaults;
  return *defaults;
}

std::optional<NSUserDefaults::Value> NSUserDefaults::objectForKey(const std::string& key) const {
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mValues.find(key);
  if (it == mValues.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> NSUserDefaults::stringForKey(const std::string& key) const {
  auto value = objectForKey(key);
  if (!value || !std::holds_alternative<std::string>(*value)) return std::nullopt;
  return std::get<std::string>(*value);
}

void NSUserDefaults::setObject(const std::string& key, Value value) {
  std::lock_guard<std::mutex> lock(mMutex);
  mValues[key] = std::move(value);
}

void NSUserDefaults::removeObjectForKey(const std::string& key) {
  std::lock_guard<std::mutex> lock(mMutex);
  mValues.erase(key);
}

void NSUserDefaults::removeAll() {
  std::lock_guard<std::mutex> lock(mMutex);
  mValues.clear();
}

}  // namespace platform
