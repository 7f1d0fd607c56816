#include "document/TStringCodeConverter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/CharCode.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

using C = TStringCodeConverter;

TEST(TStringCodeConverterTest, DetectCode) {
  const std::string kana509 = "\x82\xA0" + std::string(509, 'a');
  struct Case {
    std::string text;
    bool utf8nCheck;
    int expected;
  } cases[] = {
      {"", true, ccAscii},
      {"plain ASCII\r\n", true, ccAscii},  // ASCII is not UTF-8N
      // Marks before everything, whatever follows and whatever the UTF-8 test says.
      {"\xFF\xFE" "a\0", false, ccUnicode},
      {"\xFE\xFF\0a", false, ccUnicodeBE},
      {"\xEF\xBB\xBF\x82\xA0", true, ccUTF8},
      // UTF-8N: one two-byte or four-byte sequence is enough, three-byte ones count from the second.
      {"\xC3\xA9", true, ccUTF8N},
      {"\xF0\x9F\x98\x80!", true, ccUTF8N},
      {"\xE3\x81\x82", true, ccShiftJIS},
      {"\xE3\x81\x82\xE3\x81\x84", true, ccUTF8N},
      {"\xE3\x81\x82\xE3\x81\x84", false, ccShiftJIS},
      {"\xE3\x81\x82\xE3\x81", true, ccShiftJIS},  // cut off at the end: not UTF-8
      // Control bytes: the first 512 bytes, not counting the last one, are the binary window.
      {"a\x01" "b", true, ccBinary},
      {"a\xFF" "b", true, ccBinary},
      {"ab\x01", true, ccAscii},
      {std::string("ab\0\x01\x01", 5), true, ccAscii},  // the text ends at a zero byte
      {kana509 + "\x01zz", true, ccBinary},                       // 0x01 is byte 512
      {kana509 + "a\x01z", true, ccShiftJIS},                     // byte 513: the scan decided first
      {std::string(600, 'a') + "\x01z", true, ccBinary},          // the scan sees it too
      // JIS escapes.
      {"\x1B$B", true, ccJIS83},
      {"\x1B$@0", true, ccJIS78},
      {"\x1B(B\x1B$", true, ccAscii},
      {"a\x1B$", true, ccAscii},
      // Shift_JIS, EUC and the undecided case.
      {"\x82\xA0", true, ccShiftJIS},
      {"\xB1\xB2\r\n", true, ccSJISOrEUC},
      {"\xA4\xA2\xA4\xF3", true, ccEUC},
      {"\xB1\xB2\x82\xA0\xA4\xF3", true, ccShiftJIS},  // 0x82 before any decisive EUC byte
      {"\x8E\xA1z", true, ccSJISOrEUC},
      {"\x8E\x40", true, ccShiftJIS},
      {"\xF0\xA1", true, ccEUC},
      {"\xE0\x40", true, ccShiftJIS},
      {"\xE0\xFD", true, ccEUC},
      {"\xE0\xA1z", true, ccSJISOrEUC},
      {"\x80\xA0z", true, ccAscii},
      // The look-ahead after a half-width pair that opens with 0xE0-0xEF.
      {"\xB1\xE0\xB1\x81", true, ccShiftJIS},
      {"\xB1\xE0\xFD", true, ccEUC},
      {"\xB1\xE0 \x81\x40", true, ccShiftJIS},  // stopped by the blank; the scan goes on after it
      {"\xB1\xE0\xF0 \xA4\xA2", true, ccSJISOrEUC},  // 0xF0 was passed over by the look-ahead
  };
  for (const Case& c : cases) {
    EXPECT_EQ(C::DetectCode(c.text, c.utf8nCheck), c.expected) << testing::PrintToString(c.text);
  }
}

