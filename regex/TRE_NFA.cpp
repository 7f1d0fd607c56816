#include "regex/TRE_NFA.h"

#include <stdexcept>

#include "regex/RegexMessages.h"

namespace kerv {
namespace {

uint32_t RangeLabel(uint16_t low, uint16_t high) { return static_cast<uint32_t>(high) << 16 | low; }

}  // namespace

TRE_NFA::TRE_NFA(const TREParseTree& tree, uint16_t lineHeadCode, uint16_t lineTailCode)
    : lineHeadCode_(lineHeadCode), lineTailCode_(lineTailCode) {
  NewState();  // entry
  NewState();  // final
  if (tree.Root() >= 0) GenerateStateList(tree, tree.Root(), kEntryState, kFinalState);
}

int TRE_NFA::NewState() {
  states_.emplace_back();
  return StateCount() - 1;
}

void TRE_NFA::AddTransition(int from, uint32_t label, ERETransition kind, int to) {
  states_[static_cast<size_t>(from)].push_back({label, kind, to});
}

void TRE_NFA::GenerateStateList(const TREParseTree& tree, int root, int from, int to) {
  struct Work {
    int node, from, to;
  };
  std::vector<Work> stack{{root, from, to}};
  while (!stack.empty()) {
    Work work = stack.back();
    stack.pop_back();
    const TRENode& node = tree.Node(work.node);
    if (node.fromLeaf) {
      // A leaf split by the disjointness pass: its pieces tile its range exactly.
      AddTransition(work.from, RangeLabel(node.low, node.high), ERETransition::Char, work.to);
      continue;
    }
    switch (node.op) {
      case reopChar:
        AddTransition(work.from, RangeLabel(node.low, node.high), ERETransition::Char, work.to);
        break;
      case reopLHead:
        if (work.from == kEntryState) {
          hasLineHead_ = true;
          AddTransition(work.from, RangeLabel(lineHeadCode_, lineHeadCode_), ERETransition::LineHead, work.to);
        } else {
          AddTransition(work.from, RangeLabel('^', '^'), ERETransition::Char, work.to);
        }
        break;
      case reopLTail:
        if (work.to == kFinalState) {
          hasLineTail_ = true;
          AddTransition(work.from, RangeLabel(lineTailCode_, lineTailCode_), ERETransition::LineTail, work.to);
        } else {
          AddTransition(work.from, RangeLabel('$', '$'), ERETransition::Char, work.to);
        }
        break;
      case reopConcat: {
        int middle = NewState();
        stack.push_back({node.right, middle, work.to});
        stack.push_back({node.left, work.from, middle});
        break;
      }
      case reopUnion:
        stack.push_back({node.right, work.from, work.to});
        stack.push_back({node.left, work.from, work.to});
        break;
      case reopStar: {
        int loopStart = NewState();
        int loopEnd = NewState();
        AddTransition(work.from, 0xFFFFFFFF, ERETransition::Empty, loopStart);
        AddTransition(loopEnd, 0xFFFFFFFF, ERETransition::Empty, loopStart);
        AddTransition(loopStart, 0xFFFFFFFF, ERETransition::Empty, work.to);
        stack.push_back({node.left, loopStart, loopEnd});
        break;
      }
      case reopEmpty:
        AddTransition(work.from, 0xFFFFFFFF, ERETransition::Empty, work.to);
        break;
      default:
        throw std::runtime_error(RegexMessage(ERegexMessage::GenerateStateListFatal));
    }
  }
}

}  // namespace kerv
