#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/objects/Object.h"
#include "platform/objects/detail/TestHooks.h"

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

// The registry under load: objects made and freed while lookups run.
struct Known {
  const void* address;
  std::uint64_t serial;
};

std::vector<Known> makeObjects(std::size_t count) {
  std::vector<Known> objects;
  for (std::size_t i = 0; i < count; ++i) {
    auto* o = new NSObject;
    objects.push_back({o, liveObjectSerial(o)});
  }
  return objects;
}

void releaseObjects(const std::vector<Known>& objects) {
  for (const Known& k : objects)
    static_cast<NSObject*>(const_cast<void*>(k.address))->release();
}

// Threads that look up objects alive throughout, and the address last freed elsewhere, until
// stopped; each counts the lookups that found a live object dead or with another serial.
class Lookups {
 public:
  static constexpr int kThreads = 2;
  explicit Lookups(const std::vector<Known>& stable) {
    for (int t = 0; t < kThreads; ++t)
      mThreads.emplace_back([this, &stable] {
        while (!mStop.load(std::memory_order_relaxed)) {
          for (const Known& k : stable)
            if (liveObjectSerial(k.address) != k.serial || liveObject(k.address) == nullptr)
              mWrong.fetch_add(1);
          // Possibly freed, possibly another object's by now: it must only not crash.
          isLiveObject(freed.load(std::memory_order_relaxed));
          mRounds.fetch_add(1);
        }
      });
  }
  // Stops the threads once they have made a round each on average; returns the wrong lookups.
  int stop() {
    while (mRounds.load() < kThreads)
      std::this_thread::yield();
    mStop = true;
    for (auto& t : mThreads)
      t.join();
    return mWrong.load();
  }
  std::atomic<const void*> freed{nullptr};

 private:
  std::atomic<bool> mStop{false};
  std::atomic<int> mWrong{0};
  std::atomic<int> mRounds{0};
  std::vector<std::thread> mThreads;
};

// The objects that fill the table as far as it goes without growing, less `spare` slots; as
// full, the probe runs are long and freeing an object moves others within them.
std::vector<Known> fillTable(std::size_t spare) {
  const std::size_t fullest = liveObjectTableCapacityForTesting() / 2;
  const std::size_t live = liveObjectCount() + spare;
  return makeObjects(fullest > live ? fullest - live : 0);
}

TEST(NSObjectRegistry, LookupsNeverMissLiveObjectsWhileOtherThreadsMakeAndFreeObjects) {
  constexpr int kMakers = 2;
  constexpr int kRounds = 300;
  constexpr std::size_t kBatch = 16;
  const std::vector<Known> stable = fillTable(kMakers * kBatch);
  Lookups lookups(stable);
  std::vector<std::thread> makers;
  std::atomic<int> wrongSerials{0};
  for (int m = 0; m < kMakers; ++m)
    makers.emplace_back([&] {
      for (int round = 0; round < kRounds; ++round) {
        std::vector<Known> batch = makeObjects(kBatch);
        for (const Known& k : batch)
          if (liveObjectSerial(k.address) != k.serial) wrongSerials.fetch_add(1);
        lookups.freed.store(batch.front().address);
        releaseObjects(batch);
      }
    });
  for (auto& m : makers)
    m.join();
  EXPECT_EQ(lookups.stop(), 0);
  EXPECT_EQ(wrongSerials.load(), 0);
  for (const Known& k : stable)
    EXPECT_EQ(liveObjectSerial(k.address), k.serial);
  releaseObjects(stable);
}

TEST(NSObjectRegistry, GrowsThroughSeveralDoublingsWhileLookupsRun) {
  const std::vector<Known> stable = makeObjects(64);
  const std::size_t before = liveObjectTableCapacityForTesting();
  const std::size_t liveBefore = liveObjectCount();
  std::vector<Known> grown;
  {
    Lookups lookups(stable);
    while (liveObjectTableCapacityForTesting() < 8 * before)
      grown.push_back(makeObjects(1).front());
    EXPECT_EQ(lookups.stop(), 0);
  }
  EXPECT_EQ(liveObjectCount(), liveBefore + grown.size());
  for (const Known& k : grown)
    ASSERT_EQ(liveObjectSerial(k.address), k.serial);
  releaseObjects(grown);
  for (const Known& k : grown)
    ASSERT_FALSE(isLiveObject(k.address));
  EXPECT_EQ(liveObjectCount(), liveBefore);
  releaseObjects(stable);
}

// Objects freed in any order leave every other one findable, in a table as full as it gets,
// and endless churn reuses the same table.
TEST(NSObjectRegistry, ChurnKeepsEveryOtherObjectFindableAndTheTableItsSize) {
  constexpr int kRounds = 40;
  constexpr std::size_t kBatch = 400;
  const std::size_t capacity = liveObjectTableCapacityForTesting();
  const std::vector<Known> kept = fillTable(kBatch);
  std::mt19937 random(12);
  for (int round = 0; round < kRounds; ++round) {
    std::vector<Known> batch = makeObjects(kBatch);
    std::shuffle(batch.begin(), batch.end(), random);
    const std::vector<Known> freed(batch.begin(), batch.begin() + kBatch / 2);
    const std::vector<Known> left(batch.begin() + kBatch / 2, batch.end());
    releaseObjects(freed);
    for (const Known& k : freed)
      ASSERT_EQ(liveObjectSerial(k.address), 0u);
    for (const Known& k : left)
      ASSERT_EQ(liveObjectSerial(k.address), k.serial);
    for (const Known& k : kept)
      ASSERT_EQ(liveObjectSerial(k.address), k.serial);
    releaseObjects(left);
    ASSERT_EQ(liveObjectTableCapacityForTesting(), capacity) << "round " << round;
  }
  releaseObjects(kept);
}

}  // namespace
