#pragma once
// Cutting one printed line into rows no wider than a column, preferring word
// ends and never splitting a double-byte Shift_JIS character.

#include <cstdint>
#include <string_view>
#include <vector>

#include "print/IPrintMeasurer.h"

namespace kerv {

// The rows of line, as views into it, whose concatenation is line. A line
// that fits (or is empty) is one row. A wider line is cut from an estimate
// of the bytes per row (its length divided by the number of rows its width
// demands), moved one character at a time to the widest piece not wider
// than widthDots, then back to the nearest blank, control byte or end of a
// double-byte character. A row holds at least one whole character, even one
// wider than the column; the last piece of a line, once it fits, is a row of
// its own without looking for a word end. widthDots below 1 counts as 1.
std::vector<std::string_view> WrapText(std::string_view line, int64_t widthDots, IPrintMeasurer& measurer);

// The width of text, measured again in halves (split between characters)
// when the measurer reports an overflow as a negative width.
int64_t SafeTextWidth(std::string_view sjis, IPrintMeasurer& measurer);

}  // namespace kerv
