#include "support/RecordingGraphics.h"

#include <cairo.h>

#include <cstring>

namespace testsupport {

RecordingGraphics::RecordingGraphics(iplug::IEditorDelegate& dlg, int w, int h, bool installClock)
    : IGraphics(dlg, w, h) {
  if (installClock) {
    platform::setClock(&mClock);
    mInstalledClock = true;
  }
}

RecordingGraphics::~RecordingGraphics() {
  // Controls are deleted by the base destructor; none of them reads the clock then.
  if (mInstalledClock) platform::setClock(nullptr);
}

std::vector<DrawCall> RecordingGraphics::Calls(const std::string& op) const {
  std::vector<DrawCall> out;
  for (const DrawCall& c : mLog) {
    if (c.op == op) out.push_back(c);
  }
  return out;
}

std::vector<std::string> RecordingGraphics::Ops(bool withClips) const {
  std::vector<std::string> out;
  for (const DrawCall& c : mLog) {
    if (withClips || c.op != "Clip") out.push_back(c.op);
  }
  return out;
}

DrawCall& RecordingGraphics::Add(const char* op, const IBlend* blend) {
  DrawCall call;
  call.op = op;
  call.hasBlend = blend != nullptr;
  call.blendWeight = BlendWeight(blend);
  mLog.push_back(std::move(call));
  return mLog.back();
}

bool RecordingGraphics::GetTextFromClipboard(WDL_String& str) {
  if (!mHasClipboardText) return false;
  str.Set(mClipboard.c_str());
  return true;
}

bool RecordingGraphics::SetTextInClipboard(const char* str) {
  mClipboard = str ? str : "";
  mHasClipboardText = true;
  return true;
}

void RecordingGraphics::DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX, int srcY,
                                   const IBlend* blend) {
  DrawCall& c = Add("DrawBitmap", blend);
  c.rect = dest;
  c.nums = {static_cast<float>(srcX), static_cast<float>(srcY)};
  c.text = bitmap.GetResourceName();
}

void RecordingGraphics::DrawRotatedBitmap(const IBitmap& bitmap, float destCtrX, float destCtrY,
                                          double angle, const IBlend* blend) {
  DrawCall& c = Add("DrawRotatedBitmap", blend);
  c.nums = {destCtrX, destCtrY, static_cast<float>(angle)};
  c.text = bitmap.GetResourceName();
}

void RecordingGraphics::DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* blend,
                                const IColor* strokeColor, const IColor* fillColor) {
  Add("DrawSVG", blend).rect = bounds;
}

void RecordingGraphics::DrawRotatedSVG(const ISVG& svg, float destCtrX, float destCtrY, float width,
                                       float height, double angle, const IBlend* blend) {
  Add("DrawRotatedSVG", blend).nums = {destCtrX, destCtrY, width, height,
                                       static_cast<float>(angle)};
}

void RecordingGraphics::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                                 const IBlend* blend, float thickness) {
  DrawCall& c = Add("DrawLine", blend);
  c.color = color;
  c.nums = {x1, y1, x2, y2, thickness};
}

void RecordingGraphics::DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                     float x3, float y3, const IBlend* blend, float thickness) {
  DrawCall& c = Add("DrawTriangle", blend);
  c.color = color;
  c.nums = {x1, y1, x2, y2, x3, y3, thickness};
}

void RecordingGraphics::DrawRect(const IColor& color, const IRECT& bounds, const IBlend* blend,
                                 float thickness) {
  DrawCall& c = Add("DrawRect", blend);
  c.color = color;
  c.rect = bounds;
  c.nums = {thickness};
}

void RecordingGraphics::DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                      const IBlend* blend, float thickness) {
  DrawRoundRect(color, bounds, cornerRadius, cornerRadius, cornerRadius, cornerRadius, blend,
                thickness);
}

