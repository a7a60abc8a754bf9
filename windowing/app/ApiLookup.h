#pragma once

#include <cstddef>

// The layer's functions by name, for modules that look them up at run time.
struct SwellApiEntry {
  const char* name;
  void* func;
};

// The function's address; null for a name not in the table; 256 for a null name.
void* SWELL_GetAPIFunctionByName(const char* name);

namespace swell {
// Every name of the interface, sorted by strcmp; a name whose function this build does
// not provide has a null address. Constant, so lookups from any thread are safe.
const SwellApiEntry* apiTable(std::size_t* count);
}  // namespace swell
