#pragma once
// The byte search prepared once for scanning a large text: it jumps to the
// places where the pattern's characters compare equal, and SearchBuffer
// decides on the line there.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/SearchBuffer.h"

namespace kerv {

class TTextSearcher {
 public:
  TTextSearcher(std::string pattern, SearchFlags flags);

  // The first byte offset at or after from where the pattern's characters
  // compare equal with the text, or npos. Never passes a match; may stop
  // where none starts (on a trail byte, or outside a whole word). Calls with
  // a growing from on the same (unchanged) text reuse the earlier scans; a
  // from of 0, a smaller from or another text starts afresh.
  size_t NextCandidate(std::string_view text, size_t from);
  // The first match in line at or after offset from, searching down
  // (SearchBuffer). A candidate's line may be searched from the candidate:
  // no match starts between the line's start and it.
  bool FindIn(std::string_view line, TSearchPosition& match, int from = 0) const;

  const std::string& Pattern() const { return pattern_; }
  SearchFlags Flags() const { return flags_; }
  // Every match starts with one of these byte strings.
  const std::vector<std::string>& Needles() const { return needles_; }

 private:
  // Where needle k first occurs at or after from.
  size_t Find(std::string_view text, size_t from, size_t k) const;
  // The first offset at or after from where the bytes at the two filter offsets fit.
  size_t FindFiltered(std::string_view text, size_t from) const;

  std::string pattern_;
  std::string prepared_;
  SearchFlags flags_;
  std::vector<std::string> needles_;
  // Where every match has the same widths for its first characters (case
  // variants do, full-width folding does not): the bytes possible at each
  // offset, and the two offsets with the rarest bytes, which a vectorised
  // scan looks at first.
  std::vector<std::vector<char>> offsetBytes_;
  bool useFilter_ = false;
  size_t filterA_ = 0;
  size_t filterB_ = 0;
  // Where each needle next occurs, for the text last scanned.
  std::vector<size_t> nextHit_;
  const char* scannedText_ = nullptr;
  size_t scannedSize_ = 0;
  size_t lastFrom_ = 0;
};

}  // namespace kerv
