#pragma once
// Rewrites a pattern before parsing so that characters also match their
// fuzzy variants (or words their synonyms), from lists of dictionaries.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "regex/TREScanner.h"

namespace kerv {

// A dictionary is a list of groups, a group a list of words (Shift_JIS).
using TREWordGroup = std::vector<std::string>;
using TREDictionary = std::vector<TREWordGroup>;

// Splits a comma text: items separated by commas; an item may be enclosed in
// double quotes, inside which a doubled double quote stands for one.
std::vector<std::string> SplitCommaText(std::string_view text);

class TREPreProcessor {
 public:
  struct Token {
    TRETokenType type = retkEnd;
    uint16_t code = 0;
    uint16_t upperBound = 0;
    int startPosition = 1;  // 1-based, first byte of the token's source text
    int endPosition = 1;    // 1-based, one past its last byte
  };

  void SetRegExp(std::string pattern) { pattern_ = std::move(pattern); }
  const std::string& RegExp() const { return pattern_; }

  // The rewritten pattern (the pattern itself when both flags are off);
  // raises ERegExpParser on a scanner error.
  std::string Run();

  bool UseSynonymDic() const { return useSynonymDic_; }
  void SetUseSynonymDic(bool on) { useSynonymDic_ = on; }
  bool UseFuzzyCharDic() const { return useFuzzyCharDic_; }
  void SetUseFuzzyCharDic(bool on) { useFuzzyCharDic_ = on; }

  // The dictionaries are not owned and must outlive the pre-processor.
  std::vector<const TREDictionary*>& SynonymDicList() { return synonymDics_; }
  std::vector<const TREDictionary*>& FuzzyCharDicList() { return fuzzyCharDics_; }

  const std::vector<Token>& TokenList() const { return tokens_; }

 private:
  std::string Rewrite(const std::string& pattern, const std::vector<const TREDictionary*>& dictionaries);
  void Tokenize(const std::string& pattern);

  TREScanner scanner_;
  std::vector<Token> tokens_;
  std::string pattern_;
  std::string output_;
  bool useSynonymDic_ = false;
  bool useFuzzyCharDic_ = false;
  std::vector<const TREDictionary*> synonymDics_;
  std::vector<const TREDictionary*> fuzzyCharDics_;
};

}  // namespace kerv
