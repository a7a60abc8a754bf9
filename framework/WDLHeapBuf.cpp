#include "framework/WDLHeapBuf.h"

#include <atomic>
#include <cstdlib>

#include "framework/detail/TestHooks.h"

namespace wdl_detail {

namespace {

std::atomic<ReallocFunc> gRealloc{&std::realloc};

}  // namespace

void* heapBufRealloc(void* ptr, size_t size) {
  return gRealloc.load(std::memory_order_relaxed)(ptr, size);
}

void setHeapBufReallocForTesting(ReallocFunc func) {
  gRealloc.store(func ? func : &std::realloc, std::memory_order_relaxed);
}

}  // namespace wdl_detail
