#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/objects/Object.h"

namespace platform {

// Options of a process activity, as the platform numbers them.
inline constexpr std::uint64_t NSActivityIdleSystemSleepDisabled = 1ULL << 20;
inline constexpr std::uint64_t NSActivityLatencyCritical = 0xFF00000000ULL;

// One declared activity: what it asks for and why.
class NSActivity : public NSObject {
 public:
  NSActivity(std::uint64_t options, std::string reason)
      : mOptions(options), mReason(std::move(reason)) {}
  std::uint64_t options() const { return mOptions; }
  const std::string& reason() const { return mReason; }

 private:
  std::uint64_t mOptions;
  std::string mReason;
};

// The process's declared activities. Linux does not throttle idle applications, so an
// activity has no effect on the system; the list is kept so that what the program
// declared can be observed (and a backend could one day inhibit sleep from it).
class NSProcessInfo {
 public:
  static NSProcessInfo& processInfo();

  // A new activity, in the list until endActivity (the caller's reference).
  NSActivity* beginActivity(std::uint64_t options, const std::string& reason);
  // Takes the activity out of the list; an unknown one is ignored.
  void endActivity(NSActivity* activity);
  std::size_t activeActivityCount() const;
  std::vector<std::string> activeActivityReasons() const;

 private:
  NSProcessInfo() = default;
  mutable std::mutex mMutex;
  std::vector<Ref<NSActivity>> mActivities;
};

}  // namespace platform
