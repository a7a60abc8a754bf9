#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fixtures/kernel_fixture_recorder.h"
#include "windowing/Win32.h"

namespace {

const std::string kFixtures = KERNEL_FIXTURE_DIR;
const std::string kPlugin = kFixtures + "/kernel_fixture_plugin.so";
const std::string kPlain = kFixtures + "/kernel_fixture_plain.so";
const std::string kBundle = kFixtures + "/FixtureBundle.bundle";
const std::string kNamedBundle = kFixtures + "/Named.bundle";

struct Call {
  std::string library;
  std::string entry;
  void* module;
  unsigned reason;
};

std::vector<Call> recordedCalls() {
  std::vector<Call> calls;
  for (int i = 0; i < kernelFixtureCallCount(); ++i) {
    const KernelFixtureCall* c = kernelFixtureCallAt(i);
    calls.push_back(Call{c->library, c->entry, c->module, c->reason});
  }
  return calls;
}

class KernelLibraries : public ::testing::Test {
 protected:
  void SetUp() override { kernelFixtureReset(); }
  void TearDown() override { kernelFixtureReset(); }
};

TEST_F(KernelLibraries, EntryPointsRunOnceOnLoadAndOnceOnTheLastFree) {
  HINSTANCE first = LoadLibrary(kPlugin.c_str());
  ASSERT_NE(first, nullptr);
  HINSTANCE second = LoadLibrary(kPlugin.c_str());
  EXPECT_EQ(second, first);

  auto calls = recordedCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].entry, "SWELL_dllMain");
  EXPECT_EQ(calls[0].reason, DLL_PROCESS_ATTACH);
  EXPECT_EQ(calls[0].module, static_cast<void*>(first));
  EXPECT_EQ(calls[1].entry, "DllMain");
  EXPECT_EQ(calls[1].reason, DLL_PROCESS_ATTACH);
  // Both entry points are called as (module, reason, 0).
  EXPECT_EQ(kernelFixtureCallAt(0)->parameter, nullptr);

  EXPECT_EQ(FreeLibrary(second), TRUE);
  EXPECT_EQ(kernelFixtureCallCount(), 2);  // still loaded once
  using Add = int (*)(int, int);
  auto add = reinterpret_cast<Add>(GetProcAddress(first, "kernelFixtureAdd"));
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 3), 5);

  EXPECT_EQ(FreeLibrary(first), TRUE);
  calls = recordedCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[2].entry, "SWELL_dllMain");
  EXPECT_EQ(calls[2].reason, DLL_PROCESS_DETACH);
  EXPECT_EQ(calls[3].entry, "DllMain");
  EXPECT_EQ(calls[3].reason, DLL_PROCESS_DETACH);

  // The module is gone: every module function refuses it.
  EXPECT_EQ(FreeLibrary(first), FALSE);
  EXPECT_EQ(GetProcAddress(first, "kernelFixtureAdd"), nullptr);
  char path[64] = "unchanged";
  EXPECT_EQ(GetModuleFileName(first, path, sizeof(path)), 0u);
  EXPECT_STREQ(path, "");
}

TEST_F(KernelLibraries, ARefusedAttachUnloadsTheLibrary) {
  kernelFixtureSetAttachResults(0, 1);
  EXPECT_EQ(LoadLibrary(kPlugin.c_str()), nullptr);
  auto calls = recordedCalls();
  ASSERT_EQ(calls.size(), 1u);  // no detach call for a refused attach
  EXPECT_EQ(calls[0].entry, "SWELL_dllMain");

  kernelFixtureReset();
  kernelFixtureSetAttachResults(1, 0);
  EXPECT_EQ(LoadLibrary(kPlugin.c_str()), nullptr);
  calls = recordedCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[1].entry, "DllMain");
  EXPECT_EQ(calls[2].entry, "SWELL_dllMain");
  EXPECT_EQ(calls[2].reason, DLL_PROCESS_DETACH);

  // Nothing was left behind: a later load attaches afresh.
  kernelFixtureReset();
  HINSTANCE module = LoadLibrary(kPlugin.c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(kernelFixtureCallCount(), 2);
  FreeLibrary(module);
}

HINSTANCE gNested = nullptr;