void RecordingGraphics::DrawRoundRect(const IColor& color, const IRECT& bounds, float cRTL,
                                      float cRTR, float cRBR, float cRBL, const IBlend* blend,
                                      float thickness) {
  DrawCall& c = Add("DrawRoundRect", blend);
  c.color = color;
  c.rect = bounds;
  c.nums = {cRTL, cRTR, cRBR, cRBL, thickness};
}

void RecordingGraphics::DrawArc(const IColor& color, float cx, float cy, float r, float a1,
                                float a2, const IBlend* blend, float thickness) {
  DrawCall& c = Add("DrawArc", blend);
  c.color = color;
  c.nums = {cx, cy, r, a1, a2, thickness};
}

void RecordingGraphics::DrawCircle(const IColor& color, float cx, float cy, float r,
                                   const IBlend* blend, float thickness) {
  DrawCall& c = Add("DrawCircle", blend);
  c.color = color;
  c.nums = {cx, cy, r, thickness};
}

void RecordingGraphics::DrawEllipse(const IColor& color, const IRECT& bounds, const IBlend* blend,
                                    float thickness) {
  DrawCall& c = Add("DrawEllipse", blend);
  c.color = color;
  c.rect = bounds;
  c.nums = {thickness};
}

void RecordingGraphics::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                     float x3, float y3, const IBlend* blend) {
  DrawCall& c = Add("FillTriangle", blend);
  c.color = color;
  c.nums = {x1, y1, x2, y2, x3, y3};
}

void RecordingGraphics::FillRect(const IColor& color, const IRECT& bounds, const IBlend* blend) {
  DrawCall& c = Add("FillRect", blend);
  c.color = color;
  c.rect = bounds;
}

void RecordingGraphics::FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                                      const IBlend* blend) {
  FillRoundRect(color, bounds, cornerRadius, cornerRadius, cornerRadius, cornerRadius, blend);
}

void RecordingGraphics::FillRoundRect(const IColor& color, const IRECT& bounds, float cRTL,
                                      float cRTR, float cRBR, float cRBL, const IBlend* blend) {
  DrawCall& c = Add("FillRoundRect", blend);
  c.color = color;
  c.rect = bounds;
  c.nums = {cRTL, cRTR, cRBR, cRBL};
}

void RecordingGraphics::FillCircle(const IColor& color, float cx, float cy, float r,
                                   const IBlend* blend) {
  DrawCall& c = Add("FillCircle", blend);
  c.color = color;
  c.nums = {cx, cy, r};
}

void RecordingGraphics::FillEllipse(const IColor& color, const IRECT& bounds, const IBlend* blend) {
  DrawCall& c = Add("FillEllipse", blend);
  c.color = color;
  c.rect = bounds;
}

void RecordingGraphics::DrawBoxShadow(const IRECT& inner, const IRECT& outer, const IBlend* blend,
                                      float xOffset, float yOffset, float cornerRadius,
                                      float blur) {
  DrawCall& c = Add("DrawBoxShadow", blend);
  c.rect = inner;
  c.nums = {outer.L, outer.T, outer.R, outer.B, xOffset, yOffset, cornerRadius, blur};
}

void RecordingGraphics::DrawText(const IText& text, const char* str, const IRECT& bounds,
                                 const IBlend* blend) {
  if (!str || !*str) return;
  DrawCall& c = Add("DrawText", blend);
  c.color = text.mFGColor;
  c.rect = bounds;
  c.text = str;
  c.nums = {text.mSize};
}

float RecordingGraphics::MeasureText(const IText& text, const char* str, IRECT& bounds) const {
  if (!str || !*str) {
    bounds = IRECT();
    return 0.f;
  }
  const float w = kCharWidthFactor * text.mSize * static_cast<float>(std::strlen(str));
  const float h = text.mSize;
  bounds = AlignTextBox(text, bounds, w, h);
  return w;
}

void RecordingGraphics::PathClear() {
  Add("PathClear");
}
void RecordingGraphics::PathClose() {
  Add("PathClose");
}
void RecordingGraphics::PathMoveTo(float x, float y) {
  Add("PathMoveTo").nums = {x, y};
}
void RecordingGraphics::PathLineTo(float x, float y) {
  Add("PathLineTo").nums = {x, y};
}

