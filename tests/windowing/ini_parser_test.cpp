#include <gtest/gtest.h>

#include <string>

#include "windowing/IniParser.h"
#include "windowing/IniSectionTable.h"

namespace {

using swell::IniParser;
using swell::IniSectionTable;

struct Parsed {
  IniSectionTable table;
  bool incomplete = false;
};

Parsed parse(const std::string& text) {
  Parsed result;
  IniParser parser(result.table);
  parser.feed(text);
  parser.finish();
  result.incomplete = parser.incomplete();
  return result;
}

std::string reformat(const std::string& text) {
  return swell::formatIniText(parse(text).table);
}

TEST(IniParser, SectionsAndKeysAreSortedAndFoundRegardlessOfCase) {
  const Parsed parsed = parse("[midi]\nout=2\nIn=1\n[Audio]\nrate=48000\n");
  EXPECT_EQ(swell::formatIniText(parsed.table), "[Audio]\nrate=48000\n\n[midi]\nIn=1\nout=2\n\n");
  const auto* midi = parsed.table.find("MIDI");
  ASSERT_NE(midi, nullptr);
  ASSERT_NE(midi->find("in"), nullptr);
  EXPECT_EQ(*midi->find("in"), "1");
  EXPECT_FALSE(parsed.incomplete);
}

TEST(IniParser, LinesThatAreNotEntriesAreDropped) {
  // Before any header, comments, '=' first, no '=' at all, '[' without ']'.
  EXPECT_EQ(reformat("early=1\n[s]\n; comment\n=v\nplain\n[broken\nk=v\n"), "[s]\nk=v\n\n");
}

TEST(IniParser, BlanksAroundLinesGoButStayInsideKeysAndValues) {
  const Parsed parsed = parse("  [s]  \n\t key = v \t\r\n");
  const auto* section = parsed.table.find("s");
  ASSERT_NE(section, nullptr);
  ASSERT_EQ(section->size(), 1u);
  EXPECT_EQ(section->entries()[0].first, "key ");
  EXPECT_EQ(section->entries()[0].second, " v");
}

TEST(IniParser, HeadersTakeTheTextUpToTheFirstClosingBracket) {
  EXPECT_EQ(reformat("[a]b]trailing\nk=v\n"), "[a]\nk=v\n\n");
  // A header without a name ends the section; its lines are dropped.
  EXPECT_EQ(reformat("[a]\nk=1\n[]\nlost=1\n[b]\nk=2\n"), "[a]\nk=1\n\n[b]\nk=2\n\n");
}

TEST(IniParser, RepeatedHeaderReplacesEarlierEntriesUnderTheFirstSpelling) {
  EXPECT_EQ(reformat("[Sec]\nold=1\n[other]\n[SEC]\nnew=2\n"), "[other]\n\n[Sec]\nnew=2\n\n");
}

TEST(IniParser, OfRepeatedKeysTheFirstInTheFileSurvives) {
  EXPECT_EQ(reformat("[s]\nKey=first\nkey=second\nKEY=third\n"), "[s]\nKey=first\n\n");
}

TEST(IniParser, EveryKindOfLineEndEndsALine) {
  const std::string expected = "[s]\na=1\nb=2\nc=3\n\n";
  EXPECT_EQ(reformat("[s]\ra=1\rb=2\rc=3"), expected);
  EXPECT_EQ(reformat("[s]\r\na=1\r\nb=2\r\nc=3\r\n"), expected);
  EXPECT_EQ(reformat("[s]\na=1\r\rb=2\n\nc=3\n"), expected);
}

TEST(IniParser, ALineEndsAtANulByte) {
  EXPECT_EQ(reformat(std::string("[s]\nk=v\0hidden=1\nz=2\n", 21)), "[s]\nk=v\nz=2\n\n");
}

TEST(IniParser, ResultDoesNotDependOnHowTheTextIsSplit) {
  const std::string text = "junk\r\n[b]\r\nk=v\r\r\n[a]\rx=1\n[]\ny=2\n[B]\nq = \"w\"\r\nlast=9";
  const std::string whole = reformat(text);
  for (std::size_t split = 0; split <= text.size(); ++split) {
    IniSectionTable table;
    IniParser parser(table);
    parser.feed(std::string_view(text).substr(0, split));
    parser.feed(std::string_view(text).substr(split));
    parser.finish();
    EXPECT_EQ(swell::formatIniText(table), whole) << "split at " << split;
  }
}

TEST(IniParser, FileWithoutAHeaderNearItsStartIsNotRead) {
  const std::string filler(100, 'x');
  std::string text;
  while (text.size() <= swell::kIniHeaderlessLimit)
    text += filler + "\n";
  const Parsed tooLate = parse(text + "[s]\nk=v\n");
  EXPECT_TRUE(tooLate.table.empty());
  EXPECT_TRUE(tooLate.incomplete);

  // "[]" is no header for this count; a real one in time is.
  const Parsed emptyHeader = parse("[]\n" + text + "[s]\nk=v\n");
  EXPECT_TRUE(emptyHeader.incomplete);
  const Parsed inTime = parse(std::string(1000, 'x') + "\n[s]\n" + text + "k=v\n");
  EXPECT_FALSE(inTime.incomplete);
  EXPECT_NE(inTime.table.find("s"), nullptr);
}

TEST(IniParser, OverlongLineIsCutAndItsRestIsNotReadAsLines) {
  std::string text = "[s]\nk=";
  text.append(swell::kIniMaxLineLength - 2, 'v');
  text += "[injected]\nafter=1\n";  // the rest of the line would read as a header
  const Parsed parsed = parse(text);
  EXPECT_TRUE(parsed.incomplete);
  ASSERT_EQ(parsed.table.size(), 1u);
  const auto* section = parsed.table.find("s");
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(section->find("k")->size(), swell::kIniMaxLineLength - 2);
  EXPECT_NE(section->find("after"), nullptr) << "lines after the cut one are still read";
}

TEST(IniParser, LineOfExactlyTheLimitIsWhole) {
  std::string text = "[s]\nk=";
  text.append(swell::kIniMaxLineLength - 2, 'v');
  text += "\n";
  EXPECT_FALSE(parse(text).incomplete);
}

TEST(IniFormat, WrittenTextReadsBackToTheSameTable) {
  const std::string text = reformat("[b]\nz=1\n a=\" q \"\n[A]\nk==v=\n[c]\n");
  EXPECT_EQ(text, "[A]\nk==v=\n\n[b]\na=\" q \"\nz=1\n\n[c]\n\n");
  EXPECT_EQ(reformat(text), text);
}

TEST(IniKeyedArray, InsertKeepsTheStoredSpellingAndReplacesTheValue) {
  swell::IniSection section;
  section.insert("Key", "1");
  section.insert("KEY", "2");
  section.insert("another", "3");
  ASSERT_EQ(section.size(), 2u);
  EXPECT_EQ(section.entries()[1].first, "Key");
  EXPECT_EQ(section.entries()[1].second, "2");
  EXPECT_TRUE(section.erase("kEy"));
  EXPECT_FALSE(section.erase("key"));
}

TEST(IniKeyedArray, NamesCompareAsBytesWithAsciiFolding) {
  EXPECT_EQ(swell::compareIniNames("ABC", "abc"), 0);
  EXPECT_LT(swell::compareIniNames("ab", "abc"), 0);
  EXPECT_LT(swell::compareIniNames("Z", "\xC3\xA9"), 0);         // bytes above 127 sort last
  EXPECT_NE(swell::compareIniNames("\xC3\x89", "\xC3\xA9"), 0);  // no folding beyond ASCII
}

}  // namespace
