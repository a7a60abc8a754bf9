#pragma once

// What tests reach inside the platform's core and programs have no use for: resets of its
// process-wide state between tests.

namespace platform {

// The arrow cursor, shown and attached to the mouse.
void resetCursorForTesting();
// The application in its starting state: no queued events, no delegate, hook or main menu,
// inactive, not terminated. Windows are the test's.
void resetApplicationForTesting();

}  // namespace platform
