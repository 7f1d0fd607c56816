#pragma once
// Detection and conversion of character codes and return codes between a
// document's bytes and the internal text (Shift_JIS, CR LF).
//
// Inputs carry their length. Where a document's bytes are decoded (JIS, EUC,
// UTF-8, UTF-16) the text still ends at its first zero byte (zero code unit),
// as documents have always been read; everything else works on the whole
// input. Positions in a ConversionReport are byte offsets in the input.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/CharCode.h"
#include "platform/CodePage.h"

namespace kerv {

struct TReturnCodeConversion {
  std::string text;
  TReturnCode detected = rcNone;
};

// What decoding a document's bytes could not keep.
struct TDecodeReport {
  static constexpr size_t npos = static_cast<size_t>(-1);
  ConversionReport replaced;  // characters now "?", positions as byte offsets in the input
  size_t endedAt = npos;      // byte offset of the zero byte (unit) that ended the text
  bool oddLastByte = false;   // UTF-16 with an odd number of bytes: the last one, half a character, was dropped
};

class TStringCodeConverter {
 public:
  // The binary test looks at no more than this many bytes.
  static constexpr size_t kBinaryCheckBytes = 512;

  explicit TStringCodeConverter(ICodePage& codePage) : codePage_(&codePage) {}

  // Detection.
  static TCharCode DetectCode(std::string_view text, bool utf8nCheck);
  static bool IsUTF8N(std::string_view text);
  static TReturnCode DetectReturnCode(std::string_view text);
  // Replaces the returns of the kind found first by target. A target other
  // than rcCRLF, rcLF or rcCR leaves the text as it is.
  static TReturnCodeConversion ConvertReturnCode(std::string_view text, TReturnCode target);
  // The same, replacing text; returns the detected return code.
  static TReturnCode ConvertReturnCodeInPlace(std::string& text, TReturnCode target);

  // To the internal text. Characters that have no Shift_JIS form become "?"
  // and are noted in report.
  static std::string JISToSJIS(std::string_view text, ConversionReport* report = nullptr);
  static std::string EUCToSJIS(std::string_view text, ConversionReport* report = nullptr);
  std::string UTF8ToSJIS(std::string_view text, ConversionReport* report = nullptr) const;   // skips a mark EF BB BF
  std::string UTF8NToSJIS(std::string_view text, ConversionReport* report = nullptr) const;  // skips nothing
  std::string UnicodeToSJIS(std::string_view bytes, ConversionReport* report = nullptr) const;    // skips a mark FF FE
  std::string UnicodeBEToSJIS(std::string_view bytes, ConversionReport* report = nullptr) const;  // skips a mark FE FF

  // From the internal text. Characters that the target code cannot hold
  // become "?" and are noted in report (positions: byte offsets in text).
  // JIS ends every kanji run with ESC ( B and the text in ASCII; it holds no
  // half-width katakana, which become full-width and are noted in widened.
  static std::string SJISToJIS(std::string_view text, ConversionReport* report = nullptr,
                               ConversionReport* widened = nullptr);
  static std::string SJISToEUC(std::string_view text, ConversionReport* report = nullptr);
  std::string SJISToUnicode(std::string_view text) const;    // UTF-16LE bytes, no mark
  std::string SJISToUnicodeBE(std::string_view text) const;  // UTF-16BE bytes, no mark
  std::string SJISToUTF8(std::string_view text) const;       // no mark

  // A document's bytes in code to the internal text: 2-7 as the routines
  // above, every other code the bytes as they are (zero bytes included).
  // With wholeText a zero byte (unit) is carried like any other instead of
  // ending the text, as a converter that keeps every byte needs.
  std::string ToInternal(std::string_view bytes, TCharCode code, TDecodeReport* report = nullptr,
                         bool wholeText = false) const;
  // ToInternal of UTF-8 (ccUTF8 skips a mark, ccUTF8N does not) written over
  // the input's own bytes, which become the internal text: a big document
  // needs no second copy, and it is converted on two threads in two pieces.
  // textReplacedAt gets the text offset of the first "?" (report's offsets
  // are the input's, as ever). False, with bytes untouched, where the code
  // page offers no such path.
  bool Utf8ToInternalOver(std::string& bytes, TCharCode code, TDecodeReport* report, size_t* textReplacedAt) const;
  // The internal text to a document's bytes in code, marks included for 4-6;
  // 1 and every code not in 2-7 write the bytes as they are.
  std::string FromInternal(std::string_view text, TCharCode code, ConversionReport* report = nullptr,
                           ConversionReport* widened = nullptr) const;

