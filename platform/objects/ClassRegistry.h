#pragma once

// Classes found by name at run time: the program, or a bundle when it is loaded (from a
// static initializer), registers a factory under the class's name. This stands for the
// language runtime's class lookup, which Linux programs do not have.

#include <string>

#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

namespace platform {

class NSView;

// A new instance of the class (the caller's reference).
using NSClassFactory = NSObject* (*)();

// Registers (or replaces) the factory of a class name; a null factory removes it.
void NSRegisterClass(const std::string& name, NSClassFactory factory);
// The factory registered under the name, else null.
NSClassFactory NSClassFromString(const std::string& name);

// What a plug-in's view factory class implements: a view for a unit at a preferred
// size (the caller's reference), or null.
class NSAudioUnitViewFactory {
 public:
  virtual ~NSAudioUnitViewFactory() = default;
  virtual NSView* uiViewForAudioUnit(void* unit, NSSize preferredSize) = 0;
};

}  // namespace platform
