#include "tests/regex/RegexTestSupport.h"

#include <algorithm>
#include <set>
#include <vector>

#include "platform/CodePage.h"
#include "platform/posix/IconvCodePage.h"
#include "regex/TREParser.h"
#include "regex/TRE_NFA.h"

namespace kerv::test {

std::string S(std::string_view utf8) {
  static IconvCodePage codePage;
  return codePage.Utf8ToCp932(utf8, nullptr);
}

namespace {

using StateSet = std::set<int>;

StateSet Closure(const TRE_NFA& nfa, StateSet set) {
  std::vector<int> stack(set.begin(), set.end());
  while (!stack.empty()) {
    int s = stack.back();
    stack.pop_back();
    for (const TRE_NFATransition& t : nfa.Transitions(s)) {
      if (t.kind == ERETransition::Empty && set.insert(t.target).second) stack.push_back(t.target);
    }
  }
  return set;
}

StateSet Move(const TRE_NFA& nfa, const StateSet& set, ERETransition kind, int code) {
  StateSet next;
  for (int s : set) {
    for (const TRE_NFATransition& t : nfa.Transitions(s)) {
      if (t.kind != kind) continue;
      if (kind == ERETransition::Char && (code < t.Low() || code > t.High())) continue;
      next.insert(t.target);
    }
  }
  return Closure(nfa, next);
}

bool Accepting(const StateSet& set) { return set.count(TRE_NFA::kFinalState) != 0; }

struct Subject {
  std::string_view text;
  int length;
  // Code and width of the character at pos; a lead byte before the end stands alone.
  int Code(int pos, int& width) const {
    unsigned char b = static_cast<unsigned char>(text[static_cast<size_t>(pos)]);
    if (IsLeadByte(b) && pos + 1 < length) {
      width = 2;
      return b << 8 | static_cast<unsigned char>(text[static_cast<size_t>(pos) + 1]);
    }
    width = 1;
    return b;
  }
};

// The longest run from pos in the given set; -1 when none. "$" counts
// before the separator and at the end, at every step.
int LongestFrom(const TRE_NFA& nfa, const Subject& subject, int pos, StateSet set, char separator) {
  int last = -1;
  while (!set.empty()) {
    bool atTail = pos == subject.length || subject.text[static_cast<size_t>(pos)] == separator;
    if (Accepting(set) || (atTail && Accepting(Move(nfa, set, ERETransition::LineTail, 0)))) last = pos;
    if (pos == subject.length) break;
    int width = 0;
    int code = subject.Code(pos, width);
    set = Move(nfa, set, ERETransition::Char, code);
    pos += width;
  }
  return last;
}

// At a line start the anchored alternatives join; the longer run wins.
int AnchoredFrom(const TRE_NFA& nfa, const Subject& subject, int pos, char separator) {
  StateSet initial = Closure(nfa, {TRE_NFA::kEntryState});
  int q = LongestFrom(nfa, subject, pos, initial, separator);
  if (!nfa.HasLineHead()) return q;
  int p = LongestFrom(nfa, subject, pos, Move(nfa, initial, ERETransition::LineHead, 0), separator);
  return std::max(p, q);
}

}  // namespace

RefMatch ReferenceMatch(const std::string& pattern, std::string_view text, char separator) {
  TREParser parser(pattern);
  parser.Run();
  TRE_NFA nfa(parser.ParseTree());
  Subject subject{text, static_cast<int>(std::find(text.begin(), text.end(), '\0') - text.begin())};
  StateSet initial = Closure(nfa, {TRE_NFA::kEntryState});

  int end = AnchoredFrom(nfa, subject, 0, separator);
  if (end >= 0) return {true, 0, end};
  for (int s = 0; s < subject.length;) {
    end = LongestFrom(nfa, subject, s, initial, separator);
    if (end >= 0) return {true, s, end - s};
    if (subject.text[static_cast<size_t>(s)] == '\n' && nfa.HasLineHead()) {
      end = AnchoredFrom(nfa, subject, s + 1, separator);
      if (end >= 0) return {true, s + 1, end - s - 1};
    }
    int width = 0;
    subject.Code(s, width);
    s += width;
  }
  if (nfa.HasLineTail() && Accepting(Move(nfa, initial, ERETransition::LineTail, 0))) {
    return {true, subject.length, 0};
  }
  return {};
}

}  // namespace kerv::test
