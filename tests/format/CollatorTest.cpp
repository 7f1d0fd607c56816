// The core's locale-free collation.

#include <gtest/gtest.h>

#include <algorithm>

#include "format/TKanaFoldingCollator.h"
#include "format/TStringFormatter.h"
#include "tests/format/FormatTestSupport.h"

namespace kerv {
namespace {

using test::S;
using test::U;

std::string Join(const std::vector<const char*>& lines) {
  std::string text;
  for (const char* line : lines) text += S(line) + "\r\n";
  return text;
}

TEST(CollatorTest, OrdersMixedJapaneseText) {
  const std::vector<const char*> sorted = {
      "\t", " ", "!", "123", "１２３", "abc", "ａｂｃ", "ABC", "zebra", "Zebra", "αβ", "Ωμ", "да",
      "あ", "うえ", "ヴァ", "かき", "かな", "カナ", "ｶﾅ", "がき", "ガキ", "ｶﾞｷ", "ん", "亜", "漢字", "表",
  };
  std::vector<const char*> shuffled = sorted;
  std::reverse(shuffled.begin(), shuffled.end());
  std::rotate(shuffled.begin(), shuffled.begin() + 7, shuffled.end());
  EXPECT_EQ(U(TStringFormatter::SortLines(Join(shuffled))), U(Join(sorted)));

  std::vector<const char*> descending(sorted.rbegin(), sorted.rend());
  EXPECT_EQ(U(TStringFormatter::ReverseSortLines(Join(shuffled))), U(Join(descending)));
}

TEST(CollatorTest, TiesAndPrefixes) {
  TKanaFoldingCollator collator;
  const std::tuple<const char*, const char*, int> cases[] = {
      {"a", "A", -1},       // case only breaks a tie
      {"A", "b", -1},       // ...so A sorts with a, before b
      {"Ab", "aC", -1},
      {"か", "カ", -1},
      {"カ", "ｶ", -1},
      {"ｶﾞ", "ガ", 1},
      {"ガ", "が", 1},
      {"が", "かa", 1},     // が is a letter of its own after か
      {"ー", "ｰ", -1},
      {"", "a", -1},
      {"abc", "abc", 0},
      {"表", "表", 0},
  };
  for (const auto& [a, b, expected] : cases) {
    auto sign = [](int result) { return (result > 0) - (result < 0); };
    EXPECT_EQ(sign(collator.Compare(S(a), S(b))), expected) << a << " vs " << b;
    EXPECT_EQ(sign(collator.Compare(S(b), S(a))), -expected) << b << " vs " << a;
  }
  auto key = [&](const char* utf8) {
    std::string k;
    EXPECT_TRUE(collator.AppendSortKey(S(utf8), k));
    return k;
  };
  EXPECT_EQ(key("ａＢ"), key("aB"));
  EXPECT_EQ(key("ｶﾞ"), key("が"));
  EXPECT_LT(key("a"), key("ab"));
  EXPECT_LT(key("かきくけこさ"), key("がぎ"));
}

}  // namespace
}  // namespace kerv
