#pragma once

// What tests reach inside the drawing room and programs have no use for: the Metal devices'
// process-wide state, and the failures a test cannot bring about otherwise.

#include <string>

namespace platform {

class MTLDevice;

// Whether any Metal device exists.
void setMetalDevicesAvailable(bool available);
// The device that shows a screen (null: a new software device next time).
void setScreenDeviceForTesting(int screenNumber, MTLDevice* device);
// A device whose shader compiler fails every source (a new reference).
MTLDevice* createCompilationRefusingDevice(const std::string& name);

}  // namespace platform
