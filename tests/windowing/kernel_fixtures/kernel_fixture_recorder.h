#pragma once

// Shared between the kernel tests and the libraries they load: the libraries'
// entry points record their calls here, and the tests set what the entry points
// answer before a load. It lives in its own shared library so the record
// survives the unloading of the library that wrote it.

extern "C" {

struct KernelFixtureCall {
  char library[32];
  char entry[16];
  void* module;
  unsigned reason;
  void* parameter;
};

void kernelFixtureReset();
void kernelFixtureSetAttachResults(int swellDllMainResult, int dllMainResult);
int kernelFixtureSwellAttachResult();
int kernelFixtureDllAttachResult();

// A hook run by the entry points on attach (module handle as argument).
void kernelFixtureSetAttachHook(void (*hook)(void* module));
void kernelFixtureRunAttachHook(void* module);

void kernelFixtureRecord(const char* library, const char* entry, void* module, unsigned reason,
                         void* parameter);
int kernelFixtureCallCount();
const KernelFixtureCall* kernelFixtureCallAt(int index);
}
