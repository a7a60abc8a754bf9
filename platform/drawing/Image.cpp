#include "platform/drawing/Image.h"

#include <unistd.h>

#include <climits>
#include <cstring>
#include <map>
#include <mutex>

#include "base/Log.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/drawing/ImageDecoder.h"

namespace platform {

namespace {

struct NamedImages {
  std::mutex mutex;
  std::string folder;
  bool folderSet = false;
  std::map<std::string, Ref<NSImage>> byName;
};

NamedImages& named() {
  static NamedImages* images = new NamedImages;
  return *images;
}

std::string programFolder() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string exe(path, static_cast<std::size_t>(n));
  auto slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}

// The images the platform draws itself: the sort indicators of table column titles, a
// small grey triangle pointing up (ascending) or down (descending).
constexpr int kSortIndicatorSize = 9;

cairo_surface_t* createSystemImage(const std::string& name) {
  bool ascending = name == "NSAscendingSortIndicator";
  if (!ascending && name != "NSDescendingSortIndicator") return nullptr;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSortIndicatorSize, kSortIndicatorSize);
  cairo_t* cr = cairo_create(surface);
  double s = kSortIndicatorSize, top = 2, bottom = s - 2;
  cairo_move_to(cr, 1, ascending ? bottom : top);
  cairo_line_to(cr, s - 1, ascending ? bottom : top);
  cairo_line_to(cr, s / 2, ascending ? top : bottom);
  cairo_close_path(cr);
  cairo_set_source_rgba(cr, 0.35, 0.35, 0.35, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

}  // namespace

NSImage* NSImage::imageWithSurface(cairo_surface_t* surface) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  auto* image = new NSImage;
  image->mSurface = cairo_surface_reference(surface);
  return image;
}

NSImage* NSImage::imageWithContentsOfFile(const std::string& path) {
  std::string failure;
  cairo_surface_t* surface = decodeImageFile(path.c_str(), &failure);
  if (!surface) {
    base::warn("platform", "NSImage: cannot read \"%s\": %s", path.c_str(), failure.c_str());
    return nullptr;
  }
  NSImage* image = imageWithSurface(surface);
  cairo_surface_destroy(surface);
  return image;
}

NSImage* NSImage::imageNamed(const std::string& name) {
  if (name.empty()) return nullptr;
  NamedImages& images = named();
  std::lock_guard<std::mutex> lock(images.mutex);
  if (auto it = images.byName.find(name); it != images.byName.end())
    return static_cast<NSImage*>(it->second->retain());
  if (cairo_surface_t* drawn = createSystemImage(name)) {
    Ref<NSImage> image = Ref<NSImage>::adopt(imageWithSurface(drawn));
    cairo_surface_destroy(drawn);
    images.byName[name] = image;
    return static_cast<NSImage*>(image->retain());
  }
  std::string folder = images.folderSet ? images.folder : programFolder() + "/Resources";
  for (const char* extension : {"", ".png", ".jpg"}) {
    std::string path = folder + "/" + name + extension;
    if (access(path.c_str(), R_OK) != 0) continue;
    std::string failure;
    cairo_surface_t* surface = decodeImageFile(path.c_str(), &failure);
    if (!surface) continue;
    Ref<NSImage> image = Ref<NSImage>::adopt(imageWithSurface(surface));
    cairo_surface_destroy(surface);
    images.byName[name] = image;
    return static_cast<NSImage*>(image->retain());
  }
  return nullptr;
}

void NSImage::setResourceFolder(const std::string& folder) {
  NamedImages& images = named();
  std::lock_guard<std::mutex> lock(images.mutex);
  images.folder = folder;
  images.folderSet = true;
  images.byName.clear();
}

std::string NSImage::resourceFolder() {
  NamedImages& images = named();
  std::lock_guard<std::mutex> lock(images.mutex);
  return images.folderSet ? images.folder : programFolder() + "/Resources";
}

NSImage* NSImage::copy() const {
  int w = cairo_image_surface_get_width(mSurface);
  int h = cairo_image_surface_get_height(mSurface);
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(copy);
    return nullptr;
  }
  cairo_t* cr = cairo_create(copy);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, mSurface, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  NSImage* image = imageWithSurface(copy);
  cairo_surface_destroy(copy);
  return image;
}

NSSize NSImage::size() const {
  return {static_cast<double>(cairo_image_surface_get_width(mSurface)),
          static_cast<double>(cairo_image_surface_get_height(mSurface))};
}

void NSImage::drawInRect(CGContext* context, const NSRect& rect, NSCompositingOperation operation,
                         double fraction) const {
  if (!context) return;
  context->saveGState();
  context->setBlendMode(operation == NSCompositingOperation::copy ? CGBlendMode::copy
                                                                  : CGBlendMode::normal);
  context->drawSurface(rect, mSurface, mFlipped, fraction);
  context->restoreGState();
}

void NSImage::dealloc() {
  cairo_surface_destroy(mSurface);
  mSurface = nullptr;
  NSObject::dealloc();
}

}  // namespace platform
