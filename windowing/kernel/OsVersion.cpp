#include "windowing/kernel/OsVersion.h"

int SWELL_GetOSXVersion() {
  // Linux has no such version; every switch on it takes the modern branch.
  return 0x1100;
}
