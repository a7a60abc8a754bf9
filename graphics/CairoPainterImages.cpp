// Images of CairoPainter: bitmaps, SVG, layers and the PNG output.

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/BitmapCache.h"
#include "graphics/CairoPainter.h"
#include "graphics/CairoPainterDetail.h"
#include "graphics/ResourcePaths.h"
#include "graphics/SVGCache.h"
#include "graphics/SVGHolder.h"

namespace iplug {
namespace igraphics {

using namespace cairo_detail;

// --- Bitmaps ---------------------------------------------------------------------------------

void CairoPainter::AddResourcePath(const char* folder) {
  ResourcePaths::Add(folder);
}

IBitmap CairoPainter::LoadBitmap(const char* name, int nStates, bool framesAreHorizontal,
                                 int targetScale) {
  if (targetScale <= 0) targetScale = static_cast<int>(std::ceil(mScale));
  APIBitmap* bitmap = BitmapCache::Load(name, targetScale);
  if (!bitmap) return IBitmap();
  const float s = bitmap->GetScale();
  return IBitmap(bitmap, static_cast<int>(bitmap->GetWidth() / s),
                 static_cast<int>(bitmap->GetHeight() / s), nStates, framesAreHorizontal, name);
}

// Paints the surface so that its point (srcX, srcY) lands on the destination's top left, and
// only the destination is covered.
void CairoPainter::DrawSurface(cairo_surface_t* surface, float surfaceScale, const IRECT& dest,
                               float srcX, float srcY, const IBlend* blend) {
  if (!mCr || !surface) return;
  if (!base::isFiniteRect(dest) || !base::isFinite(srcX, srcY, surfaceScale) ||
      surfaceScale <= 0.f) {
    base::warn("graphics", "image with non-finite placement not drawn");
    return;
  }
  float weight = 1.f;
  if (dest.W() <= 0.f || dest.H() <= 0.f || !SetBlend(blend, &weight)) return;
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, surfaceScale, surfaceScale);
  cairo_matrix_translate(&m, srcX - dest.L, srcY - dest.T);
  cairo_pattern_set_matrix(pattern, &m);
  cairo_set_source(mCr, pattern);
  cairo_pattern_destroy(pattern);
  cairo_new_path(mCr);
  mPathBad = false;
  if (weight >= 1.f) {
    cairo_rectangle(mCr, dest.L, dest.T, dest.W(), dest.H());
    cairo_fill(mCr);
  } else {
    cairo_save(mCr);
    cairo_rectangle(mCr, dest.L, dest.T, dest.W(), dest.H());
    cairo_clip(mCr);
    cairo_paint_with_alpha(mCr, weight);
    cairo_restore(mCr);
  }
}

void CairoPainter::DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX, int srcY,
                              const IBlend* blend) {
  const APIBitmap* api = bitmap.GetAPIBitmap();
  if (!api) return;
  DrawSurface(api->GetSurface(), api->GetScale(), dest, static_cast<float>(srcX),
              static_cast<float>(srcY), blend);
}

void CairoPainter::DrawRotatedBitmap(const IBitmap& bitmap, float cx, float cy, double angleDeg,
                                     const IBlend* blend) {
  const APIBitmap* api = bitmap.GetAPIBitmap();
  if (!mCr || !api) return;
  if (!base::isFinite(cx, cy, angleDeg)) {
    base::warn("graphics", "rotated bitmap with non-finite placement not drawn");
    return;
  }
  cairo_matrix_t saved;
  cairo_get_matrix(mCr, &saved);
  if (!ApplyRotationAbout(mCr, cx, cy, angleDeg)) return;
  const float hw = 0.5f * bitmap.W, hh = 0.5f * bitmap.H;
  DrawSurface(api->GetSurface(), api->GetScale(), IRECT(-hw, -hh, hw, hh), 0.f, 0.f, blend);
  cairo_set_matrix(mCr, &saved);
}

// --- SVG -------------------------------------------------------------------------------------

ISVG CairoPainter::LoadSVG(const char* name) {
  return SVGCache::Load(name);
}

void CairoPainter::DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* blend) {
  if (!mCr || !svg.IsValid()) return;
  if (!base::isFiniteRect(bounds)) {
    base::warn("graphics", "SVG with non-finite bounds not drawn");
    return;
  }
  const SVGHolder& holder = *svg.mImage;
  float weight = 1.f;
  if (bounds.W() <= 0.f || bounds.H() <= 0.f || holder.mWidth <= 0.0 || holder.mHeight <= 0.0 ||
      !SetBlend(blend, &weight))
    return;
  const double scale = std::min(bounds.W() / holder.mWidth, bounds.H() / holder.mHeight);
  const double x = bounds.L + 0.5 * (bounds.W() - holder.mWidth * scale);
  const double y = bounds.T + 0.5 * (bounds.H() - holder.mHeight * scale);
  cairo_matrix_t m;
  cairo_matrix_init_translate(&m, x, y);
  cairo_matrix_scale(&m, scale, scale);

  const cairo_operator_t op = cairo_get_operator(mCr);
  cairo_new_path(mCr);
  mPathBad = false;
  cairo_save(mCr);
  if (weight >= 1.f && op == CAIRO_OPERATOR_OVER) {
    if (ApplyTransform(mCr, m)) holder.Render(mCr, holder.mWidth, holder.mHeight);
  } else {
    // The image is drawn whole first, then laid down with the blend, so overlapping shapes
    // inside it do not show through each other.
    cairo_rectangle(mCr, bounds.L, bounds.T, bounds.W(), bounds.H());
    cairo_clip(mCr);
    cairo_push_group(mCr);
    cairo_set_operator(mCr, CAIRO_OPERATOR_OVER);
    if (ApplyTransform(mCr, m)) holder.Render(mCr, holder.mWidth, holder.mHeight);
    cairo_pop_group_to_source(mCr);
    cairo_set_operator(mCr, op);
    cairo_paint_with_alpha(mCr, weight);
  }
  cairo_restore(mCr);
}

