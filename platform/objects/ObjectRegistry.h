#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

class NSObject;

// The registry of live objects: every NSObject is in it from construction until its
// destructor (they write it through platform/objects/detail/ObjectRegistry.h). Handle-taking
// functions check a handle here before they touch it.
bool isLiveObject(const void* pointer);
// The serial the object at that address was registered with, or 0 when none is live
// there. Serials are never reused, so a record that keeps a pointer together with its
// serial can tell its object from a newer one that took over the same address.
std::uint64_t liveObjectSerial(const void* pointer);
// The object at that address when it is live, else null.
NSObject* liveObject(const void* pointer);
std::size_t liveObjectCount();

}  // namespace platform
