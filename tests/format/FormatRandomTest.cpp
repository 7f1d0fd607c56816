// Random Shift_JIS texts of the tables' characters, kanji with trail byte
// 0x5C, half-width kana with voiced marks, blanks, TABs and CR LF: no
// operation splits a character or touches one outside its tables, and the
// width conversions undo each other.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "format/TKanaFoldingCollator.h"
#include "format/TStringFormatter.h"
#include "tests/format/FormatTestSupport.h"

namespace kerv {
namespace {

using test::Chars;
using test::S;
using F = TStringFormatter;
using M = TZenkakuMode;

std::vector<std::string> Pool(std::initializer_list<const char*> utf8Rows) {
  std::vector<std::string> chars;
  for (const char* row : utf8Rows) {
    for (std::string& c : Chars(S(row))) chars.push_back(std::move(c));
  }
  return chars;
}

const char* const kKatakana = "ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワンガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ";
const char* const kHiragana = "をぁぃぅぇぉゃゅょっあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわんがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ";
const char* const kFullOther = "　ＡＢＣＸＹＺａｂｘｙｚ０１９！”＃＄％＆’（）＊＋，－．／：；＜＝＞？＠［￥］＾＿｀｛｜｝￣。「」、・ー";
const char* const kMarks = "゛゜";
// Outside every table: kanji (表 十 能 予 構 申 end in 0x5C), kana without a
// half-width form, other symbols.
const char* const kOutside = "表十能予構申茶漢字亜ヵヶヮヰヱゐゑ①※〒";
const char* const kHalf = " !\"#$%&'()*+,-./0189:;<=>?@AZ[\\]^_`az{|}~｡｢｣､･ｦｧｯｰｱｲｳｶｷｸﾀﾁﾂﾊﾋﾌﾍﾎﾜﾝﾞﾟ";

class Generator {
 public:
  explicit Generator(uint32_t seed) : random_(seed) {}

  std::string Pick(const std::vector<std::string>& pool) {
    return pool[std::uniform_int_distribution<size_t>(0, pool.size() - 1)(random_)];
  }
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // Full-width text: a mark never follows a kana, where going to half width
  // and back would join the two.
  std::string FullWidthText(const std::vector<std::string>& kana) {
    std::string text;
    bool afterKana = false;
    for (int i = Below(80); i > 0; --i) {
      int kind = Below(10);
      std::string c = kind < 4 ? Pick(kana) : kind < 7 ? Pick(full_) : kind < 8 ? Pick(outside_) : kind < 9 ? "\r\n" : Pick(marks_);
      if (kind == 9 && afterKana) c = Pick(outside_) + c;
      afterKana = kind < 4;
      text += c;
    }
    return text;
  }

  std::string HalfWidthText() {
    std::string text;
    for (int i = Below(80); i > 0; --i) {
      int kind = Below(10);
      text += kind < 6 ? Pick(half_) : kind < 8 ? Pick(outside_) : kind < 9 ? "\r\n" : "\t";
    }
    return text;
  }

  std::string MixedText() {
    std::string text;
    for (int i = Below(120); i > 0; --i) {
      int kind = Below(12);
      text += kind < 3 ? Pick(katakana_) : kind < 5 ? Pick(hiragana_) : kind < 7 ? Pick(full_) : kind < 9 ? Pick(half_)
            : kind < 10 ? Pick(outside_) : kind < 11 ? "\r\n" : (Below(2) ? "\t" : "  ");
    }
    return text;
  }

  std::vector<std::string> katakana_ = Pool({kKatakana});
  std::vector<std::string> hiragana_ = Pool({kHiragana});
  std::vector<std::string> full_ = Pool({kFullOther});
  std::vector<std::string> marks_ = Pool({kMarks});
  std::vector<std::string> outside_ = Pool({kOutside});
  std::vector<std::string> half_ = Pool({kHalf});

