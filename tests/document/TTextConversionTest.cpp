#include "document/TTextConversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/CharCode.h"
#include "document/TStringCodeConverter.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

using C = TStringCodeConverter;

IconvCodePage& CodePage() {
  static IconvCodePage codePage;
  return codePage;
}

struct Result {
  std::string bytes;
  TConversionLoss loss;
};

Result Whole(const std::string& input, TCharCode from, TCharCode to, TReturnCode ret) {
  TTextConversion conversion(CodePage(), from, to, ret);
  Result result;
  result.bytes = conversion.ConvertWhole(input);
  result.loss = conversion.Loss();
  return result;
}

// The input fed in blocks of feedBytes, converted in pieces of pieceBytes.
Result Streamed(const std::string& input, TCharCode from, TCharCode to, TReturnCode ret, size_t pieceBytes,
                size_t feedBytes) {
  TTextConversion conversion(CodePage(), from, to, ret);
  conversion.SetPieceBytes(pieceBytes);
  Result result;
  auto sink = [&result](std::string_view bytes) { result.bytes.append(bytes); };
  for (size_t at = 0; at < input.size(); at += feedBytes) conversion.Feed(std::string_view(input).substr(at, feedBytes), sink);
  conversion.Finish(sink);
  result.loss = conversion.Loss();
  return result;
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes.substr(0, 200)) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

void ExpectSame(const std::string& input, TCharCode from, TCharCode to, TReturnCode ret, size_t pieceBytes,
                size_t feedBytes) {
  Result whole = Whole(input, from, to, ret);
  Result streamed = Streamed(input, from, to, ret, pieceBytes, feedBytes);
  SCOPED_TRACE("from " + std::to_string(from) + " to " + std::to_string(to) + " ret " + std::to_string(ret) +
               " piece " + std::to_string(pieceBytes) + " feed " + std::to_string(feedBytes) + " input " + Hex(input));
  ASSERT_EQ(Hex(streamed.bytes), Hex(whole.bytes));
  ASSERT_EQ(streamed.bytes, whole.bytes);
  EXPECT_EQ(streamed.loss.replaced, whole.loss.replaced);
  EXPECT_EQ(streamed.loss.widened, whole.loss.widened);
  EXPECT_EQ(streamed.loss.oddByte, whole.loss.oddByte);
  EXPECT_EQ(streamed.loss.firstLine, whole.loss.firstLine);
}

constexpr TCharCode kFrom[] = {ccAscii, ccShiftJIS, ccJIS, ccEUC, ccUnicode, ccUnicodeBE, ccUTF8, ccUTF8N, ccBinary};
constexpr TCharCode kTo[] = {ccShiftJIS, ccJIS, ccEUC, ccUnicode, ccUnicodeBE, ccUTF8, ccUTF8N};
constexpr TReturnCode kReturns[] = {rcNone, rcCRLF, rcLF, rcCR};

// A Shift_JIS text as a document in code would hold it (marks included).
std::string InCode(const std::string& sjis, TCharCode code) {
  return C(CodePage()).FromInternal(sjis, code);
}

// Texts whose pieces are cut inside characters, CR LF pairs and escapes when
// the pieces are a few bytes long.
const std::vector<std::string>& SjisTexts() {
  static const std::vector<std::string> texts = {
      "",
      "a",
      "\x1A",
      "a\x1A",
      "a\x1A\x1A",
      "\r",
      "\n",
      "\r\n",
      "\r\r\n\n",
      "\x93\xFA\x96\x7B\x8C\xEA\r\n\x82\xA0\x82\xA2\r\n",                  // 日本語 あい
      "\x93\xFA\r\x96\x7B\r\x8C\xEA\r",                                    // CR returns
      "\x93\xFA\n\x96\x7B\r\n\x8C\xEA\rx\r",                               // every kind, the first LF
      "\xB6\xDE\xB7\xDF\xCA\xDF\xB3\xDE\r\n\xB1\xB2",                      // half-width katakana with marks
      "\x87\x40\x87\x90\xFA\x40\xFA\x5C\xED\x40\xF0\x40\r\n",              // NEC and IBM rows, a user-defined one
      "\x93\xFA\x1A\x96\x7B\x1A",                                          // 0x1A inside and at the end
      "\x93\xFA" "a\x00" "b\x01\x02\x1B$B\x1B(B\r\n\x82",                  // control bytes, an ESC, a lone lead at the end
      "\x82\r\n\x82\x0A\x82",                                              // lead bytes before line breaks
      "   \x93\xFA\x93\xFA\x93\xFA\x93\xFA \x93\xFA\x93\xFA\x93\xFA\x93\xFA\x93\xFA\x93\xFA\x93\xFA\x93\xFA",  // long lines
      "\r\n\r\n\r\n\x1A",
  };
  return texts;
}

