#include "platform/objects/ObjectRegistry.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <type_traits>

#include "platform/objects/detail/ObjectRegistry.h"
#include "platform/objects/detail/TestHooks.h"

// Every handle check reads the registry, so readers take no lock. The table is open-addressed
// with linear probing, and a sequence number guards it: writers, serialised by one mutex among
// themselves, make it odd while they change slots and even again after; a reader reads it,
// probes, and reads it again, and keeps its result only when the number was even and did not
// change. A reader that keeps meeting writers waits for their mutex instead, so a thread making
// objects in a loop cannot starve it. Every shared field is atomic and no table is ever freed
// (a reader may still be probing an old one), so a reader that lost the race reads nonsense it
// then discards, never freed memory.

namespace platform {

namespace {

constexpr int kInitialCapacityLog2 = 10;  // 1,024 slots
// The table grows when more than half its slots would be taken, keeping probe runs short.
constexpr std::size_t kLoadDivisor = 2;
// Optimistic reads a reader tries before it waits for the writers' mutex.
constexpr int kOptimisticReads = 16;
// Fibonacci hashing: the multiplication spreads the address's bits into the high ones.
constexpr std::uint64_t kHashMultiplier = 0x9E3779B97F4A7C15ull;

struct Slot {
  std::atomic<const void*> key{nullptr};  // null: empty
  std::atomic<std::uint64_t> serial{0};
};

struct Table {
  Table(int log2, const Table* before)
      : capacityLog2(log2), previous(before), slots(new Slot[std::size_t{1} << log2]) {}
  std::size_t capacity() const { return std::size_t{1} << capacityLog2; }
  std::size_t next(std::size_t index) const { return (index + 1) & (capacity() - 1); }
  // How far past its home slot a key sits at `index`.
  std::size_t displacement(const void* key, std::size_t index) const {
    return (index - home(key)) & (capacity() - 1);
  }
  std::size_t home(const void* key) const {
    return static_cast<std::size_t>(
        (static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key)) * kHashMultiplier) >>
        (64 - capacityLog2));
  }

  const int capacityLog2;
  // The table this one replaced, kept reachable and never freed: a reader may still be in it.
  const Table* const previous;
  Slot* const slots;
};

// Constant-initialised and never destroyed, so objects made or freed by other static
// objects' constructors and destructors find it in place, and readers reach it without a
// guard.
struct Registry {
  std::mutex writers;
  std::atomic<std::uint64_t> sequence{0};  // odd while a writer changes slots
  std::atomic<Table*> table{nullptr};      // the current table; none before the first object
  std::atomic<std::size_t> count{0};
  std::uint64_t lastSerial = 0;  // the writers' alone
};
static_assert(std::is_trivially_destructible_v<Registry>);
constinit Registry gRegistry;

// The serial of the key in the table, or 0. Bounded by the capacity, so a probe through a
// table a writer is changing still ends.
std::uint64_t probe(const Table* table, const void* key) {
  if (!table) return 0;
  const Table& t = *table;
  std::size_t index = t.home(key);
  for (std::size_t step = 0; step < t.capacity(); ++step, index = t.next(index)) {
    const void* found = t.slots[index].key.load(std::memory_order_acquire);
    if (found == key) return t.slots[index].serial.load(std::memory_order_acquire);
    if (!found) return 0;
  }
  return 0;
}

// Writers' stores are releases and readers' loads acquires, so a reader that saw any store of
// a section also sees the odd sequence number stored before it.
class WriteSection {
 public:
  explicit WriteSection(Registry& r) : mRegistry(r) { advance(); }
  ~WriteSection() { advance(); }
  WriteSection(const WriteSection&) = delete;
  WriteSection& operator=(const WriteSection&) = delete;

 private:
  void advance() {
    mRegistry.sequence.store(mRegistry.sequence.load(std::memory_order_relaxed) + 1,
                             std::memory_order_release);
  }
  Registry& mRegistry;
};

void storeSlot(Slot& slot, const void* key, std::uint64_t serial) {
  slot.serial.store(serial, std::memory_order_release);
  slot.key.store(key, std::memory_order_release);
}

