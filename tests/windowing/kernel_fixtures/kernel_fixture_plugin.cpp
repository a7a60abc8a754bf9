// A library with the windowing layer's entry points. Built several times: as a
// plain shared object and as the executables of bundles, named by
// FIXTURE_NAME, with or without the Win32-style entry point.

#include "kernel_fixture_recorder.h"

extern "C" {

__attribute__((visibility("default"))) int SWELL_dllMain(void* module, unsigned reason,
                                                         void* parameter) {
  kernelFixtureRecord(FIXTURE_NAME, "SWELL_dllMain", module, reason, parameter);
  if (reason != 1) return 1;
  kernelFixtureRunAttachHook(module);
  return kernelFixtureSwellAttachResult();
}

#ifndef FIXTURE_NO_DLLMAIN
__attribute__((visibility("default"))) int DllMain(void* module, unsigned reason, void* reserved) {
  kernelFixtureRecord(FIXTURE_NAME, "DllMain", module, reason, reserved);
  return reason == 1 ? kernelFixtureDllAttachResult() : 1;
}
#endif

__attribute__((visibility("default"))) int kernelFixtureAdd(int a, int b) {
  return a + b;
}
}
