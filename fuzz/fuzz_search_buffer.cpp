// The byte search with random flags, selections, patterns and texts: no
// crash, matches inside the text on character boundaries, and the bulk
// searcher's shortcut never passing a match.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "search/SearchBuffer.h"
#include "search/TTextSearcher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const kerv::SearchFlags flags = static_cast<kerv::SearchFlags>(data[0] | data[1] << 8);
  const int selStart = static_cast<int8_t>(data[2]);
  const int selLength = static_cast<int8_t>(data[3]);
  const size_t patternLength = std::min<size_t>(data[4] % 16, size - 5);
  std::string pattern(reinterpret_cast<const char*>(data) + 5, patternLength);
  std::string text(reinterpret_cast<const char*>(data) + 5 + patternLength, size - 5 - patternLength);

  size_t length = text.find('\0');
  if (length == std::string::npos) length = text.size();
  std::vector<bool> starts(length + 1, false);
  for (size_t i = 0; i < length;) {
    starts[i] = true;
    i += kerv::IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }

  kerv::TSearchPosition position{selStart, selLength};
  if (kerv::SearchBuffer(text, position, pattern, flags)) {
    if (position.start < 0 || position.length <= 0 || static_cast<size_t>(position.start + position.length) > length) std::abort();
    if (!starts[static_cast<size_t>(position.start)]) std::abort();
  } else if (position.start != selStart || position.length != selLength) {
    std::abort();
  }

  kerv::TTextSearcher searcher(pattern, flags);
  kerv::TSearchPosition match;
  if (searcher.FindIn(text, match) && searcher.NextCandidate(text, 0) > static_cast<size_t>(match.start)) std::abort();
  return 0;
}
