#pragma once

// Pixel helpers for the CairoPainter tests.

#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/CairoPainter.h"

namespace cairo_test {

using namespace iplug::igraphics;

// Where any pixel differs from a background colour; empty when none does.
struct InkBox {
  int left = -1, top = -1, right = -1, bottom = -1;  // inclusive pixel edges
  bool Empty() const { return left < 0; }
};

inline bool Near(const IColor& a, const IColor& b, int tolerance = 3) {
  return std::abs(a.A - b.A) <= tolerance && std::abs(a.R - b.R) <= tolerance &&
         std::abs(a.G - b.G) <= tolerance && std::abs(a.B - b.B) <= tolerance;
}

// For EXPECT_TRUE(ColorNear(...)): says which colours differed.
inline ::testing::AssertionResult ColorNear(const IColor& actual, const IColor& expected,
                                            int tolerance = 3) {
  if (Near(actual, expected, tolerance)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got (A " << actual.A << ", R " << actual.R << ", G " << actual.G << ", B " << actual.B
         << "), expected (A " << expected.A << ", R " << expected.R << ", G " << expected.G
         << ", B " << expected.B << ") within " << tolerance;
}

inline InkBox FindInk(const CairoPainter& p, const IColor& background, int tolerance = 8) {
  InkBox box;
  for (int y = 0; y < p.PixelHeight(); ++y) {
    for (int x = 0; x < p.PixelWidth(); ++x) {
      if (Near(p.GetPixel(x, y), background, tolerance)) continue;
      if (box.Empty()) {
        box = {x, y, x, y};
      } else {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
    }
  }
  return box;
}

// A painter with an opaque white surface, ready to draw.
inline void StartWhite(CairoPainter& p) {
  p.BeginFrame();
  p.Clear(COLOR_WHITE);
}

}  // namespace cairo_test