TEST(TTextConversionTest, StreamedEqualsWholeForEveryCodeAndReturn) {
  for (const std::string& sjis : SjisTexts()) {
    for (TCharCode from : kFrom) {
      const std::string input = InCode(sjis, from);
      for (TCharCode to : kTo) {
        for (TReturnCode ret : kReturns) {
          for (size_t piece : {1, 2, 3, 5, 8, 64}) {
            for (size_t feed : {size_t{1}, size_t{7}, input.size() + 1}) {
              ExpectSame(input, from, to, ret, piece, feed);
              if (HasFatalFailure()) return;
            }
          }
        }
      }
    }
  }
}

TEST(TTextConversionTest, StreamedEqualsWholeOnDamagedInput) {
  // Bytes that matter to the codes and to line breaks, at random.
  static const char kBytes[] =
      "\r\n\x1A\x1B\x00\x01 a$B(J@DI\x8E\x8F\x82\xA0\xA1\xA4\xDE\xDF\xE3\x81\x93\xFA\xEF\xBB\xBF\xFE\xFF"
      "\xD8\xDC\xC3\xA9\xF0\x9F";
  const std::string alphabet(kBytes, sizeof kBytes - 1);  // the zero byte in it included
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    std::string input;
    const size_t length = random() % 40;
    for (size_t k = 0; k < length; ++k) input += alphabet[random() % alphabet.size()];
    for (TCharCode from : kFrom) {
      for (TCharCode to : kTo) {
        const TReturnCode ret = kReturns[random() % 4];
        const size_t piece = 1 + random() % 9;
        const size_t feed = 1 + random() % 11;
        ExpectSame(input, from, to, ret, piece, feed);
        if (HasFatalFailure()) return;
      }
    }
  }
}

TEST(TTextConversionTest, LossesCountAndNameTheirFirstLine) {
  // Line 3 holds a character Shift_JIS lacks; line 2 half-width katakana, which JIS widens.
  const std::string utf8 = "a\r\n\xEF\xBD\xB6\r\n\xF0\x9F\x98\x80\r\n";
  for (size_t piece : {1, 4, 100}) {
    Result sjis = Streamed(utf8, ccUTF8N, ccShiftJIS, rcNone, piece, 3);
    EXPECT_EQ(sjis.loss.replaced, 1u);
    EXPECT_EQ(sjis.loss.firstLine, 3);
    Result jis = Streamed(utf8, ccUTF8N, ccJIS, rcLF, piece, 3);
    EXPECT_EQ(jis.loss.widened, 1u);
    EXPECT_EQ(jis.loss.firstLine, 2);
    EXPECT_EQ(jis.bytes, "a\n\x1B$B%+\x1B(B\n?\n");
  }
  Result odd = Streamed(std::string("\xFF\xFE" "a\0\n\0b", 7), ccUnicode, ccUTF8N, rcNone, 2, 1);
  EXPECT_TRUE(odd.loss.oddByte);
  EXPECT_EQ(odd.loss.firstLine, 2);
  EXPECT_EQ(odd.bytes, "a\n");
}

TEST(TTextConversionTest, PiecesAreCutAtLineEndsAndNeverInsideAnEscapeOrBeforeAnLf) {
  struct Case {
    std::string bytes;
    TCharCode code;
    size_t end;
  } cases[] = {
      {"ab\r\ncd", ccShiftJIS, 4},
      {"ab\r", ccShiftJIS, 0},            // the CR waits for what follows
      {"ab\rc", ccShiftJIS, 3},           // a lone CR
      {"a\x1B$B\n\nb", ccJIS, 6},         // the first LF may belong to the escape
      {"a\r\x1B(Bb", ccJIS, 0},            // the escape vanishes: the CR may meet an LF
      {"\x93\xFA\x93\xFA", ccShiftJIS, 0},
      {"\x93\xFA \x93\xFA", ccShiftJIS, 3},  // no line end: after a blank
      {"\x93\xFA\x1A\x93", ccShiftJIS, 0},   // not after the end-of-file byte
      {std::string("a\0\n\0b\0", 6), ccUnicode, 4},
      {std::string("\0a\0\r\0\n", 6), ccUnicodeBE, 6},
  };
  for (const Case& c : cases) EXPECT_EQ(C::PieceEnd(c.bytes, c.code), c.end) << Hex(c.bytes);
}

