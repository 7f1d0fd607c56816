// Cutting a printed line into rows: the word ends, the double-byte
// characters, the narrow columns, and invariants over random lines.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "print/WrapText.h"
#include "print/fake/FixedWidthMeasurer.h"
#include "tests/print/PrintTestSupport.h"

namespace kerv {
namespace {

using test::S;
using test::U;

std::vector<std::string> Rows(const std::string& line, int64_t widthDots, IPrintMeasurer& measurer) {
  std::vector<std::string> rows;
  for (std::string_view row : WrapText(line, widthDots, measurer)) rows.push_back(U(row));
  return rows;
}

struct WrapCase {
  const char* name;
  const char* line;  // UTF-8, made Shift_JIS
  int64_t widthDots;  // 10 dots a byte
  std::vector<std::string> rows;
};

TEST(WrapTextTest, Cases) {
  const WrapCase cases[] = {
      {"empty line", "", 50, {""}},
      {"exactly as wide as the box", "abcde", 50, {"abcde"}},
      {"one byte wider: after the last blank", "ab cdef", 60, {"ab ", "cdef"}},
      {"one byte wider: after a double-byte character", "あいabcd", 70, {"あい", "abcd"}},
      {"letters without blanks cut at the width", "abcdefghij", 40, {"abcd", "efgh", "ij"}},
      {"double-byte character wider than the column", "あ", 10, {"あ"}},
      {"each double-byte character a row", "あい", 10, {"あ", "い"}},
      {"letter then wide character", "aあ", 10, {"a", "あ"}},
      {"estimate on a lead byte steps back", "aあbc", 40, {"aあ", "bc"}},
      {"a blank as first byte is no word end", " abcdef", 50, {" abcd", "ef"}},
      {"cut on a blank stays", "abc def", 40, {"abc ", "def"}},
      {"a control byte is a word end", "ab\tcdef", 60, {"ab\t", "cdef"}},
      {"a rest that fits is one row", "abcd ef gh", 60, {"abcd ", "ef gh"}},
      {"half-width katakana are letters", "ｱｲｳｴｵ", 30, {"ｱｲｳ", "ｴｵ"}},
      {"0x5C as a trail byte", "表示abc", 50, {"表示", "abc"}},
      {"width below one counts as one", "ab", 0, {"a", "b"}},
  };
  for (const WrapCase& c : cases) {
    FixedWidthMeasurer measurer;
    EXPECT_EQ(Rows(S(c.line), c.widthDots, measurer), c.rows) << c.name;
  }
}

TEST(WrapTextTest, LoneLeadByteAtTheEndIsOneCharacter) {
  FixedWidthMeasurer measurer;
  const std::string line = "ab\x82";
  std::vector<std::string_view> rows = WrapText(line, 10, measurer);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2], "\x82");
}

// Widths that differ by character: ASCII 7, a double-byte character 15,
// anything else 9 (a blank or control byte 4).
class ProportionalMeasurer : public IPrintMeasurer {
 public:
  int64_t calls = 0;
  void SelectFont(const TPageFont&) override {}
  TPrintFontMetrics Metrics() override { return {20, 8, false}; }
  int64_t TextWidth(std::string_view text) override {
    ++calls;
    int64_t width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const auto b = static_cast<unsigned char>(text[i]);
      if (IsLeadByte(b) && i + 1 < text.size()) {
        width += 15;
        ++i;
      } else {
        width += b <= 0x20 ? 4 : b < 0x80 ? 7 : 9;
      }
    }
    return width;
  }
};

std::string RandomLine(std::mt19937& random) {
  std::string line;
  const int pieces = std::uniform_int_distribution<int>(0, 60)(random);
  for (int i = 0; i < pieces; ++i) {
    switch (std::uniform_int_distribution<int>(0, 5)(random)) {
      case 0: line += ' '; break;
      case 1: line += '\t'; break;
      case 2: line += static_cast<char>(std::uniform_int_distribution<int>('a', 'z')(random)); break;
      case 3: line += static_cast<char>(std::uniform_int_distribution<int>(0xA1, 0xDF)(random)); break;
      default: {
        int lead = std::uniform_int_distribution<int>(0, 59)(random);
        lead = lead < 31 ? 0x81 + lead : 0xE0 + (lead - 31);
        int trail = std::uniform_int_distribution<int>(0x40, 0xFC)(random);
        if (trail == 0x7F) trail = 0x80;
        line += static_cast<char>(lead);
        line += static_cast<char>(trail);
      }
    }
  }
  // Now and then a lead byte with nothing after it.
  if (std::uniform_int_distribution<int>(0, 9)(random) == 0) line += '\x88';
  return line;
}

// The byte offsets where characters of line start, and its end.
std::vector<bool> CharStarts(const std::string& line) {
  std::vector<bool> starts(line.size() + 1, false);
  for (size_t i = 0; i < line.size();) {
    starts[i] = true;
    i += IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1;
  }
  starts[line.size()] = true;
  return starts;
}

