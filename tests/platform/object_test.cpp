#include <gtest/gtest.h>

#include <cstddef>
#include <new>
#include <string>
#include <vector>

#include "platform/Object.h"

using namespace platform;

namespace {

std::vector<std::string> gTrace;

// Records what happens while it is freed, the way windows send themselves messages
// from dealloc.
class Traced : public NSObject {
 public:
  explicit Traced(std::string name) : mName(std::move(name)) {}
  ~Traced() override { gTrace.push_back(mName + " destructor"); }
  virtual std::string describe() const { return "traced"; }

 protected:
  void dealloc() override {
    gTrace.push_back(mName + " dealloc " + describe());
    // A reference taken and given back while being freed must not free again.
    retain();
    release();
    NSObject::dealloc();
  }
  std::string mName;
};

class TracedChild : public Traced {
 public:
  using Traced::Traced;
  std::string describe() const override { return "child"; }
};

TEST(NSObject, LastReleaseCallsDeallocWithVirtualsThenTheDestructor) {
  gTrace.clear();
  auto* o = new TracedChild("a");
  o->retain();
  o->release();
  EXPECT_TRUE(gTrace.empty());
  o->release();
  ASSERT_EQ(gTrace.size(), 2u);
  EXPECT_EQ(gTrace[0], "a dealloc child");
  EXPECT_EQ(gTrace[1], "a destructor");
}

TEST(NSObject, RegistryKnowsExactlyTheLiveObjects) {
  auto* o = new Traced("r");
  const void* address = o;
  EXPECT_TRUE(isLiveObject(address));
  EXPECT_EQ(liveObjectAs<Traced>(address), o);
  EXPECT_EQ(liveObjectAs<TracedChild>(address), nullptr);
  o->release();
  EXPECT_FALSE(isLiveObject(address));
  EXPECT_EQ(liveObject(address), nullptr);
  int onStack = 0;
  EXPECT_FALSE(isLiveObject(&onStack));
  EXPECT_FALSE(isLiveObject(nullptr));
}

// Always allocated in the same storage, so a freed object's address goes straight to
// the next one.
alignas(std::max_align_t) unsigned char gSlot[64];
class SameAddress : public NSObject {
 public:
  static void* operator new(std::size_t size) {
    if (size > sizeof(gSlot)) throw std::bad_alloc();
    return gSlot;
  }
  static void operator delete(void*) {}
};

TEST(NSObject, SerialsTellANewObjectFromAFreedOneAtTheSameAddress) {
  auto* first = new SameAddress;
  const void* address = first;
  std::uint64_t firstSerial = liveObjectSerial(address);
  EXPECT_NE(firstSerial, 0u);
  first->release();
  EXPECT_EQ(liveObjectSerial(address), 0u);
  auto* second = new SameAddress;
  ASSERT_EQ(static_cast<const void*>(second), address);
  EXPECT_NE(liveObjectSerial(address), 0u);
  EXPECT_NE(liveObjectSerial(address), firstSerial);
  second->release();
  int onStack = 0;
  EXPECT_EQ(liveObjectSerial(&onStack), 0u);
  EXPECT_EQ(liveObjectSerial(nullptr), 0u);
}

TEST(NSObject, AutoreleasePoolsNestAndDrainInnermostFirst) {
  gTrace.clear();
  {
    NSAutoreleasePool outer;
    (new Traced("outer"))->autorelease();
    {
      NSAutoreleasePool inner;
      (new Traced("inner"))->autorelease();
    }
    ASSERT_EQ(gTrace.size(), 2u);
    EXPECT_EQ(gTrace[0], "inner dealloc traced");
  }
  ASSERT_EQ(gTrace.size(), 4u);
  EXPECT_EQ(gTrace[2], "outer dealloc traced");
}

TEST(NSObject, RefRetainsCopiesAndAdoptsNewObjects) {
  gTrace.clear();
  {
    Ref<Traced> a = Ref<Traced>::adopt(new Traced("ref"));
    EXPECT_EQ(a->retainCount(), 1);
    Ref<Traced> b = a;
    EXPECT_EQ(a->retainCount(), 2);
    Ref<NSObject> base = b;
    EXPECT_EQ(a->retainCount(), 3);
  }
  EXPECT_EQ(gTrace.size(), 2u);
}

}  // namespace
