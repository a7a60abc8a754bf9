#pragma once

// The gallery rendered into a drawing graphics context of its size, before each test.

#include <stdexcept>
#include <string>

#include "Gallery.h"
#include "GalleryGraphics.h"
#include "support/ControlTestFixture.h"

namespace testsupport {

class GalleryTestFixture
    : public ControlTestFixture<gallery::GalleryGraphics, gallery::Gallery::kWidth,
                                gallery::Gallery::kHeight> {
 protected:
  void SetUp() override { gallery.Render(); }

  // True when two rectangles of the same size hold different pictures.
  bool Differ(const IRECT& a, const IRECT& b) const {
    for (int dy = 0; dy < static_cast<int>(a.H()); ++dy) {
      for (int dx = 0; dx < static_cast<int>(a.W()); ++dx) {
        if (g.GetPixel(static_cast<int>(a.L) + dx, static_cast<int>(a.T) + dy) !=
            g.GetPixel(static_cast<int>(b.L) + dx, static_cast<int>(b.T) + dy))
          return true;
      }
    }
    return false;
  }
  const gallery::Gallery::Cell& CellOf(const std::string& row,
                                       gallery::Gallery::EState state) const {
    for (const auto& cell : gallery.Cells()) {
      if (cell.row == row && cell.state == state) return cell;
    }
    throw std::runtime_error("no cell " + row);
  }

  gallery::Gallery gallery{g};
};

}  // namespace testsupport
