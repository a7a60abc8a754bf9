#pragma once

// What tests reach inside the platform and programs have no use for: resets of its
// process-wide state between tests, and the failures a test cannot bring about otherwise.

#include <cstddef>
#include <string>

namespace platform {

class MTLDevice;

// The arrow cursor, shown and attached to the mouse.
void resetCursorForTesting();
// The pointer at (0, 0) with no button or modifier down.
void resetMouseStateForTesting();
// The application in its starting state: no queued events, no delegate, hook or main menu,
// inactive, not terminated. Windows are the test's.
void resetApplicationForTesting();

// Whether any Metal device exists.
void setMetalDevicesAvailable(bool available);
// The device that shows a screen (null: a new software device next time).
void setScreenDeviceForTesting(int screenNumber, MTLDevice* device);
// A device whose shader compiler fails every source (a new reference).
MTLDevice* createCompilationRefusingDevice(const std::string& name);

// How many slots the registry of live objects has now.
std::size_t liveObjectTableCapacityForTesting();

}  // namespace platform
