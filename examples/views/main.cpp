// Renders a dialog of the windowing layer's views into a PNG and prints its path.

#include <cstdio>
#include <string>

#include "ViewsDialog.h"
#include "platform/core/Application.h"

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "views.png";
  platform::NSApplication::sharedApplication();
  HWND dialog = viewsdialog::Build();
  if (!dialog || !viewsdialog::Render(dialog, path)) {
    std::fprintf(stderr, "views_dialog: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  DestroyWindow(dialog);
  return 0;
}
