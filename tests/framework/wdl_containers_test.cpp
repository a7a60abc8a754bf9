#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "framework/FailingRealloc.h"
#include "framework/WDLHeapBuf.h"
#include "framework/WDLPtrList.h"

namespace {

TEST(WDLHeapBufTest, GrowsInGranularityStepsAndKeepsContents) {
  WDL_HeapBuf buf(4096);
  auto* bytes = static_cast<char*>(buf.Resize(10));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(buf.GetSize(), 10);
  EXPECT_EQ(buf.GetAllocated(), 4096u);
  std::memcpy(bytes, "0123456789", 10);

  bytes = static_cast<char*>(buf.Resize(5000));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(buf.GetSize(), 5000);
  EXPECT_EQ(buf.GetAllocated() % 4096, 0u);
  EXPECT_EQ(std::memcmp(bytes, "0123456789", 10), 0);
}

TEST(WDLHeapBufTest, FailedGrowthLeavesTheBufferAsItWas) {
  WDL_HeapBuf buf(16);
  auto* before = static_cast<char*>(buf.Resize(8));
  std::memcpy(before, "abcdefg", 8);
  {
    FailingRealloc failing(64);
    EXPECT_EQ(buf.Resize(1000), nullptr);
  }
  EXPECT_EQ(buf.GetSize(), 8);
  EXPECT_EQ(buf.Get(), before);
  EXPECT_STREQ(static_cast<char*>(buf.Get()), "abcdefg");
}

TEST(WDLHeapBufTest, FallsBackToTheExactSizeWhenThePaddingCannotBeHad) {
  WDL_HeapBuf buf(4096);
  FailingRealloc failing(100);
  ASSERT_NE(buf.Resize(100), nullptr);
  EXPECT_EQ(buf.GetSize(), 100);
  EXPECT_EQ(buf.GetAllocated(), 100u);
}

TEST(WDLHeapBufTest, RefusesSizesThatCannotBeRepresented) {
  WDL_HeapBuf buf(4096);
  ASSERT_NE(buf.Resize(32), nullptr);
  void* storage = buf.Get();
  const size_t huge[] = {std::numeric_limits<size_t>::max(), std::numeric_limits<size_t>::max() - 1,
                         std::numeric_limits<size_t>::max() - 4095,
                         static_cast<size_t>(std::numeric_limits<int>::max()) + 1};
  for (size_t size : huge) {
    EXPECT_EQ(buf.Resize(size), nullptr) << size;
    EXPECT_EQ(buf.GetSize(), 32);
    EXPECT_EQ(buf.Get(), storage);
  }
  EXPECT_EQ(buf.Resize(-1), nullptr);
  EXPECT_EQ(buf.Resize(-1LL), nullptr);
  EXPECT_EQ(buf.GetSize(), 32);
  EXPECT_NE(buf.Resize(40u), nullptr);  // any integer type is taken
  EXPECT_EQ(buf.GetSize(), 40);
}

TEST(WDLHeapBufTest, RoundingNearTheLimitDoesNotWrap) {
  // The largest allowed size is not a multiple of the granularity; asking for it must not
  // round past the limit (the allocation itself is refused here, so nothing is committed).
  WDL_HeapBuf buf(4096);
  FailingRealloc failing(1 << 20);
  const size_t limit = static_cast<size_t>(std::numeric_limits<int>::max());
  EXPECT_EQ(buf.Resize(limit), nullptr);
  EXPECT_EQ(buf.GetSize(), 0);
  EXPECT_EQ(FailingRealloc::LargestRequest(), limit);
}

TEST(WDLHeapBufTest, ShrinksOnlyWhenAllowedAndFreesAtZero) {
  WDL_HeapBuf buf(64);
  ASSERT_NE(buf.Resize(10000), nullptr);
  const size_t allocated = buf.GetAllocated();
  ASSERT_NE(buf.Resize(100, false), nullptr);
  EXPECT_EQ(buf.GetAllocated(), allocated);
  ASSERT_NE(buf.Resize(100, true), nullptr);
  EXPECT_LT(buf.GetAllocated(), allocated);
  EXPECT_EQ(buf.GetSize(), 100);

  buf.Resize(0, true);
  EXPECT_EQ(buf.Get(), nullptr);
  EXPECT_EQ(buf.GetAllocated(), 0u);

  ASSERT_NE(buf.Resize(10), nullptr);
  buf.Free();
  EXPECT_EQ(buf.Get(), nullptr);
  EXPECT_EQ(buf.GetSize(), 0);
}

TEST(WDLHeapBufTest, CopiesAndMoves) {
  WDL_HeapBuf a(32);
  std::memcpy(a.Resize(6), "hello", 6);
  WDL_HeapBuf copy(a);
  EXPECT_NE(copy.Get(), a.Get());
  EXPECT_STREQ(static_cast<char*>(copy.Get()), "hello");

  WDL_HeapBuf moved(std::move(a));
  EXPECT_STREQ(static_cast<char*>(moved.Get()), "hello");
  EXPECT_EQ(a.GetSize(), 0);  // NOLINT(bugprone-use-after-move): a moved-from buffer is empty
  copy = moved;
  EXPECT_STREQ(static_cast<char*>(copy.Get()), "hello");
}

TEST(WDLTypedBufTest, CountsItemsAndRefusesOverflowingCounts) {
  WDL_TypedBuf<double> buf;
  double* values = buf.Resize(3);
  ASSERT_NE(values, nullptr);
  values[2] = 2.5;
  EXPECT_EQ(buf.GetSize(), 3);
  EXPECT_EQ(buf.GetSizeBytes(), 24);
  EXPECT_EQ(buf.Get()[2], 2.5);

  EXPECT_EQ(buf.Resize(std::numeric_limits<int>::max()), nullptr);
  EXPECT_EQ(buf.Resize(-5), nullptr);
  EXPECT_EQ(buf.GetSize(), 3);
  EXPECT_EQ(buf.Get()[2], 2.5);
}

// An item that records its destruction and whether it was still in its list at that time.
struct Tracked {
  Tracked(int id, std::vector<int>& log, WDL_PtrList<Tracked>& list)
      : mId(id), mLog(log), mList(list) {}
  ~Tracked() { mLog.push_back(mList.Find(this) < 0 ? mId : -mId); }
  int mId;
  std::vector<int>& mLog;
  WDL_PtrList<Tracked>& mList;
};

TEST(WDLPtrListTest, AddsInsertsAndFinds) {
  int a = 1, b = 2, c = 3, d = 4;
  WDL_PtrList<int> list;
  EXPECT_EQ(list.Add(&a), &a);
  list.Add(&c);
  list.Insert(1, &b);
  list.Insert(-7, &d);  // before the first
  ASSERT_EQ(list.GetSize(), 4);
  EXPECT_EQ(list.Get(0), &d);
  EXPECT_EQ(list.Get(1), &a);
  EXPECT_EQ(list.Get(2), &b);
  EXPECT_EQ(list.Get(3), &c);
  EXPECT_EQ(list.GetList()[3], &c);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(4), nullptr);
  EXPECT_EQ(list.Find(&b), 2);
  EXPECT_EQ(list.Find(nullptr), -1);

