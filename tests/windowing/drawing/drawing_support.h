#pragma once

#include <array>
#include <cstdint>

#include "windowing/Win32.h"

// A memory context for drawing tests, deleted with the fixture.
struct MemoryContext {
  MemoryContext(int w, int h) : width(w), hdc(SWELL_CreateMemContext(nullptr, w, h)) {}
  ~MemoryContext() { SWELL_DeleteGfxContext(hdc); }
  MemoryContext(const MemoryContext&) = delete;
  MemoryContext& operator=(const MemoryContext&) = delete;

  // The pixel's bytes B, G, R.
  std::array<std::uint8_t, 3> pixel(int x, int y) const {
    const auto* rows = static_cast<const std::uint8_t*>(SWELL_GetCtxFrameBuffer(hdc));
    const std::uint8_t* p = rows + (static_cast<std::size_t>(y) * width + x) * 4;
    return {p[0], p[1], p[2]};
  }
  bool isBlank(int x, int y) const { return pixel(x, y) == std::array<std::uint8_t, 3>{0, 0, 0}; }

  void fill(const RECT& r, COLORREF colour) const {
    HBRUSH brush = CreateSolidBrush(colour);
    SWELL_FillRect(hdc, &r, brush);
    DeleteObject(brush);
  }

  int width;
  HDC hdc;
};

inline constexpr std::array<std::uint8_t, 3> kBgrOf0x112233 = {0x33, 0x22, 0x11};
