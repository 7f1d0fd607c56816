#include "regex/TREPreProcessor.h"

#include "regex/ERegExpParser.h"
#include "regex/RECharacter.h"

namespace kerv {

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> items;
  size_t i = 0;
  while (true) {
    std::string item;
    if (i < text.size() && text[i] == '"') {
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
      // Anything between the closing quote and the next comma belongs to the item.
      while (i < text.size() && text[i] != ',') item += text[i++];
    } else {
      while (i < text.size() && text[i] != ',') item += text[i++];
    }
    items.push_back(std::move(item));
    if (i >= text.size()) break;
    ++i;  // the comma
  }
  return items;
}

std::string TREPreProcessor::Run() {
  output_ = pattern_;
  if (useSynonymDic_) output_ = Rewrite(output_, synonymDics_);
  if (useFuzzyCharDic_) output_ = Rewrite(output_, fuzzyCharDics_);
  return output_;
}

void TREPreProcessor::Tokenize(const std::string& pattern) {
  tokens_.clear();
  scanner_.SetRegExp(pattern);
  while (true) {
    Token token;
    token.startPosition = scanner_.Position();
    token.type = scanner_.GetToken();
    token.code = scanner_.Code();
    token.upperBound = scanner_.UpperBound();
    token.endPosition = scanner_.Position();
    tokens_.push_back(token);
    if (token.type == retkEnd) break;
  }
}

namespace {

// A word as character codes; empty when it cannot be read (a cut-off double-byte character).
std::vector<uint16_t> WordCodes(const std::string& word) {
  std::vector<uint16_t> codes;
  int position = 1;
  uint16_t code = 0;
  try {
    while (REReadChar(word, position, code)) codes.push_back(code);
  } catch (const ERegExpParser&) {
    codes.clear();
  }
  return codes;
}

}  // namespace

std::string TREPreProcessor::Rewrite(const std::string& pattern,
                                     const std::vector<const TREDictionary*>& dictionaries) {
  Tokenize(pattern);

  struct Entry {
    const TREWordGroup* group;
    std::vector<uint16_t> codes;
  };
  std::vector<Entry> words;  // in the order they are tried
  for (const TREDictionary* dictionary : dictionaries) {
    for (const TREWordGroup& group : *dictionary) {
      for (const std::string& word : group) words.push_back({&group, WordCodes(word)});
    }
  }

  auto sourceText = [&](const Token& token) {
    return std::string_view(pattern).substr(static_cast<size_t>(token.startPosition - 1),
                                            static_cast<size_t>(token.endPosition - token.startPosition));
  };

  std::string result;
  result.reserve(pattern.size() * 4);
  bool inBracket = false;
  size_t i = 0;
  while (i < tokens_.size()) {
    const Token& token = tokens_[i];
    if (inBracket || token.type != retkChar) {
      if (token.type == retkLBra || token.type == retkNegLBra) inBracket = true;
      else if (token.type == retkRBra) inBracket = false;
      result += sourceText(token);
      ++i;
      continue;
    }
    size_t runEnd = i;
    while (runEnd < tokens_.size() && tokens_[runEnd].type == retkChar) ++runEnd;
    while (i < runEnd) {
      const Entry* match = nullptr;
      for (const Entry& entry : words) {
        size_t length = entry.codes.size();
        if (length == 0 || i + length > runEnd) continue;
        bool equal = true;
        for (size_t k = 0; k < length && equal; ++k) equal = entry.codes[k] == tokens_[i + k].code;
        if (equal) {
          match = &entry;
          break;
        }
      }
      if (!match) {
        result += sourceText(tokens_[i]);
        ++i;
        continue;
      }
      result += '(';
      for (size_t w = 0; w < match->group->size(); ++w) {
        if (w > 0) result += '|';
        result += QuoteMeta((*match->group)[w]);
      }
      result += ')';
      i += match->codes.size();
    }
  }
  return result;
}

}  // namespace kerv
