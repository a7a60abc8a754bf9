#include "platform/display/DisplayBackend.h"

namespace platform {

cairo_surface_t* DisplayBackend::createBackingStore(NSWindow*, int width, int height) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

namespace {

class HeadlessDisplayBackend final : public DisplayBackend {
 public:
  const char* name() const override { return "headless"; }
};

}  // namespace

std::unique_ptr<DisplayBackend> makeHeadlessDisplayBackend() {
  return std::make_unique<HeadlessDisplayBackend>();
}

}  // namespace platform