// The UTF-8 test as written, one byte at a time.
bool ReferenceIsUTF8N(const std::string& text) {
  size_t L = std::min(text.find('\0'), text.size());
  auto at = [&](size_t i) -> unsigned { return static_cast<unsigned char>(text[i]); };
  auto sequence = [&](size_t& i, std::initializer_list<std::pair<unsigned, unsigned>> ranges, bool& complete) {
    size_t k = 1;
    for (auto [low, high] : ranges) {
      if (i + k >= L) return false;
      if (at(i + k) < low || at(i + k) > high) break;
      ++k;
    }
    complete = k == ranges.size() + 1;
    i += k;
    return true;
  };
  bool found = false, seenThree = false;
  for (size_t i = 0; i < L;) {
    unsigned c = at(i);
    bool complete = false;
    if (c < 0x80) {
      ++i;
    } else if (c >= 0xC0 && c <= 0xDF) {
      if (!sequence(i, {{0x80, 0xBF}}, complete)) return false;
      if (complete) found = true;
    } else if (c >= 0xE0 && c <= 0xEF) {
      if (!sequence(i, {{0x80, 0xBF}, {0x80, 0xBF}}, complete)) return false;
      if (complete && seenThree) found = true;
      if (complete) seenThree = true;
    } else if (c == 0xF0 || c == 0xF4 || (c >= 0xF1 && c <= 0xF3)) {
      std::pair<unsigned, unsigned> first = c == 0xF0 ? std::pair(0x90u, 0xBFu) : c == 0xF4 ? std::pair(0x80u, 0x8Fu) : std::pair(0x80u, 0xBFu);
      if (!sequence(i, {first, {0x80, 0xBF}, {0x80, 0xBF}}, complete)) return false;
      if (complete) found = true;
    } else {
      return false;
    }
  }
  return found;
}

TEST(TStringCodeConverterTest, IsUTF8NAgreesWithTheBytewiseTestOnRandomTexts) {
  std::mt19937 random(5);
  const std::string pieces[] = {"a", " ", "\xE3\x81\x82", "\xE4\xBA\x9C", "\xC3\xA9", "\xF0\x9F\x98\x80", "\xE3\x81",
                                "\xE3", "\xC3", "\x80", "\xF0\x80", "\xF4\x90", "\xF5", "\xFF", "\xEF\xBB\xBF", "\r\n"};
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    int count = static_cast<int>(random() % 30);
    for (int k = 0; k < count; ++k) {
      // Mostly well-formed three-byte sequences, as in Japanese text.
      text += random() % 3 == 0 ? pieces[random() % std::size(pieces)] : pieces[2 + random() % 2];
    }
    ASSERT_EQ(C::IsUTF8N(text), ReferenceIsUTF8N(text)) << testing::PrintToString(text);
  }
}

// The detection scan as written: 1-based positions, one step at a time.
int ReferenceDetect(const std::string& text, bool utf8nCheck) {
  size_t L = std::min(text.find('\0'), text.size());
  auto at = [&](size_t position) -> unsigned { return position >= 1 && position <= L ? static_cast<unsigned char>(text[position - 1]) : 0; };
  if (L >= 2 && at(1) == 0xFF && at(2) == 0xFE) return ccUnicode;
  if (L >= 2 && at(1) == 0xFE && at(2) == 0xFF) return ccUnicodeBE;
  if (L >= 3 && at(1) == 0xEF && at(2) == 0xBB && at(3) == 0xBF) return ccUTF8;
  if (utf8nCheck && C::IsUTF8N(text)) return ccUTF8N;
  for (size_t j = 1; j <= 512 && j < L; ++j) {
    if (at(j) < 0x08 || at(j) == 0xFF) return ccBinary;
  }
  int result = 0;
  size_t j = 1;
  auto in = [](unsigned b, unsigned low, unsigned high) { return b >= low && b <= high; };
  while ((result == 0 || result == 8) && j < L) {
    unsigned a = at(j);
    if (a == 0x1B) {
      if (at(++j) == '$') {
        unsigned b = at(++j);
        if (b == 0x42) result = 10;
        if (b == 0x40) result = 9;
      }
    } else if (a < 0x08 || a == 0xFF) {
      result = 11;
    } else if (a <= 0x7F) {
    } else if (in(a, 0x81, 0x8D) || in(a, 0x8F, 0x9F)) {
      result = 1;
    } else if (a == 0x8E) {
      unsigned b = at(++j);
      if (in(b, 0x40, 0x7E) || in(b, 0x80, 0xA0) || in(b, 0xE0, 0xFC)) result = 1;
      else if (in(b, 0xA1, 0xDF)) result = 8;
    } else if (in(a, 0xA1, 0xDF)) {
      unsigned b = at(++j);
      if (in(b, 0xF0, 0xFE)) {
        result = 3;
      } else if (in(b, 0xA1, 0xDF)) {
        result = 8;
      } else if (b <= 0x9F) {
        result = 1;
      } else if (in(b, 0xE0, 0xEF)) {
        result = 8;
        while (at(j) >= 0x40 && j <= L && result == 8) {
          unsigned c = at(j);
          if (in(c, 0x81, 0x8D) || in(c, 0x8F, 0x9C)) result = 1;
          else if (in(c, 0xFD, 0xFE)) result = 3;
          ++j;
        }
      }
    } else if (in(a, 0xF0, 0xFE)) {
      result = 3;
    } else if (in(a, 0xE0, 0xEF)) {
      unsigned b = at(++j);
      if (in(b, 0x40, 0x7E) || in(b, 0x80, 0xA0)) result = 1;
      else if (in(b, 0xFD, 0xFE)) result = 3;
      else if (in(b, 0xA1, 0xFC)) result = 8;
    }
    ++j;
  }
  return result;
}

