#pragma once

// The gallery's drawing context: IGraphicsNanoVG drawing into an image. A link clicked in the
// gallery counts as opened without starting the desktop's handler, so that taking the picture
// launches nothing and a visited link can be shown.

#include <string>
#include <vector>

#include "graphics/Graphics.h"

namespace gallery {

class GalleryGraphics : public iplug::igraphics::IGraphicsNanoVG {
 public:
  using IGraphicsNanoVG::IGraphicsNanoVG;

  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
               const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) override {
    if (!url || !*url) return false;
    mOpenedURLs.emplace_back(url);
    return true;
  }
  const std::vector<std::string>& OpenedURLs() const { return mOpenedURLs; }

 private:
  std::vector<std::string> mOpenedURLs;
};

}  // namespace gallery
