#pragma once

// What tests reach inside the object model and programs have no use for.

#include <cstddef>

namespace platform {

// How many slots the registry of live objects has now.
std::size_t liveObjectTableCapacityForTesting();

}  // namespace platform
