#pragma once

// The graphics context that really draws: every primitive goes to a CairoPainter, which draws
// into an image surface of the editor's size at its scale.

#include <memory>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

class CairoPainter;

class IGraphicsNanoVG : public IGraphics {
 public:
  IGraphicsNanoVG(IEditorDelegate& dlg, int w, int h, int fps = 60, float scale = 1.f);
  ~IGraphicsNanoVG() override;

  CairoPainter& GetPainter() { return *mPainter; }
  // Writes what has been drawn so far as PNG; false when it cannot be written.
  bool WritePNG(const char* path);
  // The pixel at device pixel (x, y).
  IColor GetPixel(int x, int y) const;
  // Adds a folder searched for bitmaps and SVG images by name.
  static void AddResourcePath(const char* folder);
  static bool LoadFont(const char* name, const char* path);

  IBitmap LoadBitmap(const char* name, int nStates = 1, bool framesAreHorizontal = false,
                     int targetScale = 0) override;
  ISVG LoadSVG(const char* name) override;

  void DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX, int srcY,
                  const IBlend* blend = nullptr) override;
  void DrawRotatedBitmap(const IBitmap& bitmap, float destCtrX, float destCtrY, double angle,
                         const IBlend* blend = nullptr) override;
  void DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* blend = nullptr,
               const IColor* strokeColor = nullptr, const IColor* fillColor = nullptr) override;
  void DrawRotatedSVG(const ISVG& svg, float destCtrX, float destCtrY, float width, float height,
                      double angle, const IBlend* blend = nullptr) override;

  void DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                const IBlend* blend = nullptr, float thickness = 1.f) override;
  void DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* blend = nullptr, float thickness = 1.f) override;
  void DrawRect(const IColor& color, const IRECT& bounds, const IBlend* blend = nullptr,
                float thickness = 1.f) override;
  void DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                     const IBlend* blend = nullptr, float thickness = 1.f) override;
  void DrawRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR, float cRBR,
                     float cRBL, const IBlend* blend = nullptr, float thickness = 1.f) override;
  void DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
               const IBlend* blend = nullptr, float thickness = 1.f) override;
  void DrawCircle(const IColor& color, float cx, float cy, float r, const IBlend* blend = nullptr,
                  float thickness = 1.f) override;
  void DrawEllipse(const IColor& color, const IRECT& bounds, const IBlend* blend = nullptr,
                   float thickness = 1.f) override;

  void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* blend = nullptr) override;
  void FillRect(const IColor& color, const IRECT& bounds, const IBlend* blend = nullptr) override;
  void FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                     const IBlend* blend = nullptr) override;
  void FillRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR, float cRBR,
                     float cRBL, const IBlend* blend = nullptr) override;
  void FillCircle(const IColor& color, float cx, float cy, float r,
                  const IBlend* blend = nullptr) override;
  void FillEllipse(const IColor& color, const IRECT& bounds,
                   const IBlend* blend = nullptr) override;

  void DrawBoxShadow(const IRECT& inner, const IRECT& outer, const IBlend* blend, float xOffset,
                     float yOffset, float cornerRadius, float blur) override;

  void DrawText(const IText& text, const char* str, const IRECT& bounds,
                const IBlend* blend = nullptr) override;
  float MeasureText(const IText& text, const char* str, IRECT& bounds) const override;

  void PathClear() override;
  void PathClose() override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathArc(float cx, float cy, float r, float a1, float a2,
               EWinding winding = EWinding::CW) override;
  void PathRect(const IRECT& bounds) override;
  void PathRoundRect(const IRECT& bounds, float cornerRadius) override;
  void PathCircle(float cx, float cy, float r) override;
  void PathEllipse(const IRECT& bounds) override;
  void PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3) override;
  void PathFill(const IPattern& pattern, const IFillOptions& options = IFillOptions(),
                const IBlend* blend = nullptr) override;
  void PathStroke(const IPattern& pattern, float thickness,
                  const IStrokeOptions& options = IStrokeOptions(),
                  const IBlend* blend = nullptr) override;
  void PathTransformSave() override;
  void PathTransformRestore() override;
  void PathTransformTranslate(float x, float y) override;
  void PathTransformRotate(float angle) override;
  void PathTransformScale(float s) override;

 protected:
  void ScaleChanged() override;
  void BeginFrame(const IRECTList& rects) override;
  void EndFrame() override;
  void SetClipRegion(const IRECT& r) override;
  bool BeginLayerDrawing(const IRECT& r) override;
  ILayerPtr EndLayerDrawing() override;
  void DrawLayerBitmap(const ILayer& layer, const IBlend* blend) override;
  bool LayerFits(const ILayer& layer, const IRECT& bounds) const override;

 private:
  std::unique_ptr<CairoPainter> mPainter;
};

}  // namespace igraphics
}  // namespace iplug
