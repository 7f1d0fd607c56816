#include "document/TKervFileHistory.h"

#include <gtest/gtest.h>

#include "document/TIniFile.h"
#include "document/TKervFileDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

TEST(TKervFileHistoryTest, AddMovesToTop) {
  TKervFileHistory history;
  for (const char* name : {"/a", "/b", "/c", "/a"}) history.Add(name);
  EXPECT_EQ(history.Names(), (std::vector<std::string>{"/a", "/c", "/b"}));
}

TEST(TKervFileHistoryTest, WritesAtMostTwentyAndReadsThemBack) {
  FakeFileSystem fs;
  TIniFile ini = TIniFile::FromText(fs, "/home/user/kerv.ini", "[History]\r\nCount=30\r\nHistory24=/old\r\n");
  TKervFileHistory history;
  for (int i = 24; i >= 0; --i) history.Add("/f" + std::to_string(i));
  history.Write(ini);
  EXPECT_EQ(ini.ReadInteger("History", "Count", 0), 20);
  EXPECT_EQ(ini.ReadString("History", "History0", ""), "/f0");
  EXPECT_EQ(ini.ReadString("History", "History19", ""), "/f19");

  TKervFileHistory other;
  other.Read(ini);
  ASSERT_EQ(other.Names().size(), 20u);
  EXPECT_EQ(other.Names()[19], "/f19");
}

TEST(TKervFileHistoryTest, ReadSkipsMissingEntries) {
  FakeFileSystem fs;
  TIniFile ini = TIniFile::FromText(fs, "/k.ini", "[History]\r\nCount=3\r\nHistory0=/a\r\nHistory2=/c\r\n");
  TKervFileHistory history;
  history.Add("/stale");
  history.Read(ini);
  EXPECT_EQ(history.Names(), (std::vector<std::string>{"/a", "/c"}));
  TKervFileHistory::Erase(ini);
  EXPECT_FALSE(ini.SectionExists("History"));
}

TEST(TKervFileHistoryTest, DamagedCountReadsOnlyTheKeysThatAreThere) {
  // A Count of two billion must not mean two billion look-ups at start-up.
  FakeFileSystem fs;
  TIniFile ini = TIniFile::FromText(
      fs, "/k.ini", "[History]\r\nCount=2147483647\r\nHistory1=/b\r\nhistory0=/a\r\nHistory01=/x\r\nHistoryX=/y\r\n");
  TKervFileHistory history;
  history.Read(ini);
  EXPECT_EQ(history.Names(), (std::vector<std::string>{"/a", "/b"}));
  // A key beyond Count is not read, nor is anything for a negative Count.
  TIniFile small = TIniFile::FromText(fs, "/k.ini", "[History]\r\nCount=1\r\nHistory0=/a\r\nHistory1=/b\r\n");
  history.Read(small);
  EXPECT_EQ(history.Names(), std::vector<std::string>{"/a"});
  TIniFile negative = TIniFile::FromText(fs, "/k.ini", "[History]\r\nCount=-5\r\nHistory0=/a\r\n");
  history.Read(negative);
  EXPECT_TRUE(history.Names().empty());
}

TEST(TKervFileHistoryTest, MenuEntries) {
  TKervFileHistory history;
  auto none = history.MenuEntries(5);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_FALSE(none[0].enabled);
  EXPECT_EQ(none[0].caption, "（なし）");
  history.Add("/x/R&D.txt");
  history.Add("/y.txt");
  auto entries = history.MenuEntries(1);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].caption, "&0:/y.txt");
  entries = history.MenuEntries(5);
  EXPECT_EQ(entries[1].caption, "&1:/x/R&&D.txt");
  EXPECT_EQ(entries[1].fileName, "/x/R&D.txt");
}

TEST(TKervFileHistoryTest, ShortForm) {
  struct Case {
    const char* name;
    const char* shortName;
  } cases[] = {
      {"/home/user/a.txt", "/home/user/a.txt"},
      {"/home/user/Documents/notes.txt", "/.../Documents/notes.txt"},
      {"/home/user/Documents/some/long/notes.txt", "/.../some/long/notes.txt"},
      {"/home/user/averyveryverylongfilename.txt", "averyveryverylongfilename.txt"},
      {"/home/user/abcdefghijklmnopqrst.txt", "abcdefghijklmnopqrst.txt"},  // "/.../" would not fit
      {"relative/folder/and/more/file.txt", ".../and/more/file.txt"},
      {"plainfilenamethatistoolongforthemenu.txt", "plainfilenamethatistoolongforthemenu.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(TKervFileHistory::ShortName(c.name), c.shortName) << c.name;
}

TEST(TKervFileDialogsTest, FilterRowsAndChecks) {
  EXPECT_EQ(FilterRows("A|*.a|B|*.b;*.c"),
            (std::vector<TFilterRow>{{"A", "*.a"}, {"B", "*.b;*.c"}}));
  EXPECT_EQ(FilterRows("A|*.a|dangling|"), (std::vector<TFilterRow>{{"A", "*.a"}}));
  EXPECT_EQ(FilterListText(FilterRows("A|*.a|B|*.b")), "A|*.a|B|*.b|");
  struct Case {
    TFilterRow row;
    std::optional<TDocumentMessage> refusal;
  } cases[] = {
      {{"Text", "*.txt"}, std::nullopt},
      {{"", "*.txt"}, TDocumentMessage::FilterNameEmpty},
      {{"Text", ""}, TDocumentMessage::FilterDefinitionEmpty},
      {{"A|B", "*.txt"}, TDocumentMessage::FilterNameBar},
      {{"Text", "*.txt;*.t?t"}, TDocumentMessage::FilterBadExtension},
      {{"Text", "*.a/b"}, TDocumentMessage::FilterBadExtension},
      {{"All", "*.*"}, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckFilterRow(c.row), c.refusal) << c.row.name << " " << c.row.definition;
}

TEST(TKervFileDialogsTest, DialogFiltersAndInitialFilter) {
  IconvCodePage codePage;
  auto filters = DialogFilters("\x83\x65\x83\x4C\x83\x58\x83\x67|*.txt|HTML|*.htm;*.html|All|*.*", codePage);
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[0].name, "テキスト");
  EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.htm", "*.html"}));
  EXPECT_EQ(filters[1].extension, ".html");
  EXPECT_EQ(filters[2].extension, "");
  EXPECT_EQ(InitialSaveFilter(filters, "/a/b.htm"), 1);
  EXPECT_EQ(InitialSaveFilter(filters, "/a/b.HTM"), 0);  // case-sensitive
  EXPECT_EQ(InitialSaveFilter(filters, "/a/Makefile"), 2);
  EXPECT_EQ(SaveCodeChoice(ccAscii).index, 0);
  EXPECT_EQ(SaveCodeChoice(ccUTF8N).index, 6);
  EXPECT_EQ(ReturnCodeChoice(rcCR).index, 2);
  EXPECT_EQ(OpenCodeAt(0), ccAuto);
  EXPECT_EQ(OpenCodeAt(5), ccUnicodeBE);
}

}  // namespace
}  // namespace kerv
