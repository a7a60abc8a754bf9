#pragma once

// The table SWELL_GetAPIFunctionByName searches, for checks of the table itself.

#include <cstddef>

struct SwellApiEntry {
  const char* name;
  void* func;
};

namespace swell {
// Every name of the interface, sorted by strcmp; a name whose function this build does
// not provide has a null address. Constant, so lookups from any thread are safe.
const SwellApiEntry* apiTable(std::size_t* count);
}  // namespace swell
