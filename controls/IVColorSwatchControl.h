#pragma once

// A row, a column or a 3 x 3 grid of colour cells, each showing one of the nine colours of the
// control's style and an optional label. A click on a cell opens the platform colour chooser;
// the chosen colour replaces that style colour, so every cell showing it changes.

#include <functional>
#include <initializer_list>
#include <vector>

#include "controls/IVectorBase.h"
#include "framework/WDLString.h"

namespace iplug {
namespace igraphics {

class IVColorSwatchControl : public IControl, public IVectorBase {
 public:
  // Called after a cell's colour was chosen, with the cell's index and the colour.
  using ColorChosenFunc = std::function<void(int cellIdx, const IColor& color)>;
  enum ECellLayout { kGrid = 0, kHorizontal, kVertical };

  static constexpr int kGridSide = 3;
  static constexpr float kCellMargin = 2.f;
  static constexpr float kLabelledPatchFrac = 0.25f;
  static constexpr float kLabelFrac = 0.7f;
  static constexpr const char* kChooserTitle = "Choose a color";

  // One cell per colour id, each an index 0..8 into the style's colours; an id outside that
  // range is logged and its cell shows and changes nothing. Label i belongs to cell i (null
  // counts as ""); a cell without one shows its colour across the whole cell.
  IVColorSwatchControl(const IRECT& bounds, const char* label = "", ColorChosenFunc func = nullptr,
                       const IVStyle& style = DEFAULT_STYLE, int layout = kGrid,
                       std::initializer_list<int> colorIDs = {kBG, kFG, kPR, kFR, kHL, kSH, kX1,
                                                              kX2, kX3},
                       std::initializer_list<const char*> labelsForIDs = {});
  ~IVColorSwatchControl() override = default;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void OnResize() override;
  void Draw(IGraphics& g) override;
  void DrawWidget(IGraphics& g) override;

  int NumCells() const { return static_cast<int>(mColorIDs.size()); }
  const IRECT& GetCellRect(int cellIdx) const { return mCellRects.at(cellIdx); }
  int GetCellUnderMouse() const { return mCellOver; }

 private:
  // The first cell holding the point, or -1.
  int CellAt(float x, float y) const;
  static bool ValidColorID(int id) { return id >= 0 && id < kNumVColors; }

  ColorChosenFunc mColorChosenFunc;
  int mCellOver = -1;
  int mLayout = kGrid;
  std::vector<IRECT> mCellRects;
  std::vector<WDL_String> mLabels;
  std::vector<int> mColorIDs;
};

}  // namespace igraphics
}  // namespace iplug
