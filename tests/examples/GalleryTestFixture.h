#pragma once

// The gallery rendered into a drawing graphics context of its size, before each test.

#include "Gallery.h"
#include "graphics/IGraphicsNanoVG.h"
#include "support/ControlTestFixture.h"

namespace testsupport {

class GalleryTestFixture
    : public ControlTestFixture<iplug::igraphics::IGraphicsNanoVG, gallery::Gallery::kWidth,
                                gallery::Gallery::kHeight> {
 protected:
  void SetUp() override { gallery.Render(); }

  gallery::Gallery gallery{g};
};

}  // namespace testsupport
