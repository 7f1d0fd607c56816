// A pattern and a text from the input, compiled with random options and
// matched: no crash, matches inside the text on character boundaries, the
// quick test agreeing with the full match, and the automata within budget.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "regex/ERegExpParser.h"
#include "regex/TRegularExpression.h"

namespace {

size_t SubjectLength(const std::string& text) {
  size_t nul = text.find('\0');
  return nul == std::string::npos ? text.size() : nul;
}

std::vector<bool> CharacterStarts(const std::string& text, size_t length) {
  std::vector<bool> starts(length + 1, false);
  for (size_t i = 0; i < length;) {
    starts[i] = true;
    i += (kerv::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length) ? 2 : 1;
  }
  starts[length] = true;
  return starts;
}

void CheckBudget(const kerv::TRE_DFA& dfa, size_t budget) {
  size_t stateBytes = static_cast<size_t>(dfa.Classes().ClassCount()) * 4 +
                      static_cast<size_t>(dfa.NFA().StateCount()) * sizeof(int) + 64;
  for (const kerv::TRE_DFAStateCache* cache : {&dfa.AnchoredStates(), &dfa.SearchingStates()}) {
    if (cache->PeakMemoryUsed() > budget + 4 * stateBytes) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t options = data[0];
  const size_t patternLength = std::min<size_t>(data[1], size - 2);
  std::string pattern(reinterpret_cast<const char*>(data) + 2, patternLength);
  std::string text(reinterpret_cast<const char*>(data) + 2 + patternLength, size - 2 - patternLength);

  static const size_t kBudgets[] = {1, 4096, 64 * 1024, kerv::TRE_DFA::kDefaultMemoryBudget};
  const size_t budget = kBudgets[(options >> 2) & 3];
  kerv::TAWKStr re;
  re.SetDfaMemoryBudget(budget);
  re.SetLineSeparator((options & 2) ? kerv::mcls_LF : kerv::mcls_CRLF);
  try {
    re.SetUseFuzzyCharDic(options & 1);
    re.SetRegExp(pattern);
  } catch (const kerv::ERegExpParser& e) {
    if (e.ErrorPosition() < 1) std::abort();
    if (re.RegExp() != "" && re.RegExp() != pattern) std::abort();
  }

  const size_t length = SubjectLength(text);
  const std::vector<bool> starts = CharacterStarts(text, length);
  // Match the remainders one after the other, as the painter does.
  size_t offset = 0;
  for (int round = 0; round < 8 && offset <= length; ++round) {
    std::string rest = text.substr(offset);
    int start = 0, matchLength = 0;
    int result = re.Match(rest, start, matchLength);
    if (re.HasMatch(rest) != (result != 0)) std::abort();
    if (result == 0) break;
    if (result != start || start < 1 || matchLength < 0) std::abort();
    size_t matchStart = offset + static_cast<size_t>(start) - 1;
    size_t matchEnd = matchStart + static_cast<size_t>(matchLength);
    if (matchEnd > length || !starts[matchStart] || !starts[matchEnd]) std::abort();
    offset = matchEnd + (matchLength == 0 ? 1 : 0);
    while (offset < length && !starts[offset]) ++offset;
  }
  CheckBudget(re.CurrentDFA(), budget);
  return 0;
}
