#include "platform/drawing/CoreText.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <utility>

#include "base/Finite.h"
#include "base/Log.h"
#include "base/Utf8.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform {

// One installed face: what shaping, drawing and metrics need, loaded once per process.
struct FontFile {
  std::string path;
  int index = 0;
  std::string family, fullName, postScriptName;
  double unitsPerEm = 1000;
  double ascender = 0, descender = 0, lineGap = 0;  // font units; descender positive
  hb_face_t* hbFace = nullptr;
  hb_font_t* hbFont = nullptr;
  cairo_font_face_t* cairoFace = nullptr;
};

namespace {

struct FontRegistry {
  std::mutex mutex;
  FT_Library freetype = nullptr;
  // Faces by file and index, and name lookups (a null entry: no face has that name).
  std::map<std::pair<std::string, int>, std::shared_ptr<const FontFile>> files;
  std::map<std::string, std::shared_ptr<const FontFile>> names;
};

FontRegistry& registry() {
  static FontRegistry* r = new FontRegistry;
  return *r;
}

std::string patternString(FcPattern* p, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(p, object, 0, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

bool patternHasString(FcPattern* p, const char* object, const std::string& name) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(p, object, i, &value) == FcResultMatch; ++i)
    if (value && FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(name.c_str())) == 0)
      return true;
  return false;
}

// Reads the face's design metrics and names with FreeType (unhinted: font units).
std::shared_ptr<const FontFile> loadFile(FontRegistry& reg, const std::string& path, int index,
                                         FcPattern* match) {
  auto key = std::make_pair(path, index);
  if (auto it = reg.files.find(key); it != reg.files.end()) return it->second;
  if (!reg.freetype && FT_Init_FreeType(&reg.freetype) != 0) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(reg.freetype, path.c_str(), index, &face) != 0) {
    base::warn("platform", "CTFont: cannot open \"%s\"", path.c_str());
    return nullptr;
  }
  auto file = std::make_shared<FontFile>();
  file->path = path;
  file->index = index;
  file->unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1000;
  file->ascender = face->ascender;
  file->descender = -face->descender;
  file->lineGap = std::max(0.0, double(face->height) - (face->ascender - face->descender));
  file->family = patternString(match, FC_FAMILY);
  file->fullName = patternString(match, FC_FULLNAME);
  if (file->fullName.empty()) file->fullName = file->family;
  if (const char* ps = FT_Get_Postscript_Name(face)) file->postScriptName = ps;
  FT_Done_Face(face);

  hb_blob_t* blob = hb_blob_create_from_file(path.c_str());
  file->hbFace = hb_face_create(blob, index);
  hb_blob_destroy(blob);
  file->hbFont = hb_font_create(file->hbFace);
  int upem = static_cast<int>(file->unitsPerEm);
  hb_font_set_scale(file->hbFont, upem, upem);
  hb_font_make_immutable(file->hbFont);

  // Cairo opens the face itself from the file; hinting stays off so what is drawn
  // matches the measured design metrics.
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(path.c_str()));
  FcPatternAddInteger(pattern, FC_INDEX, index);
  FcPatternAddBool(pattern, FC_HINTING, FcFalse);
  file->cairoFace = cairo_ft_font_face_create_for_pattern(pattern);
  FcPatternDestroy(pattern);
  reg.files[key] = file;
  return file;
}

std::shared_ptr<const FontFile> fromPattern(FontRegistry& reg, FcPattern* p) {
  FcChar8* path = nullptr;
  int index = 0;
  if (FcPatternGetString(p, FC_FILE, 0, &path) != FcResultMatch || !path) return nullptr;
  FcPatternGetInteger(p, FC_INDEX, 0, &index);
  return loadFile(reg, reinterpret_cast<const char*>(path), index, p);
}

