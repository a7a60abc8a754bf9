#pragma once

// The raster engine of the graphics core: every drawing primitive of the editor, drawn with
// Cairo into an ARGB32 image surface that the painter owns.

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/IGraphicsStructs.h"
#include "graphics/ILayer.h"

namespace iplug {
namespace igraphics {

// Coordinates are editor points, y down; the surface has points x scale pixels per side. Angles
// are degrees, clockwise on screen; arc angles are measured from 12 o'clock. A null blend draws
// plainly (source over, full weight).
//
// Bad input never reaches Cairo: a non-finite coordinate, size, angle or weight is logged and
// the primitive draws nothing (a path that received one is dropped when it is filled or
// stroked), a transform that cannot be inverted is refused, and an unbalanced restore is ignored.
class CairoPainter {
 public:
  // A surface of width x height points at the given scale; a bad size or scale gives an empty
  // surface (see IsValid).
  CairoPainter(int width, int height, float scale = 1.f);
  ~CairoPainter();
  CairoPainter(const CairoPainter&) = delete;
  CairoPainter& operator=(const CairoPainter&) = delete;

  // --- Surface ---
  // Replaces the surface (its content is lost); open layers are dropped. Returns false and
  // keeps the current surface when the size or scale is unusable.
  bool Resize(int width, int height, float scale);
  bool IsValid() const { return mSurface != nullptr; }
  int Width() const { return mWidth; }    // points
  int Height() const { return mHeight; }  // points
  float GetScale() const { return mScale; }
  int PixelWidth() const { return mPixelWidth; }
  int PixelHeight() const { return mPixelHeight; }
  cairo_surface_t* GetSurface() const { return mSurface; }
  cairo_t* GetContext() const { return mCr; }

  // Starts a frame: drops open layers, resets transform, clip, path and saved states.
  void BeginFrame();
  // Finishes a frame: balances saved states and flushes the surface for reading.
  void EndFrame();
  // Fills the whole drawing target (the surface, or the layer being drawn), ignoring clip and
  // transform, with a colour; default transparent.
  void Clear(const IColor& color = COLOR_TRANSPARENT);
  // Makes the surface transparent over the region (in points), rounded out to whole device
  // pixels. Writes the pixels directly: far cheaper than a clipped paint, and a frame wipes
  // every dirty region with it.
  void ClearRect(const IRECT& r);

  // --- Path building ---
  void PathClear();
  void PathMoveTo(float x, float y);
  void PathLineTo(float x, float y);
  // Degrees clockwise from 12 o'clock; CW traces increasing angles, CCW decreasing ones.
  void PathArc(float cx, float cy, float r, float a1, float a2, EWinding winding = EWinding::CW);
  void PathClose();
  void PathRect(const IRECT& r);
  // Corner radii are limited to half the shorter side.
  void PathRoundRect(const IRECT& r, float cornerRadius);
  void PathRoundRect(const IRECT& r, float tl, float tr, float br, float bl);
  void PathCircle(float cx, float cy, float r);
  void PathEllipse(const IRECT& r);
  void PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3);

  // Fills or strokes the current path, which is then cleared unless the options preserve it.
  void PathFill(const IPattern& pattern, const IFillOptions& options = IFillOptions(),
                const IBlend* blend = nullptr);
  void PathStroke(const IPattern& pattern, float thickness,
                  const IStrokeOptions& options = IStrokeOptions(), const IBlend* blend = nullptr);

  // --- Clip and transform ---
  // Replaces the clip with the rectangle in the current transform; an empty rectangle removes
  // the clip. The current path is kept.
  void PathClipRegion(const IRECT& r = IRECT());
  // Replaces the clip with the rectangle; any rectangle without area, the all-zero one
  // included, clips everything away.
  void SetClipRect(const IRECT& r);
  void ResetClip();
  // Saves and restores transform and clip together; a restore without a save is ignored.
  void PathTransformSave();
  void PathTransformRestore();
  // Back to the identity transform of the current target; clearStates also drops every saved
  // state and the clip.
  void PathTransformReset(bool clearStates = false);
  void PathTransformTranslate(float x, float y);
  void PathTransformRotate(float angleDeg);
  void PathTransformScale(float sx, float sy);
  void PathTransformScale(float s) { PathTransformScale(s, s); }
  void PathTransformMatrix(const IMatrix& m);

