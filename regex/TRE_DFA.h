#pragma once
// The deterministic automaton of a pattern, built lazily: a state (a set of
// NFA states) is made the first time a match needs it, and the states live
// in a cache of bounded size that is flushed and refilled when it is full.
// Every answer is the one the complete subset construction would give.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/CodePage.h"
#include "regex/TRE_NFA.h"

namespace kerv {

// 0 for a byte that is not a lead byte, 1..60 for the lead bytes in order.
constexpr std::array<uint8_t, 256> MakeRELeadIndex() {
  std::array<uint8_t, 256> index{};
  uint8_t next = 1;
  for (int b = 0; b < 256; ++b) {
    if (IsLeadByte(static_cast<unsigned char>(b))) index[static_cast<size_t>(b)] = next++;
  }
  return index;
}
inline constexpr std::array<uint8_t, 256> kRELeadIndex = MakeRELeadIndex();
inline constexpr int kRELeadCount = 60;
static_assert(kRELeadIndex[0xFC] == kRELeadCount);

// Character codes that no transition tells apart share a class. Classes
// are indexed by (lead index << 8 | byte): the lead index is 0 for a single
// byte and 1..60 for the lead bytes, so only codes text can produce take room.
class TRECharClassMap {
 public:
  explicit TRECharClassMap(const TRE_NFA& nfa);

  int ClassCount() const { return classCount_; }
  int ClassOfCode(uint16_t code) const;
  int LineFeedClass() const { return ClassOfCode('\n'); }
  int NulClass() const { return ClassOfCode(0); }  // NUL is alone in its class

  // Reads the character at p (a lead byte right before end or before a NUL
  // stands alone), moves p past it and returns its class.
  int NextClass(const uint8_t*& p, const uint8_t* end) const {
    uint32_t b = *p;
    uint32_t lead = kRELeadIndex[b];
    if (lead != 0 && p + 1 < end && p[1] != 0) {
      uint32_t index = lead << 8 | p[1];
      p += 2;
      return classOfIndex_[index];
    }
    p += 1;
    return classOfIndex_[b];
  }
  // The same inside a line of a text of lines: a lead byte before the
  // line's LF or CR LF stands alone too.
  int NextClassInLine(const uint8_t*& p, const uint8_t* end) const {
    uint32_t b = *p;
    uint32_t lead = kRELeadIndex[b];
    if (lead != 0 && p + 1 < end && p[1] != 0 && p[1] != '\n' && !(p[1] == '\r' && p + 2 < end && p[2] == '\n')) {
      uint32_t index = lead << 8 | p[1];
      p += 2;
      return classOfIndex_[index];
    }
    p += 1;
    return classOfIndex_[b];
  }

 private:
  std::vector<uint32_t> cuts_;  // class k holds the codes cuts_[k] .. cuts_[k + 1] - 1
  std::vector<uint16_t> classOfIndex_;
  int classCount_ = 0;
};

// The NFA rearranged for subset steps: character transitions by class interval.
struct TRE_NFATables {
  struct CharEdge {
    int classLow, classHigh, target;
  };
  TRE_NFATables(const TRE_NFA& nfa, const TRECharClassMap& classes);
  std::vector<std::vector<CharEdge>> chars;
  std::vector<std::vector<int>> empties;
  std::vector<int> headTargets;  // targets of the line-head anchor (from the entry state)
  std::vector<uint8_t> hasTail;  // per state: a line-tail anchor leaves it
  bool hasLineHead = false;
};

// The states of one lazy automaton. A state is named by a handle: its row in
// the transition table times four, with the flags in the two low bits, so a
// step is one load and one test. Negative table entries are not states.
class TRE_DFAStateCache {
 public:
  enum class EMode : uint8_t {
    Anchored,   // runs that start at one position
    Searching,  // a match may start anywhere: the start states join at every step
  };
  static constexpr int32_t kUnknown = -1;  // not computed yet
  static constexpr int32_t kDead = -2;     // no NFA state left
  static constexpr int32_t kEnd = -3;      // the character is NUL: the subject ends here
  static constexpr int32_t kAccepting = 1;  // flag: the set holds the final state
  static constexpr int32_t kLineTail = 2;   // flag: the set can take the line-tail anchor
  static constexpr int32_t kFlagMask = 3;

  TRE_DFAStateCache(const TRE_NFA& nfa, const TRE_NFATables& tables, const TRECharClassMap& classes, EMode mode,
                    size_t memoryBudget);

  // The state to start in; at a line start it includes the line-head anchor's targets.
  int32_t InitialState(bool lineStart);
  // The entry for (state, class): a state handle, or kUnknown, kDead or kEnd.
  int32_t Entry(int32_t state, int cls) const { return table_[static_cast<size_t>(state >> 2) + static_cast<size_t>(cls)]; }
  // Computes an unknown entry. The cache may be flushed on the way; only the returned handle stays valid.
  int32_t Compute(int32_t state, int cls);

