#pragma once
// The byte-string search: a pattern in a Shift_JIS text, forwards or
// backwards from a selection, under a SearchFlags word, never matching on a
// trail byte. Positions and lengths are 0-based byte offsets.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "search/SearchFlags.h"

namespace kerv {

struct TSearchPosition {
  int start = 0;   // 0-based byte offset
  int length = 0;  // bytes
};

// Finds pattern in text (which ends at its first NUL) from position, the
// current selection: Down searches from its end, otherwise backwards from
// its start. On success position is the match. Reads only Down, MatchCase,
// WholeWord, NoMatchZenkaku, IncludeRet and IncludeSpace.
bool SearchBuffer(std::string_view text, TSearchPosition& position, std::string_view pattern, SearchFlags flags);

// a-z and the double-byte lower-case letters (full-width Latin, Greek,
// Cyrillic, small Roman numerals) to upper case; nothing else changes.
std::string UpperCasePattern(std::string_view pattern);
// Single bytes to their full-width forms; ｶﾞ-like pairs to one voiced kana.
std::string FoldToZenkaku(std::string_view text);

// The pattern as the search compares it: upper-cased unless MatchCase, then
// folded to full width with NoMatchZenkaku.
std::string PrepareSearchPattern(std::string_view pattern, SearchFlags flags);
// Compares a prepared pattern with the text at offset p (the text ends at its
// end, not at a NUL): the bytes the match spans, skipped returns and blanks
// included, or -1. Word boundaries and character boundaries are not checked.
int ComparePreparedAt(std::string_view text, int p, std::string_view prepared, SearchFlags flags);

// Text bytes (1 or 2) the character at offset q of text uses to match one
// character of a prepared pattern (upper-cased unless MatchCase, folded to
// full width with NoMatchZenkaku), or 0 when it does not match.
int MatchTextChar(const uint8_t* text, int length, int q, uint16_t patternCode, int patternWidth, SearchFlags flags);

// The upper-case form of a double-byte lower-case letter, or the code itself.
uint16_t UpperCaseDoubleByte(uint16_t code);
// The full-width code of a single byte, or the byte itself when it has none.
uint16_t ZenkakuOfByte(uint8_t byte);
// The voiced (or semi-voiced) kana of a half-width kana followed by mark
// (ﾞ or ﾟ), or 0 when the two do not fold into one character.
uint16_t ZenkakuOfPair(uint8_t kana, uint8_t mark);

// Whether a byte separates words: all but 0-9, A-Z, _, a-z, 0x81-0x9F and 0xA6-0xFC.
bool IsWordDelimiterByte(uint8_t byte);

}  // namespace kerv
