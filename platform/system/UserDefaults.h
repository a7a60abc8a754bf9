#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

namespace platform {

// The user's defaults, kept in memory for the life of the process: nothing is read from
// or written to disk, so a setting exists only when the program (or a test) made it.
class NSUserDefaults {
 public:
  using Value = std::variant<bool, std::string>;
  static NSUserDefaults& standardUserDefaults();

  std::optional<Value> objectForKey(const std::string& key) const;
  // The string value of a key, or nothing when absent or not a string.
  std::optional<std::string> stringForKey(const std::string& key) const;
  void setObject(const std::string& key, Value value);
  void removeObjectForKey(const std::string& key);
  void removeAll();

 private:
  mutable std::mutex mMutex;
  std::map<std::string, Value> mValues;
};

}  // namespace platform