  size_t StateCount() const { return memberCount_.size(); }
  size_t MemoryUsed() const { return memoryUsed_; }
  size_t MemoryBudget() const { return memoryBudget_; }
  size_t FlushCount() const { return flushCount_; }
  size_t PeakMemoryUsed() const { return peakMemoryUsed_; }
  std::vector<int> Members(int32_t state) const;

 private:
  // A cache may always hold this many states, however big they are, so
  // that a step can keep its source state across a flush.
  static constexpr size_t kMinStates = 4;

  size_t IndexOf(int32_t state) const { return static_cast<size_t>(state >> 2) / static_cast<size_t>(classCount_); }
  void AddClosure(int nfaState);
  int32_t FindOrAdd(const std::vector<int>& members, int32_t keepState);
  int32_t Find(const std::vector<int>& members, uint64_t hash) const;
  int32_t Add(const std::vector<int>& members, uint64_t hash);
  size_t StateBytes(size_t memberCount) const;
  void Flush();

  const TRE_NFATables& tables_;
  int classCount_;
  int lineFeedClass_;
  int nulClass_;
  EMode mode_;
  size_t memoryBudget_;

  std::vector<int32_t> table_;  // StateCount() rows of classCount_ entries
  std::vector<int32_t> handles_;
  std::vector<size_t> memberOffset_;
  std::vector<uint32_t> memberCount_;
  std::vector<int> memberPool_;
  std::unordered_multimap<uint64_t, int32_t> byHash_;
  int32_t initial_[2] = {kUnknown, kUnknown};
  size_t memoryUsed_ = 0;
  size_t peakMemoryUsed_ = 0;
  size_t flushCount_ = 0;
  bool flushedDuringAdd_ = false;

  // Scratch of one subset step.
  TRE_NFAStateSet visited_;
  std::vector<int> scratch_;
  std::vector<int> stack_;
};

// Where a text handed to Match sits inside a longer one.
struct TREMatchContext {
  // "^" holds at the text's first byte: it is the whole text's start or follows a LF.
  bool lineStart = true;
  // The text is a window that goes on past its end: "$" does not hold there,
  // and a result that depends on the bytes beyond is left undecided.
  bool continues = false;
};

// A compiled pattern: NFA, classes and the two lazy automata.
class TRE_DFA {
 public:
  static constexpr size_t kDefaultMemoryBudget = 2u << 20;

  explicit TRE_DFA(std::unique_ptr<TRE_NFA> nfa, size_t memoryBudget = kDefaultMemoryBudget);

  bool HasLineHead() const { return nfa_->HasLineHead(); }
  bool HasLineTail() const { return nfa_->HasLineTail(); }
  const TRE_NFA& NFA() const { return *nfa_; }
  const TRECharClassMap& Classes() const { return classes_; }

  // Leftmost-longest match in text (which ends at its first NUL): 0-based
  // start and byte length. "^" holds at the start and after every LF, "$"
  // before separator and at the end.
  bool Match(std::string_view text, uint8_t separator, int& start, int& length);
  // The same for a text that starts inside a longer one. With
  // context.continues, undecided (when given) tells a window too short to
  // decide apart from a text without a match.
  bool Match(std::string_view text, uint8_t separator, int& start, int& length, const TREMatchContext& context,
             bool* undecided);
  // Whether Match would find anything; one pass over the text.
  bool HasMatch(std::string_view text, uint8_t separator);
  // The first line at or after from (a line start) of a text of lines
  // (each ending in LF or CR LF, the last one perhaps in nothing) whose
  // content, without its line break, HasMatch accepts: its content's range.
  bool NextMatchingLine(std::string_view text, size_t from, uint8_t separator, size_t& lineStart, size_t& lineEnd);

  const TRE_DFAStateCache& AnchoredStates() const { return anchored_; }
  const TRE_DFAStateCache& SearchingStates() const { return searching_; }

 private:
  // The earliest offset where a match ends, or -1. The subject ends at end
  // or at its first NUL.
  int FirstMatchEnd(const uint8_t* text, const uint8_t* end);
  // The end of the longest match from start, or -1. With remember, the run
  // notes where it went and stops where an earlier failed run was in the
  // same state: nothing can match from there on.
  int LongestFrom(const uint8_t* text, const uint8_t* end, int start, bool remember = false);

  std::unique_ptr<TRE_NFA> nfa_;
  uint8_t separator_ = '\r';  // of the running call
  TREMatchContext context_;  // of the running call
  bool undecided_ = false;   // the running call reached the end of a window that continues
  // The states failed runs of the running Match were in, by position (from
  // failedBase_); valid while the anchored cache is not flushed.
  std::vector<int32_t> failedStates_;
  int failedBase_ = -1;
  size_t failedGeneration_ = 0;
  TRECharClassMap classes_;
  TRE_NFATables tables_;
  TRE_DFAStateCache anchored_;
  TRE_DFAStateCache searching_;
};

}  // namespace kerv
