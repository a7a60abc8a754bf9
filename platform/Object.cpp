#include "platform/Object.h"

#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

// The registry outlives every static object that might still hold platform objects,
// so it is never destroyed.
// Each entry maps an address to its object's serial.
struct Registry {
  std::shared_mutex mutex;
  std::unordered_map<const void*, std::uint64_t> objects;
  std::uint64_t lastSerial = 0;
};
Registry& registry() {
  static Registry* r = new Registry;
  return *r;
}

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
  Registry& r = registry();
  std::unique_lock lock(r.mutex);
  r.objects[this] = ++r.lastSerial;
}

NSObject::~NSObject() {
  Registry& r = registry();
  std::unique_lock lock(r.mutex);
  r.objects.erase(this);
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

bool isLiveObject(const void* pointer) {
  if (!pointer) return false;
  Registry& r = registry();
  std::shared_lock lock(r.mutex);
  return r.objects.count(pointer) != 0;
}

NSObject* liveObject(const void* pointer) {
  return isLiveObject(pointer) ? static_cast<NSObject*>(const_cast<void*>(pointer)) : nullptr;
}

std::uint64_t liveObjectSerial(const void* pointer) {
  if (!pointer) return 0;
  Registry& r = registry();
  std::shared_lock lock(r.mutex);
  auto it = r.objects.find(pointer);
  return it == r.objects.end() ? 0 : it->second;
}

std::size_t liveObjectCount() {
  Registry& r = registry();
  std::shared_lock lock(r.mutex);
  return r.objects.size();
}

}  // namespace platform
