#pragma once

// The platform version as the windowing layer's version switches read it: always the
// modern answer here.
int SWELL_GetOSXVersion();
