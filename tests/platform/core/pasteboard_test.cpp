#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Pasteboard.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

using Strings = std::vector<std::string>;

// A pasteboard of its own per test, so that nothing of the general one's display owner
// takes part.
NSPasteboard& board(const char* name) {
  NSPasteboard& b = NSPasteboard::pasteboardWithName(name);
  b.clearContents();
  return b;
}

// Types are declared once each; a type written without being declared is added; a type
// without a name is refused and changes nothing.
TEST(NSPasteboardTest, TypesAreDeclaredOnceAndUnnamedOnesRefused) {
  testsupport::PlatformHarness h;
  NSPasteboard& b = board("test declare");
  EXPECT_EQ(&NSPasteboard::pasteboardWithName("test declare"), &b);
  EXPECT_NE(&b, &NSPasteboard::generalPasteboard());
  EXPECT_EQ(&NSPasteboard::pasteboardWithName(NSPasteboardNameGeneral),
            &NSPasteboard::generalPasteboard());
  const long count = b.declareTypes({"a", "b", "a"});
  EXPECT_EQ(b.types(), (Strings{"a", "b"}));
  EXPECT_FALSE(b.dataForType("a"));  // declared, not written yet
  EXPECT_TRUE(b.setString("text", "a"));
  EXPECT_TRUE(b.setString("more", "c"));
  EXPECT_EQ(b.types(), (Strings{"a", "b", "c"}));
  EXPECT_FALSE(b.setData({1, 2}, ""));
  EXPECT_FALSE(b.setPropertyList({"x"}, ""));
  EXPECT_EQ(b.types(), (Strings{"a", "b", "c"}));
  EXPECT_EQ(b.changeCount(), count);
}

// Lists of strings come back as they went in, empty strings and all; data written as bytes
// reads as a list too, its last string without an end.
TEST(NSPasteboardTest, PropertyListsComeBackWhole) {
  testsupport::PlatformHarness h;
  NSPasteboard& b = board("test lists");
  const Strings lists[] = {{}, {""}, {"a", "", "b"}, {"", ""}, {"one"}, {"tail", ""}};
  for (const Strings& list : lists) {
    ASSERT_TRUE(b.setPropertyList(list, "list"));
    EXPECT_EQ(b.propertyListForType("list"), list) << list.size();
  }
  b.setData({'x', 0, 'y'}, "raw");
  EXPECT_EQ(b.propertyListForType("raw"), (Strings{"x", "y"}));
  EXPECT_EQ(b.propertyListForType("none"), Strings{});
}

// A list of files is one thing however it is written or read: as a file list or as the
// property list of the file-names type.
TEST(NSPasteboardTest, AFileListReadsTheSameEitherWay) {
  testsupport::PlatformHarness h;
  NSPasteboard& b = board("test files");
  const Strings paths{"/tmp/a b.txt", "/tmp/c"};
  struct Row {
    const char* how;
    void (*write)(NSPasteboard&, const Strings&);
  } rows[] = {
      {"file list", [](NSPasteboard& p, const Strings& s) { p.setFileList(s); }},
      {"property list",
       [](NSPasteboard& p, const Strings& s) { p.setPropertyList(s, NSFilenamesPboardType); }},
  };
  for (const Row& row : rows) {
    b.declareTypes({NSFilenamesPboardType});
    EXPECT_FALSE(b.hasFileList()) << row.how;
    row.write(b, paths);
    EXPECT_TRUE(b.hasFileList()) << row.how;
    EXPECT_EQ(b.fileList(), paths) << row.how;
    EXPECT_EQ(b.propertyListForType(NSFilenamesPboardType), paths) << row.how;
    EXPECT_TRUE(b.hasType(NSFilenamesPboardType)) << row.how;
  }
  b.declareTypes({NSPasteboardTypeString});
  EXPECT_FALSE(b.hasFileList());
  EXPECT_EQ(b.fileList(), Strings{});
}

}  // namespace