// Long texts whose bytes favour the undecided cases, so that the scan's
// faster paths over runs of pairs are what decides.
TEST(TStringCodeConverterTest, DetectCodeAgreesWithTheStepwiseScanOnLongTexts) {
  std::mt19937 random(7);
  auto pick = [&](int low, int high) { return static_cast<char>(low + static_cast<int>(random() % (high - low + 1))); };
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    int pieces = static_cast<int>(random() % 40);
    for (int k = 0; k < pieces; ++k) {
      unsigned kind = random() % 100;
      int count = 1 + static_cast<int>(random() % 40);
      for (int m = 0; m < count; ++m) {
        if (kind < 50) {
          text += pick(0xA1, 0xEF);  // EUC pairs and Shift_JIS kana, either
        } else if (kind < 60) {
          text += "\x8E";
          text += pick(0xA1, 0xDF);
        } else if (kind < 75) {
          text += pick(0x20, 0x7E);
        } else if (kind < 80) {
          text += "\r\n";
        } else if (kind < 97) {
          text += pick(0x40, 0xFE);
        } else {
          text += pick(0x00, 0xFF);
          break;
        }
      }
    }
    ASSERT_EQ(C::DetectCode(text, false), ReferenceDetect(text, false)) << testing::PrintToString(text);
    ASSERT_EQ(C::DetectCode(text, true), ReferenceDetect(text, true)) << testing::PrintToString(text);
  }
}

// Random characters of every kind, in long runs, against the bytes each
// character must become.
TEST(TStringCodeConverterTest, JISAndEUCOfLongRandomTexts) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    std::string sjis, euc, jis;
    bool kanji = false;
    int length = static_cast<int>(random() % 400);
    for (int k = 0; k < length; ++k) {
      unsigned kind = random() % 100;
      if (kind < 80) {
        // JIS X 0208 rows 1-84 and the NEC row; rows 89-92 read back as IBM codes and stay out.
        uint8_t row = static_cast<uint8_t>(0x21 + random() % 0x54);
        uint8_t cell = static_cast<uint8_t>(0x21 + random() % 94);
        uint16_t code = C::JISPairToSJIS(row, cell);
        sjis += static_cast<char>(code >> 8);
        sjis += static_cast<char>(code);
        euc += static_cast<char>(row | 0x80);
        euc += static_cast<char>(cell | 0x80);
        if (!kanji) jis += "\x1B$B";
        kanji = true;
        jis += static_cast<char>(row);
        jis += static_cast<char>(cell);
      } else if (kind < 90) {
        char c = static_cast<char>(0x20 + random() % 0x5F);
        sjis += c;
        euc += c;
        if (kanji) jis += "\x1B(B";
        kanji = false;
        jis += c;
      } else {
        // Half-width katakana other than the marks, which would merge in JIS.
        unsigned char kana = static_cast<unsigned char>(0xA1 + random() % 0x3D);
        sjis += static_cast<char>(kana);
        euc += "\x8E";
        euc += static_cast<char>(kana);
        int consumed = 0;
        uint16_t full = C::KanaToJIS(kana, 0, consumed);
        if (!kanji) jis += "\x1B$B";
        kanji = true;
        jis += static_cast<char>(full >> 8);
        jis += static_cast<char>(full);
      }
    }
    if (kanji) jis += "\x1B(B";
    ASSERT_EQ(C::SJISToEUC(sjis), euc);
    ASSERT_EQ(C::EUCToSJIS(euc), sjis);
    ASSERT_EQ(C::SJISToJIS(sjis), jis);
    std::string backFromJis = C::JISToSJIS(jis);
    ASSERT_EQ(C::SJISToJIS(backFromJis), jis);
  }
}