  // A document converted piece by piece, so that it need not be held whole.
  // PieceEnd: where bytes (a document's bytes in code from a place where
  // it may be cut, more bytes following) may be cut, as far on as possible,
  // so that converting the parts one after the other gives what converting
  // them together gives, return codes and line counts included: after a
  // line break, a CR only when what follows it is known not to make a CR LF
  // pair, else after another control byte or a blank. 0 when there is no
  // such place in bytes.
  static size_t PieceEnd(std::string_view bytes, TCharCode code);
  // ToInternal (wholeText) of one piece; first: the piece starts the
  // document (only there a mark is skipped); jisMode carries the JIS shift
  // state from one piece to the next (0 at the start).
  std::string ToInternalPiece(std::string_view bytes, TCharCode code, bool first, int& jisMode,
                              TDecodeReport* report = nullptr) const;
  // FromInternal of one piece of internal text cut where PieceEnd cuts; the
  // mark is written only before the first.
  std::string FromInternalPiece(std::string_view text, TCharCode code, bool first, ConversionReport* report = nullptr,
                                ConversionReport* widened = nullptr) const;

  // JIS X 0208 row/cell bytes (0x21-0x7E each) to a Shift_JIS pair, as (lead << 8) | trail.
  static constexpr uint16_t JISPairToSJIS(uint8_t a, uint8_t b) {
    uint8_t lead = static_cast<uint8_t>((a + 1) / 2 + (a <= 0x5E ? 0x70 : 0xB0));
    uint8_t trail = static_cast<uint8_t>(b + ((a & 1) == 0 ? 0x7E : (b < 0x60 ? 0x1F : 0x20)));
    return static_cast<uint16_t>(lead << 8 | trail);
  }
  // A Shift_JIS pair to JIS X 0208 row/cell bytes, as (first << 8) | second; 8-bit arithmetic.
  static constexpr uint16_t SJISPairToJIS(uint8_t a, uint8_t b) {
    uint8_t c = a >= 0xA0 ? 0xB0 : 0x70;
    uint8_t first = static_cast<uint8_t>(2 * a - 2 * c);
    uint8_t offset = 0x7E;
    if (b <= 0x9E) {
      first = static_cast<uint8_t>(first - 1);
      offset = b >= 0x80 ? 0x20 : 0x1F;
    }
    return static_cast<uint16_t>(first << 8 | static_cast<uint8_t>(b - offset));
  }
  // A half-width katakana byte (0xA1-0xDF) to its full-width JIS X 0208
  // character; a following voiced or semi-voiced mark in next is merged where
  // a combined character exists. consumed tells whether 1 or 2 bytes were used.
  static uint16_t KanaToJIS(uint8_t a, uint8_t next, int& consumed);

 private:
  friend class TCodeDetector;
  // Where the detection scan stands between two pieces of a text.
  struct ScanState {
    TCharCode result = ccAscii;  // ccAscii or ccSJISOrEUC until decided
    bool decided = false;        // result is final
    bool inLookAhead = false;    // the next piece continues a look-ahead
  };
  // Where the UTF-8 test stands between two pieces of a text.
  struct Utf8State {
    bool found = false;
    bool seenThree = false;
    bool invalid = false;  // decided: no UTF-8
  };
  static bool IsUtf8Text(const unsigned char* t, size_t length);  // IsUTF8N over the text before its zero
  static bool IsBinaryHead(const unsigned char* t, size_t length);
  // The detection scan and the UTF-8 test over t; without final more bytes
  // follow, and the return value is where the next piece has to start (the
  // bytes from there on are given again with it).
  static size_t Scan(const unsigned char* t, size_t length, bool final, ScanState& state);
  static size_t Utf8Walk(const unsigned char* t, size_t length, bool final, Utf8State& state);
  std::string Utf16ToSJIS(std::string_view bytes, bool bigEndian, ConversionReport* report, size_t* endedAt,
                          bool wholeText, bool* oddLastByte, bool markAllowed = true) const;
  std::string Utf8ToSJIS(std::string_view bytes, bool skipMark, ConversionReport* report, size_t* endedAt,
                         bool wholeText) const;
  void AppendUtf16(std::string& out, std::string_view text, bool bigEndian) const;

  ICodePage* codePage_;
};

// DetectCode over a text given piece by piece, so that a file need not be
// held whole: the result is the same as DetectCode's over all the pieces
// joined. Most texts are decided by their first piece; a text that could
// still be UTF-8 is decided only by its end.
class TCodeDetector {
 public:
  explicit TCodeDetector(bool utf8nCheck) : utf8nCheck_(utf8nCheck) {}
  // The next bytes of the text. Bytes after the first zero byte are not
  // looked at (the text ends there).
  void Feed(std::string_view bytes);
  // The end of the text.
  void Finish();
  bool Decided() const { return decided_; }
  // The code (0-11) once decided.
  TCharCode Result() const { return result_; }

 private:
  void Walk(std::string_view bytes, bool final);
  void Decide();

  bool utf8nCheck_;
  bool ended_ = false;
  bool decided_ = false;
  TCharCode result_ = ccAscii;
  std::string head_;  // the first bytes, for the marks and the binary test
  TStringCodeConverter::Utf8State utf8_;
  bool utf8Done_ = false;
  std::string utf8Carry_;
  TStringCodeConverter::ScanState scan_;
  std::string scanCarry_;
};

}  // namespace kerv
