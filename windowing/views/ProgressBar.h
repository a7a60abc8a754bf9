#pragma once

#include "windowing/Win32Types.h"

// The progress bar ("msctls_progress32"): it answers the progress messages itself.

inline constexpr UINT PBM_SETRANGE = 0x0401;
inline constexpr UINT PBM_SETPOS = 0x0402;
inline constexpr UINT PBM_DELTAPOS = 0x0403;
