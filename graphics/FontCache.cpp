#include "graphics/FontCache.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/Log.h"
#include "graphics/IGraphicsStructs.h"

namespace iplug {
namespace igraphics {

namespace {

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
};

struct Entry {
  cairo_font_face_t* face;  // one reference, held by the cache
  std::string file;         // the registered font file; empty for a name fontconfig resolved
};

struct Cache {
  std::mutex mutex;
  std::unordered_map<std::string, Entry, StringHash, std::equal_to<>> faces;
  std::atomic<unsigned> generation{0};

  ~Cache() {
    for (auto& entry : faces)
      cairo_font_face_destroy(entry.second.face);
  }
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

// A face from a resolved fontconfig pattern; takes over the pattern reference.
cairo_font_face_t* FaceFromPattern(FcPattern* pattern) {
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
  FcPatternDestroy(pattern);
  if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    return nullptr;
  }
  return face;
}

bool HasFamily(FcPattern* match, const std::string& family) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(family.c_str())) == 0)
      return true;
  }
  return false;
}

// The face fontconfig finds for the name; null when it has no face of that family.
cairo_font_face_t* ResolveByName(const char* name) {
  const std::string_view full(name);
  std::string family(full), style;
  const size_t dash = full.rfind('-');
  if (dash != std::string_view::npos && dash > 0 && dash + 1 < full.size()) {
    family = std::string(full.substr(0, dash));
    style = std::string(full.substr(dash + 1));
  }
  if (family.empty()) return nullptr;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (!style.empty())
    FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(style.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return nullptr;
  if (!HasFamily(match, family)) {
    FcPatternDestroy(match);
    return nullptr;
  }
  return FaceFromPattern(match);
}

// The face of a font file; null when fontconfig or FreeType cannot read it.
cairo_font_face_t* FaceFromFile(const char* path) {
  int count = 0;
  FcPattern* pattern = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path), 0, nullptr, &count);
  return pattern ? FaceFromPattern(pattern) : nullptr;
}

// fontconfig's own default face, for when even the default name finds nothing.
cairo_font_face_t* SystemDefaultFace() {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  return match ? FaceFromPattern(match) : nullptr;
}

// The face fontconfig finds for the name, else the default face; a new reference, or null
// (logged) when not even a default can be had. Called with the cache's mutex held.
cairo_font_face_t* ResolveWithFallback(Cache& cache, const char* name) {
  if (cairo_font_face_t* face = ResolveByName(name)) return face;
  // An unknown name draws in the default face, as the default name itself would.
  cairo_font_face_t* face = nullptr;
  auto it = cache.faces.find(std::string_view(DEFAULT_FONT));
  if (it != cache.faces.end() && cairo_font_face_status(it->second.face) == CAIRO_STATUS_SUCCESS) {
    face = cairo_font_face_reference(it->second.face);
  } else if (!(face = ResolveByName(DEFAULT_FONT))) {
    face = SystemDefaultFace();
  }
  if (!face) {
    base::warn("graphics", "no font face for \"%s\", nor a default one", name);
    return nullptr;
  }
  base::warn("graphics", "font \"%s\" not found; using the default face", name);
  return face;
}

}  // namespace

bool FontCache::LoadFont(const char* name, const char* path) {
  if (!name || !*name || !path || !*path) {
    base::warn("graphics", "font registration needs a name and a file");
    return false;
  }
  cairo_font_face_t* face = FaceFromFile(path);
  if (!face) {
    base::warn("graphics", "\"%s\" is not a readable font file", path);
    return false;
  }
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  auto [it, inserted] = cache.faces.try_emplace(name, Entry{face, path});
  if (!inserted) {
    cairo_font_face_destroy(it->second.face);
    it->second = Entry{face, path};
  }
  cache.generation.fetch_add(1);
  return true;
}

cairo_font_face_t* FontCache::Get(const char* name) {
  if (!name) name = "";
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  auto it = cache.faces.find(std::string_view(name));
  if (it != cache.faces.end()) {
    Entry& entry = it->second;
    if (cairo_font_face_status(entry.face) == CAIRO_STATUS_SUCCESS)
      return cairo_font_face_reference(entry.face);
    // A face in an error state fails every later use; Cairo makes a new one for the same
    // font, so the entry is made again from its source.
    base::warn("graphics", "font face \"%s\" failed; making it again", name);
    cairo_font_face_t* fresh =
        entry.file.empty() ? ResolveWithFallback(cache, name) : FaceFromFile(entry.file.c_str());
    if (!fresh) return nullptr;
    cairo_font_face_destroy(entry.face);
    entry.face = fresh;
    cache.generation.fetch_add(1);
    return cairo_font_face_reference(fresh);
  }
  cairo_font_face_t* face = ResolveWithFallback(cache, name);
  if (!face) return nullptr;
  cache.faces.emplace(name, Entry{face, std::string()});
  return cairo_font_face_reference(face);
}

unsigned FontCache::Generation() {
  return TheCache().generation.load();
}

}  // namespace igraphics
}  // namespace iplug