// Puts the key in its probe run; returns false when it was there already (its serial is then
// replaced).
bool place(Table& t, const void* key, std::uint64_t serial) {
  std::size_t index = t.home(key);
  for (;;) {
    const void* found = t.slots[index].key.load(std::memory_order_relaxed);
    if (!found || found == key) {
      storeSlot(t.slots[index], key, serial);
      return !found;
    }
    index = t.next(index);
  }
}

// A doubled table holding every key, made current. The old one stays for readers still in it.
Table& grow(Registry& r, const Table& old) {
  auto* bigger = new Table(old.capacityLog2 + 1, &old);
  for (std::size_t i = 0; i < old.capacity(); ++i)
    if (const void* key = old.slots[i].key.load(std::memory_order_relaxed))
      place(*bigger, key, old.slots[i].serial.load(std::memory_order_relaxed));
  r.table.store(bigger, std::memory_order_release);
  return *bigger;
}

// Empties a slot by moving later keys of its run back into the hole, so no probe run is ever
// broken and no deleted-slot markers pile up: churn reuses the same table forever.
void removeAt(Table& t, std::size_t hole) {
  for (std::size_t index = t.next(hole);; index = t.next(index)) {
    const void* key = t.slots[index].key.load(std::memory_order_relaxed);
    if (!key) break;
    // A key may move back only as far as its home slot.
    if (t.displacement(key, index) < ((index - hole) & (t.capacity() - 1))) continue;
    storeSlot(t.slots[hole], key, t.slots[index].serial.load(std::memory_order_relaxed));
    hole = index;
  }
  storeSlot(t.slots[hole], nullptr, 0);
}

}  // namespace

namespace detail {

void registerObject(const void* object) {
  Registry& r = gRegistry;
  std::lock_guard lock(r.writers);
  WriteSection section(r);
  Table* t = r.table.load(std::memory_order_relaxed);
  if (!t) {
    t = new Table(kInitialCapacityLog2, nullptr);
    r.table.store(t, std::memory_order_release);
  }
  const std::size_t count = r.count.load(std::memory_order_relaxed);
  if ((count + 1) * kLoadDivisor > t->capacity()) t = &grow(r, *t);
  if (place(*t, object, ++r.lastSerial)) r.count.store(count + 1, std::memory_order_relaxed);
}

void unregisterObject(const void* object) {
  Registry& r = gRegistry;
  std::lock_guard lock(r.writers);
  Table* current = r.table.load(std::memory_order_relaxed);
  if (!current) return;
  Table& t = *current;
  std::size_t index = t.home(object);
  for (std::size_t step = 0; step < t.capacity(); ++step, index = t.next(index)) {
    const void* found = t.slots[index].key.load(std::memory_order_relaxed);
    if (!found) return;
    if (found == object) {
      WriteSection section(r);
      removeAt(t, index);
      r.count.store(r.count.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);
      return;
    }
  }
}

}  // namespace detail

std::uint64_t liveObjectSerial(const void* pointer) {
  if (!pointer) return 0;
  Registry& r = gRegistry;
  for (int attempt = 0; attempt < kOptimisticReads; ++attempt) {
    const std::uint64_t before = r.sequence.load(std::memory_order_acquire);
    if (before & 1) continue;
    const std::uint64_t serial = probe(r.table.load(std::memory_order_acquire), pointer);
    if (r.sequence.load(std::memory_order_acquire) == before) return serial;
  }
  std::lock_guard lock(r.writers);
  return probe(r.table.load(std::memory_order_relaxed), pointer);
}

bool isLiveObject(const void* pointer) {
  return liveObjectSerial(pointer) != 0;
}

NSObject* liveObject(const void* pointer) {
  return isLiveObject(pointer) ? static_cast<NSObject*>(const_cast<void*>(pointer)) : nullptr;
}

std::size_t liveObjectCount() {
  return gRegistry.count.load(std::memory_order_relaxed);
}

std::size_t liveObjectTableCapacityForTesting() {
  std::lock_guard lock(gRegistry.writers);
  const Table* t = gRegistry.table.load(std::memory_order_relaxed);
  return t ? t->capacity() : std::size_t{1} << kInitialCapacityLog2;
}

}  // namespace platform
