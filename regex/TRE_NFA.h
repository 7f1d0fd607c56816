#pragma once
// The nondeterministic automaton of a parse tree, and the state sets that
// the deterministic automaton is made of.

#include <cstdint>
#include <vector>

#include "regex/RECharacter.h"
#include "regex/TREParseTree.h"

namespace kerv {

enum class ERETransition : uint8_t { Char, Empty, LineHead, LineTail };

struct TRE_NFATransition {
  // Low code in the low 16 bits, high code in the high 16 bits; the kind
  // tells anchors and empty transitions from characters that share their codes.
  uint32_t label = 0;
  ERETransition kind = ERETransition::Char;
  int target = 0;

  uint16_t Low() const { return static_cast<uint16_t>(label & 0xFFFF); }
  uint16_t High() const { return static_cast<uint16_t>(label >> 16); }
};

class TRE_NFA {
 public:
  static constexpr int kEntryState = 0;
  static constexpr int kFinalState = 1;

  TRE_NFA(const TREParseTree& tree, uint16_t lineHeadCode = kRELineHeadCode, uint16_t lineTailCode = kRELineTailCode);

  int StateCount() const { return static_cast<int>(states_.size()); }
  const std::vector<TRE_NFATransition>& Transitions(int state) const { return states_[static_cast<size_t>(state)]; }
  bool HasLineHead() const { return hasLineHead_; }
  bool HasLineTail() const { return hasLineTail_; }
  uint16_t LineHeadCode() const { return lineHeadCode_; }
  uint16_t LineTailCode() const { return lineTailCode_; }

 private:
  int NewState();
  void AddTransition(int from, uint32_t label, ERETransition kind, int to);
  // Walks the tree with an explicit stack: concatenations nest as deep as the pattern is long.
  void GenerateStateList(const TREParseTree& tree, int root, int from, int to);

  std::vector<std::vector<TRE_NFATransition>> states_;
  bool hasLineHead_ = false;
  bool hasLineTail_ = false;
  uint16_t lineHeadCode_;
  uint16_t lineTailCode_;
};

// A set of NFA states as a bit set of n / 8 + 1 bytes.
class TRE_NFAStateSet {
 public:
  explicit TRE_NFAStateSet(int stateCount) : bits_(static_cast<size_t>(stateCount) / 8 + 1, 0) {}
  void Include(int state) { bits_[static_cast<size_t>(state) >> 3] |= static_cast<uint8_t>(1u << (state & 7)); }
  void Exclude(int state) { bits_[static_cast<size_t>(state) >> 3] &= static_cast<uint8_t>(~(1u << (state & 7))); }
  bool Contains(int state) const { return (bits_[static_cast<size_t>(state) >> 3] >> (state & 7)) & 1; }
  bool operator==(const TRE_NFAStateSet& other) const { return bits_ == other.bits_; }

 private:
  std::vector<uint8_t> bits_;
};

}  // namespace kerv
