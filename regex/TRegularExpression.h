#pragma once
// The regular-expression component: the pattern property with its cache of
// compiled automata (TRegularExpression), the line separator (TMatchCORE)
// and the matching interface the editor uses (TAWKStr).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RECharacter.h"
#include "regex/TREPreProcessor.h"
#include "regex/TRE_DFA.h"

namespace kerv {

class TRegularExpression {
 public:
  static constexpr int kCacheCapacity = 30;

  TRegularExpression();
  virtual ~TRegularExpression() = default;
  TRegularExpression(const TRegularExpression&) = delete;
  TRegularExpression& operator=(const TRegularExpression&) = delete;

  // The pattern last set, as given (before pre-processing).
  const std::string& RegExp() const { return regExp_; }
  // Pre-processes and compiles p, or takes it from the cache. On a syntax
  // error from the pre-processor nothing changes; on one from the parser
  // the component falls back to the empty pattern. Either way
  // ERegExpParser propagates.
  virtual void SetRegExp(const std::string& pattern);

  TREPreProcessor& PreProcessor() { return preProcessor_; }
  const TREPreProcessor& PreProcessor() const { return preProcessor_; }

  // The cache: entry 0 is always the empty pattern; keys are pre-processed patterns.
  int CacheCount() const { return static_cast<int>(cache_.size()); }
  const std::string& CacheKey(int index) const { return cache_[static_cast<size_t>(index)].key; }
  int CurrentEntry() const { return current_; }
  TRE_DFA& CurrentDFA() { return *cache_[static_cast<size_t>(current_)].dfa; }

  // Memory each lazy automaton of later compilations may hold.
  void SetDfaMemoryBudget(size_t bytes) { dfaMemoryBudget_ = bytes; }

 protected:
  // Compiles a pre-processed pattern into the current cache entry.
  virtual void Compile(const std::string& pattern);
  virtual uint16_t LineHeadCode() const { return kRELineHeadCode; }
  virtual uint16_t LineTailCode() const { return kRELineTailCode; }

 private:
  struct Entry {
    std::string key;
    std::unique_ptr<TRE_DFA> dfa;
  };

  std::string regExp_;
  std::vector<Entry> cache_;
  int current_ = 0;
  TREPreProcessor preProcessor_;
  size_t dfaMemoryBudget_ = TRE_DFA::kDefaultMemoryBudget;
};

enum TMatchCORE_LineSeparator : uint8_t {
  mcls_CRLF = 0,  // a line ends before CR
  mcls_LF = 1,    // a line ends before LF
};

class TMatchCORE : public TRegularExpression {
 public:
  TMatchCORE_LineSeparator LineSeparator() const { return lineSeparator_; }
  void SetLineSeparator(TMatchCORE_LineSeparator separator) { lineSeparator_ = separator; }

 protected:
  uint8_t SeparatorByte() const { return lineSeparator_ == mcls_LF ? '\n' : '\r'; }

 private:
  TMatchCORE_LineSeparator lineSeparator_ = mcls_CRLF;
};

class TAWKStr : public TMatchCORE {
 public:
  // Empty pattern, CR LF lines, both dictionaries off; the built-in fuzzy
  // dictionary is in the pre-processor's list.
  TAWKStr();

  bool UseFuzzyCharDic() const;
  // Stores the flag and sets RegExp again, which recompiles.
  void SetUseFuzzyCharDic(bool on);
  bool UseSynonymDic() const;
  void SetUseSynonymDic(bool on);

  // The leftmost-longest match in text (which ends at its first NUL): start
  // is its 1-based byte position and length its byte length; the result is
  // start, or 0 with start and length 0 when nothing matches.
  int Match(std::string_view text, int& start, int& length);
  // The same for a text that starts inside a longer one (context.lineStart:
  // whether "^" holds at its first byte) or is a window of it (see
  // TREMatchContext); start stays relative to text.
  int Match(std::string_view text, int& start, int& length, const TREMatchContext& context, bool* undecided = nullptr);
  // Whether Match would find a match, in one pass over the text.
  bool HasMatch(std::string_view text);
  // For filtering a text of lines (LF or CR LF after each): the first line
  // at or after from, a line start, in which HasMatch would find a match;
  // lineStart and lineEnd give its bytes without the line break.
  bool NextMatchingLine(std::string_view text, size_t from, size_t& lineStart, size_t& lineEnd);
};

}  // namespace kerv
