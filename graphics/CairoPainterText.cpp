// Text of CairoPainter: font faces by name, measuring and drawing.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Finite.h"
#include "base/Log.h"
#include "base/Utf8.h"
#include "graphics/APIBitmap.h"
#include "graphics/CairoPainter.h"
#include "graphics/CairoPainterDetail.h"
#include "graphics/FontCache.h"

namespace iplug {
namespace igraphics {

using namespace cairo_detail;

namespace {

// The box around r turned by angleDeg about its centre.
IRECT RotatedBounds(const IRECT& r, float angleDeg) {
  const double a = DegToRad(angleDeg);
  const double c = std::fabs(std::cos(a)), s = std::fabs(std::sin(a));
  const double hw = 0.5 * (r.W() * c + r.H() * s), hh = 0.5 * (r.W() * s + r.H() * c);
  const double cx = r.MW(), cy = r.MH();
  return IRECT(static_cast<float>(cx - hw), static_cast<float>(cy - hh),
               static_cast<float>(cx + hw), static_cast<float>(cy + hh));
}

}  // namespace

bool CairoPainter::LoadFont(const char* name, const char* path) {
  return FontCache::LoadFont(name, path);
}

// The face for a name; the last one used is kept, so a run of texts in one font costs no
// lookup.
cairo_font_face_t* CairoPainter::FontFace(const char* name) const {
  const unsigned generation = FontCache::Generation();
  if (mFontFace && generation == mFontGeneration &&
      cairo_font_face_status(mFontFace) == CAIRO_STATUS_SUCCESS &&
      std::strncmp(mFontName, name, sizeof(mFontName)) == 0)
    return mFontFace;
  cairo_font_face_t* face = FontCache::Get(name);
  if (!face) return nullptr;
  if (mFontFace) cairo_font_face_destroy(mFontFace);
  mFontFace = face;
  mFontGeneration = generation;
  std::strncpy(mFontName, name, sizeof(mFontName) - 1);
  mFontName[sizeof(mFontName) - 1] = '\0';
  return mFontFace;
}

// Selects the font and lays the string out: the box it occupies (advance width by line
// height) placed inside bounds by alignment, and its baseline.
bool CairoPainter::PrepareText(const IText& text, const char* utf8, const char** clean, IRECT& box,
                               const IRECT& bounds, double* baseline, float* width) const {
  if (!mCr || !utf8 || !*utf8) return false;
  if (!std::isfinite(text.mSize) || text.mSize <= 0.f || !std::isfinite(text.mAngle) ||
      !base::isFiniteRect(bounds)) {
    base::warn("graphics", "text with unusable size, angle or bounds not drawn");
    return false;
  }
  // FreeType cannot scale a face to 65536 pixels, and failing to puts the face shared by
  // every painter into an error state; no glyph taller than the largest surface shows whole.
  cairo_matrix_t ctm;
  cairo_get_matrix(mCr, &ctm);
  const double deviceScale = std::max(std::hypot(ctm.xx, ctm.yx), std::hypot(ctm.xy, ctm.yy));
  if (text.mSize * deviceScale > APIBitmap::kMaxSide) {
    base::warn("graphics", "text of %g pixels is too large to draw", text.mSize * deviceScale);
    return false;
  }
  cairo_font_face_t* face = FontFace(text.mFont);
  if (!face) return false;
  if (base::isValidUtf8(utf8)) {
    *clean = utf8;
  } else {
    mTextScratch = base::sanitizeUtf8(utf8);
    *clean = mTextScratch.c_str();
  }
  cairo_set_font_face(mCr, face);
  cairo_set_font_size(mCr, text.mSize);
  cairo_font_extents_t fe;
  cairo_font_extents(mCr, &fe);
  cairo_text_extents_t te;
  cairo_text_extents(mCr, *clean, &te);

  const double w = te.x_advance, h = fe.ascent + fe.descent;
  box = AlignTextBox(text, bounds, static_cast<float>(w), static_cast<float>(h));
  const double y = box.T;
  *baseline = y + fe.ascent;
  *width = static_cast<float>(w);
  return true;
}

float CairoPainter::MeasureText(const IText& text, const char* utf8, IRECT& bounds) const {
  const char* clean = nullptr;
  IRECT box;
  double baseline = 0.0;
  float width = 0.f;
  if (!PrepareText(text, utf8, &clean, box, bounds, &baseline, &width)) {
    bounds = IRECT();
    return 0.f;
  }
  bounds = text.mAngle != 0.f ? RotatedBounds(box, text.mAngle) : box;
  return width;
}

void CairoPainter::DrawText(const IText& text, const char* utf8, const IRECT& bounds,
                            const IBlend* blend) {
  const char* clean = nullptr;
  IRECT box;
  double baseline = 0.0;
  float width = 0.f;
  float weight = 1.f;
  if (!PrepareText(text, utf8, &clean, box, bounds, &baseline, &width) || !SetBlend(blend, &weight))
    return;
  SetSolidSource(text.mFGColor, weight);
  cairo_matrix_t saved;
  cairo_get_matrix(mCr, &saved);
  if (text.mAngle != 0.f) {
    // Turn about the centre of the text's own box.
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, box.MW(), box.MH());
    cairo_matrix_rotate(&m, DegToRad(text.mAngle));
    cairo_matrix_translate(&m, -box.MW(), -box.MH());
    if (!ApplyTransform(mCr, m)) return;
  }
  cairo_new_path(mCr);
  cairo_move_to(mCr, box.L, baseline);
  cairo_show_text(mCr, clean);
  cairo_new_path(mCr);
  mPathBad = false;
  cairo_set_matrix(mCr, &saved);
}

}  // namespace igraphics
}  // namespace iplug
