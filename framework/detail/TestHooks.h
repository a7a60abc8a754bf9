#pragma once

// What tests reach inside the framework and programs have no use for.

#include <cstddef>

namespace wdl_detail {

using ReallocFunc = void* (*)(void*, std::size_t);
// Replaces the reallocation of every heap buffer (nullptr restores std::realloc), so that a
// test can make growth fail on demand.
void setHeapBufReallocForTesting(ReallocFunc func);

}  // namespace wdl_detail
