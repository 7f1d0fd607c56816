#pragma once
// The 16-bit option word of every search. The bit values are fixed: the word
// travels unchanged from the search options to the searchers, the byte
// search, the document scan and the painter's emphasis.

#include <cstdint>

namespace kerv {

using SearchFlags = uint16_t;

namespace SearchFlag {
inline constexpr SearchFlags Down = 0x0001;            // towards the end of the text; clear = towards the start
inline constexpr SearchFlags MatchCase = 0x0002;       // letters compare with their case
inline constexpr SearchFlags WholeWord = 0x0004;       // a match starts and ends at word boundaries
inline constexpr SearchFlags NoMatchZenkaku = 0x0008;  // full-width and half-width forms compare equal
inline constexpr SearchFlags IncludeRet = 0x0080;      // CR and LF inside a match are skipped
inline constexpr SearchFlags IncludeSpace = 0x0100;    // tab, space and full-width space inside a match are skipped
inline constexpr SearchFlags RegExp = 0x0400;          // the pattern is a regular expression
inline constexpr SearchFlags RegFuzzy = 0x0800;        // regular expressions use the fuzzy character dictionary
inline constexpr SearchFlags SelectionOnly = 0x1000;   // the next search works inside the selection only
inline constexpr SearchFlags LoopSearch = 0x2000;      // an unsuccessful search restarts once from the other end
}  // namespace SearchFlag

}  // namespace kerv
