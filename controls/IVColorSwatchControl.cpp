#include "controls/IVColorSwatchControl.h"

#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {

const IColor kCellFrameColor(255, 70, 70, 70);
const IColor kCellFrameOverColor(255, 127, 127, 127);
constexpr float kCellFrameGrowth = 0.5f;

}  // namespace

IVColorSwatchControl::IVColorSwatchControl(const IRECT& bounds, const char* label,
                                           ColorChosenFunc func, const IVStyle& style, int layout,
                                           std::initializer_list<int> colorIDs,
                                           std::initializer_list<const char*> labelsForIDs)
    : IControl(bounds),
      IVectorBase(style, false, false),
      mColorChosenFunc(std::move(func)),
      mLayout(layout),
      mCellRects(colorIDs.size()),
      mColorIDs(colorIDs) {
  AttachIControl(this, label);
  mText.mAlign = EAlign::Far;
  mStyle.valueText.mAlign = EAlign::Far;
  for (const char* cellLabel : labelsForIDs)
    mLabels.emplace_back(cellLabel ? cellLabel : "");
  for (std::size_t i = 0; i < mColorIDs.size(); ++i) {
    if (!ValidColorID(mColorIDs[i]))
      base::warn("controls",
                 "IVColorSwatchControl: cell %zu has colour id %d, not one of 0..%d; it stays "
                 "blank",
                 i, mColorIDs[i], kNumVColors - 1);
  }
}

void IVColorSwatchControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT, true));
  mMouseIsOver = false;
  const int n = NumCells();
  int rows = kGridSide, columns = kGridSide;
  if (mLayout == kHorizontal) {
    rows = 1;
    columns = n;
  } else if (mLayout == kVertical) {
    rows = n;
    columns = 1;
  }
  const IRECT& w = mWidgetBounds;
  const float cellW = columns > 0 ? w.W() / static_cast<float>(columns) : 0.f;
  const float cellH = rows > 0 ? w.H() / static_cast<float>(rows) : 0.f;
  for (int i = 0; i < n; ++i) {
    // A cell the grid cannot hold takes the whole widget.
    IRECT cell = w;
    if (i < rows * columns) {
      const float l = w.L + static_cast<float>(i % columns) * cellW;
      const float t = w.T + static_cast<float>(i / columns) * cellH;
      cell = IRECT(l, t, l + cellW, t + cellH);
    }
    mCellRects[static_cast<std::size_t>(i)] = IRECT(cell.L + kCellMargin, cell.T + kCellMargin,
                                                    cell.R - kCellMargin, cell.B - kCellMargin);
  }
  IControl::SetDirty(false);
}

void IVColorSwatchControl::Draw(IGraphics& g) {
  DrawWidget(g);
  DrawLabel(g);
}

void IVColorSwatchControl::DrawWidget(IGraphics& g) {
  for (int i = 0; i < NumCells(); ++i) {
    const int id = mColorIDs[static_cast<std::size_t>(i)];
    if (!ValidColorID(id)) continue;
    const IRECT& cell = mCellRects[static_cast<std::size_t>(i)];
    const WDL_String* label =
        i < static_cast<int>(mLabels.size()) ? &mLabels[static_cast<std::size_t>(i)] : nullptr;
    const bool labelled = label && label->GetLength() > 0;
    const float frac = labelled ? kLabelledPatchFrac : 1.f;
    const IRECT patch(cell.R - frac * cell.W(), cell.T, cell.R, cell.B);
    g.FillRect(GetColor(static_cast<EVColor>(id)), patch, &mBlend);
    g.DrawRect(i == mCellOver ? kCellFrameOverColor : kCellFrameColor,
               IRECT(patch.L - kCellFrameGrowth, patch.T - kCellFrameGrowth,
                     patch.R + kCellFrameGrowth, patch.B + kCellFrameGrowth),
               &mBlend, 1.f);
    if (labelled)
      g.DrawText(mStyle.valueText, label->Get(),
                 IRECT(cell.L, cell.T, cell.L + kLabelFrac * cell.W(), cell.B), &mBlend);
  }
}

int IVColorSwatchControl::CellAt(float x, float y) const {
  for (int i = 0; i < NumCells(); ++i)
    if (mCellRects[static_cast<std::size_t>(i)].Contains(x, y)) return i;
  return -1;
}

void IVColorSwatchControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  mCellOver = CellAt(x, y);
  IControl::SetDirty(true);
}

void IVColorSwatchControl::OnMouseOut() {
  mCellOver = -1;
  IControl::SetDirty(true);
}

void IVColorSwatchControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  const int cell = CellAt(x, y);
  IGraphics* g = GetUI();
  if (cell < 0 || !g) return;
  const int id = mColorIDs[static_cast<std::size_t>(cell)];
  if (!ValidColorID(id)) return;
  // The chooser is modal to this control's window, so the control outlives the completion.
  g->PromptForColor(GetColor(static_cast<EVColor>(id)), kChooserTitle,
                    [this, cell, id](const IColor& color) {
                      mStyle.colorSpec.SetColor(static_cast<EVColor>(id), color);
                      IControl::SetDirty(false);
                      if (mColorChosenFunc) mColorChosenFunc(cell, color);
                    });
}

}  // namespace igraphics
}  // namespace iplug
