#include "regex/TRegularExpression.h"

#include "regex/ERegExpParser.h"
#include "regex/TREFuzzyCharDic.h"
#include "regex/TREParser.h"

namespace kerv {

TRegularExpression::TRegularExpression() {
  cache_.push_back({std::string(), nullptr});
  current_ = 0;
  // Not virtual here: a derived class's codes are not in place yet, and the
  // empty pattern has no anchors.
  TREParser parser{std::string()};
  parser.Run();
  cache_[0].dfa = std::make_unique<TRE_DFA>(std::make_unique<TRE_NFA>(parser.ParseTree()), dfaMemoryBudget_);
}

void TRegularExpression::Compile(const std::string& pattern) {
  TREParser parser(pattern);
  parser.Run();
  auto nfa = std::make_unique<TRE_NFA>(parser.ParseTree(), LineHeadCode(), LineTailCode());
  cache_[static_cast<size_t>(current_)].dfa = std::make_unique<TRE_DFA>(std::move(nfa), dfaMemoryBudget_);
}

void TRegularExpression::SetRegExp(const std::string& pattern) {
  preProcessor_.SetRegExp(pattern);
  std::string processed = preProcessor_.Run();  // an error here changes nothing

  for (size_t i = 0; i < cache_.size(); ++i) {
    if (cache_[i].key == processed) {
      current_ = static_cast<int>(i);
      regExp_ = pattern;
      return;
    }
  }
  // New entries go to index 1, so a full cache drops the one inserted longest ago.
  if (cache_.size() >= static_cast<size_t>(kCacheCapacity)) cache_.pop_back();
  cache_.insert(cache_.begin() + 1, Entry{processed, nullptr});
  current_ = 1;
  try {
    Compile(processed);
  } catch (...) {
    cache_.erase(cache_.begin() + 1);
    current_ = 0;
    regExp_.clear();
    throw;
  }
  regExp_ = pattern;
}

TAWKStr::TAWKStr() { PreProcessor().FuzzyCharDicList().push_back(&BuiltinFuzzyCharDic()); }

bool TAWKStr::UseFuzzyCharDic() const { return PreProcessor().UseFuzzyCharDic(); }

void TAWKStr::SetUseFuzzyCharDic(bool on) {
  PreProcessor().SetUseFuzzyCharDic(on);
  SetRegExp(std::string(RegExp()));
}

bool TAWKStr::UseSynonymDic() const { return PreProcessor().UseSynonymDic(); }

void TAWKStr::SetUseSynonymDic(bool on) {
  PreProcessor().SetUseSynonymDic(on);
  SetRegExp(std::string(RegExp()));
}

int TAWKStr::Match(std::string_view text, int& start, int& length) {
  return Match(text, start, length, TREMatchContext());
}

int TAWKStr::Match(std::string_view text, int& start, int& length, const TREMatchContext& context, bool* undecided) {
  int matchStart = 0;
  int matchLength = 0;
  if (!CurrentDFA().Match(text, SeparatorByte(), matchStart, matchLength, context, undecided)) {
    start = 0;
    length = 0;
    return 0;
  }
  start = matchStart + 1;
  length = matchLength;
  return start;
}

bool TAWKStr::HasMatch(std::string_view text) { return CurrentDFA().HasMatch(text, SeparatorByte()); }

bool TAWKStr::NextMatchingLine(std::string_view text, size_t from, size_t& lineStart, size_t& lineEnd) {
  return CurrentDFA().NextMatchingLine(text, from, SeparatorByte(), lineStart, lineEnd);
}

}  // namespace kerv
