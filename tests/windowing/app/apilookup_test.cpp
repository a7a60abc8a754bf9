#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "windowing/Win32.h"
#include "windowing/app/detail/ApiTable.h"

namespace {

// The number of names the interface offers by lookup.
constexpr std::size_t kInterfaceNames = 362;

TEST(ApiLookup, TableIsSortedAndEveryNameLooksUpItsEntry) {
  std::size_t count = 0;
  const SwellApiEntry* table = swell::apiTable(&count);
  EXPECT_EQ(count, kInterfaceNames);
  std::size_t provided = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) {
      EXPECT_LT(std::strcmp(table[i - 1].name, table[i].name), 0) << table[i].name;
    }
    EXPECT_EQ(SWELL_GetAPIFunctionByName(table[i].name), table[i].func) << table[i].name;
    if (table[i].func) ++provided;
  }
  EXPECT_GT(provided, 0u);
}

TEST(ApiLookup, LooksUpFunctionsByName) {
  EXPECT_EQ(SWELL_GetAPIFunctionByName("SetTimer"), reinterpret_cast<void*>(&SetTimer));
  EXPECT_EQ(SWELL_GetAPIFunctionByName("SendMessage"), reinterpret_cast<void*>(&SendMessage));
  EXPECT_EQ(SWELL_GetAPIFunctionByName("SWELL_CreateDialog"),
            reinterpret_cast<void*>(&SWELL_CreateDialog));
  EXPECT_EQ(SWELL_GetAPIFunctionByName("PostMessage"), reinterpret_cast<void*>(&PostMessage));
  EXPECT_EQ(SWELL_GetAPIFunctionByName("SWELL_DrawText"), reinterpret_cast<void*>(&SWELL_DrawText));
  EXPECT_EQ(SWELL_GetAPIFunctionByName("NoSuchFunction"), nullptr);
  EXPECT_EQ(SWELL_GetAPIFunctionByName("settimer"), nullptr);
  EXPECT_EQ(SWELL_GetAPIFunctionByName(""), nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(SWELL_GetAPIFunctionByName(nullptr)), 256u);
}

TEST(ApiLookup, ConcurrentFirstLookupsAgree) {
  std::vector<std::thread> threads;
  std::vector<void*> found(8);
  for (std::size_t i = 0; i < found.size(); ++i)
    threads.emplace_back([&, i] { found[i] = SWELL_GetAPIFunctionByName("KillTimer"); });
  for (auto& t : threads)
    t.join();
  for (void* f : found)
    EXPECT_EQ(f, reinterpret_cast<void*>(&KillTimer));
}

}  // namespace
