#include <gtest/gtest.h>

#include <string>

#include "windowing/ini/detail/IniParser.h"
#include "windowing/ini/detail/IniSectionTable.h"

namespace {

using namespace std::string_literals;
using swell::IniParser;
using swell::IniSectionTable;

// Loads the text into the table; true when it was taken in whole.
bool parse(const std::string& text, IniSectionTable& table) {
  IniParser parser(table);
  parser.feed(text);
  parser.finish();
  return !parser.incomplete();
}

// The table a text loads to, shown as the text it is written back as.
std::string reformat(const std::string& text) {
  IniSectionTable table;
  parse(text, table);
  return swell::formatIniText(table);
}

TEST(IniParser, LoadingRules) {
  struct Case {
    const char* rule;
    std::string text;
    std::string loaded;
  };
  const Case cases[] = {
      {"sorted by name regardless of case", "[midi]\nout=2\nIn=1\n[Audio]\nrate=48000\n",
       "[Audio]\nrate=48000\n\n[midi]\nIn=1\nout=2\n\n"},
      {"non-entries dropped", "early=1\n[s]\n; comment\n=v\nplain\n[broken\nk=v\n", "[s]\nk=v\n\n"},
      {"blanks cut around lines only", "  [s]  \n\t key = v \t\r\n", "[s]\nkey = v\n\n"},
      {"header ends at its first ]", "[a]b]tail\nk=v\n", "[a]\nk=v\n\n"},
      {"[] drops lines up to the next header", "[a]\nk=1\n[]\nlost=1\n[b]\nk=2\n",
       "[a]\nk=1\n\n[b]\nk=2\n\n"},
      {"repeated header replaces, first spelling stays", "[Sec]\nold=1\n[x]\n[SEC]\nnew=2\n",
       "[Sec]\nnew=2\n\n[x]\n\n"},
      {"of repeated keys the first survives", "[s]\nKey=first\nkey=second\nKEY=third\n",
       "[s]\nKey=first\n\n"},
      {"lone CR ends lines", "[s]\ra=1\rb=2\rc=3", "[s]\na=1\nb=2\nc=3\n\n"},
      {"CR LF ends lines", "[s]\r\na=1\r\n\r\nb=2\r\n", "[s]\na=1\nb=2\n\n"},
      {"NUL ends the line's text", "[s]\nk=v\0hidden=1\nz=2\n"s, "[s]\nk=v\nz=2\n\n"},
      {"a byte-order mark before the first header", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "[s]\nk=v\n\n"},
      {"a byte-order mark later is text", "[s]\n\xEF\xBB\xBF[t]\n", "[s]\n\n"},
      {"after a header too, blanks may lead a header and '[' elsewhere is text",
       "[s]\n;" + std::string(64, '-') + "\nk=[v]\n \t[t]\nx=1\nnot[u]\n[u\ny=2\n",
       "[s]\nk=[v]\n\n[t]\nx=1\ny=2\n\n"},
      // Read in time linear in the line, not in its blanks times its '[' bytes.
      {"a long line led by blanks with many '[' in its value",
       "[s]\n;" + std::string(64, '-') + "\na=[\n" + std::string(1 << 20, ' ') +
           "x=" + std::string(1 << 20, '[') + "\n[t]\nk=v\n",
       "[s]\na=[\nx=" + std::string(1 << 20, '[') + "\n\n[t]\nk=v\n\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(reformat(c.text), c.loaded) << c.rule;
}

TEST(IniParser, LookupsFindTheFirstOfEqualKeysBeforeAndAfterOrdering) {
  IniSectionTable table;
  parse("[s]\nb=2\nKey=first\na=1\nkey=second\n[S]\nk=replaced\n[s]\nKEY=third\nb=4\nKEY=x\n",
        table);
  // The first lookup scans the section as read; the next ones search it ordered.
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(table.findValue("S", "key"), "third") << "round " << round;
    EXPECT_EQ(table.findValue("s", "B"), "4") << "round " << round;
    EXPECT_EQ(table.findValue("s", "a"), std::nullopt) << "round " << round;
    EXPECT_EQ(table.findValue("t", "a"), std::nullopt) << "round " << round;
  }
  EXPECT_EQ(table.sectionName(0), "s") << "the first spelling";
}

TEST(IniParser, ResultDoesNotDependOnHowTheTextIsSplit) {
  const std::string text =
      "\xEF\xBB\xBF[c]\nz=0\njunk\r\n[b]\r\nk=v\r\r\n[a]\rx=1\n[]\ny=2\n[B]\nq = \"w\"\r\n "
      "\t[d]\nm=[1]\nlast=9";
  const std::string whole = reformat(text);
  for (std::size_t split = 0; split <= text.size(); ++split) {
    IniSectionTable table;
    IniParser parser(table);
    parser.feed(std::string_view(text).substr(0, split));
    parser.feed(std::string_view(text).substr(split));
    parser.finish();
    EXPECT_EQ(swell::formatIniText(table), whole) << "split at " << split;
    EXPECT_EQ(table.findValue("b", "q "), " \"w\"") << "split at " << split;
  }
}

TEST(IniParser, Utf16TextIsNotReadAndMayNotBeWrittenOver) {
  for (const std::string& text : {"\xFF\xFE[\0s\0]\0\n\0"s, "\xFE\xFF\0[\0s\0]\0\n"s}) {
    IniSectionTable table;
    EXPECT_FALSE(parse(text, table));
    EXPECT_TRUE(table.empty());
  }
  IniSectionTable loneByte;
  EXPECT_TRUE(parse("\xFF[s]\n[t]\nk=v\n", loneByte)) << "a lone first byte is text";
  EXPECT_EQ(swell::formatIniText(loneByte), "[t]\nk=v\n\n");
}

TEST(IniParser, FileWithoutAHeaderNearItsStartIsNotRead) {
  std::string filler;
  while (filler.size() <= swell::kIniHeaderlessLimit)
    filler += std::string(99, 'x') + "\n";
  IniSectionTable tooLate, emptyHeader, inTime;
  EXPECT_FALSE(parse(filler + "[s]\nk=v\n", tooLate));
  EXPECT_TRUE(tooLate.empty());
  EXPECT_FALSE(parse("[]\n" + filler + "[s]\n", emptyHeader)) << "[] does not count as a header";
  EXPECT_TRUE(parse(std::string(1000, 'x') + "\n[s]\n" + filler + "k=v\n", inTime));
  EXPECT_EQ(inTime.findValue("s", "k"), "v");
}

TEST(IniParser, OverlongLineIsCutAndItsRestIsNotReadAsLines) {
  std::string text = "[s]\nk=" + std::string(swell::kIniMaxLineLength - 2, 'v');
  IniSectionTable whole, cut;
  EXPECT_TRUE(parse(text + "\n", whole)) << "a line of exactly the limit is whole";
  EXPECT_FALSE(parse(text + "[injected]\nafter=1\n", cut));
  ASSERT_EQ(cut.sectionCount(), 1u);
  EXPECT_EQ(cut.findValue("s", "k")->size(), swell::kIniMaxLineLength - 2);
  EXPECT_EQ(cut.findValue("s", "after"), "1") << "lines after the cut one are still read";

  // A header line cut while it arrives in pieces, its rest longer than a piece.
  const std::string header =
      "[a]\n[h]" + std::string(swell::kIniMaxLineLength + (2 << 20), 'x') + "=1\nk=v\n";
  IniSectionTable pieces;
  IniParser parser(pieces);
  for (std::size_t at = 0; at < header.size(); at += 1 << 20)
    parser.feed(std::string_view(header).substr(at, 1 << 20));
  parser.finish();
  EXPECT_TRUE(parser.incomplete());
  EXPECT_EQ(swell::formatIniText(pieces), "[a]\n\n[h]\nk=v\n\n") << "the rest is no entry";
}

TEST(IniFormat, WrittenTextReadsBackToTheSameTable) {
  const std::string text = reformat("[b]\nz=1\n a=\" q \"\n[A]\nk==v=\n[c]\n");
  EXPECT_EQ(text, "[A]\nk==v=\n\n[b]\na=\" q \"\nz=1\n\n[c]\n\n");
  EXPECT_EQ(reformat(text), text);
}

TEST(IniNames, CompareAsBytesWithOnlyAsciiFolded) {
  EXPECT_EQ(swell::compareIniNames("ABC", "abc"), 0);
  EXPECT_LT(swell::compareIniNames("ab", "abc"), 0);
  EXPECT_LT(swell::compareIniNames("Z", "\xC3\xA9"), 0);
  EXPECT_NE(swell::compareIniNames("\xC3\x89", "\xC3\xA9"), 0);
}

}  // namespace