 private:
  std::mt19937 random_;
};

// The characters of text that lie outside every table, in order; and no
// lead byte left without its trail byte.
std::vector<std::string> OutsideChars(const std::string& text, const std::vector<std::string>& outside) {
  std::vector<std::string> found;
  for (const std::string& c : Chars(text)) {
    EXPECT_FALSE(c.size() == 1 && IsLeadByte(static_cast<unsigned char>(c[0]))) << "split character";
    if (std::find(outside.begin(), outside.end(), c) != outside.end()) found.push_back(c);
  }
  return found;
}

// The lines of a text whose only line breaks are CR LF.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t begin = 0, end; begin < text.size(); begin = end + 2) {
    end = std::min(text.find("\r\n", begin), text.size());
    lines.push_back(text.substr(begin, end - begin));
  }
  return lines;
}

std::string WithoutCrLf(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 2);
  return text;
}

TEST(FormatRandomTest, ConversionsKeepCharactersOutsideTheirTables) {
  Generator gen(20240601);
  const std::vector<std::pair<const char*, std::function<std::string(const std::string&, TTypeFlags, const std::string&)>>> ops = {
      {"zenkaku", [](auto& t, auto, auto&) { return F::ToZenkaku(t, M::Plain); }},
      {"katakana", [](auto& t, auto, auto&) { return F::ToZenkaku(t, M::Katakana); }},
      {"hiragana", [](auto& t, auto, auto&) { return F::ToZenkaku(t, M::Hiragana); }},
      {"hankaku", [](auto& t, auto, auto&) { return F::ToHankaku(t); }},
      {"upper", [](auto& t, auto, auto&) { return F::ToUpper(t); }},
      {"lower", [](auto& t, auto, auto&) { return F::ToLower(t); }},
      {"zenkaku by type", [](auto& t, auto f, auto& s) { return F::ToZenkakuByType(t, s, f); }},
      {"hankaku by type", [](auto& t, auto f, auto& s) { return F::ToHankakuByType(t, s, f); }},
      {"delete by type", [](auto& t, auto f, auto& s) { return F::DeleteByType(t, s, f); }},
      {"tab to space", [](auto& t, auto, auto&) { return F::TabToSpace(t, 4); }},
      {"space to tab", [](auto& t, auto, auto&) { return F::SpaceToTab(t, 4); }},
      {"indent", [](auto& t, auto, auto&) { return F::Indent(t, true); }},
      {"erase empty lines", [](auto& t, auto, auto&) { return F::EraseEmptyLines(t); }},
      {"numbers", [](auto& t, auto, auto&) { return F::InsertNumbers(t, "%.\td|", 1); }},
      {"lead", [](auto& t, auto, auto&) { return F::InsertLeadString(t, "\\|"); }},
      {"return at 7", [](auto& t, auto, auto&) { return F::ReturnAt(t, 4, 7); }},
  };
  for (int round = 0; round < 400; ++round) {
    const std::string text = gen.MixedText();
    const TTypeFlags flags = static_cast<TTypeFlags>(gen.Below(0x400) & ~1);
    const std::string symbols = gen.Below(2) ? std::string() : gen.Pick(gen.half_) + gen.Pick(gen.half_);
    const std::vector<std::string> before = OutsideChars(text, gen.outside_);
    for (const auto& [name, op] : ops) {
      std::string out = op(text, flags, symbols);
      EXPECT_EQ(OutsideChars(out, gen.outside_), before) << name << " round " << round;
    }
  }
}

TEST(FormatRandomTest, WidthConversionsRoundTrip) {
  Generator gen(7);
  for (int round = 0; round < 400; ++round) {
    std::string katakana = gen.FullWidthText(gen.katakana_);
    EXPECT_EQ(F::ToZenkaku(F::ToHankaku(katakana), M::Plain), katakana) << test::U(katakana);
    EXPECT_EQ(F::ToZenkaku(F::ToHankaku(katakana), M::Katakana), katakana) << test::U(katakana);
    std::string hiragana = gen.FullWidthText(gen.hiragana_);
    EXPECT_EQ(F::ToZenkaku(F::ToHankaku(hiragana), M::Hiragana), hiragana) << test::U(hiragana);
    EXPECT_EQ(F::ToZenkaku(F::ToZenkaku(hiragana, M::Katakana), M::Hiragana), hiragana) << test::U(hiragana);
    std::string half = gen.HalfWidthText();
    EXPECT_EQ(F::ToHankaku(F::ToZenkaku(half, M::Plain)), half) << test::U(half);
    EXPECT_EQ(F::ToLower(F::ToUpper(F::ToLower(half))), F::ToLower(half));
  }
}

