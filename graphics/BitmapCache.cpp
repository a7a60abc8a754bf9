#include "graphics/BitmapCache.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "base/Log.h"
#include "graphics/ResourcePaths.h"
#include "platform/drawing/ImageDecoder.h"

namespace iplug {
namespace igraphics {

namespace {

struct Cache {
  std::mutex mutex;
  // Decoded files by path; one file serves every name and scale that resolves to it.
  std::map<std::string, std::unique_ptr<APIBitmap>> byPath;
  std::map<std::pair<std::string, int>, APIBitmap*> byName;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

}  // namespace

APIBitmap* BitmapCache::Load(const char* name, int targetScale) {
  if (!name || !*name) {
    base::warn("graphics", "bitmap requested without a name");
    return nullptr;
  }
  if (targetScale < 1) targetScale = 1;
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  auto key = std::make_pair(std::string(name), targetScale);
  if (auto it = cache.byName.find(key); it != cache.byName.end()) return it->second;

  std::string path;
  int fileScale = 1;
  if (!ResourcePaths::Find(name, targetScale, path, fileScale)) {
    base::warn("graphics", "bitmap \"%s\" not found in the resource folders", name);
    return nullptr;
  }
  APIBitmap* bitmap = nullptr;
  if (auto it = cache.byPath.find(path); it != cache.byPath.end()) {
    bitmap = it->second.get();
  } else {
    std::string failure;
    cairo_surface_t* surface = platform::decodeImageFile(path.c_str(), &failure);
    if (!surface) {
      base::warn("graphics", "cannot decode image \"%s\": %s", path.c_str(), failure.c_str());
      return nullptr;
    }
    auto owned = std::make_unique<APIBitmap>(surface, static_cast<float>(fileScale));
    bitmap = owned.get();
    cache.byPath.emplace(path, std::move(owned));
  }
  cache.byName.emplace(std::move(key), bitmap);
  return bitmap;
}

}  // namespace igraphics
}  // namespace iplug
