// The gallery's strips of variants lie on the picture, and its LEDs brighten left to right.

#include <gtest/gtest.h>

#include <stdexcept>

#include "GalleryTestFixture.h"

using namespace iplug::igraphics;
using gallery::Gallery;

namespace {

class GalleryStrips : public testsupport::GalleryTestFixture {
 protected:
  const Gallery::Strip& StripOf(const std::string& row) const {
    for (const auto& strip : gallery.Strips()) {
      if (strip.row == row) return strip;
    }
    throw std::runtime_error("no strip " + row);
  }
  // The brightness at the centre of a control.
  int CentreBrightness(const IControl* c) const {
    const IColor p =
        g.GetPixel(static_cast<int>(c->GetRECT().MW()), static_cast<int>(c->GetRECT().MH()));
    return p.R + p.G + p.B;
  }
};

TEST_F(GalleryStrips, EveryStripLiesOnThePictureAndHoldsItsControls) {
  ASSERT_GE(gallery.Strips().size(), 2u);
  for (const auto& strip : gallery.Strips()) {
    EXPECT_TRUE(g.GetBounds().Contains(strip.bounds)) << strip.row << " lies off the picture";
    EXPECT_FALSE(strip.controls.empty()) << strip.row;
    for (const IControl* c : strip.controls)
      EXPECT_TRUE(strip.bounds.Contains(c->GetRECT())) << strip.row;
  }
}

TEST_F(GalleryStrips, TheLEDsBrightenLeftToRightAndTheDecayingOneIsPartlyLit) {
  const auto& leds = StripOf("LED").controls;
  ASSERT_EQ(leds.size(), 5u);
  for (size_t i = 1; i < 4; ++i)
    EXPECT_GT(CentreBrightness(leds[i]), CentreBrightness(leds[i - 1])) << i;
  // A quarter into its decay the last light holds (3/4)^3 of full brightness.
  EXPECT_NEAR(leds[4]->GetValue(), 0.421875, 1e-9);
  EXPECT_GT(CentreBrightness(leds[4]), CentreBrightness(leds[1]));
  EXPECT_LT(CentreBrightness(leds[4]), CentreBrightness(leds[3]));
}

}  // namespace