TEST(TStringCodeConverterTest, IsUTF8N) {
  struct Case {
    std::string text;
    bool expected;
  } cases[] = {
      {"", false},
      {"ascii", false},
      {"\xC3\x41", false},          // a lead byte without continuation is passed over
      {"\xC3\x41\xC3\xA9", true},
      {"\xC3", false},              // missing byte
      {"\xE3\x41\xE3\x81\x82\xE3\x81\x82", true},
      {"\xE3\x81\x41\xE3\x81\x82", false},  // only one complete three-byte sequence
      {"\x80", false},
      {"a\xF5\x80\x80\x80", false},
      {"\xF0\x80\x80\x80", false},  // 0xF0 needs 0x90-0xBF; the 0x80 then starts nothing
      {"\xF4\x8F\xBF\xBF", true},
      {"\xF4\x90\x80\x80", false},
      {std::string("\xC3\xA9\0\xFF", 4), true},  // the text ends at the zero byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(C::IsUTF8N(c.text), c.expected) << testing::PrintToString(c.text);
  }
}

TEST(TStringCodeConverterTest, ReturnCodes) {
  struct Detect {
    std::string text;
    TReturnCode expected;
  } detects[] = {
      {"", rcNone}, {"abc", rcNone}, {"a\nb", rcLF}, {"a\r", rcCR}, {"a\r\nb", rcCRLF}, {"a\rb\r\n", rcCR}, {"a\nb\r\n", rcLF},
  };
  for (const Detect& d : detects) EXPECT_EQ(C::DetectReturnCode(d.text), d.expected) << d.text;

  struct Convert {
    std::string text;
    TReturnCode target;
    std::string expected;
    TReturnCode detected;
  } converts[] = {
      {"a\nb\n", rcCRLF, "a\r\nb\r\n", rcLF},
      {"a\r\nb\r\n", rcLF, "a\nb\n", rcCRLF},
      {"a\r\nb\r\n", rcCR, "a\rb\r", rcCRLF},
      {"a\rb\r\n", rcCRLF, "a\r\nb\r\n\n", rcCR},   // a CR LF pair in a CR text gains an LF
      {"a\nb\r\n", rcCRLF, "a\r\nb\r\r\n", rcLF},    // and in an LF text a CR
      {"a\r\nb\nc", rcLF, "a\nb\nc", rcCRLF},        // a lone LF of a CR LF text is copied
      {"a\r\nb\rc\r", rcLF, "a\nb\rc\r", rcCRLF},    // so is a lone CR, even the last byte
      {"a\r\nb", rcCRLF, "a\r\nb", rcCRLF},
      {"ab", rcLF, "ab", rcNone},
      {"a\nb", rcNone, "a\nb", rcLF},  // no target: the line breaks stay
  };
  for (const Convert& c : converts) {
    TReturnCodeConversion result = C::ConvertReturnCode(c.text, c.target);
    EXPECT_EQ(result.text, c.expected) << testing::PrintToString(c.text);
    EXPECT_EQ(result.detected, c.detected) << testing::PrintToString(c.text);
    std::string inPlace = c.text;
    EXPECT_EQ(C::ConvertReturnCodeInPlace(inPlace, c.target), c.detected);
    EXPECT_EQ(inPlace, c.expected);
  }
  std::string lf = "one\ntwo\n\nthree";
  EXPECT_EQ(C::ConvertReturnCode(C::ConvertReturnCode(lf, rcCRLF).text, rcLF).text, lf);
}

TEST(TStringCodeConverterTest, PairArithmetic) {
  struct Case {
    uint16_t jis, sjis;
  } cases[] = {{0x2121, 0x8140}, {0x2422, 0x82A0}, {0x2521, 0x8340}, {0x3021, 0x889F},
               {0x5021, 0x989F}, {0x5E7E, 0x9FFC}, {0x5F21, 0xE040}, {0x7426, 0xEAA4}, {0x2D21, 0x8740}};
  for (const Case& c : cases) {
    EXPECT_EQ(C::JISPairToSJIS(c.jis >> 8, c.jis & 0xFF), c.sjis);
    EXPECT_EQ(C::SJISPairToJIS(c.sjis >> 8, c.sjis & 0xFF), c.jis);
  }
  for (int a = 0x21; a <= 0x7E; ++a) {
    for (int b = 0x21; b <= 0x7E; ++b) {
      uint16_t sjis = C::JISPairToSJIS(static_cast<uint8_t>(a), static_cast<uint8_t>(b));
      ASSERT_TRUE(IsLeadByte(sjis >> 8));
      ASSERT_EQ(C::SJISPairToJIS(sjis >> 8, sjis & 0xFF), a << 8 | b);
    }
  }
}