// Long texts are converted block by block: a character, a ｶﾞ pair or う゛
// across a block boundary converts as it does anywhere else.
TEST(FormatRandomTest, LongTextsConvertLikeTheirLines) {
  Generator gen(4242);
  std::string text;
  std::vector<std::string> expected(4);
  for (int line = 0; line < 3000; ++line) {
    std::string piece = gen.MixedText() + (gen.Below(2) ? S("ｶﾞう゛ヴ") : S("ｳﾞ"));
    const std::string separator = line ? "\r\n" : "";
    text += separator + piece;
    expected[0] += separator + F::ToZenkaku(piece, M::Plain);
    expected[1] += separator + F::ToZenkaku(piece, M::Katakana);
    expected[2] += separator + F::ToZenkaku(piece, M::Hiragana);
    expected[3] += separator + F::ToHankaku(piece);
  }
  ASSERT_GT(text.size(), 100000u);
  // Pairs and う゛ at every offset around 16 KB (the formatter's block size).
  for (size_t offset = 16370; offset < 16400; ++offset) {
    for (const char* tail : {"ｶﾞう゛ｳﾞ", "う゛ヴｶﾞ", "ヴｶﾞう゛"}) {
      const std::string head(offset, 'a');
      for (M mode : {M::Plain, M::Katakana, M::Hiragana}) {
        EXPECT_EQ(F::ToZenkaku(head + S(tail), mode), F::ToZenkaku(head, mode) + F::ToZenkaku(S(tail), mode)) << offset;
      }
      EXPECT_EQ(F::ToHankaku(head + S(tail)), head + F::ToHankaku(S(tail))) << offset;
    }
  }
  EXPECT_TRUE(F::ToZenkaku(text, M::Plain) == expected[0]);
  EXPECT_TRUE(F::ToZenkaku(text, M::Katakana) == expected[1]);
  EXPECT_TRUE(F::ToZenkaku(text, M::Hiragana) == expected[2]);
  EXPECT_TRUE(F::ToHankaku(text) == expected[3]);
}

TEST(FormatRandomTest, LineOperationsAreConsistent) {
  Generator gen(99);
  TKanaFoldingCollator collator;
  for (int round = 0; round < 400; ++round) {
    const std::string text = gen.MixedText();
    EXPECT_EQ(F::Outdent(F::Indent(text, false)), text);
    EXPECT_EQ(F::SpaceOutdent(F::SpaceIndent(text, false, 3), 3), text);
    EXPECT_EQ(F::EraseEmptyLines(F::EraseEmptyLines(text)), F::EraseEmptyLines(text));

    // Breaking only adds line breaks, between characters.
    const int col = 2 + gen.Below(9);
    const std::string noTabs = F::TabToSpace(text, 1);
    const std::string broken = F::ReturnAt(noTabs, 4, col);
    EXPECT_EQ(Chars(WithoutCrLf(broken)), Chars(WithoutCrLf(noTabs)));
    for (const std::string& line : CrLfLines(broken)) EXPECT_LE(line.size(), static_cast<size_t>(col)) << "column " << col;

    // Sorting permutes the lines into order and is idempotent.
    const std::string sorted = F::SortLines(text);
    std::vector<std::string> inLines = CrLfLines(text), outLines = CrLfLines(sorted);
    for (size_t i = 1; i < outLines.size(); ++i) EXPECT_LE(collator.Compare(outLines[i - 1], outLines[i]), 0);
    std::sort(inLines.begin(), inLines.end());
    std::sort(outLines.begin(), outLines.end());
    EXPECT_EQ(inLines, outLines);
    EXPECT_EQ(F::SortLines(sorted), sorted);
  }
}

}  // namespace
}  // namespace kerv
