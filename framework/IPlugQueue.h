#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace iplug {

// A fixed-size ring between one producer thread and one consumer thread, without locks
// or allocation, so the producer may be a real-time callback. It holds N - 1 entries:
// one slot always stays empty to tell full from empty, and a push into a full ring is
// refused (the entry is dropped by the caller).
template <class T, std::size_t N>
class IRingQueue {
  static_assert(N >= 2, "a ring needs room for one entry and the empty slot");

 public:
  static constexpr std::size_t kUsable = N - 1;

  // Producer side. False when the ring is full.
  bool Push(const T& item) {
    const std::size_t write = mWrite.load(std::memory_order_relaxed);
    const std::size_t next = (write + 1) % N;
    if (next == mRead.load(std::memory_order_acquire)) return false;
    mSlots[write] = item;
    mWrite.store(next, std::memory_order_release);
    return true;
  }

  // Consumer side. False when the ring is empty.
  bool Pop(T& item) {
    const std::size_t read = mRead.load(std::memory_order_relaxed);
    if (read == mWrite.load(std::memory_order_acquire)) return false;
    item = mSlots[read];
    mRead.store((read + 1) % N, std::memory_order_release);
    return true;
  }

  // Either side: a snapshot, exact only when the other side is idle.
  std::size_t ElementsAvailable() const {
    const std::size_t write = mWrite.load(std::memory_order_acquire);
    const std::size_t read = mRead.load(std::memory_order_acquire);
    return (write + N - read) % N;
  }

 private:
  std::array<T, N> mSlots{};
  std::atomic<std::size_t> mWrite{0};
  std::atomic<std::size_t> mRead{0};
};

}  // namespace iplug
