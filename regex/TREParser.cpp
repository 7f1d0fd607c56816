#include "regex/TREParser.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "regex/ERegExpParser.h"
#include "regex/RECharacter.h"

namespace kerv {
namespace {

// What "." matches: any character except NUL, LF, CR and the codes above 0xFCFC.
constexpr std::pair<uint16_t, uint16_t> kAnyChar[] = {{0x0001, 0x0009}, {0x000B, 0x000C}, {0x000E, 0xFCFC}};

}  // namespace

TREParser::TREParser(std::string pattern) : scanner_(std::move(pattern)) {}

void TREParser::Fail(ERegexMessage message) const { throw ERegExpParser(message, scanner_.Position()); }

int TREParser::Checked(int node) {
  if (tree_.Node(node).cost > kMaxCost) Fail(ERegexMessage::TooComplex);
  return node;
}

int TREParser::Run() {
  Next();
  int root = Regex();
  if (token_ != retkEnd) Fail(ERegexMessage::ExtraChars);
  tree_.SetRoot(root);
  tree_.ForceCharClassUnique();
  return root;
}

int TREParser::Regex() {
  int node = Term();
  while (token_ == retkUnion) {
    Next();
    node = Union(node, Term());
  }
  return node;
}

int TREParser::Term() {
  if (token_ == retkUnion || token_ == retkRPar || token_ == retkEnd) return tree_.MakeNode(reopEmpty);
  int node = Factor();
  while (token_ != retkUnion && token_ != retkRPar && token_ != retkEnd) {
    node = Checked(tree_.MakeNode(reopConcat, node, Factor()));
  }
  return node;
}

int TREParser::Factor() {
  int primary = Primary();
  switch (token_) {
    case retkStar:
      Next();
      return Checked(tree_.MakeNode(reopStar, primary));
    case retkPlus: {
      Next();
      int star = Checked(tree_.MakeNode(reopStar, primary));
      return Checked(tree_.MakeNode(reopConcat, primary, star));
    }
    case retkQuest:
      Next();
      return Union(primary, tree_.MakeNode(reopEmpty));
    default:
      return primary;
  }
}

int TREParser::Primary() {
  switch (token_) {
    case retkChar: {
      int leaf = tree_.MakeLeaf(scanner_.Code(), scanner_.Code());
      Next();
      return leaf;
    }
    case retkLPar: {
      if (++depth_ > kMaxNesting) Fail(ERegexMessage::NestingTooDeep);
      Next();
      int node = Regex();
      if (token_ != retkRPar) Fail(ERegexMessage::NeedRightParen);
      --depth_;
      Next();
      return node;
    }
    case retkLBra:
    case retkNegLBra: {
      bool negated = token_ == retkNegLBra;
      Next();
      int node = CharClass(negated);
      Next();
      return node;
    }
    case retkDot: {
      int node = -1;
      for (auto [low, high] : kAnyChar) {
        int leaf = tree_.MakeLeaf(low, high);
        node = node < 0 ? leaf : Union(node, leaf);
      }
      Next();
      return node;
    }
    case retkLHead: {
      int node = tree_.MakeNode(reopLHead);
      Next();
      return node;
    }
    case retkLTail: {
      int node = tree_.MakeNode(reopLTail);
      Next();
      return node;
    }
    default:
      break;
  }
  Fail(ERegexMessage::NeedCharOrLeftParen);
}

int TREParser::CharClass(bool negated) {
  // Reads items up to "]"; the scanner raises at the end of the pattern.
  std::vector<std::pair<uint16_t, uint16_t>> ranges;
  while (token_ == retkChar || token_ == retkRange) {
    uint16_t high = token_ == retkRange ? scanner_.UpperBound() : scanner_.Code();
    ranges.emplace_back(scanner_.Code(), high);
    Next();
  }
  if (token_ != retkRBra) Fail(ERegexMessage::NeedRightBracket);
  if (ranges.empty()) Fail(ERegexMessage::BadCharClass);

  if (!negated) {
    int node = -1;
    for (auto [low, high] : ranges) {
      int leaf = tree_.MakeLeaf(low, high);
      node = node < 0 ? leaf : Union(node, leaf);
    }
    return node;
  }

  // The pieces of the any-character set that lie outside every range.
  std::sort(ranges.begin(), ranges.end());
  int node = -1;
  for (auto [anyLow, anyHigh] : kAnyChar) {
    uint32_t from = anyLow;
    for (auto [low, high] : ranges) {
      if (high < from || low > anyHigh) continue;
      if (low > from) {
        int leaf = tree_.MakeLeaf(static_cast<uint16_t>(from), static_cast<uint16_t>(low - 1));
        node = node < 0 ? leaf : Union(node, leaf);
      }
      from = std::max<uint32_t>(from, static_cast<uint32_t>(high) + 1);
    }
    if (from <= anyHigh) {
      int leaf = tree_.MakeLeaf(static_cast<uint16_t>(from), anyHigh);
      node = node < 0 ? leaf : Union(node, leaf);
    }
  }
  // A class that excludes every character matches nothing: no text
  // character has the code kREEmptyCode.
  if (node < 0) node = tree_.MakeLeaf(kREEmptyCode, kREEmptyCode);
  return node;
}

}  // namespace kerv
