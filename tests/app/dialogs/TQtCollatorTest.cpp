// Sorting with Qt's Japanese collation, whatever the process locale.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/dialogs/TQtCollator.h"
#include "format/TStringFormatter.h"
#include "tests/format/FormatTestSupport.h"

namespace kerv {
namespace {

using test::S;
using test::U;

std::string Join(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += S(line) + "\r\n";
  return text;
}

TEST(TQtCollatorTest, OrdersAMixedJapaneseList) {
  TQtCollator collator(test::TestCodePage());
  // Digits, then Latin letters (any case or width), then kana in syllabary
  // order (hiragana, katakana and half-width kana together), then kanji.
  const std::string shuffled = Join({"漢字", "か", "Ｂ", "ア", "2", "b", "ｲ", "a", "10", "い", "Ａ", "ｶ"});
  const std::string sorted = TStringFormatter::SortLines(shuffled, collator);
  const std::string out = U(sorted);

  auto pos = [&](const char* line) { return out.find(std::string(line) + "\r\n"); };
  for (const char* line : {"10", "2", "a", "Ａ", "b", "Ｂ", "ア", "い", "ｲ", "か", "ｶ", "漢字"}) {
    ASSERT_NE(pos(line), std::string::npos) << line;
  }
  EXPECT_LT(pos("10"), pos("2"));   // text order, not numeric
  EXPECT_LT(pos("2"), pos("a"));
  EXPECT_LT(pos("Ａ"), pos("b"));   // width and case ignored
  EXPECT_LT(pos("a"), pos("Ｂ"));
  EXPECT_LT(pos("Ｂ"), pos("ア"));
  EXPECT_LT(pos("ア"), pos("い"));  // katakana ア before hiragana い
  EXPECT_LT(pos("ｲ"), pos("か"));
  EXPECT_LT(pos("い"), pos("か"));
  EXPECT_LT(pos("ｶ"), pos("漢字"));
  EXPECT_LT(pos("か"), pos("漢字"));

  // Descending is the exact reverse for lines that differ at the first level.
  const std::string reversed = U(TStringFormatter::ReverseSortLines(Join({"b", "ア", "2", "漢字"}), collator));
  EXPECT_EQ(reversed, "漢字\r\nア\r\nb\r\n2\r\n");
}

TEST(TQtCollatorTest, CompareIgnoresCaseAndKeepsTheLastLineBreakRule) {
  TQtCollator collator(test::TestCodePage());
  EXPECT_EQ(collator.Compare("abc", "ABC"), 0);
  EXPECT_LT(collator.Compare(S("あ"), S("い")), 0);
  EXPECT_GT(collator.Compare(S("漢"), S("ん")), 0);
  EXPECT_EQ(TStringFormatter::SortLines("b\r\na", collator), "a\r\nb");
  EXPECT_EQ(TStringFormatter::SortLines(S("い\r\nソ\r\nあ\r\n"), collator), S("あ\r\nい\r\nソ\r\n"));
}

}  // namespace
}  // namespace kerv
