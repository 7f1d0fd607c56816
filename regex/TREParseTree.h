#pragma once
// The parse tree of a pattern: inner nodes and shared leaves (character ranges).

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kerv {

enum TREOperation : uint8_t {
  reopChar = 0,    // leaf: characters low..high
  reopLHead = 1,   // "^"
  reopLTail = 2,   // "$"
  reopConcat = 3,  // left then right
  reopUnion = 4,   // left or right
  reopStar = 5,    // left repeated zero or more times
  reopEmpty = 6,   // the empty string
};

struct TRENode {
  TREOperation op = reopEmpty;
  int left = -1;  // node ids of the operands
  int right = -1;
  // A leaf's range. A leaf turned into a union in place keeps it: the union of
  // its pieces is exactly this range.
  uint16_t low = 0;
  uint16_t high = 0;
  bool fromLeaf = false;
  // Transitions and states the automaton builder makes for this node;
  // shared operands count once per use.
  int64_t cost = 1;
};

class TREParseTree {
 public:
  // Returns the existing leaf when one with this range exists.
  int MakeLeaf(uint16_t low, uint16_t high);
  // reopConcat, reopUnion and reopStar (left only), reopLHead, reopLTail, reopEmpty.
  int MakeNode(TREOperation op, int left = -1, int right = -1);
  // The leaf becomes left | right in place; every parent sees the union.
  void ChangeLeafToUnion(int leaf, int left, int right);
  // Splits overlapping leaves until any two leaves are equal or disjoint.
  void ForceCharClassUnique();

  const TRENode& Node(int id) const { return nodes_[static_cast<size_t>(id)]; }
  int NodeCount() const { return static_cast<int>(nodes_.size()); }
  const std::vector<int>& Leaves() const { return leaves_; }
  std::vector<int> InnerNodes() const;
  int Root() const { return root_; }
  void SetRoot(int root) { root_ = root; }

 private:
  static uint32_t RangeKey(uint16_t low, uint16_t high) { return static_cast<uint32_t>(high) << 16 | low; }

  std::vector<TRENode> nodes_;
  std::vector<int> leaves_;  // ids of the nodes that are leaves now, in creation order
  std::unordered_map<uint32_t, int> leafByRange_;
  int root_ = -1;
};

}  // namespace kerv
