#include "graphics/IGraphicsNanoVG.h"

#include "graphics/CairoPainter.h"

namespace iplug {
namespace igraphics {

IGraphicsNanoVG::IGraphicsNanoVG(IEditorDelegate& dlg, int w, int h, int fps, float scale)
    : IGraphics(dlg, w, h, fps, scale),
      mPainter(
          std::make_unique<CairoPainter>(Width(), Height(), GetScreenScale() * GetDrawScale())) {}

IGraphicsNanoVG::~IGraphicsNanoVG() = default;

bool IGraphicsNanoVG::WritePNG(const char* path) {
  return mPainter->WritePNG(path);
}

IColor IGraphicsNanoVG::GetPixel(int x, int y) const {
  return mPainter->GetPixel(x, y);
}

void IGraphicsNanoVG::AddResourcePath(const char* folder) {
  CairoPainter::AddResourcePath(folder);
}

bool IGraphicsNanoVG::LoadFont(const char* name, const char* path) {
  return CairoPainter::LoadFont(name, path);
}

void IGraphicsNanoVG::ScaleChanged() {
  // The surface is redrawn in full afterwards: every control is marked dirty.
  mPainter->Resize(Width(), Height(), GetScreenScale() * GetDrawScale());
}

void IGraphicsNanoVG::BeginFrame(const IRECTList& rects) {
  mPainter->BeginFrame();
  // What was drawn in a dirty region is wiped, so a control hidden or moved away leaves no trace.
  for (int i = 0; i < rects.Size(); ++i) mPainter->ClearRect(rects.Get(i));
}

void IGraphicsNanoVG::EndFrame() {
  mPainter->EndFrame();
}

void IGraphicsNanoVG::SetClipRegion(const IRECT& r) {
  mPainter->SetClipRect(r);
}

bool IGraphicsNanoVG::BeginLayerDrawing(const IRECT& r) {
  return mPainter->StartLayer(r);
}

ILayerPtr IGraphicsNanoVG::EndLayerDrawing() {
  return mPainter->EndLayer();
}

void IGraphicsNanoVG::DrawLayerBitmap(const ILayer& layer, const IBlend* blend) {
  mPainter->DrawLayer(&layer, blend);
}

bool IGraphicsNanoVG::LayerFits(const ILayer& layer, const IRECT& bounds) const {
  return mPainter->CheckLayer(&layer, bounds);
}

IBitmap IGraphicsNanoVG::LoadBitmap(const char* name, int nStates, bool framesAreHorizontal,
                                    int targetScale) {
  return mPainter->LoadBitmap(name, nStates, framesAreHorizontal, targetScale);
}

ISVG IGraphicsNanoVG::LoadSVG(const char* name) {
  return CairoPainter::LoadSVG(name);
}

void IGraphicsNanoVG::DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX, int srcY,
                                 const IBlend* blend) {
  mPainter->DrawBitmap(bitmap, dest, srcX, srcY, blend);
}

void IGraphicsNanoVG::DrawRotatedBitmap(const IBitmap& bitmap, float destCtrX, float destCtrY,
                                        double angle, const IBlend* blend) {
  mPainter->DrawRotatedBitmap(bitmap, destCtrX, destCtrY, angle, blend);
}

void IGraphicsNanoVG::DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* blend,
                              const IColor* strokeColor, const IColor* fillColor) {
  // Colour overrides are not offered by the painter; every caller passes none.
  mPainter->DrawSVG(svg, bounds, blend);
}

void IGraphicsNanoVG::DrawRotatedSVG(const ISVG& svg, float destCtrX, float destCtrY, float width,
                                     float height, double angle, const IBlend* blend) {
  mPainter->DrawRotatedSVG(svg, destCtrX, destCtrY, width, height, angle, blend);
}

void IGraphicsNanoVG::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                               const IBlend* blend, float thickness) {
  mPainter->DrawLine(color, x1, y1, x2, y2, blend, thickness);
}

void IGraphicsNanoVG::DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                   float x3, float y3, const IBlend* blend, float thickness) {
  mPainter->DrawTriangle(color, x1, y1, x2, y2, x3, y3, blend, thickness);
}

void IGraphicsNanoVG::DrawRect(const IColor& color, const IRECT& bounds, const IBlend* blend,
                               float thickness) {
  mPainter->DrawRect(color, bounds, blend, thickness);
}

void IGraphicsNanoVG::DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                    const IBlend* blend, float thickness) {
  mPainter->DrawRoundRect(color, bounds, cornerRadius, blend, thickness);
}

void IGraphicsNanoVG::DrawRoundRect(const IColor& color, const IRECT& bounds, float cRTL,
                                    float cRTR, float cRBR, float cRBL, const IBlend* blend,
                                    float thickness) {
  mPainter->DrawRoundRect(color, bounds, cRTL, cRTR, cRBR, cRBL, blend, thickness);
}

