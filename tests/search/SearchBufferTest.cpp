// The byte-string search and its option word.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/posix/IconvCodePage.h"
#include "search/SearchBuffer.h"
#include "search/TTextSearcher.h"

namespace kerv {
namespace {

std::string S(std::string_view utf8) {
  static IconvCodePage codePage;
  return codePage.Utf8ToCp932(utf8, nullptr);
}

using namespace SearchFlag;

struct Found {
  bool found;
  int start, length;
  bool operator==(const Found&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Found& f) {
  return f.found ? out << f.start << "," << f.length : out << "none";
}
constexpr Found kNone{false, 0, 0};

Found Search(const std::string& text, const std::string& pattern, SearchFlags flags, int start = 0, int length = 0) {
  TSearchPosition position{start, length};
  bool found = SearchBuffer(text, position, pattern, flags);
  if (!found) {
    EXPECT_EQ(position.start, start);  // a failed search leaves the selection alone
    return kNone;
  }
  return {true, position.start, position.length};
}

struct Case {
  std::string text, pattern;
  SearchFlags flags;
  int start, length;  // the selection searched from
  Found expected;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(Search(c.text, c.pattern, c.flags, c.start, c.length), c.expected)
        << "pattern \"" << c.pattern << "\" in \"" << c.text << "\" flags " << std::hex << c.flags;
  }
}

TEST(SearchBufferTest, RefusesEmptyInputsAndBadSelections) {
  RunCases({
      {"abc", "", Down, 0, 0, kNone},
      {"", "a", Down, 0, 0, kNone},
      {"abc", "a", Down, 4, 0, kNone},
      {"abc", "a", Down, -1, 0, kNone},
      {"abc", "a", Down, 0, -1, kNone},
      {"abc", "c", Down, 2, 5, kNone},
      {std::string("a\0b", 3), "b", Down, 0, 0, kNone},  // the text ends at its NUL
      {"abc", "abcd", Down, 0, 0, kNone},
      {"abc", "abc", Down, 0, 0, {true, 0, 3}},
      {"aXa", "a", Down, 0, 1, {true, 2, 1}},  // down from the selection's end
  });
}

TEST(SearchBufferTest, NeverMatchesOnATrailByte) {
  RunCases({
      {S("あいあ"), S("あ"), Down, 1, 0, {true, 4, 2}},  // from inside あ: after it
      {S("ソ"), "\\", Down, 0, 0, kNone},                 // ソ is 0x83 0x5C
      {S("ソ"), "\\", 0, 2, 0, kNone},
      {S("表示"), "\\", 0, 4, 0, kNone},
      {S("　@"), "@", Down, 0, 0, {true, 2, 1}},  // 0x81 0x40 holds a 0x40 trail byte
      {S("　@"), "@", 0, 3, 0, {true, 2, 1}},
      {"\x82\x82\xA0", "\xA0", Down, 0, 0, {true, 2, 1}},
      {"\x82\x82\xA0", "\x82\xA0", Down, 0, 0, kNone},
      {"\x82\x82\xA0", "\x82\xA0", 0, 3, 0, kNone},
  });
}

TEST(SearchBufferTest, CaseRules) {
  RunCases({
      {"xabc", "ABC", Down, 0, 0, {true, 1, 3}},
      {"xABC", "abc", Down, 0, 0, {true, 1, 3}},
      {S("ａｂｃ"), S("ＡＢＣ"), Down, 0, 0, {true, 0, 6}},
      {S("ＡＢＣ"), S("ａｂｃ"), Down, 0, 0, {true, 0, 6}},
      {S("α"), S("Α"), Down, 0, 0, {true, 0, 2}},
      {S("я"), S("Я"), Down, 0, 0, {true, 0, 2}},
      {S("ё"), S("Ё"), Down, 0, 0, {true, 0, 2}},
      {"\xEE\xEF", S("Ⅰ"), Down, 0, 0, {true, 0, 2}},  // ⅰ in the NEC-selected row
      {"abc", "ABC", Down | MatchCase, 0, 0, kNone},
      {S("ａｂｃ"), S("ＡＢＣ"), Down | MatchCase, 0, 0, kNone},
      {S("α"), S("Α"), Down | MatchCase, 0, 0, kNone},
      {"abc", "abc", Down | MatchCase, 0, 0, {true, 0, 3}},
      {S("ＡＢＣ"), "ABC", Down, 0, 0, kNone},  // widths differ without NoMatchZenkaku
      {S("ｶ"), S("カ"), Down, 0, 0, kNone},
  });
}

TEST(SearchBufferTest, FullWidthAndHalfWidthCompareEqual) {
  const SearchFlags z = Down | NoMatchZenkaku;
  RunCases({
      {S("ＡＢＣ"), "ABC", z, 0, 0, {true, 0, 6}},
      {S("ａｂｃ"), "ABC", z, 0, 0, {true, 0, 6}},
      {"abc", S("ＡＢＣ"), z, 0, 0, {true, 0, 3}},
      {S("ａｂｃ"), "ABC", z | MatchCase, 0, 0, kNone},
      {S("ａｂｃ"), "abc", z | MatchCase, 0, 0, {true, 0, 6}},
      {S("xｶﾞy"), S("ガ"), z, 0, 0, {true, 1, 2}},  // two text bytes for one character
      {S("ガ"), S("ｶﾞ"), z, 0, 0, {true, 0, 2}},
      {S("ｳﾞ"), S("ヴ"), z, 0, 0, {true, 0, 2}},
      {S("ﾊﾟ"), S("パ"), z, 0, 0, {true, 0, 2}},
      {S("ﾊﾟ"), S("ハ"), z, 0, 0, kNone},  // the pair is one character, パ
      {S("･"), S("・"), z, 0, 0, {true, 0, 1}},
      {S("ｰ"), S("ー"), z, 0, 0, {true, 0, 1}},
      {"a\tb", "\t", z, 0, 0, {true, 1, 1}},
      {S("ｶﾟ"), S("カ゜"), z, 0, 0, {true, 0, 2}},  // ｶﾟ is ｶ and a separate ゜
      {S("カ゜"), S("ｶﾟ"), z, 0, 0, {true, 0, 4}},
      {"\\", S("￥"), z, 0, 0, {true, 0, 1}},
      {"\"'~", S("”’￣"), z, 0, 0, {true, 0, 3}},
      {S("　"), " ", z, 0, 0, {true, 0, 2}},
      {S("ｶﾞ"), S("ｶﾞ"), Down, 0, 0, {true, 0, 2}},
      {S("ガ"), S("ｶﾞ"), Down, 0, 0, kNone},
  });
}

TEST(SearchBufferTest, SkipsReturnsAndBlanksInsideAMatch) {
  RunCases({
      {"abc\r\ndef", "abcdef", Down | IncludeRet, 0, 0, {true, 0, 8}},
      {"abc\r\ndef", "abcdef", Down, 0, 0, kNone},
      {"x\r\nab\r\n", "ab", Down | IncludeRet, 0, 0, {true, 3, 2}},  // nothing skipped before or after
      {"a b", "ab", Down | IncludeSpace, 0, 0, {true, 0, 3}},
      {S("a　b"), "ab", Down | IncludeSpace, 0, 0, {true, 0, 4}},
      {"a\tb", "ab", Down | IncludeSpace, 0, 0, {true, 0, 3}},
      {"a \r\n b", "ab", Down | IncludeSpace | IncludeRet, 0, 0, {true, 0, 6}},
      {"a \r\nb", "ab", Down | IncludeSpace, 0, 0, kNone},
      {"a b", "ab", Down | IncludeRet, 0, 0, kNone},
  });
}

TEST(SearchBufferTest, WholeWords) {
  const SearchFlags w = Down | WholeWord;
  RunCases({
      {"abc def", "abc", w, 0, 0, {true, 0, 3}},
      {"x abc", "abc", w, 0, 0, {true, 2, 3}},
      {"abcd", "abc", w, 0, 0, kNone},
      {"xabcd", "abc", w, 0, 0, kNone},
      {S("漢abc 字"), "abc", w, 0, 0, kNone},
      // Checked at every candidate, the last one too.
      {"xabc", "abc", w, 0, 0, kNone},
      {"abcx", "abc", w, 0, 0, kNone},
      {"abc", "abc", w, 0, 0, {true, 0, 3}},
      {"xabc abc", "abc", w, 0, 0, {true, 5, 3}},
      // The second byte of ソ (0x5C) is no delimiter.
      {S("ソabc"), "abc", w, 0, 0, kNone},
      {S("abcソ"), "abc", w, 0, 0, kNone},
      {S("ソ abc"), "abc", w, 0, 0, {true, 3, 3}},
      {"a_b abc", "abc", w, 0, 0, {true, 4, 3}},
      {"abc,abc", "abc", w, 0, 3, {true, 4, 3}},
      {"abc abc", "abc", WholeWord, 7, 0, {true, 4, 3}},
      {"abc abcd", "abc", WholeWord, 8, 0, {true, 0, 3}},
      {"xabc", "abc", WholeWord, 4, 0, kNone},
      {S("ｶﾅ abc"), "abc", w, 0, 0, {true, 3, 3}},
      {S("ｶﾅabc"), "abc", w, 0, 0, kNone},  // half-width katakana are word characters
      {S("｢abc｣"), "abc", w, 0, 0, {true, 1, 3}},  // 0xA2 and 0xA3 are delimiters
  });
}

TEST(SearchBufferTest, SearchesUp) {
  RunCases({
      {"abcabc", "abc", 0, 6, 0, {true, 3, 3}},
      {"abcabc", "abc", 0, 3, 3, {true, 0, 3}},
      {"abcabc", "abc", 0, 2, 0, kNone},
      {S("ガｶﾞ"), S("ガ"), NoMatchZenkaku, 4, 0, {true, 2, 2}},
      {S("ガｶﾞ"), S("ガ"), NoMatchZenkaku, 2, 0, {true, 0, 2}},
      {S("xｶﾟ"), S("ｶﾟ"), NoMatchZenkaku, 3, 0, {true, 1, 2}},  // ｶﾟ is two characters when stepping back
      {S("xＡ"), "a", NoMatchZenkaku, 3, 0, {true, 1, 2}},
      {S("あいう"), S("い"), 0, 6, 0, {true, 2, 2}},
  });
}

TEST(SearchBufferTest, FoldingTablesFollowJisX0208) {
  IconvCodePage codePage;
  std::string ascii = codePage.Utf8ToCp932(
      "　！”＃＄％＆’（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［￥］＾＿｀"
      "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝￣",
      nullptr);
  ASSERT_EQ(ascii.size(), 2u * 95);
  for (int b = 0x20; b <= 0x7E; ++b) {
    size_t i = static_cast<size_t>(b - 0x20) * 2;
    uint16_t expected = static_cast<uint16_t>(static_cast<uint8_t>(ascii[i]) << 8 | static_cast<uint8_t>(ascii[i + 1]));
    EXPECT_EQ(ZenkakuOfByte(static_cast<uint8_t>(b)), expected) << std::hex << b;
  }
  std::string kana = codePage.Utf8ToCp932(
      "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜", nullptr);
  ASSERT_EQ(kana.size(), 2u * 63);
  for (int b = 0xA1; b <= 0xDF; ++b) {
    size_t i = static_cast<size_t>(b - 0xA1) * 2;
    uint16_t expected = static_cast<uint16_t>(static_cast<uint8_t>(kana[i]) << 8 | static_cast<uint8_t>(kana[i + 1]));
    EXPECT_EQ(ZenkakuOfByte(static_cast<uint8_t>(b)), expected) << std::hex << b;
  }
  EXPECT_EQ(FoldToZenkaku(S("ｶﾞｷﾞﾄﾞﾊﾞﾎﾟｳﾞｱﾞﾞ")), S("ガギドバポヴア゛゛"));
  EXPECT_EQ(FoldToZenkaku("\x7F\x80\xA0\xFD\t"), "\x7F\x80\xA0\xFD\t");
  EXPECT_EQ(UpperCasePattern(S("abcａｚαωаяё") + "\xEE\xF8" + S("ソ")), S("ABCＡＺΑΩАЯЁ") + "\x87\x5D" + S("ソ"));
}

// The shortcut of the bulk search never skips a match.
TEST(TTextSearcherTest, CandidatesNeverSkipAMatch) {
  const std::vector<std::string> pieces = {"a", "A", "b", " ", "\r\n", S("ａ"), S("Ａ"), S("ｶﾞ"), S("ガ"), S("ｶ"),
                                           S("ﾞ"), S("ソ"), "\\", S("あ"), S("　"), "_", S("漢")};
  std::mt19937 random(9);
  auto make = [&](int maxPieces) {
    std::string text;
    int count = 1 + static_cast<int>(random() % static_cast<uint32_t>(maxPieces));
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    return text;
  };
  const SearchFlags options[] = {0, MatchCase, NoMatchZenkaku, NoMatchZenkaku | MatchCase, WholeWord,
                                 IncludeRet | IncludeSpace, NoMatchZenkaku | WholeWord};
  for (int round = 0; round < 300; ++round) {
    std::string pattern = make(3);
    SearchFlags flags = options[random() % std::size(options)];
    for (int t = 0; t < 20; ++t) {
      TTextSearcher searcher(pattern, flags);
      std::string text = make(t % 2 ? 12 : 80);  // long texts take the vectorised scan
      TSearchPosition match;
      bool found = searcher.FindIn(text, match);
      size_t candidate = searcher.NextCandidate(text, 0);
      if (found) {
        EXPECT_LE(candidate, static_cast<size_t>(match.start)) << pattern << " in " << text;
      }
      TSearchPosition direct{0, 0};
      EXPECT_EQ(SearchBuffer(text, direct, pattern, flags | Down), found);
    }
  }
  using Needles = std::vector<std::string>;
  EXPECT_EQ(TTextSearcher(S("猫である"), 0).Needles(), Needles{S("猫である")});
  EXPECT_EQ(TTextSearcher(S("猫ab"), 0).Needles(), (Needles{S("猫AB"), S("猫Ab"), S("猫aB"), S("猫ab")}));
  EXPECT_EQ(TTextSearcher(S("猫である"), IncludeSpace).Needles(), Needles{S("猫")});
  EXPECT_EQ(TTextSearcher("abc", MatchCase).Needles(), Needles{"abc"});
  EXPECT_EQ(TTextSearcher("ab", 0).Needles(), (Needles{"AB", "Ab", "aB", "ab"}));
  EXPECT_EQ(TTextSearcher(S("ガ"), NoMatchZenkaku).Needles(), (Needles{S("ガ"), S("ｶﾞ")}));
  EXPECT_EQ(TTextSearcher(S("ａ"), 0).Needles(), (Needles{S("Ａ"), S("ａ")}));
}

}  // namespace
}  // namespace kerv
