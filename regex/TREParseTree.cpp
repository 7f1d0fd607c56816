#include "regex/TREParseTree.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "regex/RegexMessages.h"

namespace kerv {

int TREParseTree::MakeLeaf(uint16_t low, uint16_t high) {
  auto found = leafByRange_.find(RangeKey(low, high));
  if (found != leafByRange_.end()) return found->second;
  TRENode node;
  node.op = reopChar;
  node.low = low;
  node.high = high;
  node.cost = 1;
  int id = NodeCount();
  nodes_.push_back(node);
  leaves_.push_back(id);
  leafByRange_.emplace(RangeKey(low, high), id);
  return id;
}

int TREParseTree::MakeNode(TREOperation op, int left, int right) {
  TRENode node;
  node.op = op;
  node.left = left;
  node.right = right;
  switch (op) {
    case reopConcat: node.cost = Node(left).cost + Node(right).cost + 1; break;
    case reopUnion: node.cost = Node(left).cost + Node(right).cost; break;
    case reopStar: node.cost = Node(left).cost + 5; break;
    default: node.cost = 1; break;
  }
  nodes_.push_back(node);
  return NodeCount() - 1;
}

void TREParseTree::ChangeLeafToUnion(int leaf, int left, int right) {
  if (leaf < 0 || leaf >= NodeCount() || left < 0 || right < 0 || nodes_[static_cast<size_t>(leaf)].op != reopChar) {
    throw std::runtime_error(RegexMessage(ERegexMessage::ParseTreeFatal));
  }
  TRENode& node = nodes_[static_cast<size_t>(leaf)];
  leafByRange_.erase(RangeKey(node.low, node.high));
  node.op = reopUnion;
  node.left = left;
  node.right = right;
  node.fromLeaf = true;  // the cost stays that of one range
  leaves_.erase(std::find(leaves_.begin(), leaves_.end(), leaf));
}

std::vector<int> TREParseTree::InnerNodes() const {
  std::vector<int> ids;
  for (int id = 0; id < NodeCount(); ++id) {
    if (nodes_[static_cast<size_t>(id)].op != reopChar) ids.push_back(id);
  }
  return ids;
}

void TREParseTree::ForceCharClassUnique() {
  // Cut the code space at every leaf boundary; a leaf that spans several of
  // the resulting elementary pieces becomes the union of those pieces. The
  // unions are built from shared halving segments, so a wide leaf costs
  // O(log n) new nodes instead of one per piece.
  std::vector<uint32_t> cuts;
  for (int id : leaves_) {
    cuts.push_back(Node(id).low);
    cuts.push_back(static_cast<uint32_t>(Node(id).high) + 1);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  if (cuts.size() < 3) return;  // one range at most: nothing overlaps

  // Elementary piece k is cuts[k] .. cuts[k + 1] - 1.
  const int pieceCount = static_cast<int>(cuts.size()) - 1;
  auto pieceOf = [&](uint32_t code) {
    return static_cast<int>(std::upper_bound(cuts.begin(), cuts.end(), code) - cuts.begin()) - 1;
  };
  std::map<std::pair<int, int>, int> segments;
  // Node for pieces [from, to), made on demand.
  auto segment = [&](auto&& self, int from, int to) -> int {
    if (to - from == 1) {
      return MakeLeaf(static_cast<uint16_t>(cuts[static_cast<size_t>(from)]),
                      static_cast<uint16_t>(cuts[static_cast<size_t>(to)] - 1));
    }
    auto found = segments.find({from, to});
    if (found != segments.end()) return found->second;
    int middle = from + (to - from) / 2;
    int left = self(self, from, middle);
    int right = self(self, middle, to);
    int id = MakeNode(reopUnion, left, right);
    nodes_[static_cast<size_t>(id)].cost = 1;
    segments.emplace(std::make_pair(from, to), id);
    return id;
  };
  // Canonical segments covering [from, to) inside the segment [lo, hi).
  auto cover = [&](auto&& self, int lo, int hi, int from, int to, std::vector<int>& out) -> void {
    if (from <= lo && hi <= to) {
      out.push_back(segment(segment, lo, hi));
      return;
    }
    int middle = lo + (hi - lo) / 2;
    if (from < middle) self(self, lo, middle, from, to, out);
    if (to > middle) self(self, middle, hi, from, to, out);
  };

  std::vector<int> wide;
  for (int id : leaves_) {
    if (pieceOf(Node(id).high) > pieceOf(Node(id).low)) wide.push_back(id);
  }
  for (int id : wide) {
    int from = pieceOf(Node(id).low);
    int to = pieceOf(Node(id).high) + 1;
    std::vector<int> parts;
    cover(cover, 0, pieceCount, from, to, parts);
    if (parts.size() == 1) {
      // The leaf is exactly one segment: take over that segment's two halves.
      const TRENode& whole = Node(parts[0]);
      parts = {whole.left, whole.right};
    }
    int accumulated = parts[0];
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
      accumulated = MakeNode(reopUnion, accumulated, parts[i]);
      nodes_[static_cast<size_t>(accumulated)].cost = 1;
    }
    ChangeLeafToUnion(id, accumulated, parts.back());
  }
}

}  // namespace kerv
