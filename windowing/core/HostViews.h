#pragma once

// Views that host other views: the host of a foreign window (there is no such window
// on this platform, so it is an empty child window view and its window reference is
// always null), a plug-in's own editor view, and the flip of a window view.

#include "windowing/Win32Types.h"

// A child window view of parent at r (client coordinates). *windowRefOut receives the
// hosted window's reference: null, as no foreign window system exists here. Null
// windowRefOut, r or parent are refused (null and a log line).
HWND SWELL_CreateCarbonHostView(HWND parent, void** windowRefOut, const RECT* r, bool composit);
// The hosted window's reference: always null here.
void* SWELL_GetCarbonHostWindowRef(HWND host);
void SWELL_CarbonHostNoOp();
// Flips (y down) or unflips a window view; anything else is left alone.
void SWELL_SetViewFlip(HWND h, bool flip);

// Where a plug-in's view factory is found: a bundle to load (a path, may be null or
// empty when the program registered the class itself) and the factory's class name.
struct SWELL_AudioUnitCocoaViewInfo {
  const char* bundleLocation;
  const char* factoryClassName;
};
// Asks the registered factory class (platform::NSAudioUnitViewFactory) for the unit's
// view at r's size, sizes parent to the view, places the view in it and sets r to
// (0, 0, its width, its height). Null, with a log line, when the bundle, the class or
// the view is missing.
HWND SWELL_HostAUCocoaView(HWND parent, void* audioUnit, const SWELL_AudioUnitCocoaViewInfo* info,
                           RECT* r);
