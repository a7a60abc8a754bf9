#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "drawing_support.h"
#include "windowing/drawing/detail/DrawingRecords.h"

namespace {

HGDIOBJ marker(int type) {
  return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(type));
}

TEST(DrawingContexts, MemoryContextsRefuseEmptyAndOverflowingSizes) {
  struct Case {
    int w, h;
  } const refused[] = {{0, 5}, {5, 0}, {-1, 5}, {5, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX, 1}};
  for (const Case& c : refused)
    EXPECT_EQ(SWELL_CreateMemContext(nullptr, c.w, c.h), nullptr) << c.w << " x " << c.h;
  MemoryContext mem(3, 2);
  ASSERT_NE(mem.hdc, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(SWELL_GetCtxFrameBuffer(mem.hdc)) % 64, 0u);
  HDC window = SWELL_CreateGfxContextForNSContext(nullptr);
  EXPECT_EQ(SWELL_GetCtxFrameBuffer(window), nullptr);
  SWELL_DeleteGfxContext(window);
  EXPECT_EQ(SWELL_GetCtxFrameBuffer(window), nullptr);  // pooled
  EXPECT_EQ(GetTextColor(window), 0xFFFFFFFFu);
}

TEST(DrawingContexts, FillsLandOnBgrRowsTopRowFirst) {
  MemoryContext mem(3, 2);
  mem.fill({2, 1, 3, 2}, 0x112233);
  EXPECT_EQ(mem.pixel(2, 1), kBgrOf0x112233);
  EXPECT_TRUE(mem.isBlank(2, 0));
  EXPECT_TRUE(mem.isBlank(1, 1));
}

TEST(DrawingContexts, SelectionAnswersWithThePreviousObjectOrTheTypeMarker) {
  MemoryContext mem(2, 2);
  HPEN pen = CreatePen(PS_SOLID, -5, 0x00FF00);
  HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, nullptr);
  EXPECT_EQ(SelectObject(mem.hdc, marker(1)), marker(1));
  EXPECT_EQ(SelectObject(mem.hdc, marker(1)), marker(1));
  EXPECT_EQ(SelectObject(mem.hdc, pen), marker(1));
  EXPECT_EQ(SelectObject(mem.hdc, pen), pen);
  for (HGDIOBJ refused : {static_cast<HGDIOBJ>(nullptr), marker(4), bitmap})
    EXPECT_EQ(SelectObject(mem.hdc, refused), nullptr);
  EXPECT_EQ(SelectObject(mem.hdc, marker(1)), pen);
  EXPECT_EQ(SelectObject(nullptr, pen), nullptr);
  DeleteObject(pen);
  DeleteObject(bitmap);
}

TEST(DrawingContexts, ASelectionDeletedAndReusedIsAbsent) {
  MemoryContext mem(2, 2);
  HBRUSH brush = CreateSolidBrush(0x112233);
  SelectObject(mem.hdc, brush);
  DeleteObject(brush);
  DeleteObject(brush);  // refused: the record is no longer live
  // Several new brushes, so the pooled record is reused at the same address.
  std::vector<HBRUSH> later;
  for (int i = 0; i < 8; ++i)
    later.push_back(CreateSolidBrush(0xFFFFFF));
  SelectObject(mem.hdc, GetStockObject(NULL_PEN));
  Rectangle(mem.hdc, 0, 0, 2, 2);
  EXPECT_TRUE(mem.isBlank(0, 0));
  EXPECT_EQ(SelectObject(mem.hdc, marker(2)), marker(2));
  for (HBRUSH b : later)
    DeleteObject(b);
}

TEST(DrawingContexts, ClonedObjectsAndStockObjectsOutliveDeletes) {
  HBRUSH brush = CreateSolidBrush(0x112233);
  EXPECT_EQ(SWELL_CloneGDIObject(brush), brush);
  EXPECT_EQ(SWELL_CloneGDIObject(brush), brush);
  EXPECT_EQ(SWELL_CloneGDIObject(marker(2)), nullptr);
  DeleteObject(brush);
  DeleteObject(brush);
  EXPECT_TRUE(swell::isLiveGdiObject(brush));
  DeleteObject(brush);
  EXPECT_FALSE(swell::isLiveGdiObject(brush));
  EXPECT_EQ(SWELL_CloneGDIObject(brush), nullptr);

  HGDIOBJ nullPen = GetStockObject(NULL_PEN), nullBrush = GetStockObject(NULL_BRUSH);
  EXPECT_EQ(GetStockObject(3), nullptr);
  DeleteObject(nullPen);
  DeleteObject(nullBrush);
  MemoryContext mem(4, 4);
  SelectObject(mem.hdc, nullPen);
  SelectObject(mem.hdc, nullBrush);
  Rectangle(mem.hdc, 0, 0, 4, 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(mem.isBlank(i, i));
}

TEST(DrawingContexts, PoolsHoldAtMostTheirLimitAndIgnoreSecondReleases) {
  std::vector<HDC> contexts;
  for (int i = 0; i < swell::kMaxPooledContexts + 5; ++i)
    contexts.push_back(SWELL_AllocGfxContext());
  for (HDC hdc : contexts)
    SWELL_DeleteGfxContext(hdc);
  EXPECT_EQ(swell::pooledContextCount(), swell::kMaxPooledContexts);
  // The freed ones are never read again: a second release is refused by the registry.
  for (HDC hdc : contexts)
    SWELL_DeleteGfxContext(hdc);
  EXPECT_EQ(swell::pooledContextCount(), swell::kMaxPooledContexts);
  // A bare object from the pool is live and of no kind until its maker gives it one.
  HGDIOBJ bare = SWELL_AllocGDIObject();
  ASSERT_TRUE(swell::isLiveGdiObject(bare));
  EXPECT_EQ(bare->type, 0);
  DeleteObject(bare);
  EXPECT_TRUE(swell::isLiveGdiObject(bare));
  bare->type = swell::kBrushObject;
  DeleteObject(bare);
  EXPECT_FALSE(swell::isLiveGdiObject(bare));
}

TEST(DrawingContexts, ClipRegionsNestAndAnUnmatchedPopIsIgnored) {
  MemoryContext mem(4, 1);
  SWELL_PopClipRegion(mem.hdc);
  SWELL_PushClipRegion(mem.hdc);
  const RECT firstTwo{0, 0, 2, 1};
  SWELL_SetClipRegion(mem.hdc, &firstTwo);
  mem.fill({0, 0, 4, 1}, 0x112233);
  EXPECT_FALSE(mem.isBlank(1, 0));
  EXPECT_TRUE(mem.isBlank(2, 0));
  SWELL_PopClipRegion(mem.hdc);
  SWELL_PopClipRegion(mem.hdc);
  SWELL_SetClipRegion(mem.hdc, nullptr);
  mem.fill({0, 0, 4, 1}, 0x112233);
  EXPECT_EQ(mem.pixel(3, 0), kBgrOf0x112233);
  EXPECT_FALSE(SWELL_IsRetinaDC(mem.hdc));
}

}  // namespace
