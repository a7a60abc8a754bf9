#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "platform/objects/ObjectRegistry.h"

namespace platform {

// Base of every reference-counted platform object. A new object holds one reference,
// its creator's. The last release() calls the virtual dealloc() before the destructor
// runs, so a subclass can still make virtual calls (send itself messages) while it is
// being freed; a subclass's dealloc() ends by calling its base's.
class NSObject {
 public:
  NSObject();
  NSObject(const NSObject&) = delete;
  NSObject& operator=(const NSObject&) = delete;
  virtual ~NSObject();

  NSObject* retain();
  void release();
  // Hands one reference to the innermost autorelease pool of this thread.
  NSObject* autorelease();
  int retainCount() const { return mRefs.load(std::memory_order_relaxed); }
  bool isDeallocating() const { return mDeallocating; }

 protected:
  virtual void dealloc() {}

 private:
  std::atomic<int> mRefs{1};
  bool mDeallocating = false;
};

// The class test: true when the object is a T or a subclass of it.
template <class T>
bool isKindOf(const NSObject* object) {
  return dynamic_cast<const T*>(object) != nullptr;
}

// Scoped autorelease pool; pools nest per thread and drain when they end.
class NSAutoreleasePool {
 public:
  NSAutoreleasePool();
  ~NSAutoreleasePool();
  NSAutoreleasePool(const NSAutoreleasePool&) = delete;
  NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;
  void drain();
};

// The live object at that address when it is a T, else null. An object of exactly that type
// answers without the cast's walk through its bases, which compares type names at each: a
// window handle is turned into its object on every message sent to it.
template <class T>
T* liveObjectAs(const void* pointer) {
  NSObject* object = liveObject(pointer);
  if constexpr (std::is_base_of_v<NSObject, T>) {
    if (object && typeid(*object) == typeid(T)) return static_cast<T*>(object);
  }
  return dynamic_cast<T*>(object);
}

// An owning reference: retains on copy, releases when it goes. adopt() takes over a
// reference the caller already holds (a new object's).
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(T* object) : mObject(object) {  // NOLINT: implicit by design, like a retained pointer
    if (mObject) mObject->retain();
  }
  static Ref adopt(T* object) {
    Ref ref;
    ref.mObject = object;
    return ref;
  }
  Ref(const Ref& other) : Ref(other.mObject) {}
  Ref(Ref&& other) noexcept : mObject(std::exchange(other.mObject, nullptr)) {}
  template <class U>
  Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.get())) {}
  Ref& operator=(Ref other) noexcept {
    std::swap(mObject, other.mObject);
    return *this;
  }
  ~Ref() {
    if (mObject) mObject->release();
  }
  T* get() const { return mObject; }
  T* operator->() const { return mObject; }
  T& operator*() const { return *mObject; }
  explicit operator bool() const { return mObject != nullptr; }
  // Gives up ownership without releasing.
  T* leak() { return std::exchange(mObject, nullptr); }
  void reset() { Ref().swap(*this); }
  void swap(Ref& other) noexcept { std::swap(mObject, other.mObject); }

 private:
  T* mObject = nullptr;
};

}  // namespace platform