TEST(TStringCodeConverterTest, KanaToJIS) {
  IconvCodePage cp;
  // Half-width katakana 0xA1-0xDF and what each becomes.
  const std::string fullWidth =
      "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
  std::string sjis;
  for (int a = 0xA1; a <= 0xDF; ++a) {
    int consumed = 0;
    uint16_t jis = C::KanaToJIS(static_cast<uint8_t>(a), 'x', consumed);
    EXPECT_EQ(consumed, 1);
    uint16_t pair = C::JISPairToSJIS(jis >> 8, jis & 0xFF);
    sjis += static_cast<char>(pair >> 8);
    sjis += static_cast<char>(pair);
  }
  EXPECT_EQ(cp.Cp932ToUtf8(sjis), fullWidth);

  struct Case {
    const char* pair;
    const char* expected;
    int consumed;
  } cases[] = {{"ｶﾞ", "ガ", 2}, {"ｳﾞ", "ヴ", 2}, {"ﾄﾞ", "ド", 2}, {"ﾊﾞ", "バ", 2}, {"ﾎﾟ", "ポ", 2},
               {"ｱﾞ", "ア", 1}, {"ｶﾟ", "カ", 1}, {"ﾏﾞ", "マ", 1}};
  for (const Case& c : cases) {
    std::string half = cp.Utf8ToCp932(c.pair, nullptr);
    int consumed = 0;
    uint16_t jis = C::KanaToJIS(static_cast<uint8_t>(half[0]), static_cast<uint8_t>(half[1]), consumed);
    uint16_t pair = C::JISPairToSJIS(jis >> 8, jis & 0xFF);
    EXPECT_EQ(cp.Cp932ToUtf8(std::string{static_cast<char>(pair >> 8), static_cast<char>(pair)}), c.expected) << c.pair;
    EXPECT_EQ(consumed, c.consumed) << c.pair;
  }
}

TEST(TStringCodeConverterTest, JIS) {
  // Kanji runs end with ESC ( B (ASCII), never ESC ( J (JIS-Roman, whose
  // readers turn a backslash into a yen sign), and a text ends in ASCII.
  struct Case {
    std::string sjis, jis;
  } cases[] = {
      {"abc", "abc"},
      {"\xB6\xDE\r\n", "\x1B$B\x25\x2C\x1B(B\r\n"},           // ｶﾞ is ガ
      {"\x88\x9F" "a", "\x1B$B\x30\x21\x1B(Ba"},              // 亜a
      {"\x88\x9F\x88\x9F", "\x1B$B\x30\x21\x30\x21\x1B(B"},   // back to ASCII at the end
      {"\x87\x40\xFA\x40", "\x1B$B\x2D\x21\x7C\x71\x1B(B"},   // ① and the IBM ⅰ (as its NEC code)
      {"\x88\x9F\\~", "\x1B$B\x30\x21\x1B(B\\~"},             // 亜\~: backslash and tilde stay ASCII
  };
  for (const Case& c : cases) {
    EXPECT_EQ(C::SJISToJIS(c.sjis), c.jis) << testing::PrintToString(c.sjis);
  }
  // Reading takes both escapes back to single bytes.
  EXPECT_EQ(C::JISToSJIS("\x1B$B\x30\x21\x7C\x71\x1B(Ja"), "\x88\x9F\xFA\x40" "a");
  EXPECT_EQ(C::JISToSJIS("\x1B$B\x30\x21\x1B(B\\~"), "\x88\x9F\\~");

  // JIS has no half-width katakana: they are written full-width and noted.
  ConversionReport replaced, widened;
  EXPECT_EQ(C::SJISToJIS("a\r\n\xB6\xDE\xB1", &replaced, &widened), "a\r\n\x1B$B\x25\x2C\x25\x22\x1B(B");
  EXPECT_EQ(replaced.replaced, 0u);
  EXPECT_EQ(widened.replaced, 2u);  // ｶﾞ is one character
  EXPECT_EQ(widened.firstReplaced, 3u);

  // Escapes around every character need more than three times the input.
  std::string alternating, expected;
  for (int k = 0; k < 5000; ++k) {
    alternating += "\xB1" "a";
    expected += "\x1B$B\x25\x22\x1B(Ba";
  }
  EXPECT_EQ(C::SJISToJIS(alternating), expected);

  struct Decode {
    std::string jis, sjis;
  } decodes[] = {
      {"a\x1B", "a\x1B"},                        // escapes cut off by the end stay
      {"a\x1B$", "a\x1B$"},
      {"\x1B$B\x30", "\x30"},                    // a lone final byte stays
      {"\x1B$B\x30\x21\r\n\x30\x21", "\x88\x9F\r\n\x88\x9F"},  // line ends inside a run survive
      {"\x1B(I\x31\x5F\x1B(Bz", "\xB1\xDF" "z"},  // JIS X 0201 katakana
      {std::string("a\0b", 3), "a"},           // the text ends at a zero byte
      {"\x1B$A\x30\x21", "\x88\x9F"},            // any other "$" escape starts a double-byte run too
  };
  for (const Decode& d : decodes) {
    EXPECT_EQ(C::JISToSJIS(d.jis), d.sjis) << testing::PrintToString(d.jis);
  }

  ConversionReport report;
  EXPECT_EQ(C::JISToSJIS("a\x1B$(D\x30\x21\x1B(Bb", &report), "a?b");  // JIS X 0212
  EXPECT_EQ(report.replaced, 1u);
  EXPECT_EQ(report.firstReplaced, 5u);
}

