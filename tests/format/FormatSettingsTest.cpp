// The numbering settings, the lead-string history and its escapes.

#include <gtest/gtest.h>

#include "document/TIniFile.h"
#include "format/TLeadStringHistory.h"
#include "format/TNumberingOptions.h"
#include "platform/fake/FakeFileSystem.h"
#include "tests/format/FormatTestSupport.h"

namespace kerv {
namespace {

using test::S;
using test::U;

TEST(FormatSettingsTest, NumberingSection) {
  FakeFileSystem fs;
  TIniFile empty = TIniFile::FromText(fs, "/k/kerv.ini", "");
  TNumberingOptions defaults = TNumberingOptions::Read(empty);
  EXPECT_EQ(defaults.startNumber, 1);
  EXPECT_EQ(defaults.separateStr, ".");
  EXPECT_EQ(defaults.alignment, TNumberAlignment::Left);

  TIniFile damaged = TIniFile::FromText(fs, "/k/kerv.ini", "[Numbering]\r\nStartNumber=12345\r\nAlignment=7\r\n");
  TNumberingOptions read = TNumberingOptions::Read(damaged);
  EXPECT_EQ(read.startNumber, 1);
  EXPECT_EQ(read.alignment, TNumberAlignment::Left);

  TNumberingOptions options{42, S("：%"), TNumberAlignment::ZeroFill};
  TIniFile ini = TIniFile::FromText(fs, "/k/kerv.ini", "");
  options.Write(ini);
  TNumberingOptions back = TNumberingOptions::Read(TIniFile::FromText(fs, "/k/kerv.ini", ini.Text()));
  EXPECT_EQ(back.startNumber, 42);
  EXPECT_EQ(back.separateStr, S("：%"));
  EXPECT_EQ(back.alignment, TNumberAlignment::ZeroFill);
}

TEST(FormatSettingsTest, NumberingDialogValues) {
  const std::pair<const char*, std::optional<int>> starts[] = {
      {"0", 0}, {"9999", 9999}, {" 12 ", 12}, {"10000", std::nullopt}, {"-1", std::nullopt},
      {"abc", std::nullopt}, {"", std::nullopt}, {"1.5", std::nullopt}};
  for (const auto& [text, expected] : starts) EXPECT_EQ(TNumberingOptions::ParseStartNumber(text), expected) << text;

  TNumberingOptions options;
  options.separateStr = "%\t.";
  const std::pair<TNumberAlignment, const char*> formats[] = {
      {TNumberAlignment::Left, "%d%% ."}, {TNumberAlignment::Digits, "%\td%% ."}, {TNumberAlignment::ZeroFill, "%.\td%% ."}};
  for (const auto& [alignment, expected] : formats) {
    options.alignment = alignment;
    EXPECT_EQ(options.NumberFormat(), expected);
  }

  options = {};
  options.alignment = TNumberAlignment::ZeroFill;
  TNumberingOptions::Preview preview = options.MakePreview();
  EXPECT_EQ(U(preview.firstLine), "001.これはサンプルです。");
  EXPECT_EQ(preview.ellipsisLine, "           : ");
  EXPECT_EQ(U(preview.lastLine), "100.これはサンプルです。");
}

TEST(FormatSettingsTest, LeadStringHistory) {
  FakeFileSystem fs;
  TIniFile ini = TIniFile::FromText(fs, "/k/kerv.ini", "[LeadStrings]\r\nCount=4\r\nLS0=> \r\nLS1=\r\nLS2=abc\r\nLS3=# \r\n");
  TLeadStringHistory history;
  history.Read(ini);
  ASSERT_EQ(history.Items(), (std::vector<std::string>{">", "abc", "#"}));  // values are trimmed by the ini engine

  history.Add("ABC");  // an equal item moves to the top
  EXPECT_EQ(history.Items(), (std::vector<std::string>{"abc", ">", "#"}));
  history.Add("new");
  history.Add("");
  EXPECT_EQ(history.Items().front(), "new");
  EXPECT_EQ(history.Items().size(), 4u);

  for (int i = 0; i < 30; ++i) history.Add("item" + std::to_string(i));
  history.Write(ini);
  TLeadStringHistory back;
  back.Read(TIniFile::FromText(fs, "/k/kerv.ini", ini.Text()));
  EXPECT_EQ(back.Items().size(), TLeadStringHistory::kMaxWrittenItems);
  EXPECT_EQ(back.Items().front(), "item29");

  history.Clear();
  history.Write(ini);
  back.Read(ini);
  EXPECT_TRUE(back.Items().empty());

  TIniFile hostile = TIniFile::FromText(fs, "/k/kerv.ini", "[LeadStrings]\r\nCount=2000000000\r\nLS0=x\r\n");
  back.Read(hostile);
  EXPECT_EQ(back.Items(), std::vector<std::string>{"x"});
}

TEST(FormatSettingsTest, LeadStringEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"\\s\\t\\n", " \t\r\n"},
      {"ソs", "ソs"},       // 0x83 0x5C then "s": no escape
      {"ソ\\s", "ソ "},
      {"表t能n", "表t能n"},
      {"\\x\\", "\\x\\"},
      {"\\\\s", "\\ "},
  };
  for (const auto& [typed, expected] : cases) {
    EXPECT_EQ(U(TLeadStringHistory::Expand(S(typed))), expected) << typed;
  }
}

}  // namespace
}  // namespace kerv
