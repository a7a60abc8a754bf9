// Renders the controls of the library into a PNG and prints the file's path.

#include <cstdio>
#include <string>

#include "Gallery.h"
#include "graphics/IGraphicsNanoVG.h"
#include "support/FakeEditorDelegate.h"

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "gallery.png";

  FakeEditorDelegate dlg;
  iplug::igraphics::IGraphicsNanoVG g(dlg, gallery::Gallery::kWidth, gallery::Gallery::kHeight);
  gallery::Gallery gallery(g);
  gallery.Render();
  if (!g.WritePNG(path.c_str())) {
    std::fprintf(stderr, "gallery: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}
