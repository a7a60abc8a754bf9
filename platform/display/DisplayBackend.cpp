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

std::unique_ptr<DisplayBackend>& backendInUse() {
  // Never destroyed: windows freed by static destructors still tell the backend.
  static auto* backend = new std::unique_ptr<DisplayBackend>(makeHeadlessDisplayBackend());
  return *backend;
}

}  // namespace

std::unique_ptr<DisplayBackend> makeHeadlessDisplayBackend() {
  return std::make_unique<HeadlessDisplayBackend>();
}

DisplayBackend& displayBackend() {
  return *backendInUse();
}

std::unique_ptr<DisplayBackend> exchangeDisplayBackend(std::unique_ptr<DisplayBackend> backend) {
  if (!backend) backend = makeHeadlessDisplayBackend();
  backendInUse().swap(backend);
  return backend;
}

}  // namespace platform
