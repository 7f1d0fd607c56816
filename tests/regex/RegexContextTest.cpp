// Matching a text that starts inside a longer one, and windows of a text:
// a window's answer is either the whole text's or undecided.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "regex/TRegularExpression.h"

namespace kerv {
namespace {

struct Found {
  int start = 0;
  int length = 0;
  bool undecided = false;
  bool operator==(const Found&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Found& f) {
  return out << f.start << "," << f.length << (f.undecided ? " undecided" : "");
}

Found MatchIn(TAWKStr& re, std::string_view text, TREMatchContext context) {
  Found found;
  re.Match(text, found.start, found.length, context, &found.undecided);
  return found;
}

TEST(TAWKStrContextTest, LineHeadHoldsOnlyAtALineStart) {
  struct Case {
    std::string pattern, text;
    bool lineStart;
    Found expected;
  } cases[] = {
      {"^a", "aa", false, {0, 0}},       // the rest of "aaa" after its first byte
      {"^a", "aa", true, {1, 1}},
      {"^a", "a\r\na", false, {4, 1}},   // the next line's start still counts
      {"^.", "bc", false, {0, 0}},
      {"^$", "", false, {0, 0}},
      {"a$", "xa\r\n", false, {2, 1}},   // "$" is about what follows, not where the text began
      {"x*", "ab", false, {1, 0}},
  };
  for (const Case& c : cases) {
    TAWKStr re;
    re.SetRegExp(c.pattern);
    EXPECT_EQ(MatchIn(re, c.text, {c.lineStart, false}), c.expected) << c.pattern << " in " << c.text;
  }
}

TEST(TAWKStrContextTest, WindowAtItsEndIsUndecided) {
  struct Case {
    std::string pattern, window;
    Found expected;
  } cases[] = {
      {"abc", "xxab", {0, 0, true}},     // a match may finish beyond the window
      {"ab*", "xab", {0, 0, true}},      // a longer match may follow
      {"ab*", "xabc", {2, 2, false}},    // the run died at c
      {"a$", "xa", {0, 0, true}},        // "$" does not hold at a window's end
      {"a$", "xa\r\n", {2, 1, false}},
      {"zzz", "abc", {0, 0, true}},      // nothing here, but the text goes on
  };
  for (const Case& c : cases) {
    TAWKStr re;
    re.SetRegExp(c.pattern);
    EXPECT_EQ(MatchIn(re, c.window, {true, true}), c.expected) << c.pattern << " in " << c.window;
  }
}

// Every decided answer of a window equals the whole text's answer.
TEST(TAWKStrContextTest, DecidedWindowsAgreeWithTheWholeText) {
  const char* patterns[] = {"ab", "a[^z]*z|b", "^b", "b$", "(ab)+", "a.*b", "^$", "x*b"};
  std::mt19937 random(19);
  const char alphabet[] = {'a', 'b', 'z', '\r', '\n'};
  for (const char* pattern : patterns) {
    TAWKStr re;
    re.SetRegExp(pattern);
    for (int round = 0; round < 300; ++round) {
      std::string text;
      int size = static_cast<int>(random() % 24);
      for (int i = 0; i < size; ++i) text += alphabet[random() % 5];
      int wholeStart = 0, wholeLength = 0;
      re.Match(text, wholeStart, wholeLength);
      for (size_t cut = 0; cut <= text.size(); ++cut) {
        Found window = MatchIn(re, std::string_view(text).substr(0, cut), {true, cut < text.size()});
        if (window.undecided) continue;
        EXPECT_EQ(window.start, wholeStart) << pattern << " cut " << cut;
        EXPECT_EQ(window.length, wholeLength) << pattern << " cut " << cut;
      }
    }
  }
}

}  // namespace
}  // namespace kerv
