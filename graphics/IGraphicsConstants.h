#pragma once

// Index values meaning "none", the answers of a message box and the pointer shapes.

namespace iplug {
namespace igraphics {

// Index values meaning "none".
inline constexpr int kNoTag = -1;     // a control attached without a tag
inline constexpr int kNoValIdx = -1;  // every value slot, or none
inline constexpr int kNoParameter = -1;

// Answers of a message box.
enum class EMsgBoxResult { kNoResult = 0, kOK = 1, kCancel = 2, kRetry = 4, kYes = 6, kNo = 7 };

// Pointer shapes by number, as SetMouseCursor takes them.
enum class ECursor {
  ARROW = 0,
  IBEAM,
  WAIT,
  CROSS,
  UPARROW,
  SIZE,
  SIZENWSE,
  SIZENESW,
  SIZEWE,
  SIZENS,
  SIZEALL,
  INO,
  HAND,
  APPSTARTING,
  HELP,
  kNumCursors
};

}  // namespace igraphics
}  // namespace iplug