  list.Delete(0);
  list.Delete(99);
  list.Delete(-1);
  EXPECT_EQ(list.GetSize(), 3);
  EXPECT_EQ(list.Get(0), &a);
  list.Empty();
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(list.Get(0), nullptr);
}

TEST(WDLPtrListTest, EmptyDeletesFromLastToFirstOutsideTheList) {
  std::vector<int> log;
  WDL_PtrList<Tracked> list;
  for (int id = 1; id <= 4; ++id)
    list.Add(new Tracked(id, log, list));
  list.Delete(1, true);
  list.Empty(true);
  EXPECT_EQ(log, (std::vector<int>{2, 4, 3, 1}));
  EXPECT_EQ(list.GetSize(), 0);
}

TEST(WDLPtrListTest, FailedGrowthLeavesTheListAsItWas) {
  int items[2] = {};
  WDL_PtrList<int> list(sizeof(int*));
  list.Add(&items[0]);
  {
    FailingRealloc failing(sizeof(int*));
    EXPECT_EQ(list.Add(&items[1]), nullptr);
    EXPECT_EQ(list.Insert(0, &items[1]), nullptr);
  }
  ASSERT_EQ(list.GetSize(), 1);
  EXPECT_EQ(list.Get(0), &items[0]);
}

}  // namespace
