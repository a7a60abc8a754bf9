#pragma once

#include <string>
#include <vector>

#include "windowing/Win32Types.h"

// File drop blocks and file-list blocks: a DROPFILES header, then each path as UTF-8
// with its NUL, then one more NUL. Readers scan only within the block's size.
UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size);
BOOL DragQueryPoint(HDROP drop, POINT* point);
void DragFinish(HDROP drop);

inline constexpr UINT kDragQueryFileCount = 0xFFFFFFFF;

namespace swell {
// A new global memory block holding the paths and the point; null (logged) when the
// paths do not fit a block.
HDROP makeDropBlock(const std::vector<std::string>& paths, POINT point);
// The paths of a block, read within its size: from the list offset to an empty path or
// the block's end. False (logged) for a block that is not a live block, is smaller than
// its header, has its list offset at or past its end, or holds UTF-16 paths.
bool readDropBlock(HDROP drop, std::vector<std::string>* paths, const char* caller);
}  // namespace swell
