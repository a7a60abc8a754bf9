#pragma once

// A parsed SVG image, held by value. The parsed image belongs to the SVG cache.

#include <memory>
#include <utility>

namespace iplug {
namespace igraphics {

struct SVGHolder;  // a parsed SVG image held by the graphics core's SVG cache

struct ISVG {
  std::shared_ptr<SVGHolder> mImage;
  float mWidth = 0.f;   // natural width in points
  float mHeight = 0.f;  // natural height in points

  ISVG() = default;
  ISVG(std::shared_ptr<SVGHolder> image, float w, float h)
      : mImage(std::move(image)), mWidth(w), mHeight(h) {}

  bool IsValid() const { return mImage != nullptr; }
  float W() const { return mWidth; }
  float H() const { return mHeight; }
};

}  // namespace igraphics
}  // namespace iplug