TEST(TStringCodeConverterTest, EUC) {
  struct Case {
    std::string sjis, euc;
  } cases[] = {
      {"a\x88\x9F", "a\xB0\xA1"},
      {"\xB1", "\x8E\xB1"},
      {"\x87\x40", "\xAD\xA1"},
      {"\xFA\x5C\xFB\xFC", "\xF9\xA1\xFC\xE2"},  // IBM kanji through their NEC-selected rows
  };
  for (const Case& c : cases) {
    EXPECT_EQ(C::SJISToEUC(c.sjis), c.euc) << testing::PrintToString(c.sjis);
    EXPECT_EQ(C::EUCToSJIS(c.euc), c.sjis) << testing::PrintToString(c.euc);
  }
  // The NEC-selected codes read back as the IBM codes code page 932 writes.
  EXPECT_EQ(C::EUCToSJIS(C::SJISToEUC("\xED\x40\xEE\xF9")), "\xFA\x5C\x81\xCA");

  struct Decode {
    std::string euc, sjis;
  } decodes[] = {
      {"\xA4", "\xA4"},                   // a lone final byte stays
      {"\xA4\r\n", "\xA4\r\n"},           // and does not swallow the line end
      {"\x8E\r", "\x8E\r"},
      {"\x80\xFF", "\x80\xFF"},
      {std::string("a\0\xB0\xA1", 4), "a"},
  };
  for (const Decode& d : decodes) {
    EXPECT_EQ(C::EUCToSJIS(d.euc), d.sjis) << testing::PrintToString(d.euc);
  }

  ConversionReport report;
  EXPECT_EQ(C::EUCToSJIS("a\x8F\xA2\xAF" "b", &report), "a?b");  // JIS X 0212
  EXPECT_EQ(report.firstReplaced, 1u);
  ConversionReport written;
  // The user-defined area and bytes that are no Shift_JIS character have no EUC form.
  EXPECT_EQ(C::SJISToEUC("a\xF0\x40\x80\x81\r\n", &written), "a???\r\n");
  EXPECT_EQ(written.replaced, 3u);
  EXPECT_EQ(written.firstReplaced, 1u);
  EXPECT_EQ(C::SJISToEUC("a\x81"), "a\x81");  // a lone final lead byte stays
}

