#pragma once

// The layer's functions by name, for modules that look them up at run time: the function's
// address; null for a name not in the table; 256 for a null name.
void* SWELL_GetAPIFunctionByName(const char* name);