  // --- Shapes ---
  // These, text and images replace the current path with their own.
  void FillRect(const IColor& c, const IRECT& r, const IBlend* blend = nullptr);
  void DrawRect(const IColor& c, const IRECT& r, const IBlend* blend = nullptr,
                float thickness = 1.f);
  void FillRoundRect(const IColor& c, const IRECT& r, float cornerRadius,
                     const IBlend* blend = nullptr);
  void DrawRoundRect(const IColor& c, const IRECT& r, float cornerRadius,
                     const IBlend* blend = nullptr, float thickness = 1.f);
  // Corner radii in the order top left, top right, bottom right, bottom left.
  void FillRoundRect(const IColor& c, const IRECT& r, float tl, float tr, float br, float bl,
                     const IBlend* blend = nullptr);
  void DrawRoundRect(const IColor& c, const IRECT& r, float tl, float tr, float br, float bl,
                     const IBlend* blend = nullptr, float thickness = 1.f);
  void FillCircle(const IColor& c, float cx, float cy, float r, const IBlend* blend = nullptr);
  void DrawCircle(const IColor& c, float cx, float cy, float r, const IBlend* blend = nullptr,
                  float thickness = 1.f);
  void FillEllipse(const IColor& c, const IRECT& r, const IBlend* blend = nullptr);
  void DrawEllipse(const IColor& c, const IRECT& r, const IBlend* blend = nullptr,
                   float thickness = 1.f);
  void FillTriangle(const IColor& c, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* blend = nullptr);
  void DrawTriangle(const IColor& c, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* blend = nullptr, float thickness = 1.f);
  void DrawLine(const IColor& c, float x1, float y1, float x2, float y2,
                const IBlend* blend = nullptr, float thickness = 1.f);
  void DrawArc(const IColor& c, float cx, float cy, float r, float a1, float a2,
               const IBlend* blend = nullptr, float thickness = 1.f);
  // A line across r at normalised position x (0 left .. 1 right), clamped to the rectangle.
  void DrawVerticalLine(const IColor& c, const IRECT& r, float x, const IBlend* blend = nullptr,
                        float thickness = 1.f);
  // A line across r at normalised position y (0 bottom .. 1 top), clamped to the rectangle.
  void DrawHorizontalLine(const IColor& c, const IRECT& r, float y, const IBlend* blend = nullptr,
                          float thickness = 1.f);
  // Inner grid lines every gridSizeH points across and every gridSizeV points down; a step that
  // is not positive draws no lines in that direction.
  void DrawGrid(const IColor& c, const IRECT& r, float gridSizeH, float gridSizeV,
                const IBlend* blend = nullptr, float thickness = 1.f);
  // A polyline of nPoints normalised points (y from the bottom); x evenly spaced when normX is
  // null. A non-finite point breaks the line there.
  void DrawData(const IColor& c, const IRECT& r, const float* normY, int nPoints,
                const float* normX = nullptr, const IBlend* blend = nullptr, float thickness = 1.f);
  // A soft shadow of the inner box with rounded corners, moved by the offset, blurred over
  // blurRadius points and clipped to the outer box. The blend weight scales its opacity.
  void DrawBoxShadow(const IRECT& inner, const IRECT& outer, const IBlend* blend, float xOffset,
                     float yOffset, float cornerRadius, float blurRadius,
                     const IColor& color = COLOR_BLACK);

  // --- Text ---
  // Registers a font file under a name for later IText::mFont lookups. False (logged) when the
  // file is not a usable font.
  static bool LoadFont(const char* name, const char* path);
  // The width in points of the string, and in bounds its box (the line height tall) placed
  // inside the given bounds by the style's alignment; rotated by the style's angle about its
  // centre, bounds receives the box around the rotated box. An empty or null string gives an
  // empty rectangle and 0.
  float MeasureText(const IText& text, const char* utf8, IRECT& bounds) const;
  // Draws the string placed as MeasureText places it, in the style's colour. Invalid UTF-8 is
  // drawn with replacement characters.
  void DrawText(const IText& text, const char* utf8, const IRECT& bounds,
                const IBlend* blend = nullptr);

