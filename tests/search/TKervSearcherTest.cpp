// The searchers: find, replace and replace-all over a fake document, the
// escapes and the pattern preparation, the one-shot options and the notices.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "regex/ERegExpParser.h"
#include "search/SearchMessages.h"
#include "search/TKervSearcher.h"
#include "tests/search/SearchTestSupport.h"

namespace kerv {
namespace {

using namespace SearchFlag;
using test::FakeSearchHost;
using test::FakeSearchTarget;
using test::Sjis;

struct Fixture {
  explicit Fixture(std::string text, SearchFlags flags = 0) : target(std::move(text)) { options.Flags = flags; }
  TKervNormalSearcher Normal() { return TKervNormalSearcher(options, state, target, host); }
  TKervRegExpSearcher RegExp() { return TKervRegExpSearcher(options, state, target, host); }
  TKervSearchOptions options;
  TKervSearchState state;
  FakeSearchTarget target;
  FakeSearchHost host;
};

struct Sel {
  long long start, length;
  bool operator==(const Sel&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Sel& s) { return out << s.start << "," << s.length; }
Sel SelOf(FakeSearchTarget& t) { return {t.selStart, t.selLength}; }

// ---------------------------------------------------------------- escapes and pattern tokens

TEST(ExpandReplaceEscapesTest, ScansByCharacters) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"abc", "abc"},
      {"a\\nb", "a\r\nb"},
      {"\\\\n", "\\n"},
      {"a\\tb", "a\tb"},
      {"\\x", "\\x"},
      {"ab\\", "ab\\"},
      {Sjis("表n"), Sjis("表n")},              // the trail byte 0x5C is no escape
      {Sjis("表\\n"), Sjis("表") + "\r\n"},     // and the escape after it still works
      {Sjis("\\表"), Sjis("\\表")},             // an unknown escape keeps its whole character
      {Sjis("表") + "\\", Sjis("表") + "\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandReplaceEscapes(c.in), c.out) << c.in;
}

TEST(PrepareRegExpPatternTest, RewritesLineBreakTokensOnly) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"a\\nb", "a\\r\\nb"},
      {"a\\r\\nb", "a\\r\\nb"},
      {"\\\\n", "\\\\n"},  // an escaped backslash followed by n
      {Sjis("表n"), Sjis("表n")},
      {Sjis("表\\n"), Sjis("表") + "\\r\\n"},
      {"[\\n]", "[\\r\\n]"},
      {"\\", "\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrepareRegExpPattern(c.in), c.out) << c.in;
}

TEST(QuickSearchWordTest, CutsAtAWholeCharacter) {
  std::string kanji = Sjis("亜");  // 0x88 0x9F: the trail byte passes the lead-byte test
  struct Case {
    std::string selected;
    size_t expected;
  } cases[] = {
      {std::string(2000, 'a'), 1023},
      {std::string(1022, 'a') + kanji + "b", 1024},  // a character starting at byte 1022 is taken whole
      {std::string(1021, 'a') + kanji + kanji, 1023},
      {std::string(1021, 'a') + kanji, 1023},
      {"short", 5},
  };
  for (const Case& c : cases) {
    std::string word = QuickSearchWord(c.selected);
    EXPECT_EQ(word.size(), c.expected);
    EXPECT_EQ(word, c.selected.substr(0, c.expected));
  }
}

// ---------------------------------------------------------------- plain find

TEST(TKervNormalSearcherTest, FindsDownAndUpAndEmphasizes) {
  Fixture f("abc abc abc", MatchCase);
  EXPECT_TRUE(f.Normal().Find("abc", true));
  EXPECT_EQ(SelOf(f.target), (Sel{0, 3}));
  EXPECT_TRUE(f.Normal().Find("abc", true));
  EXPECT_EQ(SelOf(f.target), (Sel{4, 3}));
  EXPECT_TRUE(f.Normal().Find("abc", false));
  EXPECT_EQ(SelOf(f.target), (Sel{0, 3}));
  EXPECT_EQ(f.target.emphasis, "abc");
  EXPECT_EQ(f.target.emphasisSets, 1);  // set once, while the word differed
  EXPECT_TRUE(f.state.SearchedOnce);
  EXPECT_TRUE(f.state.FoundOnce);
  EXPECT_FALSE(f.state.Searching);
}

TEST(TKervNormalSearcherTest, NotFoundNoticeSwitchesAfterAFoundSearch) {
  Fixture f(Sjis("表abc"));
  EXPECT_FALSE(f.Normal().Find("zz", true));
  ASSERT_EQ(f.host.notices.size(), 1u);
  EXPECT_EQ(f.host.notices[0], "文字列 zz は見つかりませんでした。");
  EXPECT_TRUE(f.Normal().Find("abc", true));
  EXPECT_FALSE(f.Normal().Find("abc", true));
  ASSERT_EQ(f.host.notices.size(), 2u);
  EXPECT_EQ(f.host.notices[1], "文字列 abc を文末まで検索しました。");
  // Changing the words resets the state: the plain message again.
  f.state.SearchedOnce = f.state.FoundOnce = false;
  EXPECT_FALSE(f.Normal().Find(Sjis("表x"), true));
  EXPECT_EQ(f.host.notices.back(), "文字列 表x は見つかりませんでした。");
}

TEST(TKervNormalSearcherTest, EmptyPatternFindsNothing) {
  Fixture f("abc");
  EXPECT_FALSE(f.Normal().Find("", true));
  EXPECT_EQ(f.host.notices.back(), "文字列  は見つかりませんでした。");
}

TEST(TKervNormalSearcherTest, FromTopAppliesToTheFirstSearchOnly) {
  Fixture f("ab ab ab");
  f.options.FromTop = true;
  f.target.Select(5, 0);
  EXPECT_TRUE(f.Normal().Find("ab", true));
  EXPECT_EQ(SelOf(f.target), (Sel{0, 2}));
  EXPECT_TRUE(f.Normal().Find("ab", true));
  EXPECT_EQ(SelOf(f.target), (Sel{3, 2}));
}

TEST(TKervNormalSearcherTest, LoopSearchRestartsOnceAndRestoresOnFailure) {
  Fixture f("ab xx ab", LoopSearch);
  f.target.Select(7, 0);
  EXPECT_TRUE(f.Normal().Find("ab", true));
  EXPECT_EQ(SelOf(f.target), (Sel{0, 2}));
  f.target.Select(1, 0);
  EXPECT_TRUE(f.Normal().Find("ab", false));  // up from the end finds the last one
  EXPECT_EQ(SelOf(f.target), (Sel{6, 2}));
  f.target.Select(3, 2);
  EXPECT_FALSE(f.Normal().Find("zz", true));
  EXPECT_EQ(SelOf(f.target), (Sel{3, 2}));
}

TEST(TKervNormalSearcherTest, SelectionOnlyIsOneShot) {
  Fixture f("ab [ab] ab", SelectionOnly);
  f.target.Select(3, 4);
  EXPECT_TRUE(f.Normal().Find("ab", true));
  EXPECT_EQ(SelOf(f.target), (Sel{4, 2}));
  EXPECT_FALSE(f.options.Flags & SelectionOnly);
  EXPECT_EQ(f.target.focused, 1);
  // Up inside the selection finds the last match in it.
  f.options.Flags |= SelectionOnly;
  f.target.Select(0, 10);
  EXPECT_TRUE(f.Normal().Find("ab", false));
  EXPECT_EQ(SelOf(f.target), (Sel{8, 2}));
  // A failed find uses it up too.
  f.options.Flags |= SelectionOnly;
  EXPECT_FALSE(f.Normal().Find("zz", true));
  EXPECT_FALSE(f.options.Flags & SelectionOnly);
}

// ---------------------------------------------------------------- replace

TEST(TKervSearcherReplaceTest, ReplacesWithExpandedEscapes) {
  Fixture f("x ab ab");
  EXPECT_TRUE(f.Normal().Replace("ab", "a\\nb", true));
  EXPECT_EQ(f.target.text, "x a\r\nb ab");
  f.options.Confirm = true;
  f.host.confirmAnswer = false;
  EXPECT_FALSE(f.Normal().Replace("ab", "zz", true));
  EXPECT_EQ(f.target.text, "x a\r\nb ab");
  EXPECT_EQ(SelOf(f.target), (Sel{7, 2}));  // the match stays selected
  EXPECT_EQ(f.host.questions, 1);
}

// ---------------------------------------------------------------- replace-all

TEST(TKervSearcherReplaceAllTest, NoHitOpensNoWindowAndChangesNothing) {
  Fixture f("abc");
  EXPECT_EQ(f.Normal().ReplaceAll("zz", "y"), 0);
  EXPECT_EQ(f.host.progressOpened, 0);
  EXPECT_EQ(f.target.undoSteps, 0);
  EXPECT_FALSE(f.target.modified);
}

TEST(TKervSearcherReplaceAllTest, OneUndoStepAndTheCaretBack) {
  Fixture f("ab-ab-ab-");
  f.target.Select(4, 0);
  EXPECT_EQ(f.Normal().ReplaceAll("ab", "xyz"), 3);
  EXPECT_EQ(f.target.text, "xyz-xyz-xyz-");
  EXPECT_EQ(f.target.undoSteps, 1);
  EXPECT_TRUE(f.target.modified);
  EXPECT_EQ(SelOf(f.target), (Sel{4, 0}));
  EXPECT_EQ(f.host.progressOpened, 1);
  EXPECT_EQ(f.host.progressClosed, 1);
  EXPECT_EQ(f.host.lastCount, 3);
}

TEST(TKervSearcherReplaceAllTest, SelectionOnlyStaysAndKeepSelSelectsTheResult) {
  Fixture f("ab [ab ab] ab", SelectionOnly);
  f.host.keepSel = true;
  f.target.Select(3, 7);
  EXPECT_EQ(f.Normal().ReplaceAll("ab", "c"), 2);
  EXPECT_EQ(f.target.text, "ab [c c] ab");
  EXPECT_EQ(SelOf(f.target), (Sel{3, 5}));
  EXPECT_TRUE(f.options.Flags & SelectionOnly);
}

TEST(TKervSearcherReplaceAllTest, CancelLeavesTheTextUnchanged) {
  for (bool regExp : {false, true}) {
    Fixture f("ab ab ab", regExp ? RegExp : 0);
    f.host.cancelAt = 2;
    int count = regExp ? f.RegExp().ReplaceAll("ab", "x") : f.Normal().ReplaceAll("ab", "x");
    EXPECT_EQ(count, -1);
    EXPECT_EQ(f.target.text, "ab ab ab");
    EXPECT_EQ(f.target.undoSteps, 0);
    EXPECT_EQ(f.host.progressClosed, 1);
    ASSERT_EQ(f.host.notices.size(), 1u);
    EXPECT_EQ(f.host.notices[0], "全置換処理を中断しました。");
  }
}

// ---------------------------------------------------------------- regular expressions

TEST(TKervRegExpSearcherTest, LineHeadHoldsOnlyAtLineStarts) {
  Fixture f("aaa", RegExp);
  EXPECT_TRUE(f.RegExp().Find("^a", true));
  EXPECT_EQ(SelOf(f.target), (Sel{0, 1}));
  EXPECT_FALSE(f.RegExp().Find("^a", true));  // not the second "a"
  EXPECT_EQ(f.host.notices.back(), "正規表現 ^a を文末まで検索しました。");

  struct Case {
    std::string text, pattern, replacement, expected;
    int count;
  } cases[] = {
      {"aaa", "^a", "b", "baa", 1},
      {"ab\r\ncd\r\nef", "^.", "", "b\r\nd\r\nf", 3},
      {"ab\r\nab", "b$", "X", "aX\r\naX", 2},
      {"aa\r\naa", "a$", "", "a\r\na", 2},
      {Sjis("表n表n"), Sjis("表n"), "x", "xx", 2},
      {"a\r\nb", "a\\nb", "-", "-", 1},
  };
  for (const Case& c : cases) {
    Fixture g(c.text, RegExp);
    EXPECT_EQ(g.RegExp().ReplaceAll(c.pattern, c.replacement), c.count) << c.pattern;
    EXPECT_EQ(g.target.text, c.expected) << c.pattern;
  }
}

TEST(TKervRegExpSearcherTest, FirstMatchEmptyReplacesNothing) {
  Fixture f("abc", RegExp);
  EXPECT_EQ(f.RegExp().ReplaceAll("x*", "y"), 0);
  EXPECT_EQ(f.target.text, "abc");
  EXPECT_EQ(f.host.progressOpened, 0);
}

TEST(TKervRegExpSearcherTest, EmptyMatchesAreSteppedOver) {
  Fixture f("abc", RegExp);
  EXPECT_TRUE(f.RegExp().Find("x*", true));
  long long first = f.target.selStart;
  EXPECT_TRUE(f.RegExp().Find("x*", true));
  EXPECT_EQ(f.target.selStart, first + 1);
}

TEST(TKervRegExpSearcherTest, SyntaxErrorClearsSearching) {
  Fixture f("abc", RegExp);
  EXPECT_THROW(f.RegExp().Find("(a", true), ERegExpParser);
  EXPECT_FALSE(f.state.Searching);
}

TEST(TKervRegExpSearcherTest, LoopSearchAndSelectionOnly) {
  Fixture f("ab xx ab", RegExp | LoopSearch);
  f.target.Select(7, 0);
  EXPECT_TRUE(f.RegExp().Find("a.", true));
  EXPECT_EQ(SelOf(f.target), (Sel{0, 2}));
  f.options.Flags |= SelectionOnly;
  f.target.Select(2, 4);
  EXPECT_FALSE(f.RegExp().Find("^a", true));  // the selection does not start a line
  EXPECT_FALSE(f.options.Flags & SelectionOnly);
}

TEST(TKervRegExpSearcherTest, FindsNearAndFarInALongText) {
  // More than the first window: the far hit needs the window to grow.
  std::string text;
  for (int i = 0; i < 4000; ++i) text += Sjis("漢字かな交じりの行です。\r\n");
  size_t near = text.size() / 8;
  text.insert(near, "needle");
  text += "haystack\r\nlast";
  Fixture f(text, RegExp);
  EXPECT_TRUE(f.RegExp().Find("ne+dle", true));
  EXPECT_EQ(SelOf(f.target), (Sel{static_cast<long long>(near), 6}));
  EXPECT_TRUE(f.RegExp().Find("hay.*$", true));
  EXPECT_EQ(f.target.SelText(), "haystack");
  EXPECT_TRUE(f.RegExp().Find("^la", true));
  EXPECT_EQ(f.target.SelText(), "la");
}

// ---------------------------------------------------------------- differential replace-all

// The replace-all as a whole-text SearchBuffer loop, the plain way.
std::pair<std::string, int> ReferencePlain(const std::string& text, const std::string& pattern,
                                           const std::string& replacement, SearchFlags flags) {
  std::string out;
  int count = 0;
  TSearchPosition position{0, 0};
  size_t copied = 0;
  while (SearchBuffer(text, position, pattern, flags | Down)) {
    out.append(text, copied, static_cast<size_t>(position.start) - copied);
    out += replacement;
    copied = static_cast<size_t>(position.start + position.length);
    ++count;
  }
  out.append(text, copied);
  return {out, count};
}

// Literal alternatives, optionally anchored, leftmost-longest over the whole text.
std::pair<std::string, int> ReferenceRegExp(const std::string& text, const std::vector<std::string>& words, bool head,
                                            bool tail, const std::string& replacement) {
  auto isLead = [](unsigned char b) { return IsLeadByte(b); };
  std::string out;
  int count = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t foundAt = std::string::npos, foundLength = 0;
    for (size_t s = pos; s <= text.size() && foundAt == std::string::npos;) {
      if (!head || s == 0 || text[s - 1] == '\n') {
        for (const std::string& w : words) {
          if (text.compare(s, w.size(), w) != 0) continue;
          size_t e = s + w.size();
          if (tail && e != text.size() && text[e] != '\r') continue;
          if (foundAt == std::string::npos || w.size() > foundLength) {
            foundAt = s;
            foundLength = w.size();
          }
        }
      }
      if (s == text.size()) break;
      s += isLead(static_cast<unsigned char>(text[s])) && s + 1 < text.size() ? 2 : 1;
    }
    if (foundAt == std::string::npos || foundLength == 0) break;
    out.append(text, pos, foundAt - pos);
    out += replacement;
    pos = foundAt + foundLength;
    ++count;
  }
  if (pos < text.size()) out.append(text, pos);
  return {out, count};
}