void IGraphicsNanoVG::DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                              const IBlend* blend, float thickness) {
  mPainter->DrawArc(color, cx, cy, r, a1, a2, blend, thickness);
}

void IGraphicsNanoVG::DrawCircle(const IColor& color, float cx, float cy, float r,
                                 const IBlend* blend, float thickness) {
  mPainter->DrawCircle(color, cx, cy, r, blend, thickness);
}

void IGraphicsNanoVG::DrawEllipse(const IColor& color, const IRECT& bounds, const IBlend* blend,
                                  float thickness) {
  mPainter->DrawEllipse(color, bounds, blend, thickness);
}

void IGraphicsNanoVG::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                   float x3, float y3, const IBlend* blend) {
  mPainter->FillTriangle(color, x1, y1, x2, y2, x3, y3, blend);
}

void IGraphicsNanoVG::FillRect(const IColor& color, const IRECT& bounds, const IBlend* blend) {
  mPainter->FillRect(color, bounds, blend);
}

void IGraphicsNanoVG::FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                    const IBlend* blend) {
  mPainter->FillRoundRect(color, bounds, cornerRadius, blend);
}

void IGraphicsNanoVG::FillRoundRect(const IColor& color, const IRECT& bounds, float cRTL,
                                    float cRTR, float cRBR, float cRBL, const IBlend* blend) {
  mPainter->FillRoundRect(color, bounds, cRTL, cRTR, cRBR, cRBL, blend);
}

void IGraphicsNanoVG::FillCircle(const IColor& color, float cx, float cy, float r,
                                 const IBlend* blend) {
  mPainter->FillCircle(color, cx, cy, r, blend);
}

void IGraphicsNanoVG::FillEllipse(const IColor& color, const IRECT& bounds, const IBlend* blend) {
  mPainter->FillEllipse(color, bounds, blend);
}

void IGraphicsNanoVG::DrawBoxShadow(const IRECT& inner, const IRECT& outer, const IBlend* blend,
                                    float xOffset, float yOffset, float cornerRadius, float blur) {
  mPainter->DrawBoxShadow(inner, outer, blend, xOffset, yOffset, cornerRadius, blur);
}

void IGraphicsNanoVG::DrawText(const IText& text, const char* str, const IRECT& bounds,
                               const IBlend* blend) {
  if (!str || !*str) return;
  mPainter->DrawText(text, str, bounds, blend);
}

float IGraphicsNanoVG::MeasureText(const IText& text, const char* str, IRECT& bounds) const {
  return mPainter->MeasureText(text, str, bounds);
}

void IGraphicsNanoVG::PathClear() {
  mPainter->PathClear();
}

void IGraphicsNanoVG::PathClose() {
  mPainter->PathClose();
}

void IGraphicsNanoVG::PathMoveTo(float x, float y) {
  mPainter->PathMoveTo(x, y);
}

void IGraphicsNanoVG::PathLineTo(float x, float y) {
  mPainter->PathLineTo(x, y);
}

void IGraphicsNanoVG::PathArc(float cx, float cy, float r, float a1, float a2, EWinding winding) {
  mPainter->PathArc(cx, cy, r, a1, a2, winding);
}

void IGraphicsNanoVG::PathRect(const IRECT& bounds) {
  mPainter->PathRect(bounds);
}

void IGraphicsNanoVG::PathRoundRect(const IRECT& bounds, float cornerRadius) {
  mPainter->PathRoundRect(bounds, cornerRadius);
}

void IGraphicsNanoVG::PathCircle(float cx, float cy, float r) {
  mPainter->PathCircle(cx, cy, r);
}

void IGraphicsNanoVG::PathEllipse(const IRECT& bounds) {
  mPainter->PathEllipse(bounds);
}

void IGraphicsNanoVG::PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
  mPainter->PathTriangle(x1, y1, x2, y2, x3, y3);
}

void IGraphicsNanoVG::PathFill(const IPattern& pattern, const IFillOptions& options,
                               const IBlend* blend) {
  mPainter->PathFill(pattern, options, blend);
}

void IGraphicsNanoVG::PathStroke(const IPattern& pattern, float thickness,
                                 const IStrokeOptions& options, const IBlend* blend) {
  mPainter->PathStroke(pattern, thickness, options, blend);
}

void IGraphicsNanoVG::PathTransformSave() {
  mPainter->PathTransformSave();
}

void IGraphicsNanoVG::PathTransformRestore() {
  mPainter->PathTransformRestore();
}

void IGraphicsNanoVG::PathTransformTranslate(float x, float y) {
  mPainter->PathTransformTranslate(x, y);
}

void IGraphicsNanoVG::PathTransformRotate(float angle) {
  mPainter->PathTransformRotate(angle);
}

void IGraphicsNanoVG::PathTransformScale(float s) {
  mPainter->PathTransformScale(s);
}

}  // namespace igraphics
}  // namespace iplug
