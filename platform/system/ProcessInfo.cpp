#include "platform/system/ProcessInfo.h"

#include <algorithm>

namespace platform {

NSProcessInfo& NSProcessInfo::processInfo() {
  static auto* info = new NSProcessInfo;
  return *info;
}

NSActivity* NSProcessInfo::beginActivity(std::uint64_t options, const std::string& reason) {
  auto* activity = new NSActivity(options, reason);
  std::lock_guard<std::mutex> lock(mMutex);
  mActivities.emplace_back(activity);
  return activity;
}

void NSProcessInfo::endActivity(NSActivity* activity) {
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = std::find_if(mActivities.begin(), mActivities.end(),
                         [activity](const Ref<NSActivity>& a) { return a.get() == activity; });
  if (it != mActivities.end()) mActivities.erase(it);
}

std::size_t NSProcessInfo::activeActivityCount() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mActivities.size();
}

std::vector<std::string> NSProcessInfo::activeActivityReasons() const {
  std::lock_guard<std::mutex> lock(mMutex);
  std::vector<std::string> reasons;
  for (const auto& a : mActivities)
    reasons.push_back(a->reason());
  return reasons;
}

}  // namespace platform
