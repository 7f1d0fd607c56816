#include "editor/TEditorLineCutter.h"

#include <gtest/gtest.h>

#include "tests/editor/textengine/RowsTestSupport.h"

namespace kerv {
namespace {

using testing::Rows;
using V = std::vector<std::string>;

// Shift_JIS characters used below.
const std::string A = "\x82\xA0";   // あ
const std::string Maru = "\x81\x42";  // 。
const std::string OpenK = "\x81\x75";  // 「
const std::string CloseK = "\x81\x76";  // 」

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct Options {
  int width = 20;
  bool followRet = false, hang = false, leading = false, wordBreak = false;
  int tab = 8;
};

V Cut(const std::string& text, const Options& o) {
  TEditorWrapOption options;
  options.SetWrapByte(o.width);
  options.SetFollowRetMark(o.followRet);
  options.SetFollowPunctuation(o.hang);
  options.SetLeading(o.leading);
  options.SetWordBreak(o.wordBreak);
  TEditorColumnRules rules;
  rules.SetTabWidth(o.tab);
  TEditorLineCutter cutter(options, rules);
  TEditorStringList rows;
  cutter.StrToWrapList(text, rows, true);
  // WrapCount agrees with the rows made, line by line.
  int total = text.empty() ? 1 : 0;
  ForEachLine(text, [&](std::string_view line) { total += cutter.WrapCount(line, true); });
  EXPECT_EQ(total, rows.Count()) << text;
  return Rows(rows);
}

TEST(TEditorLineCutterTest, CuttingRules) {
  std::string words = "abcd abcd abcd abcd abcd abcd";
  struct Case {
    const char* name;
    std::string text;
    Options options;
    V rows;
  } cases[] = {
      {"narrower than the width", std::string(19, 'a'), {}, {std::string(19, 'a') + "|c"}},
      {"exactly the width", std::string(20, 'a'), {}, {std::string(20, 'a') + "|w", "|c"}},
      {"exactly the width, return follows", std::string(20, 'a'), {.followRet = true}, {std::string(20, 'a') + "|c"}},
      {"two and a quarter widths", std::string(45, 'a'), {},
       {std::string(20, 'a') + "|w", std::string(20, 'a') + "|w", std::string(5, 'a') + "|c"}},
      {"double-byte character at the boundary", std::string(19, 'a') + A, {},
       {std::string(19, 'a') + "|w", A + "|c"}},
      {"word break after a space", words, {.wordBreak = true},
       {"abcd abcd abcd abcd |w", "abcd abcd|c"}},
      {"word longer than two thirds", std::string(30, 'w'), {.wordBreak = true},
       {std::string(6, 'w') + "|w", std::string(6, 'w') + "|w", std::string(18, 'w') + "|c"}},
      {"punctuation hangs", Repeat(A, 10) + Maru + Maru, {.hang = true}, {Repeat(A, 10) + Maru + "|w", Maru + "|c"}},
      {"without hanging", Repeat(A, 10) + Maru + Maru, {}, {Repeat(A, 10) + "|w", Maru + Maru + "|c"}},
      {"closing bracket never begins a row", Repeat(A, 10) + CloseK, {.leading = true},
       {Repeat(A, 9) + "|w", A + CloseK + "|c"}},
      {"opening bracket never ends a row", std::string(19, 'a') + "(bc", {.leading = true},
       {std::string(19, 'a') + "|w", "(bc|c"}},
      {"the cut never goes back past four fifths", std::string(15, 'a') + "((((((((bc", {.leading = true},
       {std::string(15, 'a') + "(|w", "(((((((bc|c"}},
      {"double-byte opening bracket", Repeat(A, 9) + OpenK + A, {.leading = true},
       {Repeat(A, 9) + "|w", OpenK + A + "|c"}},
      {"tab stops at the wrap boundary", std::string(18, 'a') + "\tb", {},
       {std::string(18, 'a') + "\t|w", "b|c"}},
      {"empty line", "", {}, {"|c"}},
      {"several lines", "ab\r\n" + std::string(25, 'c') + "\nd", {},
       {"ab|c", std::string(20, 'c') + "|w", "ccccc|c", "d|c"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Cut(c.text, c.options), c.rows) << c.name;
}

TEST(TEditorLineCutterTest, TabFillIsBoundedByTheWrapWidth) {
  TEditorColumnRules rules;
  rules.SetTabWidth(8);
  rules.SetWrap(true, 20);
  // A tab at column 19 occupies columns 19 and 20 only.
  std::string line = std::string(18, 'a') + "\tb";
  EXPECT_EQ(rules.ColumnAttributes(line), std::string(18, '1') + "231");
  rules.SetWrap(false, 20);
  EXPECT_EQ(rules.ColumnAttributes(line), std::string(18, '1') + "2" + std::string(5, '3') + "1");
  EXPECT_EQ(rules.TextWidth(line), 25);
  EXPECT_EQ(rules.ColumnAttributes("\t" + A + "_,"), "23333333451" "2");
  EXPECT_EQ(rules.ColumnAttributes("\xB1\x81"), "11") << "a lead byte at the end counts as a single byte";
}

TEST(TEditorLineCutterTest, DelimitersByDefault) {
  TDelimiters set = DefaultDelimiters();
  for (int b : {0x00, 0x09, 0x20, 0x2F, 0x3A, 0x40, 0x5B, 0x5E, 0x60, 0x7B, 0x80, 0xA0, 0xA5, 0xFD, 0xFF}) {
    EXPECT_TRUE(set[static_cast<size_t>(b)]) << b;
  }
  for (int b : {int{'0'}, int{'9'}, int{'A'}, int{'z'}, int{'_'}, 0xA6, 0xDF, 0x81, 0xFC}) EXPECT_FALSE(set[static_cast<size_t>(b)]) << b;
}

TEST(TEditorLineCutterTest, WrapByteIsClampedAndChangesNotifyOnce) {
  TEditorWrapOption options;
  int changes = 0;
  options.SetOnChange([&](TNotifyPersistent*) { ++changes; });
  options.SetWrapByte(10);
  EXPECT_EQ(options.WrapByte(), 20);
  options.SetWrapByte(1000);
  EXPECT_EQ(options.WrapByte(), 500);
  options.SetWrapByte(500);
  EXPECT_EQ(changes, 2);
  TEditorWrapOption other;
  other.SetLeading(true);
  other.SetLeadStr("(");
  options.Assign(other);
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(options.Leading());
  EXPECT_EQ(options.LeadStr(), "(");
  EXPECT_EQ(options.WrapByte(), 80);
}

TEST(TEditorLineCutterTest, WordWrapOffKeepsOneRowPerLine) {
  TEditorWrapOption options;
  TEditorColumnRules rules;
  TEditorLineCutter cutter(options, rules);
  TEditorStringList rows;
  cutter.StrToWrapList(std::string(300, 'x') + "\r\n\r\ny", rows, false);
  EXPECT_EQ(Rows(rows), (V{std::string(300, 'x') + "|c", "|c", "y|c"}));
  EXPECT_EQ(cutter.WrapCount(std::string(300, 'x'), false), 1);
}

TEST(TEditorLineCutterTest, LongLineJoinsBackWhole) {
  TEditorWrapOption options;
  options.SetLeading(true);
  options.SetFollowPunctuation(true);
  options.SetWordBreak(true);
  TEditorColumnRules rules;
  TEditorLineCutter cutter(options, rules);
  std::string line;
  for (int i = 0; i < 20000; ++i) line += (i % 7 == 0) ? Maru : (i % 5 == 0 ? std::string("ab\t") : A);
  TEditorStringList rows;
  cutter.StrToWrapList(line, rows, true);
  std::string joined;
  for (int i = 0; i < rows.Count(); ++i) {
    joined += rows.Get(i);
    EXPECT_EQ(rows.RowAttribute(i), i + 1 < rows.Count() ? raWrapped : raCrlf);
  }
  EXPECT_EQ(joined, line);
  EXPECT_EQ(cutter.WrapCount(line, true), rows.Count());
}

}  // namespace
}  // namespace kerv
