#include "platform/objects/Object.h"

#include <vector>

#include "platform/objects/detail/ObjectRegistry.h"

namespace platform {

namespace {

// Per-thread stack of pools. The bottom pool collects objects autoreleased with no
// pool in place and is drained when the thread ends, so nothing leaks.
struct PoolStack {
  std::vector<std::vector<NSObject*>> pools{1};
  ~PoolStack() {
    while (!pools.empty()) {
      std::vector<NSObject*> objects = std::move(pools.back());
      pools.pop_back();
      for (NSObject* o : objects)
        o->release();
    }
  }
};
PoolStack& poolStack() {
  thread_local PoolStack stack;
  return stack;
}

void drainTop() {
  auto& pools = poolStack().pools;
  // Releasing may autorelease more objects into the same pool; drain until empty.
  while (!pools.back().empty()) {
    std::vector<NSObject*> objects = std::move(pools.back());
    pools.back().clear();
    for (NSObject* o : objects)
      o->release();
  }
}

}  // namespace

NSObject::NSObject() {
  detail::registerObject(this);
}

NSObject::~NSObject() {
  detail::unregisterObject(this);
}

NSObject* NSObject::retain() {
  mRefs.fetch_add(1, std::memory_order_relaxed);
  return this;
}

void NSObject::release() {
  if (mRefs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  // A reference taken and given back while dealloc() runs (a window retaining itself
  // around a message it sends) must not start a second deallocation.
  if (mDeallocating) return;
  mDeallocating = true;
  mRefs.store(1, std::memory_order_relaxed);
  dealloc();
  delete this;
}

NSObject* NSObject::autorelease() {
  poolStack().pools.back().push_back(this);
  return this;
}

NSAutoreleasePool::NSAutoreleasePool() {
  poolStack().pools.emplace_back();
}

NSAutoreleasePool::~NSAutoreleasePool() {
  drainTop();
  poolStack().pools.pop_back();
}

void NSAutoreleasePool::drain() {
  drainTop();
}

}  // namespace platform