bool HasSplitCharacter(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      if (i + 1 >= text.size() || !IsTrailByte(static_cast<unsigned char>(text[i + 1]))) return true;
      ++i;
    }
  }
  return false;
}

TEST(TKervSearcherReplaceAllTest, AgreesWithReferenceOnRandomTexts) {
  const std::vector<std::string> pieces = {Sjis("表"), Sjis("ソ"), Sjis("能"), Sjis("か"), Sjis("ア"), "\\", "n",
                                           "a", "A", "\r\n", " ", Sjis("ｶ"), Sjis("ﾞ")};
  std::mt19937 random(1919);
  auto randomText = [&](int maxPieces) {
    std::string s;
    int n = static_cast<int>(random() % static_cast<unsigned>(maxPieces));
    for (int i = 0; i < n; ++i) s += pieces[random() % pieces.size()];
    return s;
  };
  const SearchFlags flagSets[] = {MatchCase, 0, NoMatchZenkaku, IncludeRet | IncludeSpace};
  for (int round = 0; round < 1500; ++round) {
    std::string text = randomText(40);
    std::string pattern = randomText(3);
    if (pattern.empty()) pattern = Sjis("表");
    std::string replacement = randomText(3);
    SearchFlags flags = flagSets[round % 4];
    Fixture f(text, flags);
    int count = f.Normal().ReplaceAll(pattern, replacement);
    auto [expected, expectedCount] = ReferencePlain(text, pattern, ExpandReplaceEscapes(replacement), flags);
    ASSERT_EQ(count, expectedCount) << "round " << round << " flags " << flags << " [" << test::Escaped(text) << "] [" << test::Escaped(pattern) << "]";
    ASSERT_EQ(f.target.text, expected) << "round " << round;
    ASSERT_FALSE(HasSplitCharacter(f.target.text)) << "round " << round;
  }
  // Regular expressions where the reference is defined: literal alternatives and anchors.
  for (int round = 0; round < 1500; ++round) {
    std::string text = randomText(30);
    std::vector<std::string> words;
    int alternatives = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < alternatives; ++i) {
      std::string w;
      while (w.empty()) w = randomText(3);
      // Keep the alternatives literal: no escapes, no line breaks.
      std::string literal;
      for (size_t k = 0; k < w.size(); ++k) {
        unsigned char b = static_cast<unsigned char>(w[k]);
        if (IsLeadByte(b) && k + 1 < w.size()) {
          literal.append(w, k, 2);
          ++k;
        } else if (b != '\\' && b != '\r' && b != '\n' && b != ' ') {
          literal += w[k];
        }
      }
      if (!literal.empty()) words.push_back(literal);
    }
    if (words.empty()) words.push_back("a");
    bool head = random() % 3 == 0;
    bool tail = random() % 3 == 0;
    std::string pattern = head ? "^(" : "(";
    for (size_t i = 0; i < words.size(); ++i) pattern += (i ? "|" : "") + words[i];
    pattern += tail ? ")$" : ")";
    std::string replacement = randomText(2);
    Fixture f(text, RegExp | MatchCase);
    int count = f.RegExp().ReplaceAll(pattern, replacement);
    auto [expected, expectedCount] = ReferenceRegExp(text, words, head, tail, ExpandReplaceEscapes(replacement));
    ASSERT_EQ(std::max(count, 0), expectedCount) << "round " << round << " " << pattern;
    ASSERT_EQ(f.target.text, expected) << "round " << round << " " << pattern;
    ASSERT_FALSE(HasSplitCharacter(f.target.text));
  }
}

}  // namespace
}  // namespace kerv
