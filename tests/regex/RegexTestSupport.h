#pragma once
// Helpers shared by the regex tests: Shift_JIS from UTF-8 literals, and a
// reference matcher that restarts at every position.

#include <string>
#include <string_view>

namespace kerv::test {

// Shift_JIS bytes of a UTF-8 literal.
std::string S(std::string_view utf8);

struct RefMatch {
  bool found = false;
  int start = 0;   // 0-based
  int length = 0;
};

// Parses pattern and matches text by simulating the NFA set by set (each set
// is a state of the complete subset construction), trying every start
// position in turn: at a line start the anchored and plain runs join, and
// "$" counts before the separator and at the end at every step.
RefMatch ReferenceMatch(const std::string& pattern, std::string_view text, char separator);

}  // namespace kerv::test