void CairoPainter::DrawRotatedSVG(const ISVG& svg, float cx, float cy, float width, float height,
                                  double angleDeg, const IBlend* blend) {
  if (!mCr || !svg.IsValid()) return;
  if (!base::isFinite(cx, cy, width, height, angleDeg)) {
    base::warn("graphics", "rotated SVG with non-finite placement not drawn");
    return;
  }
  cairo_matrix_t saved;
  cairo_get_matrix(mCr, &saved);
  if (!ApplyRotationAbout(mCr, cx, cy, angleDeg)) return;
  const float hw = 0.5f * width, hh = 0.5f * height;
  DrawSVG(svg, IRECT(-hw, -hh, hw, hh), blend);
  cairo_set_matrix(mCr, &saved);
}

// --- Layers ----------------------------------------------------------------------------------

bool CairoPainter::StartLayer(const IRECT& bounds) {
  if (!mCr) return false;
  if (!base::isFiniteRect(bounds) || bounds.W() <= 0.f || bounds.H() <= 0.f) {
    base::warn("graphics", "layer needs bounds with an area");
    return false;
  }
  const double pw = std::ceil(static_cast<double>(bounds.W()) * mScale);
  const double ph = std::ceil(static_cast<double>(bounds.H()) * mScale);
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  if (!CreateImageTarget(pw, ph, surface, cr)) return false;
  auto target = std::make_unique<Target>();
  target->cr = cr;
  target->surface = surface;
  target->bounds = bounds;
  target->scale = mScale;
  // The layer's own points start at the bounds' top left.
  cairo_matrix_init_scale(&target->base, mScale, mScale);
  cairo_matrix_translate(&target->base, -bounds.L, -bounds.T);
  target->parentCr = mCr;
  target->parentBase = mBaseMatrix;
  target->parentSaveDepth = mSaveDepth;
  mCr = cr;
  mBaseMatrix = target->base;
  mSaveDepth = 0;
  mPathBad = false;
  ResetContextState(mCr, mBaseMatrix);
  mTargets.push_back(std::move(target));
  return true;
}

ILayerPtr CairoPainter::EndLayer() {
  if (mTargets.empty()) {
    base::warn("graphics", "EndLayer without StartLayer");
    return nullptr;
  }
  std::unique_ptr<Target> target = std::move(mTargets.back());
  mTargets.pop_back();
  cairo_destroy(target->cr);
  cairo_surface_flush(target->surface);
  mCr = target->parentCr;
  mBaseMatrix = target->parentBase;
  mSaveDepth = target->parentSaveDepth;
  mPathBad = false;
  auto bitmap = std::make_unique<APIBitmap>(target->surface, target->scale);
  return std::make_unique<ILayer>(std::move(bitmap), target->bounds, target->scale);
}

void CairoPainter::DestroyTargets() {
  while (!mTargets.empty()) {
    std::unique_ptr<Target> target = std::move(mTargets.back());
    mTargets.pop_back();
    cairo_destroy(target->cr);
    cairo_surface_destroy(target->surface);
    mCr = target->parentCr;
    mBaseMatrix = target->parentBase;
    mSaveDepth = target->parentSaveDepth;
  }
}

void CairoPainter::DrawLayer(const ILayer* layer, const IBlend* blend) {
  if (!layer || !layer->GetAPIBitmap()) return;
  const APIBitmap* bitmap = layer->GetAPIBitmap();
  DrawSurface(bitmap->GetSurface(), bitmap->GetScale(), layer->Bounds(), 0.f, 0.f, blend);
}

bool CairoPainter::CheckLayer(const ILayer* layer, const IRECT& bounds) const {
  return layer && !layer->IsInvalid() && layer->GetScale() == mScale && layer->Bounds() == bounds;
}

// --- Output ----------------------------------------------------------------------------------

bool CairoPainter::WritePNG(const char* path) {
  if (!mSurface || !path || !*path) {
    base::warn("graphics", "PNG output needs a surface and a path");
    return false;
  }
  cairo_surface_flush(mSurface);
  const std::string temp = std::string(path) + ".tmp";
  const cairo_status_t status = cairo_surface_write_to_png(mSurface, temp.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    base::warn("graphics", "cannot write \"%s\": %s", temp.c_str(), cairo_status_to_string(status));
    unlink(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path) != 0) {
    base::warn("graphics", "cannot rename \"%s\" to \"%s\": %s", temp.c_str(), path,
               std::strerror(errno));
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace igraphics
}  // namespace iplug
