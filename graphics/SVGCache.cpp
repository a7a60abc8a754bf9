#include "graphics/SVGCache.h"

#include <librsvg/rsvg.h>

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/ResourcePaths.h"
#include "graphics/SVGHolder.h"

namespace iplug {
namespace igraphics {

namespace {

struct Cache {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<SVGHolder>> byName;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

// The size the document asks for in pixels (points here), or its view box when it gives
// none, as a missing or relative width and height do.
bool NaturalSize(RsvgHandle* handle, double& w, double& h) {
  if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h) && base::isFinite(w, h) && w > 0.0 &&
      h > 0.0)
    return true;
  gboolean hasWidth = FALSE, hasHeight = FALSE, hasViewBox = FALSE;
  RsvgLength width, height;
  RsvgRectangle viewBox;
  rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &width, &hasHeight, &height, &hasViewBox,
                                       &viewBox);
  if (hasViewBox && base::isFinite(viewBox.width, viewBox.height) && viewBox.width > 0.0 &&
      viewBox.height > 0.0) {
    w = viewBox.width;
    h = viewBox.height;
    return true;
  }
  return false;
}

}  // namespace

SVGHolder::~SVGHolder() {
  if (mHandle) g_object_unref(mHandle);
}

bool SVGHolder::Render(cairo_t* cr, double width, double height) const {
  RsvgRectangle viewport{0.0, 0.0, width, height};
  GError* error = nullptr;
  if (!rsvg_handle_render_document(mHandle, cr, &viewport, &error)) {
    base::warn("graphics", "SVG rendering failed: %s", error ? error->message : "unknown error");
    if (error) g_error_free(error);
    return false;
  }
  return true;
}

ISVG SVGCache::Load(const char* name) {
  if (!name || !*name) {
    base::warn("graphics", "SVG requested without a name");
    return ISVG();
  }
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  if (auto it = cache.byName.find(name); it != cache.byName.end()) {
    const auto& holder = it->second;
    return ISVG(holder, static_cast<float>(holder->mWidth), static_cast<float>(holder->mHeight));
  }
  std::string path;
  int fileScale = 1;
  if (!ResourcePaths::Find(name, 1, path, fileScale)) {
    base::warn("graphics", "SVG \"%s\" not found in the resource folders", name);
    return ISVG();
  }
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
  if (!handle) {
    base::warn("graphics", "cannot parse SVG \"%s\": %s", path.c_str(),
               error ? error->message : "unknown error");
    if (error) g_error_free(error);
    return ISVG();
  }
  double w = 0.0, h = 0.0;
  if (!NaturalSize(handle, w, h)) {
    base::warn("graphics", "SVG \"%s\" has no usable size", path.c_str());
    g_object_unref(handle);
    return ISVG();
  }
  auto holder = std::make_shared<SVGHolder>(handle, w, h);
  cache.byName.emplace(name, holder);
  return ISVG(holder, static_cast<float>(w), static_cast<float>(h));
}

}  // namespace igraphics
}  // namespace iplug
