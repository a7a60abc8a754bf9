// Renders the controls of the library into a PNG, and an open popup menu with a text entry in
// progress into a second one, and prints the files' paths.

#include <cstdio>
#include <string>

#include "Gallery.h"
#include "GalleryGraphics.h"
#include "PopupScene.h"
#include "controls/Controls.h"
#include "demo/DemoEditorDelegate.h"
#include "graphics/Graphics.h"

namespace {

// "gallery.png" gives "gallery-menus.png".
std::string SecondPath(const std::string& first) {
  const std::string ext = ".png";
  if (first.size() > ext.size() && first.compare(first.size() - ext.size(), ext.size(), ext) == 0)
    return first.substr(0, first.size() - ext.size()) + "-menus" + ext;
  return first + "-menus.png";
}

bool Write(iplug::igraphics::IGraphicsNanoVG& g, const std::string& path) {
  if (!g.WritePNG(path.c_str())) {
    std::fprintf(stderr, "gallery: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%s\n", path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "gallery.png";
  const std::string menusPath = argc > 2 ? argv[2] : SecondPath(path);
  iplug::igraphics::InstallDefaultControlFactories();

  {
    demo::DemoEditorDelegate dlg;
    gallery::GalleryGraphics g(dlg, gallery::Gallery::kWidth, gallery::Gallery::kHeight);
    gallery::Gallery gallery(g);
    gallery.Render();
    if (!Write(g, path)) return 1;
  }
  {
    demo::DemoEditorDelegate dlg;
    iplug::igraphics::IGraphicsNanoVG g(dlg, gallery::PopupScene::kWidth,
                                        gallery::PopupScene::kHeight);
    gallery::PopupScene scene(g);
    scene.Render();
    if (!Write(g, menusPath)) return 1;
  }
  return 0;
}