// The face whose full or PostScript name is exactly the name.
std::shared_ptr<const FontFile> listByName(FontRegistry& reg, const char* object,
                                           const std::string& name) {
  FcPattern* query = FcPatternCreate();
  FcPatternAddString(query, object, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcObjectSet* wanted =
      FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_FULLNAME, FC_POSTSCRIPT_NAME, nullptr);
  FcFontSet* set = FcFontList(nullptr, query, wanted);
  std::shared_ptr<const FontFile> found;
  if (set)
    for (int i = 0; i < set->nfont && !found; ++i)
      if (patternHasString(set->fonts[i], object, name)) found = fromPattern(reg, set->fonts[i]);
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(wanted);
  FcPatternDestroy(query);
  return found;
}

std::shared_ptr<const FontFile> resolve(const std::string& name) {
  FontRegistry& reg = registry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  if (auto it = reg.names.find(name); it != reg.names.end()) return it->second;
  std::shared_ptr<const FontFile> found;
  if (!name.empty() && FcInit()) {
    // A family: fontconfig's best regular face, accepted only when it is of that family
    // and not a substitute.
    FcPattern* query = FcPatternCreate();
    FcPatternAddString(query, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(nullptr, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, query, &result)) {
      if (patternHasString(match, FC_FAMILY, name)) found = fromPattern(reg, match);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(query);
    if (!found) found = listByName(reg, FC_FULLNAME, name);
    if (!found) found = listByName(reg, FC_POSTSCRIPT_NAME, name);
  }
  reg.names[name] = found;
  return found;
}

}  // namespace

CTFont::CTFont(std::shared_ptr<const FontFile> file, double size)
    : mFile(std::move(file)), mSize(size) {}

CTFont* CTFont::createWithName(const std::string& name, double size) {
  if (!std::isfinite(size) || size <= 0) return nullptr;
  auto file = resolve(name);
  return file ? new CTFont(std::move(file), size) : nullptr;
}

CTFont* CTFont::createUIFont(double size, bool bold) {
  if (!std::isfinite(size) || size <= 0) return nullptr;
  CTFont* font = bold ? createWithName(kSystemBoldName, size) : nullptr;
  return font ? font : createWithName(kSystemFamily, size);
}

double CTFont::ascent() const {
  return mFile->ascender * mSize / mFile->unitsPerEm;
}

double CTFont::descent() const {
  return mFile->descender * mSize / mFile->unitsPerEm;
}

double CTFont::leading() const {
  return mFile->lineGap * mSize / mFile->unitsPerEm;
}

std::string CTFont::familyName() const {
  return mFile->family;
}

std::string CTFont::displayName() const {
  return mFile->fullName;
}

std::string CTFont::postScriptName() const {
  return mFile->postScriptName;
}

bool CTFont::glyphsForCharacters(const char16_t* characters, std::uint16_t* glyphs,
                                 std::size_t count) const {
  if (!characters || !glyphs) return false;
  bool all = true;
  for (std::size_t i = 0; i < count; ++i) {
    char32_t c = characters[i];
    bool pair =
        base::isHighSurrogate(c) && i + 1 < count && base::isLowSurrogate(characters[i + 1]);
    if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (characters[i + 1] - 0xDC00);
    hb_codepoint_t glyph = 0;
    bool mapped = base::isScalarValue(c) && hb_font_get_nominal_glyph(mFile->hbFont, c, &glyph);
    glyphs[i] = mapped ? static_cast<std::uint16_t>(glyph) : 0;
    all = all && mapped;
    if (pair) glyphs[++i] = 0;
  }
  return all;
}

cairo_font_face_t* CTFont::cairoFace() const {
  return mFile->cairoFace;
}

hb_font_t* CTFont::harfBuzzFont() const {
  return mFile->hbFont;
}

bool CTFont::registerFontFile(const std::string& path) {
  if (path.empty() || !FcInit()) return false;
  FontRegistry& reg = registry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  if (!FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str())))
    return false;
  // Names that found nothing before may name the new faces.
  for (auto it = reg.names.begin(); it != reg.names.end();)
    it = it->second ? std::next(it) : reg.names.erase(it);
  return true;
}

