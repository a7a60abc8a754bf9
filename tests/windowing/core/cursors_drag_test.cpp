#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/Cursor.h"
#include "platform/core/detail/TestHooks.h"
#include "platform/display/Event.h"
#include "platform/display/detail/TestHooks.h"
#include "windowing/Win32.h"
#include "windowing/core/detail/TestHooks.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own for each test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/cursors_drag_XXXXXX";
    mPath = mkdtemp(pattern) ? pattern : "";
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!mPath.empty()) fs::remove_all(mPath, ignored);
  }
  const std::string& path() const { return mPath; }
  std::string file(const std::string& name) const { return mPath + "/" + name; }
  void touch(const std::string& name) const {
    if (FILE* f = std::fopen(file(name).c_str(), "wb")) std::fclose(f);
  }

 private:
  std::string mPath;
};

// A 2 x 2 one-bit cursor file with its hot spot at (1, 1).
std::vector<std::uint8_t> tinyCursorFile() {
  std::vector<std::uint8_t> b;
  auto put16 = [&b](unsigned v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); };
  auto put32 = [&](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  constexpr std::uint32_t kPictureBytes = 40 + 8 + 8 + 8;
  put16(0), put16(2), put16(1);                         // reserved, cursor type, one image
  b.insert(b.end(), {2, 2, 2, 0}), put16(1), put16(1);  // size, colours, hot spot
  put32(kPictureBytes), put32(22);
  put32(40), put32(2), put32(4), put16(1), put16(1);  // header: 2 x (2 + mask), 1 bit
  for (int i = 0; i < 6; ++i)
    put32(0);
  put32(0x000000), put32(0xFFFFFF);      // palette
  put32(0x40000000), put32(0x80000000);  // colour rows
  put32(0), put32(0);                    // mask rows
  return b;
}

class CursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetCursorForTesting();
    platform::resetMouseStateForTesting();
  }
  void TearDown() override {
    while (!SWELL_IsCursorVisible())
      SWELL_ShowCursor(TRUE);
    SWELL_SetCursor(nullptr);
    platform::resetCursorForTesting();
  }
};

TEST_F(CursorTest, SetCursorRoundTripsAndAnythingElseIsTheArrow) {
  HCURSOR arrow = SWELL_LoadCursor(reinterpret_cast<const char*>(kCursorArrow));
  for (UINT_PTR id : {kCursorIBeam, kCursorSizeAll, kCursorSizeNWSE, kCursorNo}) {
    HCURSOR c = SWELL_LoadCursor(reinterpret_cast<const char*>(id));
    ASSERT_NE(c, nullptr) << id;
    EXPECT_EQ(SWELL_LoadCursor(reinterpret_cast<const char*>(id)), c) << id;  // cached
    SWELL_SetCursor(c);
    EXPECT_EQ(SWELL_GetCursor(), c) << id;
    EXPECT_EQ(SWELL_GetLastSetCursor(), c) << id;
  }
  int notACursor = 0;
  for (HCURSOR other : {static_cast<HCURSOR>(nullptr), reinterpret_cast<HCURSOR>(&notACursor)}) {
    SWELL_SetCursor(other);
    EXPECT_EQ(SWELL_GetCursor(), arrow);
    EXPECT_EQ(SWELL_GetLastSetCursor(), nullptr);
  }
  EXPECT_EQ(SWELL_LoadCursor(reinterpret_cast<const char*>(31999)), nullptr);
}

TEST_F(CursorTest, HiddenTwiceShownOnceStaysHiddenAndFollowsTheMotion) {
  platform::NSEvent::setMouseLocation({100, 200});
  EXPECT_EQ(SWELL_ShowCursor(FALSE), -1);
  EXPECT_EQ(SWELL_ShowCursor(FALSE), -2);
  EXPECT_EQ(SWELL_ShowCursor(TRUE), -1);
  EXPECT_FALSE(SWELL_IsCursorVisible());
  EXPECT_TRUE(platform::NSCursor::isHidden());
  platform::NSEvent move;
  move.type = platform::NSEventTypeMouseMoved;
  move.deltaX = 5;
  move.deltaY = 3;  // up the screen: y grows upwards
  POINT p = MouseEventToClientPoint(WM_MOUSEMOVE, nullptr, &move);
  EXPECT_EQ(p.x, 105);
  EXPECT_EQ(p.y, 197);
  EXPECT_TRUE(SWELL_SetCursorPos(110, 190));  // only what is reported, while hidden
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 110);
  EXPECT_EQ(p.y, 190);
  EXPECT_EQ(GetMessagePos(), static_cast<DWORD>((190 << 16) | 110));
  EXPECT_EQ(SWELL_ShowCursor(TRUE), 0);
  EXPECT_TRUE(SWELL_IsCursorVisible());
  EXPECT_FALSE(platform::NSCursor::isHidden());
  EXPECT_FALSE(platform::NSCursor::isMouseDetached());
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 110);
  EXPECT_EQ(p.y, 190);
}

