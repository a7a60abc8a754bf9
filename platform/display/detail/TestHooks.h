#pragma once

// What tests reach inside the display room and programs have no use for.

namespace platform {

// The pointer at (0, 0) with no button or modifier down.
void resetMouseStateForTesting();

}  // namespace platform