namespace {

// One shaping buffer per thread, emptied and reused by every line so shaping a short label
// allocates nothing once the buffer has grown to the longest line seen.
class ShapingBuffer {
 public:
  ShapingBuffer() : mBuffer(hb_buffer_create()) {}
  ~ShapingBuffer() { hb_buffer_destroy(mBuffer); }
  ShapingBuffer(const ShapingBuffer&) = delete;
  ShapingBuffer& operator=(const ShapingBuffer&) = delete;
  hb_buffer_t* emptied() {
    hb_buffer_clear_contents(mBuffer);
    return mBuffer;
  }

 private:
  hb_buffer_t* mBuffer;
};

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Hinting off, so what is drawn matches the unhinted design metrics lines are measured with;
// made once, since Cairo copies the options it is given.
const cairo_font_options_t* unhintedFontOptions() {
  static cairo_font_options_t* const options = [] {
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    return o;
  }();
  return options;
}

}  // namespace

CTLine* CTLine::create(std::string_view text, CTFont* font, std::optional<NSColor> colour) {
  if (!font) return nullptr;
  auto* line = new CTLine;
  line->mFont = font;
  line->mColour = colour;
  // Invalid UTF-8 becomes U+FFFD, so shaping and drawing never see a broken sequence; valid
  // text (the usual case) is shaped where it stands.
  std::string sanitized;
  if (!isAscii(text) && !base::isValidUtf8(text)) {
    sanitized = base::sanitizeUtf8(text);
    text = sanitized;
  }
  thread_local ShapingBuffer shaping;
  hb_buffer_t* buffer = shaping.emptied();
  hb_buffer_add_utf8(buffer, text.data(), static_cast<int>(text.size()), 0,
                     static_cast<int>(text.size()));
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(font->harfBuzzFont(), buffer, nullptr, 0);
  unsigned count = 0;
  hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
  hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, nullptr);
  // Positions come in font units; the size scales them in double precision.
  double unit = font->size() / hb_face_get_upem(hb_font_get_face(font->harfBuzzFont()));
  double pen = 0;
  line->mGlyphs.reserve(count);
  for (unsigned i = 0; i < count; ++i) {
    line->mGlyphs.push_back(
        {info[i].codepoint, (pen + pos[i].x_offset) * unit, pos[i].y_offset * unit});
    pen += pos[i].x_advance;
  }
  line->mWidth = pen * unit;
  return line;
}

void CTLine::dealloc() {
  mFont.reset();
  NSObject::dealloc();
}

void CTLine::draw(CGContext* context) const {
  if (!context || mGlyphs.empty()) return;
  cairo_t* cr = context->cairo();
  const CGAffineTransform& tm = context->textMatrix();
  NSPoint origin = context->textPosition();
  double size = mFont->size();
  // Cairo's glyph space points y down, CoreGraphics' y up: the font matrix is the text
  // matrix applied to a y-flipped em square.
  cairo_matrix_t fontMatrix;
  cairo_matrix_init(&fontMatrix, tm.a * size, tm.b * size, -tm.c * size, -tm.d * size, 0, 0);
  // A text matrix that collapses the text or is no number shows nothing; Cairo would take
  // it as an error that ends every later drawing through the context.
  cairo_matrix_t inverse = fontMatrix;
  if (!base::isFinite(fontMatrix.xx, fontMatrix.yx, fontMatrix.xy, fontMatrix.yy, origin.x,
                      origin.y, tm.tx, tm.ty) ||
      cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS)
    return;
  std::vector<cairo_glyph_t> glyphs;
  glyphs.reserve(mGlyphs.size());
  for (const Glyph& g : mGlyphs)
    glyphs.push_back({g.index, origin.x + tm.a * g.x + tm.c * g.y + tm.tx,
                      origin.y + tm.b * g.x + tm.d * g.y + tm.ty});
  cairo_save(cr);
  cairo_set_font_face(cr, mFont->cairoFace());
  cairo_set_font_matrix(cr, &fontMatrix);
  cairo_set_font_options(cr, unhintedFontOptions());
  if (mColour)
    cairo_set_source_rgba(cr, mColour->red, mColour->green, mColour->blue, mColour->alpha);
  else
    context->useFillColor();
  cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
  cairo_restore(cr);
}

}  // namespace platform