TEST(TStringCodeConverterTest, UnicodeAndUTF8) {
  IconvCodePage cp;
  TStringCodeConverter converter(cp);
  EXPECT_EQ(converter.SJISToUnicode("a\x88\x9F"), std::string("a\0\x9C\x4E", 4));
  EXPECT_EQ(converter.SJISToUnicodeBE("a\x88\x9F"), std::string("\0a\x4E\x9C", 4));
  EXPECT_EQ(converter.SJISToUTF8("a\x88\x9F"), "a\xE4\xBA\x9C");

  // A mark is skipped only when it is there.
  EXPECT_EQ(converter.UnicodeToSJIS(std::string("\xFF\xFE" "a\0", 4)), "a");
  EXPECT_EQ(converter.UnicodeToSJIS(std::string("a\0b\0", 4)), "ab");
  EXPECT_EQ(converter.UnicodeBEToSJIS(std::string("\xFE\xFF\0a", 4)), "a");
  EXPECT_EQ(converter.UnicodeBEToSJIS(std::string("\0a\0b", 4)), "ab");
  EXPECT_EQ(converter.UTF8ToSJIS("\xEF\xBB\xBF" "abc"), "abc");
  EXPECT_EQ(converter.UTF8ToSJIS("abc"), "abc");
  EXPECT_EQ(converter.UTF8NToSJIS("\xE4\xBA\x9C"), "\x88\x9F");

  // The text ends at the first zero unit; an odd last byte is dropped, and
  // said so as what it is (not a character that became "?").
  EXPECT_EQ(converter.UnicodeToSJIS(std::string("\xFF\xFE" "a\0\0\0b\0", 8)), "a");
  TDecodeReport odd;
  EXPECT_EQ(converter.ToInternal(std::string("\xFF\xFE" "a\0b", 5), ccUnicode, &odd), "a");
  EXPECT_EQ(odd.replaced.replaced, 0u);
  EXPECT_TRUE(odd.oddLastByte);

  // The whole text, zero units and zero bytes included, for a converter.
  EXPECT_EQ(converter.ToInternal(std::string("\xFF\xFE" "a\0\0\0b\0", 8), ccUnicode, nullptr, true),
            std::string("a\0b", 3));
  EXPECT_EQ(converter.ToInternal(std::string("a\0\xE4\xBA\x9C", 5), ccUTF8N, nullptr, true), std::string("a\0\x88\x9F", 4));
  EXPECT_EQ(converter.ToInternal(std::string("\x1B$B\x30\x21\x1B(Ba\0b", 11), ccJIS, nullptr, true),
            std::string("\x88\x9F" "a\0b", 5));

  // Replacements are reported at byte offsets of the input.
  ConversionReport utf16;
  EXPECT_EQ(converter.UnicodeToSJIS(std::string("\xFF\xFE" "a\0\xE9\0", 6), &utf16), "a?");
  EXPECT_EQ(utf16.firstReplaced, 4u);
  ConversionReport utf8;
  EXPECT_EQ(converter.UTF8ToSJIS("\xEF\xBB\xBF" "a\xC3\xA9", &utf8), "a?");
  EXPECT_EQ(utf8.firstReplaced, 4u);

  TDecodeReport decode;
  converter.ToInternal(std::string("\xFF\xFE" "a\0\0\0b\0", 8), ccUnicode, &decode);
  EXPECT_EQ(decode.endedAt, 4u);

  // Longer texts, where whole blocks of code units are taken at once.
  std::string little = "\xFF\xFE", big = "\xFE\xFF";
  for (int k = 0; k < 21; ++k) {
    little += std::string("\x42\x30", 2);  // あ
    big += std::string("\x30\x42", 2);
  }
  const std::string tail("\0\0z\0", 4);
  TDecodeReport littleReport, bigReport;
  std::string expected;
  for (int k = 0; k < 21; ++k) expected += "\x82\xA0";
  EXPECT_EQ(converter.ToInternal(little + tail, ccUnicode, &littleReport), expected);
  EXPECT_EQ(converter.ToInternal(big + tail, ccUnicodeBE, &bigReport), expected);
  EXPECT_EQ(littleReport.endedAt, 44u);
  EXPECT_EQ(bigReport.endedAt, 44u);
}

// A text with every kind of character, through every code and back.
TEST(TStringCodeConverterTest, RoundTrips) {
  IconvCodePage cp;
  TStringCodeConverter converter(cp);
  const std::string text = cp.Utf8ToCp932("漢字かなカナ\r\nｶﾞｷﾞｱ ①Ⅰ㍉ ⅰ纊髙 \\~ #\r\nend", nullptr);
  // JIS has no half-width katakana: they come back full-width.
  const std::string fullWidth = cp.Utf8ToCp932("漢字かなカナ\r\nガギア ①Ⅰ㍉ ⅰ纊髙 \\~ #\r\nend", nullptr);
  for (TCharCode code : {ccShiftJIS, ccJIS, ccEUC, ccUnicode, ccUnicodeBE, ccUTF8, ccUTF8N}) {
    ConversionReport written;
    std::string bytes = converter.FromInternal(text, code, &written);
    TDecodeReport read;
    EXPECT_EQ(converter.ToInternal(bytes, code, &read), code == ccJIS ? fullWidth : text) << CharCodeName(code);
    EXPECT_EQ(written.replaced, 0u) << CharCodeName(code);
    EXPECT_EQ(read.replaced.replaced, 0u) << CharCodeName(code);
  }
}

