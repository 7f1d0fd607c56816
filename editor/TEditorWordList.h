#pragma once
// An emphasis word list: words in the user's order (the order decides which
// emphasis wins), each with its option bits. A word may occur twice.

#include <string>
#include <vector>

namespace kerv {

struct TEditorWord {
  std::string text;  // Shift_JIS bytes
  int options = 0;   // match case, whole word, regex, fuzzy and level bits
  bool operator==(const TEditorWord&) const = default;
};

using TEditorWordList = std::vector<TEditorWord>;

}  // namespace kerv
