#include "kernel_fixture_recorder.h"

#include <cstdio>
#include <mutex>
#include <vector>

namespace {
std::mutex gMutex;
std::vector<KernelFixtureCall> gCalls;
int gSwellResult = 1;
int gDllResult = 1;
void (*gHook)(void*) = nullptr;
}  // namespace

extern "C" {

void kernelFixtureReset() {
  std::lock_guard<std::mutex> lock(gMutex);
  gCalls.clear();
  gSwellResult = 1;
  gDllResult = 1;
  gHook = nullptr;
}

void kernelFixtureSetAttachResults(int swellDllMainResult, int dllMainResult) {
  std::lock_guard<std::mutex> lock(gMutex);
  gSwellResult = swellDllMainResult;
  gDllResult = dllMainResult;
}

int kernelFixtureSwellAttachResult() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gSwellResult;
}

int kernelFixtureDllAttachResult() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gDllResult;
}

void kernelFixtureSetAttachHook(void (*hook)(void*)) {
  std::lock_guard<std::mutex> lock(gMutex);
  gHook = hook;
}

void kernelFixtureRunAttachHook(void* module) {
  void (*hook)(void*) = nullptr;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    hook = gHook;
  }
  if (hook) hook(module);
}

void kernelFixtureRecord(const char* library, const char* entry, void* module, unsigned reason,
                         void* parameter) {
  KernelFixtureCall call{};
  std::snprintf(call.library, sizeof(call.library), "%s", library);
  std::snprintf(call.entry, sizeof(call.entry), "%s", entry);
  call.module = module;
  call.reason = reason;
  call.parameter = parameter;
  std::lock_guard<std::mutex> lock(gMutex);
  gCalls.push_back(call);
}

int kernelFixtureCallCount() {
  std::lock_guard<std::mutex> lock(gMutex);
  return static_cast<int>(gCalls.size());
}

const KernelFixtureCall* kernelFixtureCallAt(int index) {
  std::lock_guard<std::mutex> lock(gMutex);
  if (index < 0 || index >= static_cast<int>(gCalls.size())) return nullptr;
  return &gCalls[static_cast<std::size_t>(index)];
}
}