void RecordingGraphics::PathArc(float cx, float cy, float r, float a1, float a2, EWinding winding) {
  Add("PathArc").nums = {cx, cy, r, a1, a2, winding == EWinding::CW ? 0.f : 1.f};
}

void RecordingGraphics::PathRect(const IRECT& bounds) {
  Add("PathRect").rect = bounds;
}

void RecordingGraphics::PathRoundRect(const IRECT& bounds, float cornerRadius) {
  DrawCall& c = Add("PathRoundRect");
  c.rect = bounds;
  c.nums = {cornerRadius};
}

void RecordingGraphics::PathCircle(float cx, float cy, float r) {
  Add("PathCircle").nums = {cx, cy, r};
}
void RecordingGraphics::PathEllipse(const IRECT& bounds) {
  Add("PathEllipse").rect = bounds;
}

void RecordingGraphics::PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
  Add("PathTriangle").nums = {x1, y1, x2, y2, x3, y3};
}

void RecordingGraphics::PathFill(const IPattern& pattern, const IFillOptions& options,
                                 const IBlend* blend) {
  Add("PathFill", blend).color = pattern.GetColor();
}

void RecordingGraphics::PathStroke(const IPattern& pattern, float thickness,
                                   const IStrokeOptions& options, const IBlend* blend) {
  DrawCall& c = Add("PathStroke", blend);
  c.color = pattern.GetColor();
  c.nums = {thickness};
}

void RecordingGraphics::PathTransformSave() {
  Add("PathTransformSave");
}
void RecordingGraphics::PathTransformRestore() {
  Add("PathTransformRestore");
}
void RecordingGraphics::PathTransformTranslate(float x, float y) {
  Add("PathTransformTranslate").nums = {x, y};
}
void RecordingGraphics::PathTransformRotate(float angle) {
  Add("PathTransformRotate").nums = {angle};
}
void RecordingGraphics::PathTransformScale(float s) {
  Add("PathTransformScale").nums = {s};
}

void RecordingGraphics::BeginFrame(const IRECTList& rects) {
  Add("BeginFrame").rect = rects.Bounds();
}
void RecordingGraphics::EndFrame() {
  Add("EndFrame");
}
void RecordingGraphics::SetClipRegion(const IRECT& r) {
  Add("Clip").rect = r;
}

bool RecordingGraphics::BeginLayerDrawing(const IRECT& r) {
  if (!mLayersAvailable) return false;
  Add("StartLayer").rect = r;
  mOpenLayers.push_back(r);
  return true;
}

ILayerPtr RecordingGraphics::EndLayerDrawing() {
  if (mOpenLayers.empty()) return nullptr;
  const IRECT r = mOpenLayers.back();
  mOpenLayers.pop_back();
  Add("EndLayer").rect = r;
  // A token surface: the pixels are never looked at, but a layer with one can be reused.
  return std::make_unique<ILayer>(
      std::make_unique<APIBitmap>(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1),
                                  GetScreenScale()),
      r, GetScreenScale());
}

void RecordingGraphics::DrawLayerBitmap(const ILayer& layer, const IBlend* blend) {
  Add("DrawLayer", blend).rect = layer.Bounds();
}

IPopupMenu* RecordingGraphics::CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds) {
  ShownMenu shown;
  shown.title = menu.GetTitle();
  shown.bounds = bounds;
  for (int i = 0; i < menu.NItems(); ++i) {
    shown.items.push_back(menu.GetItem(i)->GetText());
    shown.flags.push_back(menu.GetItem(i)->GetFlags());
  }
  mShownMenus.push_back(std::move(shown));
  menu.SetChosenItemIdx(mPopupAnswer >= 0 && mPopupAnswer < menu.NItems() ? mPopupAnswer : -1);
  return &menu;
}

}  // namespace testsupport
