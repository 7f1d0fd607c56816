#include "print/WrapText.h"

#include <algorithm>
#include <limits>

#include "platform/CodePage.h"

namespace kerv {
namespace {

// Bytes of the character at byteIndex: a lead byte with a byte after it
// makes two, whatever that byte is, so that no row ever splits the pair.
size_t CharBytes(std::string_view text, size_t byteIndex) {
  return IsLeadByte(static_cast<unsigned char>(text[byteIndex])) && byteIndex + 1 < text.size() ? 2 : 1;
}

// A blank or control byte: a row may end after it.
bool IsBreakByte(unsigned char b) { return b <= 0x20; }

}  // namespace

int64_t SafeTextWidth(std::string_view sjis, IPrintMeasurer& measurer) {
  if (sjis.empty()) return 0;
  const int64_t width = measurer.TextWidth(sjis);
  if (width >= 0) return width;
  // Cut near the middle, after a whole character.
  size_t cut = 0;
  while (cut < sjis.size() / 2) cut += CharBytes(sjis, cut);
  if (cut == 0 || cut >= sjis.size()) return std::numeric_limits<int64_t>::max() / 4;
  const int64_t head = SafeTextWidth(sjis.substr(0, cut), measurer);
  const int64_t tail = SafeTextWidth(sjis.substr(cut), measurer);
  constexpr int64_t kCap = std::numeric_limits<int64_t>::max() / 4;
  return head >= kCap - tail ? kCap : head + tail;
}

std::vector<std::string_view> WrapText(std::string_view line, int64_t widthDots, IPrintMeasurer& measurer) {
  if (widthDots < 1) widthDots = 1;
  if (line.empty()) return {line};
  const int64_t lineWidth = SafeTextWidth(line, measurer);
  if (lineWidth <= widthDots) return {line};

  const int64_t rowsWanted = lineWidth / widthDots + (lineWidth % widthDots != 0 ? 1 : 0);
  const size_t guessBytes = static_cast<size_t>(static_cast<int64_t>(line.size()) / rowsWanted);

  std::vector<std::string_view> rows;
  // Ends (byte offsets in line) of the characters of the current piece,
  // found by walking from the row start: the row start is always a
  // character boundary, so the classes of the remaining text are those of
  // the whole line from there on.
  std::vector<size_t> charEnds;
  size_t rowStart = 0;
  while (rowStart < line.size()) {
    const size_t remaining = line.size() - rowStart;
    charEnds.clear();
    size_t scan = rowStart;
    auto nextChar = [&] {
      scan += CharBytes(line, scan);
      charEnds.push_back(scan);
    };

    // The estimate, moved back by one byte when it would end on a lead byte.
    const size_t target = rowStart + std::min(guessBytes, remaining);
    while (scan < target) nextChar();
    if (scan > target) {
      charEnds.pop_back();
      scan = charEnds.empty() ? rowStart : charEnds.back();
    }
    size_t charCount = charEnds.size();
    auto endOf = [&](size_t count) { return count == 0 ? rowStart : charEnds[count - 1]; };
    auto pieceEnd = [&] { return endOf(charCount); };
    // Widths of the first count characters; the last one measured and not
    // kept is remembered, so that shrinking after an overshoot asks nothing.
    size_t spareCount = 0;
    int64_t spareWidth = 0;
    auto measureAt = [&](size_t count) -> int64_t {
      if (count == 0) return 0;
      if (count == spareCount) return spareWidth;
      return SafeTextWidth(line.substr(rowStart, endOf(count) - rowStart), measurer);
    };

    int64_t width = measureAt(charCount);
    // Grow while the piece is narrower than the column. Stepping one
    // character at a time stops at the first character that reaches the
    // width. Jumping to where the piece measured so far says the width will
    // be reached, and walking back after an overshoot, stops at the same
    // character whenever widths grow with the text, in a few measurements
    // per row instead of one per character.
    while (pieceEnd() < line.size() && width < widthDots) {
      const size_t pieceBytes = pieceEnd() - rowStart;
      if (width > 0 && pieceBytes > 0) {
        // In floating point: the product may pass 64 bits for huge widths.
        const double extraBytes = static_cast<double>(widthDots - width) * static_cast<double>(pieceBytes) /
                                  static_cast<double>(width);
        const size_t jumpEnd =
            pieceEnd() + static_cast<size_t>(std::min(extraBytes, static_cast<double>(line.size() - pieceEnd())));
        size_t count = charCount;
        while (true) {
          if (count == charEnds.size()) {
            if (scan >= line.size()) break;
            nextChar();
          }
          if (charEnds[count] > jumpEnd) break;
          ++count;
        }
        if (count > charCount + 1) {
          int64_t jumpWidth = measureAt(count);
          if (jumpWidth < widthDots) {
            charCount = count;
            width = jumpWidth;
            continue;
          }
          // Overshot: walk back to the first character that reaches the width.
          spareCount = charCount;
          spareWidth = width;
          while (count > charCount + 1) {
            const int64_t before = measureAt(count - 1);
            if (before < widthDots) {
              spareCount = count - 1;
              spareWidth = before;
              break;
            }
            --count;
            jumpWidth = before;
          }
          charCount = count;
          width = jumpWidth;
          break;
        }
      }
      if (charCount == charEnds.size()) nextChar();
      ++charCount;
      width = measureAt(charCount);
    }
    // Shrink while it is wider, keeping one character at least.
    while (width > widthDots && charCount > 1) {
      --charCount;
      width = measureAt(charCount);
    }
    // Word end: cut after the nearest blank, control byte or double-byte
    // character, but not before the second byte of the row.
    if (pieceEnd() < line.size()) {
      auto endsAtBreak = [&](size_t index) {
        const size_t end = charEnds[index];
        const size_t begin = index == 0 ? rowStart : charEnds[index - 1];
        return end - begin == 2 || IsBreakByte(static_cast<unsigned char>(line[end - 1]));
      };
      if (!endsAtBreak(charCount - 1)) {
        for (size_t index = charCount - 1; index-- > 0;) {
          if (charEnds[index] - rowStart <= 1) break;
          if (endsAtBreak(index)) {
            charCount = index + 1;
            break;
          }
        }
      }
    }
    const size_t rowEnd = pieceEnd();
    rows.push_back(line.substr(rowStart, rowEnd - rowStart));
    rowStart = rowEnd;
  }
  return rows;
}

}  // namespace kerv
