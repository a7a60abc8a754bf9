#pragma once

#include <cstddef>
#include <cstdlib>

#include "framework/detail/TestHooks.h"

// While alive, every WDL_HeapBuf reallocation asking for more than limit bytes fails.
class FailingRealloc {
 public:
  explicit FailingRealloc(size_t limit) {
    sLimit = limit;
    sLargestRequest = 0;
    wdl_detail::setHeapBufReallocForTesting(&Realloc);
  }
  ~FailingRealloc() { wdl_detail::setHeapBufReallocForTesting(nullptr); }
  FailingRealloc(const FailingRealloc&) = delete;
  FailingRealloc& operator=(const FailingRealloc&) = delete;

  // The largest size asked of the reallocation function since construction.
  static size_t LargestRequest() { return sLargestRequest; }

 private:
  static void* Realloc(void* p, size_t size) {
    if (size > sLargestRequest) sLargestRequest = size;
    if (size > sLimit) return nullptr;
    return std::realloc(p, size);
  }

  static inline size_t sLimit = 0;
  static inline size_t sLargestRequest = 0;
};
