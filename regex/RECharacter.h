#pragma once
// Characters as the engine sees them: a single byte b is the code b, a
// double-byte character is lead * 256 + trail. Patterns are always walked by
// characters, so a trail byte (0x5C in "ソ" or "表") is never an escape.

#include <cstdint>
#include <string>
#include <string_view>

namespace kerv {

// Codes reserved inside the engine; no text character has them.
inline constexpr uint16_t kRELineHeadCode = 0xFFFD;
inline constexpr uint16_t kRELineTailCode = 0xFFFE;
inline constexpr uint16_t kREEmptyCode = 0xFFFF;

// Reads the character at the 1-based position and moves past it. Returns
// false at the end of the text. A lead byte that is the last byte raises
// ERegExpParser ("不正な２バイト文字コードです。") at its position.
bool REReadChar(std::string_view text, int& position, uint16_t& code);

// The 1-based position of the character before the one at position (which
// must be a character start, or one past the end); 1 stays 1.
int REPrevCharPosition(std::string_view text, int position);

// Every character of ^(|)+*?.[]$\ gets a backslash in front; the rest is copied.
std::string QuoteMeta(std::string_view word);

}  // namespace kerv
