#pragma once

// The control gallery: a grid with one row per kind of control and one column per state
// (normal, mouse over, disabled), attached to a graphics context whose editor delegate has the
// test parameters (an enumeration, a boolean, integers and doubles). Rendering presses the splash
// buttons and draws the frame halfway through their splash, on a clock of its own so the picture
// is the same on every run.

#include <functional>
#include <string>
#include <vector>

#include "graphics/Graphics.h"
#include "platform/system/Clock.h"

namespace gallery {

using iplug::igraphics::IControl;
using iplug::igraphics::IGraphics;
using iplug::igraphics::IRECT;

class Gallery {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 4040;
  // The states of the columns, left to right.
  enum EState { kNormal = 0, kMouseOver, kDisabled, kNumStates };

  struct Cell {
    std::string row;  // the kind of control, as the row header shows it
    EState state;
    IRECT bounds;  // the grid cell the control sits in
    IControl* control;
  };

  // Attaches the gallery to g, whose delegate must be the test parameters' delegate. The
  // gallery's clock is the process clock while the gallery lives.
  explicit Gallery(IGraphics& g);
  ~Gallery();
  Gallery(const Gallery&) = delete;
  Gallery& operator=(const Gallery&) = delete;

  // Presses the splash buttons, lets half their splash pass and draws one frame.
  void Render();

  const std::vector<Cell>& Cells() const { return mCells; }
  const std::vector<std::string>& Rows() const { return mRows; }

  // A row of variants of one control (brightnesses, fills) rather than of its states; the
  // controls share the width of the state columns, left to right.
  struct Strip {
    std::string row;
    IRECT bounds;
    std::vector<IControl*> controls;
  };
  const std::vector<Strip>& Strips() const { return mStrips; }

  // The folder tree of presets the gallery made for its preset browsers ("" when it could not),
  // removed when the gallery ends.
  const std::string& PresetFolder() const { return mPresetFolder; }

 private:
  // The grid cell of a state in the row that starts at top.
  IRECT CellRect(float top, float height, int state) const;
  void AttachHeaders();
  using MakeControl = std::function<IControl*(const IRECT&, int)>;
  // Attaches one control per state built by make (cell rectangle, state) in a new row of the
  // given height below the others.
  void AddRow(const char* name, const MakeControl& make, float height);
  // Attaches count controls built by make (rectangle, index) side by side in a new strip.
  void AddStrip(const char* name, int count, const MakeControl& make, float height);
  // The rows of the labels, buttons, number boxes, switches, knobs and sliders.
  void AddInteractiveRows();
  // The rows of the vector switch, toggle, slide switch, tab switch and radio buttons.
  void AddSwitchRows();
  // The rows of the panels, the LED and the bitmap controls.
  void AddPanelAndBitmapRows();
  // The rows of the vector knobs, sliders, range slider, XY pad and plots, and the strip of
  // knobs that show the value bubble.
  void AddVectorControlRows();
  // The rows of the links, text toggles, placeholder, groups, colour swatches, SVG controls
  // and the preset browser, with strips of the SVG controls at several values.
  void AddLinkAndTextRows();
  void AddGroupAndSwatchRows();
  void AddSVGRows();
  void AddPresetBrowserRow();
  // Presses the first bubble knob and drags it, leaving it held with its bubble showing.
  void DragBubbleKnob();
  void SetValues();

  IGraphics& mGraphics;
  platform::ManualClock mClock;
  std::vector<Cell> mCells;
  std::vector<std::string> mRows;
  std::vector<Strip> mStrips;
  std::vector<IControl*> mSplashButtons;
  IControl* mBubbleKnob = nullptr;
  float mNextRowTop;
  std::string mPresetFolder;
};

}  // namespace gallery