  // --- Bitmaps and SVG ---
  static void AddResourcePath(const char* folder);
  // A bitmap from the cache, loaded on a miss; targetScale 0 means the painter's scale rounded
  // up. An invalid IBitmap (logged) when no file is found or it cannot be decoded.
  IBitmap LoadBitmap(const char* name, int nStates = 1, bool framesAreHorizontal = false,
                     int targetScale = 0);
  // An invalid ISVG (logged) when no file is found or it cannot be parsed.
  static ISVG LoadSVG(const char* name);
  // Draws the part of the bitmap starting at (srcX, srcY) points with the destination's size.
  void DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX = 0, int srcY = 0,
                  const IBlend* blend = nullptr);
  // The whole bitmap centred on (cx, cy), turned clockwise by a positive angle.
  void DrawRotatedBitmap(const IBitmap& bitmap, float cx, float cy, double angleDeg,
                         const IBlend* blend = nullptr);
  // The image scaled uniformly to fit the rectangle, centred in it.
  void DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* blend = nullptr);
  void DrawRotatedSVG(const ISVG& svg, float cx, float cy, float width, float height,
                      double angleDeg, const IBlend* blend = nullptr);

  // --- Layers ---
  // Redirects drawing into an off-screen surface covering bounds at the current scale, with
  // the identity transform and no clip (coordinates stay the editor's). Layers nest. False (logged)
  // for empty or unusable bounds; drawing then stays where it was.
  bool StartLayer(const IRECT& bounds);
  // Ends the innermost layer and hands it over; null when none is open.
  ILayerPtr EndLayer();
  bool IsDrawingLayer() const { return !mTargets.empty(); }
  // Composites a layer back at its bounds.
  void DrawLayer(const ILayer* layer, const IBlend* blend = nullptr);
  // True while the layer can be drawn as it is: not marked invalid, made at the current scale
  // and for the given bounds.
  bool CheckLayer(const ILayer* layer, const IRECT& bounds) const;

  // --- Output ---
  // Writes the surface as PNG through a temporary file, so a failure leaves no partial file.
  bool WritePNG(const char* path);
  // The pixel at device pixel (x, y), un-premultiplied; transparent outside the surface.
  IColor GetPixel(int x, int y) const;

 private:
  struct Target;  // a layer being drawn: its context and the layer it will become

  void DestroyTargets();
  void ResetContextState(cairo_t* cr, const cairo_matrix_t& base);
  bool CheckContext();
  bool SetSource(const IPattern& pattern, float weight);
  bool SetBlend(const IBlend* blend, float* weight);
  void SetSolidSource(const IColor& c, float weight);
  void ApplyStrokeOptions(const IStrokeOptions& options, float thickness);
  void FinishPath(bool preserve);
  bool PathOk(float a, float b);
  cairo_font_face_t* FontFace(const char* name) const;
  bool PrepareText(const IText& text, const char* utf8, const char** clean, IRECT& box,
                   const IRECT& bounds, double* baseline, float* width) const;
  void DrawSurface(cairo_surface_t* surface, float surfaceScale, const IRECT& dest, float srcX,
                   float srcY, const IBlend* blend);

  int mWidth = 0, mHeight = 0, mPixelWidth = 0, mPixelHeight = 0;
  float mScale = 1.f;
  cairo_surface_t* mSurface = nullptr;
  cairo_t* mCr = nullptr;         // the context drawing now: the surface's or a layer's
  cairo_t* mSurfaceCr = nullptr;  // the surface's own context
  cairo_matrix_t mBaseMatrix;     // identity transform of the current target
  int mSaveDepth = 0;             // PathTransformSave calls not yet restored on this target
  bool mPathBad = false;          // the current path received a non-finite value
  std::vector<std::unique_ptr<Target>> mTargets;

  // Font lookups repeat the same few names: remember the last one. Measuring text changes
  // nothing visible, so these are mutable.
  mutable char mFontName[IText::kMaxFontNameLen + 1] = {};
  mutable cairo_font_face_t* mFontFace = nullptr;  // a reference held by the painter
  mutable unsigned mFontGeneration = 0;
  cairo_font_options_t* mFontOptions = nullptr;

  mutable std::string mTextScratch;        // sanitised copy of a string that was not UTF-8
  cairo_surface_t* mShadowMask = nullptr;  // A8 scratch of the box shadow, reused
  std::vector<uint8_t> mBlurScratch;
};

}  // namespace igraphics
}  // namespace iplug
