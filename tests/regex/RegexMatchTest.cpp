// Matching: leftmost-longest, anchors, the cache and the pattern property,
// fuzzy matching, and the lazy automaton against references.

#include <gtest/gtest.h>
#include <regex.h>

#include <random>
#include <string>
#include <vector>

#include "regex/ERegExpParser.h"
#include "regex/TRegularExpression.h"
#include "tests/regex/RegexTestSupport.h"

namespace kerv {
namespace {

using test::S;

struct Result {
  int start, length;
  bool operator==(const Result&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Result& r) { return out << r.start << "," << r.length; }

Result MatchOf(TAWKStr& re, std::string_view text) {
  int start = -1, length = -1;
  int result = re.Match(text, start, length);
  EXPECT_EQ(result, start);
  EXPECT_EQ(re.HasMatch(text), result != 0);
  return {start, length};
}

Result MatchOf(const std::string& pattern, std::string_view text, TMatchCORE_LineSeparator separator = mcls_CRLF,
               bool fuzzy = false) {
  TAWKStr re;
  re.SetLineSeparator(separator);
  re.SetUseFuzzyCharDic(fuzzy);
  re.SetRegExp(pattern);
  return MatchOf(re, text);
}

constexpr Result kNone{0, 0};

TEST(TAWKStrTest, LeftmostLongest) {
  struct Case {
    std::string pattern, text;
    Result expected;
  } cases[] = {
      {"abc", "xxabcabc", {3, 3}},
      {"a*", "bbb", {1, 0}},
      {"a*", "", {1, 0}},
      {"a|ab", "xab", {2, 2}},
      {"(a|ab)(c|bcd)", "abcd", {1, 4}},
      {"a|", "b", {1, 0}},
      {"()", "x", {1, 0}},
      {"", "x", {1, 0}},
      {"", "", {1, 0}},
      {"b+", "abbbc", {2, 3}},
      {"x^", "ax^", {2, 2}},  // not at the pattern's start: the character ^
      {"a$b", "a$b", {1, 3}},
      {"(^a)*", "^a^a", {1, 4}},
      // A literal ^ inside the pattern overlaps the class range; both still work.
      {"x^|x[\\x5D-\\x60]y", "x^", {1, 2}},
      {"x^|x[\\x5D-\\x60]y", "x_y", {1, 3}},
      {"abc", "ab", kNone},
      {"[^a]", "a\r\nb", {4, 1}},  // a negated class never matches CR or LF
      {".", "\r\n", kNone},
      {".+", "ab\r\ncd", {1, 2}},
      {"[a-]+", "x-a-y", {2, 3}},
      {"a.c", "abc", {1, 3}},
      {"a\\x00414", "aA4", {1, 3}},
      {"[\\x01-\\xFFFF]*", "ab", {1, 2}},
      {"[^\\x01-\\xFFFF]", "abc", kNone},
      {"\\xFFFF|\\xFFFD", "abc", kNone},  // reserved codes are no text characters
      {"a\\xFFFFb", "ab", kNone},
      // The code 0 never matches: the text ends at its NUL, and matching ends there.
      {"a\\0*", "a", {1, 1}},
      {"\\0", std::string("a\0b", 3), kNone},
      {"[\\0-a]+", "ab", {1, 1}},
      {"b", std::string("a\0b", 3), kNone},
      // Double-byte characters are never split and matches never start on a trail byte.
      {".", S("あ"), {1, 2}},
      {S("示"), S("表示"), {3, 2}},
      {"\\x5C", S("表"), kNone},
      {"\\\\", S("ソ\\"), {3, 1}},
      {"\\x40", S("　@"), {3, 1}},  // 0x81 0x40 holds a 0x40 trail byte
      {S("[ぁ-ん]+"), S("カタカナのひらがな"), {9, 10}},
      {S("[ァ-ヶ]+$"), S("ひらがなのカタカナ"), {11, 8}},
      {S("[^ぁ-ん]+"), S("のカナ"), {3, 4}},
      {S("表|表示"), S("図表示"), {3, 4}},
      {"\\x81", "a\x81", {2, 1}},  // a cut-off lead byte at the end is a character of its own
      {"\\x81", std::string("\x81\0b", 3), {1, 1}},  // and so is one before the NUL
      {"\\x81.", std::string("\x81\0b", 3), kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchOf(c.pattern, c.text), c.expected) << c.pattern << " in " << c.text;
}

TEST(TAWKStrTest, AnchorsUnderEachReturnCode) {
  struct Case {
    std::string pattern, text;
    TMatchCORE_LineSeparator separator;
    Result expected;
  } cases[] = {
      {"^ab", "x\r\nab", mcls_CRLF, {4, 2}},
      {"ab$", "ab\r\nx", mcls_CRLF, {1, 2}},
      {"ab$", "ab\r\nx", mcls_LF, kNone},  // a CR stands between ab and the LF
      {"ab$", "ab\nx", mcls_LF, {1, 2}},
      {"ab$", "ab\nx", mcls_CRLF, kNone},
      {"ab$", "ab", mcls_CRLF, {1, 2}},
      {"ab$", "ab", mcls_LF, {1, 2}},
      {"^", "abc", mcls_CRLF, {1, 0}},
      {"$", "abc", mcls_CRLF, {4, 0}},
      {"$", "ab\r\ncd", mcls_CRLF, {3, 0}},
      {"$", "ab\r\ncd", mcls_LF, {4, 0}},
      {"^b", "a\nb", mcls_CRLF, {3, 1}},
      {"^b", "a\rb", mcls_CRLF, kNone},  // a line starts only after LF
      {"a$", "a\rb", mcls_CRLF, {1, 1}},
      {"a$", "a\rb", mcls_LF, kNone},
      {"^$", "a\r\n\r\nb", mcls_CRLF, {4, 0}},
      {"^$", "a\n\nb", mcls_LF, {3, 0}},
      {"^$", "a\n", mcls_LF, {3, 0}},
      {"^$", "", mcls_CRLF, {1, 0}},
      {"^a|b", "cb\r\na", mcls_CRLF, {2, 1}},
      {"^ab|a", "x\nab", mcls_CRLF, {3, 2}},
      {"^a|ab", "x\nab", mcls_CRLF, {3, 2}},
      {"^a+$", "b\r\naaa\r\nc", mcls_CRLF, {4, 3}},
      {"^a", "ba", mcls_CRLF, kNone},
      {"a^b", "a^b", mcls_CRLF, {1, 3}},
      {"a$|a\rb", "a\rc", mcls_CRLF, {1, 1}},  // "$" is not hidden by a longer alternative that fails
      {"a$|a\rb", "a\rb", mcls_CRLF, {1, 3}},
      {"(x|^)a", "ba\nab", mcls_CRLF, {4, 1}},
      {"^b|x*", "", mcls_CRLF, {1, 0}},  // the empty text still matches an alternative that needs no line start
      {S("^漢字$"), S("かな\r\n漢字\r\n"), mcls_CRLF, {7, 4}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchOf(c.pattern, c.text, c.separator), c.expected) << c.pattern << " separator " << c.separator;
  }
}

TEST(TAWKStrTest, FuzzyMatchingOfEachGroupKind) {
  struct Case {
    std::string pattern;
    std::vector<std::string> matches;
    std::vector<std::string> misses;
  } cases[] = {
      {"a", {S("Ａ"), S("ａ"), "A", "a"}, {"b"}},
      {"ABC", {S("ａｂｃ"), "abc", S("ＡbＣ")}, {"ab"}},
      {S("か゛"), {S("が"), S("ガ"), S("ｶﾞ"), S("カ゛")}, {S("か")}},
      {S("がっこう"), {S("ガッコウ"), S("ｶﾞｯｺｳ"), S("か゛つこう")}, {S("かっこう")}},
      {S("ヴァ"), {S("ば"), S("ｳﾞｧ"), S("う゛ぁ")}, {}},
      {S("ぱ"), {S("パ"), S("ﾊﾟ"), S("は゜")}, {S("ば")}},
      {S("あいうえお"), {S("ｱｲｳｴｵ"), S("ぁぃぅぇぉ"), S("ァィゥェォ")}, {}},
      {S("コーヒー"), {S("コーヒー"), S("ｺｰﾋｰ"), S("コヒ"), S("コ～ヒ～")}, {S("コ-ヒ")}},
      {"4", {S("４"), S("四"), S("④"), S("Ⅳ")}, {"5"}},
      {"1", {S("一"), S("①"), S("Ⅰ"), S("壱"), S("１")}, {}},
      {S("。"), {".", S("｡"), S("．")}, {","}},
      {"\\(", {"(", S("（")}, {")"}},
      {S("「"), {S("『"), S("｢")}, {}},
      {S("ん"), {S("ン"), S("ﾝ")}, {}},
      {S("わ"), {S("ワ"), S("ｳｧ")}, {}},
      {S("ﾞ"), {S("゛")}, {}},
      {"[a]", {"a"}, {S("Ａ"), "A"}},  // inside a class nothing is expanded
      {"[^a]", {"b", S("Ａ")}, {"a"}},
  };
  for (const Case& c : cases) {
    TAWKStr re;
    re.SetUseFuzzyCharDic(true);
    re.SetRegExp(c.pattern);
    for (const std::string& text : c.matches) {
      int start = 0, length = 0;
      EXPECT_EQ(re.Match(text, start, length), 1) << c.pattern << " should match " << text;
      EXPECT_EQ(length, static_cast<int>(text.size())) << c.pattern << " in " << text;
    }
    for (const std::string& text : c.misses) {
      int start = 0, length = 0;
      re.Match(text, start, length);
      EXPECT_TRUE(start == 0 || length < static_cast<int>(text.size())) << c.pattern << " should not match " << text;
    }
  }
}

// ---- the cache and the pattern property ----

TEST(TRegularExpressionTest, CacheKeepsThirtyEntriesFirstInFirstOut) {
  TAWKStr re;
  EXPECT_EQ(re.CacheCount(), 1);
  for (int i = 0; i < 31; ++i) re.SetRegExp("p" + std::to_string(i));
  EXPECT_EQ(re.CacheCount(), 30);
  EXPECT_EQ(re.CacheKey(0), "");
  EXPECT_EQ(re.CacheKey(1), "p30");
  EXPECT_EQ(re.CacheKey(29), "p2");  // p0 and p1 went, the oldest first
  EXPECT_EQ(re.CurrentEntry(), 1);
  // A found entry becomes current and is not moved.
  re.SetRegExp("p5");
  EXPECT_EQ(re.CurrentEntry(), 26);
  EXPECT_EQ(re.CacheKey(26), "p5");
  EXPECT_EQ(MatchOf(re, "xp5"), (Result{2, 2}));
  re.SetRegExp("");
  EXPECT_EQ(re.CurrentEntry(), 0);
}

TEST(TRegularExpressionTest, FuzzyAndPlainFormsAreTwoEntries) {
  TAWKStr re;
  re.SetRegExp("a");
  EXPECT_EQ(MatchOf(re, S("Ａ")), kNone);
  re.SetUseFuzzyCharDic(true);  // recompiles the current pattern
  EXPECT_EQ(re.RegExp(), "a");
  EXPECT_EQ(MatchOf(re, S("Ａ")), (Result{1, 2}));
  EXPECT_EQ(re.CacheCount(), 3);
  EXPECT_EQ(re.CacheKey(1), S("(Ａ|ａ|A|a)"));
  EXPECT_EQ(re.CacheKey(2), "a");
  re.SetUseFuzzyCharDic(false);
  EXPECT_EQ(re.CacheCount(), 3);
  EXPECT_EQ(re.CurrentEntry(), 2);
}

TEST(TRegularExpressionTest, PatternPropertyAfterErrors) {
  TAWKStr re;
  re.SetRegExp("abc");
  // The parser rejects: the component falls back to the empty pattern.
  EXPECT_THROW(re.SetRegExp("(x"), ERegExpParser);
  EXPECT_EQ(re.RegExp(), "");
  EXPECT_EQ(re.CurrentEntry(), 0);
  EXPECT_EQ(MatchOf(re, "zzz"), (Result{1, 0}));
  EXPECT_EQ(re.CacheCount(), 2);  // the failed entry is gone

  // The pre-processor rejects (fuzzy on): the previous pattern stays.
  re.SetRegExp("abc");
  re.SetUseFuzzyCharDic(true);
  EXPECT_THROW(re.SetRegExp("[x"), ERegExpParser);
  EXPECT_EQ(re.RegExp(), "abc");
  EXPECT_EQ(MatchOf(re, S("xＡbc")), (Result{2, 4}));
}

// ---- the lazy automaton against references ----

// Random patterns over a, b, c built from a tree, so every one is valid.
class PatternMaker {
 public:
  explicit PatternMaker(uint32_t seed, bool anchors, bool posixSafe) : random_(seed), anchors_(anchors), posix_(posixSafe) {}

  std::string Make() {
    std::string body = Expression(3);
    if (anchors_ && Pick(3) == 0) body = "^" + body;
    if (anchors_ && Pick(3) == 0) body += "$";
    return body;
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
  std::string Atom(int depth) {
    switch (Pick(depth > 0 ? 8 : 6)) {
      case 0: return "a";
      case 1: return "b";
      case 2: return "c";
      case 3: return Pick(2) ? "[ab]" : "[b-c]";
      case 4: return Pick(2) ? "[^a]" : ".";
      case 5: return posix_ ? "a" : (Pick(2) ? "\\n" : "\\r");
      default: return "(" + Expression(depth - 1) + ")";
    }
  }
  std::string Factor(int depth) {
    std::string atom = Atom(depth);
    switch (Pick(6)) {
      case 0: return atom + "*";
      case 1: return atom + "+";
      case 2: return atom + "?";
      default: return atom;
    }
  }
  std::string Expression(int depth) {
    std::string text;
    int terms = 1 + Pick(2);
    for (int t = 0; t < terms; ++t) {
      if (t) text += "|";
      int factors = 1 + Pick(3);
      for (int f = 0; f < factors; ++f) text += Factor(depth);
    }
    return text;
  }

  std::mt19937 random_;
  bool anchors_;
  bool posix_;
};

std::string RandomText(std::mt19937& random, std::string_view alphabet, int maxLength) {
  std::string text;
  int length = static_cast<int>(random() % static_cast<uint32_t>(maxLength + 1));
  for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
  return text;
}

TEST(TRE_DFATest, SameResultsAsTheCompleteConstruction) {
  std::mt19937 random(7);
  PatternMaker maker(11, true, false);
  for (int round = 0; round < 400; ++round) {
    std::string pattern = maker.Make();
    for (size_t budget : {TRE_DFA::kDefaultMemoryBudget, size_t{1}}) {  // 1: flushed at every new state
      TAWKStr re;
      re.SetDfaMemoryBudget(budget);
      re.SetRegExp(pattern);
      for (TMatchCORE_LineSeparator separator : {mcls_CRLF, mcls_LF}) {
        re.SetLineSeparator(separator);
        for (int t = 0; t < 8; ++t) {
          std::string text = RandomText(random, "abc\r\nab", 12);
          test::RefMatch ref = test::ReferenceMatch(pattern, text, separator == mcls_LF ? '\n' : '\r');
          Result expected = ref.found ? Result{ref.start + 1, ref.length} : kNone;
          ASSERT_EQ(MatchOf(re, text), expected) << pattern << " in \"" << text << "\" budget " << budget;
        }
      }
    }
  }
}

// Long texts make the matcher cut off runs where an earlier failed run was
// in the same state; the results must not change.
TEST(TRE_DFATest, LongTextsGiveTheSameResults) {
  std::mt19937 random(21);
  PatternMaker maker(23, true, false);
  for (int round = 0; round < 60; ++round) {
    std::string pattern = maker.Make();
    for (size_t budget : {TRE_DFA::kDefaultMemoryBudget, size_t{1}}) {
      TAWKStr re;
      re.SetDfaMemoryBudget(budget);
      re.SetRegExp(pattern);
      for (int t = 0; t < 3; ++t) {
        std::string text = RandomText(random, "aaaaaabbbbc", 300) + RandomText(random, "abc\r\n", 6);
        test::RefMatch ref = test::ReferenceMatch(pattern, text, '\r');
        Result expected = ref.found ? Result{ref.start + 1, ref.length} : kNone;
        ASSERT_EQ(MatchOf(re, text), expected) << pattern << " in \"" << text << "\" budget " << budget;
      }
    }
  }
  // Runs from every start go to the end of the line here.
  for (const char* pattern : {".*c", "a*b|c", "(a|b)*bc", "[ab]*c$"}) {
    std::string text = std::string(3000, 'a') + "ab" + std::string(3000, 'b') + "c";
    test::RefMatch ref = test::ReferenceMatch(pattern, text, '\r');
    EXPECT_EQ(MatchOf(std::string(pattern), text), (Result{ref.start + 1, ref.length})) << pattern;
  }
}

// Filtering the lines of a text agrees with HasMatch on each line alone.
TEST(TAWKStrTest, NextMatchingLineAgreesWithEachLine) {
  const std::vector<std::string> pieces = {"a", "b", "ab", "\r\n", "\n", "\r", std::string(1, '\0'), "\x81", S("あ"), "x"};
  std::mt19937 random(31);
  PatternMaker maker(37, true, false);
  for (int round = 0; round < 300; ++round) {
    std::string pattern = round == 0 ? "" : maker.Make();
    TAWKStr re;
    re.SetLineSeparator(round % 2 ? mcls_LF : mcls_CRLF);
    re.SetRegExp(pattern);
    for (int t = 0; t < 6; ++t) {
      std::string text;
      int count = static_cast<int>(random() % 12);
      for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
      // Expected: split at LF, a CR before the LF dropped.
      std::vector<std::pair<size_t, size_t>> expected;
      for (size_t start = 0; start < text.size();) {
        size_t lf = text.find('\n', start);
        size_t stop = lf == std::string::npos ? text.size() : lf;
        size_t contentEnd = (lf != std::string::npos && stop > start && text[stop - 1] == '\r') ? stop - 1 : stop;
        if (re.HasMatch(std::string_view(text).substr(start, contentEnd - start))) expected.emplace_back(start, contentEnd);
        start = lf == std::string::npos ? text.size() : lf + 1;
      }
      std::vector<std::pair<size_t, size_t>> actual;
      size_t from = 0, lineStart = 0, lineEnd = 0;
      while (re.NextMatchingLine(text, from, lineStart, lineEnd)) {
        actual.emplace_back(lineStart, lineEnd);
        size_t lf = text.find('\n', lineEnd);
        if (lf == std::string::npos) break;
        from = lf + 1;
      }
      ASSERT_EQ(actual, expected) << "pattern " << pattern << " text " << ::testing::PrintToString(text);
    }
  }
}

TEST(TRE_DFATest, SameStartAndLengthAsPosixRegexec) {
  std::mt19937 random(3);
  PatternMaker maker(5, true, true);
  for (int round = 0; round < 1500; ++round) {
    std::string pattern = maker.Make();
    regex_t posix;
    ASSERT_EQ(regcomp(&posix, pattern.c_str(), REG_EXTENDED), 0) << pattern;
    TAWKStr re;
    re.SetRegExp(pattern);
    for (int t = 0; t < 6; ++t) {
      std::string text = RandomText(random, "abcab", 14);
      regmatch_t match[1];
      Result expected = kNone;
      if (regexec(&posix, text.c_str(), 1, match, 0) == 0) {
        expected = {static_cast<int>(match[0].rm_so) + 1, static_cast<int>(match[0].rm_eo - match[0].rm_so)};
      }
      EXPECT_EQ(MatchOf(re, text), expected) << pattern << " in \"" << text << "\"";
    }
    regfree(&posix);
  }
}

TEST(TRE_DFATest, MemoryStaysBoundedWhereTheCompleteAutomatonExplodes) {
  // The complete automaton of this pattern has about 2^26 states.
  std::string pattern = ".*a" + std::string(25, '.');
  const size_t budget = 256 * 1024;
  TAWKStr re;
  re.SetDfaMemoryBudget(budget);
  re.SetRegExp(pattern);

  std::mt19937 random(1);
  std::string text = RandomText(random, "ab", 0) + std::string();
  for (int i = 0; i < 20000; ++i) text += (random() & 1) ? 'a' : 'b';
  std::string tail = std::string(30, 'b');
  text += tail;

  // The longest match starts at 1 and ends 25 characters after the last "a".
  Result r = MatchOf(re, text);
  size_t lastA = text.rfind('a');
  EXPECT_EQ(r, (Result{1, static_cast<int>(lastA) + 26}));
  EXPECT_FALSE(re.HasMatch(std::string(25, 'b') + "a" + std::string(24, 'b')));
  EXPECT_TRUE(re.HasMatch(std::string(25, 'b') + "a" + std::string(25, 'b')));

  const TRE_DFA& dfa = re.CurrentDFA();
  for (const TRE_DFAStateCache* cache : {&dfa.AnchoredStates(), &dfa.SearchingStates()}) {
    EXPECT_LE(cache->PeakMemoryUsed(), budget + 4 * 4096);
    EXPECT_LE(cache->MemoryUsed(), budget + 4 * 4096);
  }
  EXPECT_GT(dfa.AnchoredStates().FlushCount() + dfa.SearchingStates().FlushCount(), 0u);
}

}  // namespace
}  // namespace kerv
