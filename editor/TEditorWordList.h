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

// The option bits of a word: how it is searched and at which emphasis level
// it is painted.
namespace WordOption {
inline constexpr int MatchCase = 0x0001;
inline constexpr int WholeWord = 0x0002;
inline constexpr int RegExp = 0x0004;  // match case and whole word do not apply
inline constexpr int Fuzzy = 0x0008;   // with RegExp only
inline constexpr int Level2 = 0x0080;  // or 7 with PlusFive
inline constexpr int Level3 = 0x0100;  // or 8
inline constexpr int Level4 = 0x0200;  // or 9
inline constexpr int Level5 = 0x0400;  // or 10
inline constexpr int PlusFive = 0x0800;
inline constexpr int MethodBits = 0x000F;
inline constexpr int LevelBits = 0x0F80;
}  // namespace WordOption

inline constexpr int kMinWordLevel = 1;
inline constexpr int kMaxWordLevel = 10;

// The level 1..10 the bits give: no level bit is 1, bits 7-10 are 2-5, and
// bit 11 adds 5 (alone: 6). So 0x0880 is 7 and 0x0C00 is 10.
constexpr int WordLevel(int options) {
  int level = 1;
  if (options & WordOption::Level2) {
    level = 2;
  } else if (options & WordOption::Level3) {
    level = 3;
  } else if (options & WordOption::Level4) {
    level = 4;
  } else if (options & WordOption::Level5) {
    level = 5;
  }
  return (options & WordOption::PlusFive) ? level + 5 : level;
}

}  // namespace kerv