TEST_F(KernelLibraries, AnEntryPointMayLoadAndFreeLibrariesItself) {
  kernelFixtureSetAttachHook([](void*) {
    gNested = LoadLibrary(kPlain.c_str());
    HINSTANCE again = LoadLibrary(kPlain.c_str());
    FreeLibrary(again);
  });
  HINSTANCE module = LoadLibrary(kPlugin.c_str());
  ASSERT_NE(module, nullptr);
  ASSERT_NE(gNested, nullptr);
  EXPECT_NE(GetProcAddress(gNested, "kernelFixtureTimesTwo"), nullptr);
  EXPECT_EQ(FreeLibrary(gNested), TRUE);
  EXPECT_EQ(FreeLibrary(module), TRUE);
}

TEST_F(KernelLibraries, APlainLibraryNamesItsFileOnceAFunctionWasResolved) {
  HINSTANCE module = LoadLibraryGlobals(kPlain.c_str(), true);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(SWELL_GetBundle(module), nullptr);
  char path[1024] = "unchanged";
  EXPECT_EQ(GetModuleFileName(module, path, sizeof(path)), 0u);
  EXPECT_STREQ(path, "");

  using TimesTwo = int (*)(int);
  auto timesTwo = reinterpret_cast<TimesTwo>(GetProcAddress(module, "kernelFixtureTimesTwo"));
  ASSERT_NE(timesTwo, nullptr);
  EXPECT_EQ(timesTwo(21), 42);
  EXPECT_EQ(GetProcAddress(module, "noSuchFunction"), nullptr);
  EXPECT_EQ(GetModuleFileName(module, path, sizeof(path)), kPlain.size());
  EXPECT_EQ(path, kPlain);

  // A short buffer gets the cut path, terminated.
  char shortPath[8];
  EXPECT_EQ(GetModuleFileName(module, shortPath, sizeof(shortPath)), 7u);
  EXPECT_EQ(std::string(shortPath), kPlain.substr(0, 7));
  EXPECT_EQ(FreeLibrary(module), TRUE);
}

TEST_F(KernelLibraries, ABundleFolderLoadsItsExecutable) {
  HINSTANCE module = LoadLibrary((kBundle + "/").c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_NE(SWELL_GetBundle(module), nullptr);
  char path[1024];
  EXPECT_EQ(GetModuleFileName(module, path, sizeof(path)), kBundle.size());
  EXPECT_EQ(path, kBundle);
  EXPECT_NE(GetProcAddress(module, "kernelFixtureAdd"), nullptr);
  // This bundle has no Win32-style entry point: only SWELL_dllMain runs.
  auto calls = recordedCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].library, "FixtureBundle");
  EXPECT_EQ(FreeLibrary(module), TRUE);
  calls = recordedCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].reason, DLL_PROCESS_DETACH);
}

TEST_F(KernelLibraries, InfoPlistNamesTheBundleExecutable) {
  HINSTANCE module = LoadLibrary(kNamedBundle.c_str());
  ASSERT_NE(module, nullptr);
  auto calls = recordedCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].library, "NamedExecutable");
  FreeLibrary(module);
  // An executable named outside the bundle is refused.
  EXPECT_EQ(LoadLibrary((kFixtures + "/Escape.bundle").c_str()), nullptr);
}

TEST_F(KernelLibraries, PlainNamesUseTheLoaderSearchPath) {
  HINSTANCE libm = LoadLibrary("libm.so.6");
  ASSERT_NE(libm, nullptr);
  using Cos = double (*)(double);
  auto cosine = reinterpret_cast<Cos>(GetProcAddress(libm, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(FreeLibrary(libm), TRUE);
}

TEST_F(KernelLibraries, BadPathsAndHandlesFail) {
  EXPECT_EQ(LoadLibrary(nullptr), nullptr);
  EXPECT_EQ(LoadLibrary(""), nullptr);
  EXPECT_EQ(LoadLibrary((kFixtures + "/missing.so").c_str()), nullptr);
  EXPECT_EQ(LoadLibrary(kFixtures.c_str()), nullptr);  // a folder without an executable
  int local = 0;
  auto* foreign = reinterpret_cast<HINSTANCE>(&local);
  EXPECT_EQ(FreeLibrary(foreign), FALSE);
  EXPECT_EQ(GetProcAddress(foreign, "cos"), nullptr);
}

TEST_F(KernelLibraries, TheApplicationModuleIsTheProgramsFolder) {
  char path[1024];
  DWORD length = GetModuleFileName(nullptr, path, sizeof(path));
  ASSERT_GT(length, 0u);
  EXPECT_EQ(length, std::strlen(path));
  EXPECT_EQ(path[0], '/');
  EXPECT_NE(path[length - 1], '/');
}

}  // namespace
