#pragma once

// A graphics context for tests: every drawing call is appended to an ordered log, text is
// measured by a fixed rule, native menus answer from a script, and a manual clock can drive
// the animations.

#include <memory>
#include <string>
#include <vector>

#include "graphics/IGraphics.h"
#include "platform/system/Clock.h"

namespace testsupport {

using namespace iplug::igraphics;

// One logged drawing call. Fields a call does not use keep their defaults.
struct DrawCall {
  std::string op;           // the primitive's name, e.g. "FillRect"
  IColor color;             // colour, or the first stop of a pattern
  IRECT rect;               // rectangle argument (also the clip of "Clip")
  std::vector<float> nums;  // the other numbers, in argument order
  std::string text;         // string argument
  const void* image = nullptr;  // the parsed image of SVG calls
  float blendWeight = 1.f;  // weight of the blend (1 for none)
  bool hasBlend = false;
};

class RecordingGraphics : public IGraphics {
 public:
  // Text is measured as kCharWidthFactor x size per byte wide and size tall.
  static constexpr float kCharWidthFactor = 0.5f;

  // With installClock, a ManualClock (starting at 1000 ms) is the process clock while this
  // object lives.
  RecordingGraphics(iplug::IEditorDelegate& dlg, int w = 400, int h = 300,
                    bool installClock = true);
  ~RecordingGraphics() override;

  const std::vector<DrawCall>& Log() const { return mLog; }
  void ClearLog() { mLog.clear(); }
  // The calls with this name, in order.
  std::vector<DrawCall> Calls(const std::string& op) const;
  int Count(const std::string& op) const { return static_cast<int>(Calls(op).size()); }
  // The names of all calls, in order; clip changes left out unless asked for.
  std::vector<std::string> Ops(bool withClips = false) const;

  platform::ManualClock& Clock() { return mClock; }

  // With false, no off-screen layer can be made.
  void SetLayersAvailable(bool available) { mLayersAvailable = available; }

  // With false, the double has no native text field, as on Linux: text prompts go to the
  // in-interface text-entry control.
  void SetHasPlatformTextEntry(bool has) { mHasPlatformTextEntry = has; }

  // The next native menus choose this index (-1: nothing); each menu shown is remembered.
  void SetPopupMenuAnswer(int chosenIdx) { mPopupAnswer = chosenIdx; }
  // With false, the double has no native menus, as on Linux: popups go to the in-interface
  // popup-menu control.
  void SetHasPlatformPopupMenu(bool has) { mHasPlatformMenus = has; }
  struct ShownMenu {
    std::string title;
    std::vector<std::string> items;
    std::vector<int> flags;
    IRECT bounds;
  };
  const std::vector<ShownMenu>& ShownMenus() const { return mShownMenus; }

  std::string mClipboard;
  bool mHasClipboardText = false;

  // --- IGraphics ---
  bool GetTextFromClipboard(WDL_String& str) override;
  bool SetTextInClipboard(const char* str) override;

  void DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX, int srcY,
                  const IBlend* blend) override;
  void DrawRotatedBitmap(const IBitmap& bitmap, float destCtrX, float destCtrY, double angle,
                         const IBlend* blend) override;
  void DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* blend, const IColor* strokeColor,
               const IColor* fillColor) override;
  void DrawRotatedSVG(const ISVG& svg, float destCtrX, float destCtrY, float width, float height,
                      double angle, const IBlend* blend) override;
  void DrawLine(const IColor& color, float x1, float y1, float x2, float y2, const IBlend* blend,
                float thickness) override;
  void DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* blend, float thickness) override;
  void DrawRect(const IColor& color, const IRECT& bounds, const IBlend* blend,
                float thickness) override;
  void DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                     const IBlend* blend, float thickness) override;
  void DrawRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR, float cRBR,
                     float cRBL, const IBlend* blend, float thickness) override;
  void DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
               const IBlend* blend, float thickness) override;
  void DrawCircle(const IColor& color, float cx, float cy, float r, const IBlend* blend,
                  float thickness) override;
  void DrawEllipse(const IColor& color, const IRECT& bounds, const IBlend* blend,
                   float thickness) override;
  void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* blend) override;
  void FillRect(const IColor& color, const IRECT& bounds, const IBlend* blend) override;
  void FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                     const IBlend* blend) override;
  void FillRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR, float cRBR,
                     float cRBL, const IBlend* blend) override;
  void FillCircle(const IColor& color, float cx, float cy, float r, const IBlend* blend) override;
  void FillEllipse(const IColor& color, const IRECT& bounds, const IBlend* blend) override;
  void DrawBoxShadow(const IRECT& inner, const IRECT& outer, const IBlend* blend, float xOffset,
                     float yOffset, float cornerRadius, float blur) override;
  void DrawText(const IText& text, const char* str, const IRECT& bounds,
                const IBlend* blend) override;
  float MeasureText(const IText& text, const char* str, IRECT& bounds) const override;

  void PathClear() override;
  void PathClose() override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathArc(float cx, float cy, float r, float a1, float a2, EWinding winding) override;
  void PathRect(const IRECT& bounds) override;
  void PathRoundRect(const IRECT& bounds, float cornerRadius) override;
  void PathCircle(float cx, float cy, float r) override;
  void PathEllipse(const IRECT& bounds) override;
  void PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3) override;
  void PathFill(const IPattern& pattern, const IFillOptions& options, const IBlend* blend) override;
  void PathStroke(const IPattern& pattern, float thickness, const IStrokeOptions& options,
                  const IBlend* blend) override;
  void PathTransformSave() override;
  void PathTransformRestore() override;
  void PathTransformTranslate(float x, float y) override;
  void PathTransformRotate(float angle) override;
  void PathTransformScale(float s) override;

 protected:
  void BeginFrame(const IRECTList& rects) override;
  void EndFrame() override;
  void SetClipRegion(const IRECT& r) override;
  bool BeginLayerDrawing(const IRECT& r) override;
  ILayerPtr EndLayerDrawing() override;
  void DrawLayerBitmap(const ILayer& layer, const IBlend* blend) override;
  bool HasPlatformPopupMenu() const override { return mHasPlatformMenus; }
  IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds) override;
  bool HasPlatformTextEntry() const override { return mHasPlatformTextEntry; }

 private:
  DrawCall& Add(const char* op, const IBlend* blend = nullptr);

  std::vector<DrawCall> mLog;
  std::vector<IRECT> mOpenLayers;
  platform::ManualClock mClock{1000.0};
  bool mInstalledClock = false;
  int mPopupAnswer = -1;
  bool mHasPlatformMenus = true;
  bool mHasPlatformTextEntry = true;
  bool mLayersAvailable = true;
  std::vector<ShownMenu> mShownMenus;
};

}  // namespace testsupport
