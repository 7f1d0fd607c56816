#pragma once
// Recursive-descent parser: pattern -> parse tree with disjoint leaves.

#include <cstdint>
#include <string>

#include "regex/RegexMessages.h"
#include "regex/TREParseTree.h"
#include "regex/TREScanner.h"

namespace kerv {

class TREParser {
 public:
  // Deeper groups are refused, so that no pattern can exhaust the stack.
  static constexpr int kMaxNesting = 256;
  // Upper bound on the automaton the tree may produce (states and transitions).
  static constexpr int64_t kMaxCost = 1000000;

  explicit TREParser(std::string pattern);

  // Parses the whole pattern; returns the root of ParseTree() or raises ERegExpParser.
  int Run();
  TREParseTree& ParseTree() { return tree_; }
  const TREParseTree& ParseTree() const { return tree_; }

 private:
  void Next() { token_ = scanner_.GetToken(); }
  int Regex();
  int Term();
  int Factor();
  int Primary();
  int CharClass(bool negated);
  int Union(int left, int right) { return Checked(tree_.MakeNode(reopUnion, left, right)); }
  int Checked(int node);
  [[noreturn]] void Fail(ERegexMessage message) const;

  TREScanner scanner_;
  TREParseTree tree_;
  TRETokenType token_ = retkEnd;
  int depth_ = 0;
};

}  // namespace kerv
