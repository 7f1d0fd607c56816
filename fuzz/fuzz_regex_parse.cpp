// Random byte patterns through the scanner, the pre-processor (both flags)
// and the parser: no crash, no runaway recursion, and every error an
// ERegExpParser whose position lies inside the pattern (or just past it).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "regex/ERegExpParser.h"
#include "regex/TREFuzzyCharDic.h"
#include "regex/TREParser.h"
#include "regex/TREPreProcessor.h"
#include "regex/TREScanner.h"
#include "regex/TRE_NFA.h"

namespace {

void CheckPosition(const kerv::ERegExpParser& e, const std::string& pattern) {
  if (e.ErrorPosition() < 1 || e.ErrorPosition() > static_cast<int>(pattern.size()) + 1) std::abort();
}

void Scan(const std::string& pattern) {
  kerv::TREScanner scanner(pattern);
  try {
    // Every token moves on; a scan that does not end is a fault.
    for (size_t steps = 0; scanner.GetToken() != kerv::retkEnd; ++steps) {
      if (steps > pattern.size() * 2 + 2) std::abort();
    }
  } catch (const kerv::ERegExpParser& e) {
    CheckPosition(e, pattern);
  }
}

void Parse(const std::string& pattern) {
  try {
    kerv::TREParser parser(pattern);
    parser.Run();
    const kerv::TREParseTree& tree = parser.ParseTree();
    std::vector<std::pair<uint16_t, uint16_t>> ranges;
    for (int id : tree.Leaves()) ranges.emplace_back(tree.Node(id).low, tree.Node(id).high);
    std::sort(ranges.begin(), ranges.end());
    for (size_t i = 1; i < ranges.size(); ++i) {
      if (ranges[i].first <= ranges[i - 1].second) std::abort();  // leaves must be disjoint
    }
    kerv::TRE_NFA nfa(tree);
  } catch (const kerv::ERegExpParser& e) {
    CheckPosition(e, pattern);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  std::string pattern(reinterpret_cast<const char*>(data) + 1, size - 1);

  Scan(pattern);
  Parse(pattern);

  kerv::TREDictionary synonyms = {{"ab", "c|d"}, {"\\", "("}};
  kerv::TREPreProcessor pre;
  pre.SynonymDicList().push_back(&synonyms);
  pre.FuzzyCharDicList().push_back(&kerv::BuiltinFuzzyCharDic());
  pre.SetUseFuzzyCharDic(options & 1);
  pre.SetUseSynonymDic(options & 2);
  pre.SetRegExp(pattern);
  try {
    std::string rewritten = pre.Run();
    if (!(options & 3) && rewritten != pattern) std::abort();
    Parse(rewritten);
  } catch (const kerv::ERegExpParser& e) {
    CheckPosition(e, pattern);
  }
  return 0;
}
