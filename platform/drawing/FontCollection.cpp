#include "platform/drawing/FontCollection.h"

#include "platform/drawing/CoreText.h"
#include "platform/objects/Object.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>

namespace platform::fontcollection {

namespace {

// A fontconfig listing of the objects asked for over the faces matching the family (every
// face for an empty family); destroyed with the listing.
class FaceListing {
 public:
  FaceListing(const std::string& family, std::initializer_list<const char*> objects) {
    if (!FcInit()) return;
    FcPattern* query = FcPatternCreate();
    if (!family.empty())
      FcPatternAddString(query, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* wanted = FcObjectSetCreate();
    for (const char* object : objects)
      FcObjectSetAdd(wanted, object);
    mSet = FcFontList(nullptr, query, wanted);
    FcObjectSetDestroy(wanted);
    FcPatternDestroy(query);
  }
  ~FaceListing() {
    if (mSet) FcFontSetDestroy(mSet);
  }
  FaceListing(const FaceListing&) = delete;
  FaceListing& operator=(const FaceListing&) = delete;

  int count() const { return mSet ? mSet->nfont : 0; }
  std::string string(int face, const char* object) const {
    FcChar8* value = nullptr;
    if (FcPatternGetString(mSet->fonts[face], object, 0, &value) != FcResultMatch || !value)
      return {};
    return reinterpret_cast<const char*>(value);
  }
  int integer(int face, const char* object, int fallback) const {
    int value = fallback;
    FcPatternGetInteger(mSet->fonts[face], object, 0, &value);
    return value;
  }

 private:
  FcFontSet* mSet = nullptr;
};

void sortUnique(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    int order = strcasecmp(a.c_str(), b.c_str());
    return order != 0 ? order < 0 : a < b;
  });
  names.erase(std::unique(names.begin(), names.end()), names.end());
}

}  // namespace

std::optional<NSFont> fontWithName(const std::string& name, double pointSize) {
  NSFont font(name, pointSize);
  Ref<CTFont> face = Ref<CTFont>::adopt(CTFont::createWithName(font.fontName(), font.pointSize()));
  if (name.empty() || !face) return std::nullopt;
  return font;
}

std::string familyName(const NSFont& font) {
  Ref<CTFont> face = Ref<CTFont>::adopt(font.createCTFont());
  return face ? face->familyName() : font.fontName();
}

std::string displayName(const NSFont& font) {
  Ref<CTFont> face = Ref<CTFont>::adopt(font.createCTFont());
  return face ? face->displayName() : font.fontName();
}

std::vector<std::string> familyNames() {
  FaceListing faces("", {FC_FAMILY});
  std::vector<std::string> names;
  for (int i = 0; i < faces.count(); ++i)
    if (std::string family = faces.string(i, FC_FAMILY); !family.empty()) names.push_back(family);
  sortUnique(names);
  return names;
}

std::vector<std::string> styleNames(const std::string& family) {
  std::vector<std::string> names;
  if (family.empty()) return names;
  FaceListing faces(family, {FC_STYLE});
  for (int i = 0; i < faces.count(); ++i)
    if (std::string style = faces.string(i, FC_STYLE); !style.empty()) names.push_back(style);
  sortUnique(names);
  return names;
}

std::optional<std::string> faceName(const std::string& family, const std::string& style) {
  if (family.empty()) return std::nullopt;
  FaceListing faces(family, {FC_STYLE, FC_FULLNAME});
  for (int i = 0; i < faces.count(); ++i)
    if (faces.string(i, FC_STYLE) == style) {
      std::string full = faces.string(i, FC_FULLNAME);
      return full.empty() ? family : full;
    }
  return std::nullopt;
}

std::optional<std::string> faceName(const std::string& family, bool bold, bool italic) {
  if (family.empty()) return std::nullopt;
  FaceListing faces(family, {FC_FULLNAME, FC_WEIGHT, FC_SLANT, FC_WIDTH});
  int wantWeight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
  int best = -1, bestDistance = 0;
  for (int i = 0; i < faces.count(); ++i) {
    bool slanted = faces.integer(i, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    // The slant matters most, then the weight, then a normal width.
    int distance = (slanted != italic ? 1000 : 0) +
                   std::abs(faces.integer(i, FC_WEIGHT, FC_WEIGHT_REGULAR) - wantWeight) +
                   std::abs(faces.integer(i, FC_WIDTH, FC_WIDTH_NORMAL) - FC_WIDTH_NORMAL);
    if (best < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  if (best < 0) return std::nullopt;
  std::string full = faces.string(best, FC_FULLNAME);
  return full.empty() ? family : full;
}

}  // namespace platform::fontcollection