TEST(TTextConversionTest, DetectorEqualsDetectCodeWhateverThePieces) {
  static const char kBytes[] =
      "\r\na$@B(\x1B\x00\x01\x07\x08\x80\x81\x8E\x8F\x9D\xA0\xA1\xC0\xC3\xDF\xE0"
      "\xE3\xEF\xF0\xF4\xF5\xFD\xFE\xFF\xBB\xBF\x40\x7F\xFC";
  const std::string alphabet(kBytes, sizeof kBytes - 1);  // the zero byte in it included
  // Escapes, look-aheads and UTF-8 sequences that pieces cut.
  std::vector<std::string> texts;
  for (const std::string& core : {std::string("\x1B$B"), std::string("\x1B$@"), std::string("\x1B(B"),
                                  std::string("\xA4\xE0\xE0\xE0\xE0\xE0\x81"), std::string("\xA4\xE0\xE0\xE0\xFD"),
                                  std::string("\xE3\x81\x82\xE3\x81\x84"), std::string("\xF0\x9F\x98\x80"),
                                  std::string("\xC3\xA9\x80"), std::string("\x8E\xA1\x8E\xA2")}) {
    for (size_t before = 0; before < 6; ++before) {
      texts.push_back(std::string(before, 'a') + core);
      texts.push_back(std::string(before, 'a') + core + "ab");
    }
  }
  for (const std::string& text : texts) {
    for (bool utf8nCheck : {true, false}) {
      const TCharCode expected = C::DetectCode(text, utf8nCheck);
      for (size_t feed : {1, 2, 3, 4}) {
        TCodeDetector detector(utf8nCheck);
        for (size_t at = 0; at < text.size() && !detector.Decided(); at += feed) detector.Feed(text.substr(at, feed));
        detector.Finish();
        ASSERT_EQ(detector.Result(), expected) << Hex(text) << " feed " << feed << " utf8n " << utf8nCheck;
      }
    }
  }
  std::mt19937 random(777);
  for (int round = 0; round < 4000; ++round) {
    std::string text;
    // Some texts long enough for the binary test's 512 bytes.
    const size_t length = round % 10 == 0 ? 500 + random() % 40 : random() % 30;
    for (size_t k = 0; k < length; ++k) {
      text += random() % 3 == 0 ? 'a' : alphabet[random() % alphabet.size()];
    }
    for (bool utf8nCheck : {true, false}) {
      const TCharCode expected = C::DetectCode(text, utf8nCheck);
      for (size_t feed : {1, 2, 3, 5, 16, 1000}) {
        TCodeDetector detector(utf8nCheck);
        for (size_t at = 0; at < text.size() && !detector.Decided(); at += feed) detector.Feed(text.substr(at, feed));
        detector.Finish();
        ASSERT_TRUE(detector.Decided());
        ASSERT_EQ(detector.Result(), expected) << Hex(text) << " feed " << feed << " utf8n " << utf8nCheck;
      }
    }
  }
}

TEST(TTextConversionTest, DetectorDecidesShiftJisByItsFirstBytesAndUtf8ByItsEnd) {
  TCodeDetector sjis(true);
  sjis.Feed(std::string(600, 'a') + "\x93\xFA\x96\x7B");
  EXPECT_TRUE(sjis.Decided());
  EXPECT_EQ(sjis.Result(), ccShiftJIS);
  TCodeDetector utf8(true);
  utf8.Feed(std::string(600, 'a') + "\xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_FALSE(utf8.Decided());  // a later byte may still make it no UTF-8
  utf8.Finish();
  EXPECT_EQ(utf8.Result(), ccUTF8N);
}

TEST(TTextConversionTest, CountsLineBreaksAsLineNumbersDo) {
  EXPECT_EQ(CountLineBreaks("a\r\nb\rc\nd\r", ccShiftJIS), 4u);
  EXPECT_EQ(CountLineBreaks(std::string("a\0\r\0\n\0\r\0", 8), ccUnicode), 2u);
  EXPECT_EQ(CountLineBreaks("", ccShiftJIS), 0u);
}

}  // namespace
}  // namespace kerv
