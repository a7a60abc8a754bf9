#pragma once

// What tests reach inside the platform's core and programs have no use for: resets of its
// process-wide state between tests, and where tests act inside modal loops.

#include <functional>

namespace platform {

class NSWindow;

// The arrow cursor, shown and attached to the mouse.
void resetCursorForTesting();
// The application in its starting state: no queued events, no delegate, hook or main menu,
// inactive, not terminated. Windows are the test's.
void resetApplicationForTesting();
// Called when a modal loop starts and on each of its iterations.
void setModalHookForTesting(std::function<void(NSWindow*)> hook);

}  // namespace platform
