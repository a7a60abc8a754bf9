#pragma once

#include <concepts>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

namespace wdl_detail {
// The reallocation every heap buffer grows and shrinks through: std::realloc by default.
void* heapBufRealloc(void* ptr, size_t size);
}  // namespace wdl_detail

// A growable heap buffer: storage pointer, allocated size, used size and growth granularity.
//
// Sizes are bytes and never exceed kMaxSize, so GetSize() fits an int. Resize() returns the
// (possibly moved) storage, or null when the storage cannot be had; a failed resize leaves the
// buffer exactly as it was, so callers may test "pointer non-null and size equals request" before
// writing into newly grown space.
class WDL_HeapBuf {
 public:
  static constexpr size_t kMaxSize = static_cast<size_t>(std::numeric_limits<int>::max());
  static constexpr int kDefaultGranularity = 4096;

  explicit WDL_HeapBuf(int granularity = kDefaultGranularity) { SetGranul(granularity); }
  ~WDL_HeapBuf() { std::free(mBuf); }

  WDL_HeapBuf(const WDL_HeapBuf& other) : mGranul(other.mGranul) { CopyFrom(other); }
  WDL_HeapBuf& operator=(const WDL_HeapBuf& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  WDL_HeapBuf(WDL_HeapBuf&& other) noexcept
      : mBuf(std::exchange(other.mBuf, nullptr)),
        mAlloc(std::exchange(other.mAlloc, 0)),
        mSize(std::exchange(other.mSize, 0)),
        mGranul(other.mGranul) {}
  WDL_HeapBuf& operator=(WDL_HeapBuf&& other) noexcept {
    if (this != &other) {
      std::free(mBuf);
      mBuf = std::exchange(other.mBuf, nullptr);
      mAlloc = std::exchange(other.mAlloc, 0);
      mSize = std::exchange(other.mSize, 0);
      mGranul = other.mGranul;
    }
    return *this;
  }

  void* Get() const { return mBuf; }
  int GetSize() const { return static_cast<int>(mSize); }
  size_t GetAllocated() const { return mAlloc; }
  int GetGranul() const { return static_cast<int>(mGranul); }
  // A granularity below 1 byte makes no sense; it is taken as 1.
  void SetGranul(int granularity) {
    mGranul = granularity > 0 ? static_cast<size_t>(granularity) : 1;
  }

  // Resizes to newSize bytes. A negative size, or one above kMaxSize, is refused (null, buffer
  // unchanged). Shrinking to 0 with allowShrink releases the storage, so the result is null then.
  template <std::integral N>
  void* Resize(N newSize, bool allowShrink = true) {
    if (std::cmp_less(newSize, 0) || std::cmp_greater(newSize, kMaxSize)) return nullptr;
    return ResizeBytes(static_cast<size_t>(newSize), allowShrink);
  }

  // Releases the storage; the buffer is empty afterwards.
  void Free() {
    std::free(mBuf);
    mBuf = nullptr;
    mAlloc = 0;
    mSize = 0;
  }

 private:
  void* ResizeBytes(size_t newSize, bool allowShrink) {
    if (newSize <= mAlloc) {
      if (allowShrink) Shrink(newSize);
      mSize = newSize;
      return mBuf;
    }
    size_t want = 0;
    if (!RoundUp(newSize, want)) return nullptr;
    // Grow by at least half the current allocation, so appending one item at a time stays
    // linear overall; the rounded request alone suffices when that would overflow.
    size_t geometric = mAlloc + mAlloc / 2;
    if (geometric > want && geometric <= kMaxSize) RoundUp(geometric, want);
    void* grown = wdl_detail::heapBufRealloc(mBuf, want);
    if (!grown && want > newSize) {
      want = newSize;
      grown = wdl_detail::heapBufRealloc(mBuf, want);
    }
    if (!grown) return nullptr;
    mBuf = grown;
    mAlloc = want;
    mSize = newSize;
    return mBuf;
  }

  // Rounds size up to a multiple of the granularity, refusing results beyond kMaxSize (and so
  // never wrapping around near SIZE_MAX).
  bool RoundUp(size_t size, size_t& out) const {
    const size_t remainder = size % mGranul;
    if (remainder == 0) {
      out = size;
      return true;
    }
    const size_t pad = mGranul - remainder;
    if (size > kMaxSize - pad) {
      out = size;  // the exact size is still allowed; only the padding would not fit
      return true;
    }
    out = size + pad;
    return true;
  }

  // Returns storage when the used part falls well below the allocation; keeps the old block
  // when the smaller one cannot be had.
  void Shrink(size_t newSize) {
    if (newSize == 0) {
      std::free(mBuf);
      mBuf = nullptr;
      mAlloc = 0;
      return;
    }
    size_t want = 0;
    RoundUp(newSize, want);
    if (want >= mAlloc || mAlloc - want < mGranul || newSize > mAlloc / 2) return;
    if (void* smaller = wdl_detail::heapBufRealloc(mBuf, want)) {
      mBuf = smaller;
      mAlloc = want;
    }
  }

  void CopyFrom(const WDL_HeapBuf& other) {
    if (other.mSize == 0) {
      mSize = 0;
      return;
    }
    if (Resize(other.mSize, false)) std::memcpy(mBuf, other.mBuf, other.mSize);
  }

  void* mBuf = nullptr;
  size_t mAlloc = 0;
  size_t mSize = 0;
  size_t mGranul = kDefaultGranularity;
};

// A typed array of trivially copyable items held in a WDL_HeapBuf. Sizes are item counts.
template <class T>
class WDL_TypedBuf {
  static_assert(std::is_trivially_copyable_v<T>, "WDL_TypedBuf moves items with memcpy");

 public:
  explicit WDL_TypedBuf(int granularity = WDL_HeapBuf::kDefaultGranularity) : mHeap(granularity) {}

  T* Get() const { return static_cast<T*>(mHeap.Get()); }
  int GetSize() const { return mHeap.GetSize() / static_cast<int>(sizeof(T)); }
  int GetSizeBytes() const { return mHeap.GetSize(); }
  int GetGranul() const { return mHeap.GetGranul(); }

  // Resizes to count items; null (and no change) for a negative count or one whose byte size
  // would not fit.
  template <std::integral N>
  T* Resize(N count, bool allowShrink = true) {
    if (std::cmp_less(count, 0) || std::cmp_greater(count, WDL_HeapBuf::kMaxSize / sizeof(T))) {
      return nullptr;
    }
    return static_cast<T*>(mHeap.Resize(static_cast<size_t>(count) * sizeof(T), allowShrink));
  }

 private:
  WDL_HeapBuf mHeap;
};
