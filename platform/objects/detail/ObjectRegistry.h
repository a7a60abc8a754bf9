#pragma once

// The writers' side of the registry of live objects, which NSObject's constructor and
// destructor call; the readers' side is platform/objects/ObjectRegistry.h.

namespace platform::detail {

// Registers the object at that address under a new serial.
void registerObject(const void* object);
// Forgets the object at that address; its serial is never given out again.
void unregisterObject(const void* object);

}  // namespace platform::detail