TEST_F(CursorTest, CursorFilesAndRegisteredResourcesLoadOrGiveNull) {
  TempFolder folder;
  auto bytes = tinyCursorFile();
  std::string path = folder.file("hand.cur");
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  folder.touch("empty.cur");
  EXPECT_NE(SWELL_LoadCursorFromFile(path.c_str()), nullptr);
  for (const std::string& bad : {folder.file("empty.cur"), folder.file("missing.cur"),
                                 std::string(), std::string("no-such-resource")})
    EXPECT_EQ(SWELL_LoadCursorFromFile(bad.c_str()), nullptr) << bad;
  EXPECT_EQ(SWELL_LoadCursorFromFile(nullptr), nullptr);

  // The name is copied: the caller's buffer may change after the registration.
  std::string name = path;
  SWELL_Register_Cursor_Resource(reinterpret_cast<const char*>(4711), name.c_str(), 1, 1);
  name.assign(name.size(), 'x');
  HCURSOR registered = SWELL_LoadCursor(reinterpret_cast<const char*>(4711));
  EXPECT_NE(registered, nullptr);
  EXPECT_EQ(SWELL_LoadCursor(reinterpret_cast<const char*>(4711)), registered);
  SWELL_Register_Cursor_Resource(reinterpret_cast<const char*>(4712), "missing", 0, 0);
  EXPECT_EQ(SWELL_LoadCursor(reinterpret_cast<const char*>(4712)), nullptr);
}

std::vector<std::string> gWritten;
void writeEmptyFile(const char* destination) {
  gWritten.emplace_back(destination);
  if (FILE* f = std::fopen(destination, "wb")) std::fclose(f);
}

TEST(PromisedFiles, CopiedUnderAFreeNameAndBadNamesRefused) {
  TempFolder folder;
  gWritten.clear();
  struct Case {
    const char* source;
    const char* destination;  // null: the test's folder
    std::vector<std::string> written;
  };
  const Case cases[] = {
      {"/src/take.txt", nullptr, {"take.txt"}},
      {"/src/take.txt", nullptr, {"take 001.txt"}},  // kept both
      {"/src/take.txt", nullptr, {"take 002.txt"}},
      {"/src/", nullptr, {}},
      {"/src/.", nullptr, {}},
      {"/src/..", nullptr, {}},
      {"/src/take.txt", "", {}},
  };
  for (const auto& c : cases) {
    swell::setDragOutState(c.source, writeEmptyFile);
    const char* destination = c.destination ? c.destination : folder.path().c_str();
    EXPECT_EQ(SWELL_CopyPromisedFile(destination), c.written) << c.source;
    EXPECT_FALSE(swell::hasDragOutState()) << c.source;
  }
  EXPECT_EQ(gWritten.size(), 3u);  // the refused ones wrote nothing

  // Every numbered name taken: the search stops and nothing is overwritten.
  folder.touch("full.txt");
  for (int n = 1; n <= 999; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "full %03d.txt", n);
    folder.touch(name);
  }
  gWritten.clear();
  swell::setDragOutState("/src/full.txt", writeEmptyFile);
  EXPECT_TRUE(SWELL_CopyPromisedFile(folder.path().c_str()).empty());
  EXPECT_TRUE(gWritten.empty());
}

TEST(PromisedFiles, ADragFromWhatIsNotAWindowOnlyEndsTheEarlierOne) {
  swell::setDragOutState("/src/take.txt", writeEmptyFile);
  RECT r{0, 0, 10, 10};
  int notAView = 0;
  SWELL_InitiateDragDrop(reinterpret_cast<HWND>(&notAView), &r, "/src/other.txt", writeEmptyFile);
  EXPECT_FALSE(swell::hasDragOutState());
  const char* files[] = {"/src/a.txt"};
  SWELL_InitiateDragDropOfFileList(nullptr, &r, files, 1, nullptr);
  EXPECT_FALSE(swell::hasDragOutState());
}

}  // namespace