TEST(WrapTextTest, RandomLinesKeepTheInvariants) {
  std::mt19937 random(20240305);
  FixedWidthMeasurer fixed;
  ProportionalMeasurer proportional;
  for (int round = 0; round < 4000; ++round) {
    const std::string line = RandomLine(random);
    const int64_t width = std::uniform_int_distribution<int64_t>(1, 200)(random);
    IPrintMeasurer& measurer = round % 2 ? static_cast<IPrintMeasurer&>(fixed) : proportional;
    const std::vector<std::string_view> rows = WrapText(line, width, measurer);
    const std::vector<bool> starts = CharStarts(line);
    std::string joined;
    size_t offset = 0;
    for (std::string_view row : rows) {
      ASSERT_TRUE(!row.empty() || line.empty()) << "empty row, round " << round;
      ASSERT_TRUE(starts[offset]) << "a row starts inside a character, round " << round;
      offset += row.size();
      ASSERT_TRUE(starts[offset]) << "a row ends inside a character, round " << round;
      const bool oneChar = row.size() == 1 || (row.size() == 2 && !starts[offset - 1]);
      ASSERT_TRUE(measurer.TextWidth(row) <= width || oneChar) << "row too wide, round " << round;
      // A row cut short of the width ends after a blank, a control byte or
      // a double-byte character.
      if (offset < line.size()) {
        const bool atBreak = !starts[offset - 1] || static_cast<unsigned char>(line[offset - 1]) <= 0x20;
        size_t next = offset + 1;
        while (!starts[next]) ++next;
        const std::string_view longer(line.data() + offset - row.size(), row.size() + next - offset);
        ASSERT_TRUE(atBreak || measurer.TextWidth(longer) > width) << "row cut early, round " << round;
      }
      joined += row;
    }
    ASSERT_EQ(joined, line) << "round " << round;
  }
}

// The rule step by step, one character at a time, on the byte classes of
// the remaining text ('4' lead, '5' trail, '1' other above 0x20, '2' the
// rest), positions counted from 1.
std::vector<std::string> StepByStepRows(std::string line, int64_t width, IPrintMeasurer& measurer) {
  auto w = [&](size_t bytes) { return measurer.TextWidth(std::string_view(line).substr(0, bytes)); };
  const int64_t lineWidth = measurer.TextWidth(line);
  if (line.empty() || lineWidth <= width) return {line};
  const int64_t n = (lineWidth + width - 1) / width;
  const size_t guess = line.size() / static_cast<size_t>(n);
  std::vector<std::string> rows;
  while (!line.empty()) {
    std::string classes;
    for (size_t i = 0; i < line.size(); ++i) {
      const auto b = static_cast<unsigned char>(line[i]);
      if (IsLeadByte(b) && i + 1 < line.size()) {
        classes += "45";
        ++i;
      } else {
        classes += b > 0x20 ? '1' : '2';
      }
    }
    size_t p = std::min(guess, line.size());
    if (p > 0 && classes[p - 1] == '4') --p;
    while (p < line.size() && w(p) < width) p += classes[p] == '4' ? 2 : 1;
    while (w(p) > width && p > (classes[0] == '4' ? 2u : 1u)) p -= classes[p - 1] == '5' ? 2 : 1;
    if (p < line.size() && classes[p - 1] != '2' && classes[p - 1] != '5') {
      for (size_t q = p - 1; q > 1; --q) {
        if (classes[q - 1] == '2' || classes[q - 1] == '5') {
          p = q;
          break;
        }
      }
    }
    rows.push_back(line.substr(0, p));
    line.erase(0, p);
  }
  return rows;
}

TEST(WrapTextTest, SameRowsAsStepByStep) {
  std::mt19937 random(7);
  FixedWidthMeasurer fixed;
  ProportionalMeasurer proportional;
  for (int round = 0; round < 4000; ++round) {
    std::string line = RandomLine(random);
    if (round % 3 == 0) line += line + line;
    const int64_t width = std::uniform_int_distribution<int64_t>(1, 300)(random);
    IPrintMeasurer& measurer = round % 2 ? static_cast<IPrintMeasurer&>(fixed) : proportional;
    std::vector<std::string> rows;
    for (std::string_view row : WrapText(line, width, measurer)) rows.emplace_back(row);
    ASSERT_EQ(rows, StepByStepRows(line, width, measurer)) << "round " << round << " width " << width;
  }
}

TEST(WrapTextTest, LongLineCostsFewMeasurementsPerRow) {
  FixedWidthMeasurer measurer;
  std::string line;
  while (line.size() < 100000) line += S("吾輩は猫である。名前はまだ無い。 text 2026 ");
  const std::vector<std::string_view> rows = WrapText(line, 800, measurer);
  EXPECT_GT(rows.size(), 1000u);
  EXPECT_LT(measurer.widthCalls, static_cast<int64_t>(rows.size()) * 8) << rows.size() << " rows";
}

// A platform that measures in 32 bits reports long texts as negative.
class OverflowingMeasurer : public FixedWidthMeasurer {
 public:
  int64_t TextWidth(std::string_view sjis) override {
    return sjis.size() > 700 ? -1 : FixedWidthMeasurer::TextWidth(sjis);
  }
};

TEST(WrapTextTest, OverflowedMeasurementIsMeasuredInPieces) {
  std::string line;
  while (line.size() < 5000) line += S("あいうえお abc ");
  FixedWidthMeasurer plain;
  OverflowingMeasurer overflowing;
  EXPECT_EQ(SafeTextWidth(line, overflowing), SafeTextWidth(line, plain));
  EXPECT_EQ(WrapText(line, 333, overflowing), WrapText(line, 333, plain));
}

}  // namespace
}  // namespace kerv