TEST(TStringCodeConverterTest, NamesOfCodes) {
  EXPECT_STREQ(CharCodeName(ccAscii), "ASCII");
  EXPECT_STREQ(CharCodeName(ccUnicodeBE), "Unicode(BE)");
  EXPECT_STREQ(CharCodeName(ccUTF8N), "UTF-8N");
  EXPECT_STREQ(CharCodeName(ccBinary), "Binary");
  EXPECT_STREQ(CharCodeName(static_cast<TCharCode>(200)), "Binary");
  EXPECT_STREQ(DetectionName(ccSJISOrEUC), "Shift-JIS/EUC");
  EXPECT_STREQ(DetectionName(ccJIS78), "JIS");
  EXPECT_STREQ(DetectionName(ccJIS83), "JIS");
  EXPECT_STREQ(ReturnCodeName(rcNone), "none");
  EXPECT_STREQ(ReturnCodeName(rcCR), "CR");
}

// Converting over the input's own bytes (one piece, or two on two threads
// for a big text) gives what the copying conversion gives: the text, the
// count and input offset of replacements, the end at a zero byte, and the
// text offset of the first "?".
TEST(TStringCodeConverterTest, Utf8OverItsOwnBytesEqualsTheCopyingConversion) {
  IconvCodePage cp;
  TStringCodeConverter converter(cp);
  const std::vector<std::string> pieces = {
      "a", "Zz 09", "\r\n", "\n", "\r", "\xE6\x97\xA5\xE6\x9C\xAC",  // 日本
      "\xEF\xBD\xB1",                                                  // half-width katakana: 3 bytes to 1
      "\xC2\xA7", "\xC3\xA9",                                          // two-byte forms, with and without a code
      "\xF0\x9F\x98\x80",                                              // no Shift_JIS form
      "\xE3\x81", "\x80", "\xFF", "\xED\xA0\x80",                      // malformed
  };
  std::mt19937 random(2024);
  for (int round = 0; round < 24; ++round) {
    // Some texts are past the size at which the work is shared by two threads.
    const size_t target = round % 3 == 0 ? (size_t{9} << 19) + random() % 4096 : random() % 3000;
    std::string bytes = round % 4 == 1 ? "\xEF\xBB\xBF" : "";
    while (bytes.size() < target) {
      // Mostly clean text, so that replacements, when there are any, come late as well as early.
      size_t pick = random() % 100 < 97 ? random() % 7 : random() % pieces.size();
      bytes += pieces[pick];
    }
    if (round % 6 == 5) bytes.insert(bytes.size() * 3 / 4, 1, '\0');
    for (TCharCode code : {ccUTF8, ccUTF8N}) {
      SCOPED_TRACE(testing::Message() << "round " << round << " code " << code << " size " << bytes.size());
      TDecodeReport expected;
      const std::string text = converter.ToInternal(bytes, code, &expected);
      std::string over = bytes;
      TDecodeReport got;
      size_t textReplacedAt = ConversionReport::npos;
      ASSERT_TRUE(converter.Utf8ToInternalOver(over, code, &got, &textReplacedAt));
      ASSERT_EQ(over.size(), text.size());
      ASSERT_TRUE(over == text);
      EXPECT_EQ(got.replaced.replaced, expected.replaced.replaced);
      EXPECT_EQ(got.replaced.firstReplaced, expected.replaced.firstReplaced);
      EXPECT_EQ(got.endedAt, expected.endedAt);
      if (expected.replaced.replaced == 0) {
        EXPECT_EQ(textReplacedAt, ConversionReport::npos);
      } else {
        ASSERT_LT(textReplacedAt, text.size());
        EXPECT_EQ(text[textReplacedAt], '?');
        // The characters before it in the text are those before it in the input.
        EXPECT_EQ(converter.ToInternal(std::string_view(bytes).substr(0, expected.replaced.firstReplaced), code),
                  text.substr(0, textReplacedAt));
      }
    }
  }
}

// A code page without the path leaves the bytes as they were.
TEST(TStringCodeConverterTest, Utf8OverNeedsTheCodePagesPath) {
  class Plain : public ICodePage {
   public:
    std::u16string Cp932ToUtf16(std::string_view) override { return {}; }
    std::string Utf16ToCp932(std::u16string_view, ConversionReport*) override { return {}; }
    std::u16string Utf8ToUtf16(std::string_view, ConversionReport*) override { return {}; }
    std::string Utf16ToUtf8(std::u16string_view) override { return {}; }
  } plain;
  TStringCodeConverter converter(plain);
  std::string bytes(size_t{5} << 20, 'a');
  bytes[100] = '\n';
  bytes[size_t{3} << 20] = '\n';
  const std::string before = bytes;
  EXPECT_FALSE(converter.Utf8ToInternalOver(bytes, ccUTF8N, nullptr, nullptr));
  EXPECT_TRUE(bytes == before);
}

}  // namespace
}  // namespace kerv
