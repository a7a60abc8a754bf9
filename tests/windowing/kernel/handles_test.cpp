#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "windowing/Win32.h"
#include "windowing/kernel/detail/KernelHandles.h"

namespace {

TEST(KernelHandles, CloseHandleRefusesNullClosedAndForeignPointers) {
  EXPECT_EQ(CloseHandle(nullptr), FALSE);

  HANDLE e = CreateEvent(nullptr, TRUE, FALSE);
  EXPECT_EQ(CloseHandle(e), TRUE);
  // The record is gone: every handle function refuses it without touching it.
  EXPECT_EQ(CloseHandle(e), FALSE);
  EXPECT_EQ(SetEvent(e), FALSE);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_FAILED);

  // Memory that merely looks like a handle header is not a handle.
  struct {
    std::int32_t type = swell::kHandleEvent;
    std::int32_t count = 1;
    std::uint32_t magic = swell::kHandleMagic;
  } lookalike;
  EXPECT_EQ(CloseHandle(&lookalike), FALSE);
  EXPECT_EQ(WaitForSingleObject(&lookalike, 0), WAIT_FAILED);
  void* heap = std::malloc(64);
  std::memset(heap, 0, 64);
  EXPECT_EQ(CloseHandle(heap), FALSE);
  std::free(heap);

  // A global memory block is not a kernel handle either.
  HANDLE block = GlobalAlloc(0, 16);
  EXPECT_EQ(CloseHandle(block), FALSE);
  EXPECT_EQ(GlobalSize(block), 16);
  GlobalFree(block);
}

TEST(KernelHandles, ClosingAWaitedEventWaitsForTheWaiterToLetGo) {
  HANDLE e = CreateEvent(nullptr, FALSE, FALSE);
  std::thread waiter([e] { EXPECT_EQ(WaitForSingleObject(e, 100), WAIT_TIMEOUT); });
  Sleep(10);
  EXPECT_EQ(CloseHandle(e), TRUE);  // the waiter's reference keeps the record alive
  waiter.join();
  EXPECT_EQ(CloseHandle(e), FALSE);
}

TEST(KernelHandles, ProcessHandlesAreValidatedLikeTheOthers) {
  int task = 0;
  HANDLE process = swell::makeProcessHandle(&task);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(SetEvent(process), FALSE);
  EXPECT_EQ(CloseHandle(process), TRUE);
  EXPECT_EQ(CloseHandle(process), FALSE);
}

TEST(KernelMemory, BlocksKeepSizeAndLockCount) {
  HANDLE block = GlobalAlloc(0, 100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 100);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  ASSERT_EQ(bytes, block);
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(bytes[i], 0) << i;
  std::memset(bytes, 0xAB, 100);
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_EQ(GlobalUnlock(block), TRUE);   // still locked once
  EXPECT_EQ(GlobalUnlock(block), FALSE);  // now unlocked
  EXPECT_EQ(GlobalUnlock(block), FALSE);  // never below zero
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(KernelMemory, NegativeSizeGivesAnEmptyBlock) {
  HANDLE block = GlobalAlloc(0, -5);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 0);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(KernelMemory, FreedAndForeignPointersAreRefused) {
  EXPECT_EQ(GlobalSize(nullptr), 0);
  EXPECT_EQ(GlobalLock(nullptr), nullptr);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);

  HANDLE block = GlobalAlloc(0, 8);
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(block), block);  // failure hands the pointer back
  EXPECT_EQ(GlobalSize(block), 0);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalUnlock(block), FALSE);

  char local[32] = {};
  EXPECT_EQ(GlobalFree(local + 16), local + 16);
  EXPECT_EQ(GlobalSize(local + 16), 0);
  HANDLE event = CreateEvent(nullptr, FALSE, FALSE);
  EXPECT_EQ(GlobalFree(event), event);
  EXPECT_EQ(CloseHandle(event), TRUE);
}

}  // namespace
