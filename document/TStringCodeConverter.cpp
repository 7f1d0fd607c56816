#include "document/TStringCodeConverter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/AsciiRun.h"
#include "platform/ChunkedOutput.h"

namespace kerv {
namespace {

constexpr unsigned char kEsc = 0x1B;

const unsigned char* Bytes(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

// Below this a UTF-8 text is converted on one thread.
constexpr size_t kOverThreadBytes = size_t{4} << 20;

// Bytes before the first zero byte.
size_t TextLength(std::string_view text) {
  if (text.empty()) return 0;  // an empty view may have no data pointer, which memchr must not get
  const void* zero = std::memchr(text.data(), 0, text.size());
  return zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - text.data()) : text.size();
}

bool IsJISByte(unsigned char b) { return b >= 0x21 && b <= 0x7E; }
bool IsEUCByte(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }

// Index of the first byte in [i, end) that is not plain ASCII (0x00-0x7F), or end.
size_t SkipAscii(const unsigned char* t, size_t i, size_t end) { return i + AsciiRun(t + i, end - i); }

// Index of the first byte in [i, end) that the detection scan must look at
// (below 0x08, ESC, or 0x80 and above), or end.
size_t SkipUndecisive(const unsigned char* t, size_t i, size_t end) {
#if defined(__SSE2__)
  const __m128i eight = _mm_set1_epi8(8);
  const __m128i esc = _mm_set1_epi8(static_cast<char>(kEsc));
  while (i + 16 <= end) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
    // A signed compare: bytes of 0x80 and above are negative, so they count as below 8.
    int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(v, eight), _mm_cmpeq_epi8(v, esc)));
    if (mask != 0) return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    i += 16;
  }
#endif
  while (i < end && t[i] >= 0x08 && t[i] < 0x80 && t[i] != kEsc) ++i;
  return i;
}

// Index of the first byte in [i, end) at which the Shift_JIS-or-EUC
// look-ahead stops or decides (below 0x40, 0x81-0x8D, 0x8F-0x9C, 0xFD-0xFE), or end.
size_t SkipLookAhead(const unsigned char* t, size_t i, size_t end) {
#if defined(__SSE2__)
  auto inRange = [](__m128i v, int low, int high) {
    __m128i d = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>(low)));
    return _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(static_cast<char>(high - low))), d);
  };
  auto stops = [&](__m128i v) {
    __m128i sjis = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(0x8E))), inRange(v, 0x81, 0x9C));
    return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(inRange(v, 0x00, 0x3F), sjis), inRange(v, 0xFD, 0xFE)));
  };
  // Two blocks a round: look-ahead runs are often longer than one.
  while (i + 32 <= end) {
    int first = stops(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i)));
    int second = stops(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i + 16)));
    unsigned mask = static_cast<unsigned>(first) | static_cast<unsigned>(second) << 16;
    if (mask != 0) return i + static_cast<size_t>(std::countr_zero(mask));
    i += 32;
  }
  if (i + 16 <= end) {
    int mask = stops(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i)));
    if (mask != 0) return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    i += 16;
  }
#endif
  return i;
}

// Adds the replacements of a conversion over part of an input, whose unit
// index k lies at byte offset offset + k * scale of the whole input.
void Merge(ConversionReport* into, const ConversionReport& from, size_t offset, size_t scale) {
  if (into == nullptr || from.replaced == 0) return;
  size_t first = offset + from.firstReplaced * scale;
  if (into->replaced == 0 || first < into->firstReplaced) into->firstReplaced = first;
  into->replaced += from.replaced;
}

void Note(ConversionReport* report, size_t index) {
  if (report != nullptr) report->Note(index);
}

// Position of a trail byte among the 188 trail bytes of a lead byte, and back.
int TrailIndex(unsigned char trail) { return trail - 0x40 - (trail >= 0x80 ? 1 : 0); }
unsigned char TrailAt(int index) { return static_cast<unsigned char>(0x40 + index + (index >= 0x3F ? 1 : 0)); }

constexpr uint16_t kIbmFirst = 0xFA40, kIbmLast = 0xFC4B;
constexpr int kIbmKanjiStart = 28;  // FA5C, the first IBM kanji
constexpr int kNecSelectedKanji = 360;

// The IBM extension codes (FA40-FC4B) lie beyond the 94 rows that JIS and
// EUC can hold. Each of their characters also has a NEC code inside them,
// which is what these conversions write.
uint16_t IbmToNec(uint16_t code) {
  static constexpr uint16_t kSymbols[kIbmKanjiStart] = {
      0xEEEF, 0xEEF0, 0xEEF1, 0xEEF2, 0xEEF3, 0xEEF4, 0xEEF5, 0xEEF6, 0xEEF7, 0xEEF8,  // small roman numerals
      0x8754, 0x8755, 0x8756, 0x8757, 0x8758, 0x8759, 0x875A, 0x875B, 0x875C, 0x875D,  // roman numerals
      0x81CA, 0xEEFA, 0xEEFB, 0xEEFC, 0x878D, 0x8782, 0x8784, 0x81E6,
  };
  if (code < kIbmFirst || code > kIbmLast) return code;
  unsigned char trail = static_cast<unsigned char>(code);
  if (!IsTrailByte(trail)) return code;
  int linear = ((code >> 8) - 0xFA) * 188 + TrailIndex(trail);
  if (linear < kIbmKanjiStart) return kSymbols[linear];
  int kanji = linear - kIbmKanjiStart;  // the NEC-selected kanji run in the same order from ED40
  return static_cast<uint16_t>((0xED + kanji / 188) << 8 | TrailAt(kanji % 188));
}

// JIS rows 0x79-0x7C decode to the NEC-selected codes (ED40-EEFC); code page
// 932 writes those characters with their IBM codes, so reading gives the
// bytes that a round trip through Unicode would give.
uint16_t NecSelectedToIbm(uint16_t code) {
  if (code < 0xED40 || code > 0xEEFC) return code;
  unsigned char trail = static_cast<unsigned char>(code);
  if (!IsTrailByte(trail)) return code;
  int linear = ((code >> 8) - 0xED) * 188 + TrailIndex(trail);
  int ibm;
  if (linear < kNecSelectedKanji) {
    ibm = kIbmKanjiStart + linear;
  } else if (linear >= 362 && linear <= 371) {  // EEEF-EEF8, small roman numerals
    ibm = linear - 362;
  } else if (linear == 372) {  // EEF9, the not sign, is 81CA in code page 932
    return 0x81CA;
  } else if (linear >= 373 && linear <= 375) {  // EEFA-EEFC
    ibm = linear - 373 + 21;
  } else {
    return code;  // EEED, EEEE: unassigned
  }
  return static_cast<uint16_t>((0xFA + ibm / 188) << 8 | TrailAt(ibm % 188));
}

// A Shift_JIS pair as JIS X 0208 row/cell bytes, or 0 when it has no place in the 94 rows.
uint16_t SjisToJisCode(unsigned char lead, unsigned char trail) {
  uint16_t code = IbmToNec(static_cast<uint16_t>(lead << 8 | trail));
  uint16_t jis = TStringCodeConverter::SJISPairToJIS(static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code));
  return IsJISByte(static_cast<unsigned char>(jis >> 8)) && IsJISByte(static_cast<unsigned char>(jis)) ? jis : 0;
}

uint16_t JisToSjisCode(unsigned char first, unsigned char second) {
  return NecSelectedToIbm(TStringCodeConverter::JISPairToSJIS(first, second));
}

using CharOutput = ChunkedOutput<char>;

inline char* Put2(char* w, uint16_t pair) {
  w[0] = static_cast<char>(pair >> 8);
  w[1] = static_cast<char>(pair);
  return w + 2;
}

// Copies the bytes of t[i, n) up to the first one for which stop (a
// movemask of a 16-byte block) is set, and returns how many were copied.
// Short runs, the usual case between double-byte characters, cost one block.
template <typename Stop>
size_t CopyRun(CharOutput& out, char*& w, const unsigned char* t, size_t i, size_t n, Stop stop) {
  size_t start = i;
#if defined(__SSE2__)
  while (i + 16 <= n) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
    int mask = stop(v);
    // The whole block is stored; what lies past the run is written over next.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w), v);
    if (mask != 0) {
      size_t run = static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask)));
      w += run;
      return i + run - start;
    }
    w = out.Room(w + 16);
    i += 16;
  }
  while (i < n && !(stop(_mm_cvtsi32_si128(t[i])) & 1)) {
    *w++ = static_cast<char>(t[i++]);
    w = out.Room(w);
  }
#else
  while (i < n && !stop(t[i])) {
    *w++ = static_cast<char>(t[i++]);
    w = out.Room(w);
  }
#endif
  return i - start;
}

#if defined(__SSE2__)
inline int HighBits(__m128i v) { return _mm_movemask_epi8(v); }
inline int EscBytes(__m128i v) { return _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(kEsc)))); }
#else
inline int HighBits(unsigned char c) { return c >= 0x80; }
inline int EscBytes(unsigned char c) { return c == kEsc; }
#endif

#if defined(__SSE2__)
// Eight double-byte characters at once: 16 bytes are loaded as eight 16-bit
// lanes, the first byte of each character in the low half. The lanes then
// hold byte values, so signed 16-bit compares are exact.
struct Pairs {
  __m128i first, second;
};

inline Pairs LoadPairs(const unsigned char* p) {
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return {_mm_and_si128(v, _mm_set1_epi16(0xFF)), _mm_srli_epi16(v, 8)};
}

inline __m128i InRange(__m128i lanes, int low, int high) {
  return _mm_and_si128(_mm_cmpgt_epi16(lanes, _mm_set1_epi16(static_cast<short>(low - 1))),
                       _mm_cmplt_epi16(lanes, _mm_set1_epi16(static_cast<short>(high + 1))));
}

// How many of the eight lanes, from the first, pass a lane mask.
inline size_t LeadingLanes(__m128i mask) {
  return static_cast<size_t>(std::countr_one(static_cast<unsigned>(_mm_movemask_epi8(mask)))) / 2;
}

inline void StorePairs(char* w, __m128i first, __m128i second) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_or_si128(first, _mm_slli_epi16(second, 8)));
}

// JISPairToSJIS on eight lanes (JIS bytes 0x21-0x7E).
inline void JisToSjis8(__m128i a, __m128i b, char* w) {
  const __m128i one = _mm_set1_epi16(1);
  __m128i lead = _mm_add_epi16(_mm_srli_epi16(_mm_add_epi16(a, one), 1), _mm_set1_epi16(0x70));
  lead = _mm_add_epi16(lead, _mm_and_si128(_mm_cmpgt_epi16(a, _mm_set1_epi16(0x5E)), _mm_set1_epi16(0x40)));
  __m128i odd = _mm_cmpeq_epi16(_mm_and_si128(a, one), one);
  // 0x1F, or 0x20 from 0x60 on (a mask is -1)
  __m128i oddAdd = _mm_sub_epi16(_mm_set1_epi16(0x1F), _mm_cmpgt_epi16(b, _mm_set1_epi16(0x5F)));
  __m128i add = _mm_or_si128(_mm_and_si128(odd, oddAdd), _mm_andnot_si128(odd, _mm_set1_epi16(0x7E)));
  StorePairs(w, lead, _mm_and_si128(_mm_add_epi16(b, add), _mm_set1_epi16(0xFF)));
}

// SJISPairToJIS on eight lanes (leads 0x81-0x9F and 0xE0-0xEF, valid trails),
// with high set to 0x80 for EUC and 0 for JIS.
inline void SjisToJis8(__m128i a, __m128i b, __m128i high, char* w) {
  __m128i upper = _mm_cmpgt_epi16(a, _mm_set1_epi16(0x9F));
  __m128i first = _mm_sub_epi16(_mm_add_epi16(a, a), _mm_set1_epi16(0xE0));
  first = _mm_sub_epi16(first, _mm_and_si128(upper, _mm_set1_epi16(0x80)));
  __m128i low = _mm_cmplt_epi16(b, _mm_set1_epi16(0x9F));
  first = _mm_add_epi16(first, low);  // minus one below 0x9F
  __m128i lowOffset = _mm_sub_epi16(_mm_set1_epi16(0x1F), _mm_cmpgt_epi16(b, _mm_set1_epi16(0x7F)));
  __m128i offset = _mm_or_si128(_mm_and_si128(low, lowOffset), _mm_andnot_si128(low, _mm_set1_epi16(0x7E)));
  StorePairs(w, _mm_or_si128(first, high), _mm_or_si128(_mm_sub_epi16(b, offset), high));
}

// Shift_JIS characters that the vector path may take: both JIS bytes inside
// the 94 rows and no IBM code to redirect.
inline __m128i PlainSjisPairs(const Pairs& p) {
  __m128i lead = _mm_or_si128(InRange(p.first, 0x81, 0x9F), InRange(p.first, 0xE0, 0xEF));
  __m128i trail = _mm_or_si128(InRange(p.second, 0x40, 0x7E), InRange(p.second, 0x80, 0xFC));
  return _mm_and_si128(lead, trail);
}

// Converts the leading pairs of t[0, left) that check lets through, up to
// sixteen (two blocks, as the runs between escapes or single bytes are often
// longer than one), writing 32 bytes at w of which only the taken pairs
// count. Returns the number of pairs taken.
template <typename Check, typename Convert>
inline size_t VectorPairs(const unsigned char* t, size_t left, char* w, Check check, Convert convert) {
  if (left >= 32) {
    Pairs low = LoadPairs(t), high = LoadPairs(t + 16);
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(check(low))) |
                    static_cast<unsigned>(_mm_movemask_epi8(check(high))) << 16;
    size_t pairs = static_cast<size_t>(std::countr_one(mask)) / 2;
    if (pairs != 0) convert(low, w);
    if (pairs > 8) convert(high, w + 16);
    return pairs;
  }
  if (left >= 16) {
    Pairs only = LoadPairs(t);
    size_t pairs = LeadingLanes(check(only));
    if (pairs != 0) convert(only, w);
    return pairs;
  }
  return 0;
}
#endif

// carriedMode, where given, is the shift state before the text and after it,
// for a document decoded piece by piece.
std::string JisDecode(std::string_view text, ConversionReport* report, int* carriedMode = nullptr) {
  enum class Mode { Ascii, Kanji, Kanji0212, Kana };
  const unsigned char* t = Bytes(text);
  const size_t n = text.size();
  std::string result;
  CharOutput out(result, n);
  char* w = out.Start();
  Mode mode = carriedMode != nullptr ? static_cast<Mode>(*carriedMode) : Mode::Ascii;
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    unsigned char c = t[i];
    if (c == kEsc) {
      if (i + 2 >= n) {
        // An escape cut off by the end of the text: its bytes stay.
        w = out.Copy(w, t + i, n - i);
        break;
      }
      unsigned char x = t[i + 1], y = t[i + 2];
      if (x == '$') {
        if (y == '(' && i + 3 < n) {
          // The four-byte designations; "D" is JIS X 0212, which Shift_JIS cannot hold.
          mode = t[i + 3] == 'D' ? Mode::Kanji0212 : Mode::Kanji;
          i += 4;
          continue;
        }
        mode = Mode::Kanji;
      } else if (x == '(') {
        mode = y == 'I' ? Mode::Kana : Mode::Ascii;
      }
      i += 3;
      // The run the escape starts usually follows at once: a single-byte run
      // is copied here, a double-byte one goes on below.
      if (mode == Mode::Ascii && i < n) i += CopyRun(out, w, t, i, n, [](auto v) { return EscBytes(v); });
      if (mode != Mode::Kanji || i >= n || t[i] == kEsc) continue;
      c = t[i];
    } else if (mode == Mode::Ascii) {
      i += CopyRun(out, w, t, i, n, [](auto v) { return EscBytes(v); });
      continue;
    } else if (mode == Mode::Kana) {
      *w++ = static_cast<char>(c >= 0x21 && c <= 0x5F ? c | 0x80 : c);
      ++i;
      continue;
    }
#if defined(__SSE2__)
    // Rows 0x79 and above take the scalar path (they may be IBM codes).
    if (mode == Mode::Kanji) {
      const size_t from = i;
      auto check = [](const Pairs& p) { return _mm_and_si128(InRange(p.first, 0x21, 0x78), InRange(p.second, 0x21, 0x7E)); };
      auto convert = [](const Pairs& p, char* at) { JisToSjis8(p.first, p.second, at); };
      for (size_t pairs; (pairs = VectorPairs(t + i, n - i, w, check, convert)) != 0;) {
        i += 2 * pairs;
        w = out.Room(w + 2 * pairs);
        if (pairs < 16) break;
      }
      if (i != from) continue;  // c is read again at the top
    }
#endif
    // Only two JIS bytes make a character: a line end or any other byte left
    // in a double-byte run by a damaged file is kept as it is.
    if (IsJISByte(c) && i + 1 < n && IsJISByte(t[i + 1])) {
      if (mode == Mode::Kanji) {
        w = Put2(w, JisToSjisCode(c, t[i + 1]));
      } else {
        Note(report, i);
        *w++ = '?';
      }
      i += 2;
    } else {
      *w++ = static_cast<char>(c);
      ++i;
    }
  }
  out.Flush(w);
  if (carriedMode != nullptr) *carriedMode = static_cast<int>(mode);
  return result;
}

std::string EucDecode(std::string_view text, ConversionReport* report) {
  const unsigned char* t = Bytes(text);
  const size_t n = text.size();
  std::string result;
  CharOutput out(result, n);
  char* w = out.Start();
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    unsigned char c = t[i];
    if (c < 0x80) {
      i += CopyRun(out, w, t, i, n, [](auto v) { return HighBits(v); });
      continue;
    }
    if (c == 0x8E && i + 1 < n && t[i + 1] >= 0xA1 && t[i + 1] <= 0xDF) {
      // Half-width katakana come in runs.
      char* stop = w + CharOutput::kSlack;
      do {
        *w++ = static_cast<char>(t[i + 1]);
        i += 2;
      } while (w < stop && i + 1 < n && t[i] == 0x8E && t[i + 1] >= 0xA1 && t[i + 1] <= 0xDF);
      continue;
    }
#if defined(__SSE2__)
    // Leads from 0xF9 on take the scalar path (they may be IBM codes).
    {
      const size_t from = i;
      auto check = [](const Pairs& p) { return _mm_and_si128(InRange(p.first, 0xA1, 0xF8), InRange(p.second, 0xA1, 0xFE)); };
      auto convert = [](const Pairs& p, char* at) {
        const __m128i seven = _mm_set1_epi16(0x7F);
        JisToSjis8(_mm_and_si128(p.first, seven), _mm_and_si128(p.second, seven), at);
      };
      for (size_t pairs; (pairs = VectorPairs(t + i, n - i, w, check, convert)) != 0;) {
        i += 2 * pairs;
        w = out.Room(w + 2 * pairs);
        if (pairs < 16) break;
      }
      if (i != from) continue;  // c is read again at the top
    }
#endif
    if (c >= 0xA1 && c != 0xFF && i + 1 < n && IsEUCByte(t[i + 1])) {
      w = Put2(w, JisToSjisCode(c & 0x7F, t[i + 1] & 0x7F));
      i += 2;
    } else if (c == 0x8F && i + 2 < n && IsEUCByte(t[i + 1]) && IsEUCByte(t[i + 2])) {
      Note(report, i);  // JIS X 0212 has no Shift_JIS form
      *w++ = '?';
      i += 3;
    } else {
      // 0x80, 0xFF, a lone final byte and bytes that start no EUC character
      // are kept, so that no line end is swallowed by a damaged pair.
      *w++ = static_cast<char>(c);
      ++i;
    }
  }
  out.Flush(w);
  return result;
}

}  // namespace

// ---------------------------------------------------------------- detection

TCharCode TStringCodeConverter::DetectCode(std::string_view text, bool utf8nCheck) {
  const size_t length = TextLength(text);
  const unsigned char* t = Bytes(text);
  if (length >= 2 && t[0] == 0xFF && t[1] == 0xFE) return ccUnicode;
  if (length >= 2 && t[0] == 0xFE && t[1] == 0xFF) return ccUnicodeBE;
  if (length >= 3 && t[0] == 0xEF && t[1] == 0xBB && t[2] == 0xBF) return ccUTF8;
  if (utf8nCheck && IsUtf8Text(t, length)) return ccUTF8N;
  if (IsBinaryHead(t, length)) return ccBinary;
  ScanState scan;
  Scan(t, length, true, scan);
  return scan.result;
}

bool TStringCodeConverter::IsBinaryHead(const unsigned char* t, size_t length) {
  // The binary test and the scan leave out the last byte: a decision needs
  // a byte after the one that starts it.
  const size_t last = length == 0 ? 0 : length - 1;
  const size_t binaryEnd = std::min(kBinaryCheckBytes, last);
  for (size_t i = 0; i < binaryEnd; ++i) {
    if (t[i] < 0x08 || t[i] == 0xFF) return true;
  }
  return false;
}

size_t TStringCodeConverter::Scan(const unsigned char* t, size_t length, bool final, ScanState& state) {
  // Stepping may reach the terminating zero, which decides nothing. A result
  // other than ccSJISOrEUC ends the scan; that one only waits for better.
  // The cases are disjoint; the most frequent in Japanese text come first.
  // Without final, t is a piece of the text that more bytes follow: a step
  // that needs a byte past it is left for the next piece (the return value
  // says where it starts), and a look-ahead that reaches its end goes on
  // there.
  if (state.decided) return length;
  const size_t last = length == 0 ? 0 : length - 1;
  auto at = [&](size_t k) -> unsigned char { return k < length ? t[k] : 0; };
  TCharCode& result = state.result;
  size_t i = 0;
  bool lookAheadOpen = false;
  // Look ahead from b (at i) over the run of bytes from 0x40 on for one that
  // only one of the two codes can have. The byte that ends the run has been
  // examined too; the scan goes on after it.
  auto lookAhead = [&]() -> TCharCode {
    i = SkipLookAhead(t, i, length);
    while (i < length && t[i] >= 0x40) {
      const unsigned char c = t[i];
      if ((c >= 0x81 && c <= 0x8D) || (c >= 0x8F && c <= 0x9C)) return ccShiftJIS;
      if (c >= 0xFD && c <= 0xFE) return ccEUC;
      ++i;
    }
    if (i >= length && !final) lookAheadOpen = true;
    return ccSJISOrEUC;
  };
  auto decide = [&](TCharCode code) {
    result = code;
    state.decided = true;
    return length;
  };
  if (state.inLookAhead) {
    state.inLookAhead = false;
    if (TCharCode decided = lookAhead(); decided != ccSJISOrEUC) return decide(decided);
    if (lookAheadOpen) {
      state.inLookAhead = true;
      return length;
    }
    ++i;
  }
  while (i < last) {
    const unsigned char a = t[i];
#if defined(__SSE2__)
    // Pairs of bytes from 0xA1 to 0xEF and 0x8E before 0xA1-0xDF, up to
    // sixteen at a time: each is undecided, and a lead up to 0xDF before a
    // byte from 0xE0 starts the look-ahead.
    if (((a >= 0xA1 && a <= 0xEF) || a == 0x8E) && i + 16 <= length) {
      auto undecided = [](const Pairs& p) {
        __m128i kana = _mm_and_si128(_mm_cmpeq_epi16(p.first, _mm_set1_epi16(0x8E)), InRange(p.second, 0xA1, 0xDF));
        return _mm_or_si128(_mm_and_si128(InRange(p.first, 0xA1, 0xEF), InRange(p.second, 0xA1, 0xEF)), kana);
      };
      auto triggers = [](const Pairs& p) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(InRange(p.first, 0xA1, 0xDF), InRange(p.second, 0xE0, 0xEF))));
      };
      Pairs low = LoadPairs(t + i);
      unsigned lanes = static_cast<unsigned>(_mm_movemask_epi8(undecided(low)));
      unsigned trigger = triggers(low);
      if (lanes == 0xFFFF && i + 32 <= length) {
        // Two blocks, as such runs are often longer than one.
        Pairs high = LoadPairs(t + i + 16);
        lanes |= static_cast<unsigned>(_mm_movemask_epi8(undecided(high))) << 16;
        trigger |= triggers(high) << 16;
      }
      size_t pairs = static_cast<size_t>(std::countr_one(lanes)) / 2;
      if (pairs != 0) {
        result = ccSJISOrEUC;
        trigger &= pairs == 16 ? ~0u : (1u << (2 * pairs)) - 1;
        if (trigger == 0) {
          i += 2 * pairs;
          continue;
        }
        i += static_cast<size_t>(std::countr_zero(trigger)) + 1;  // the lane's second byte
        if (TCharCode decided = lookAhead(); decided != ccSJISOrEUC) return decide(decided);
        if (lookAheadOpen) {
          state.inLookAhead = true;
          return length;
        }
        // The run that ended the look-ahead is usually ASCII: pass over it here.
        i = SkipUndecisive(t, i + 1, last);
        continue;
      }
    }
#endif
    if (a >= 0xA1 && a <= 0xDF) {
      const unsigned char b = t[++i];
      if (b >= 0xA1 && b <= 0xDF) {
        result = ccSJISOrEUC;
      } else if (b >= 0xE0 && b <= 0xEF) {
        result = ccSJISOrEUC;
        if (TCharCode decided = lookAhead(); decided != ccSJISOrEUC) return decide(decided);
        if (lookAheadOpen) {
          state.inLookAhead = true;
          return length;
        }
      } else if (b >= 0xF0 && b <= 0xFE) {
        return decide(ccEUC);
      } else if (b <= 0x9F) {
        return decide(ccShiftJIS);
      }
    } else if (a >= 0xE0 && a <= 0xEF) {
      const unsigned char b = t[++i];
      if ((b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xA0)) return decide(ccShiftJIS);
      if (b >= 0xFD && b <= 0xFE) return decide(ccEUC);
      if (b >= 0xA1 && b <= 0xFC) result = ccSJISOrEUC;
    } else if (a < 0x80) {
      if (a == kEsc) {
        if (!final && i + 2 >= length) return i;  // the escape's third byte comes with the next piece
        if (t[++i] == '$') {
          const unsigned char b = at(++i);
          if (b == 0x42) return decide(ccJIS83);
          if (b == 0x40) return decide(ccJIS78);
        }
      } else if (a < 0x08) {
        return decide(ccBinary);
      } else {
        i = SkipUndecisive(t, i + 1, last);
        continue;
      }
    } else if ((a >= 0x81 && a <= 0x8D) || (a >= 0x8F && a <= 0x9F)) {
      return decide(ccShiftJIS);
    } else if (a >= 0xF0 && a <= 0xFE) {
      return decide(ccEUC);
    } else if (a == 0x8E) {
      const unsigned char b = t[++i];
      if ((b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xA0) || (b >= 0xE0 && b <= 0xFC)) return decide(ccShiftJIS);
      if (b >= 0xA1 && b <= 0xDF) result = ccSJISOrEUC;
    } else if (a == 0xFF) {
      return decide(ccBinary);
    }
    // 0x80 and 0xA0 decide nothing.
    ++i;
  }
  return std::min(i, length);
}

bool TStringCodeConverter::IsUTF8N(std::string_view text) { return IsUtf8Text(Bytes(text), TextLength(text)); }

bool TStringCodeConverter::IsUtf8Text(const unsigned char* t, size_t length) {
  Utf8State state;
  Utf8Walk(t, length, true, state);
  return !state.invalid && state.found;
}

size_t TStringCodeConverter::Utf8Walk(const unsigned char* t, size_t length, bool final, Utf8State& state) {
  // Without final, more bytes follow: a sequence cut by the end of t is left
  // for the next piece (the return value says where it starts); with final
  // the end of t is the end of the text, where a cut sequence is no UTF-8.
  if (state.invalid) return length;
  auto isContinuation = [](unsigned char b) { return b >= 0x80 && b <= 0xBF; };
  bool& found = state.found;
  bool& seenThree = state.seenThree;
  auto invalid = [&]() {
    state.invalid = true;
    return length;
  };
  size_t i = 0;
  while (i < length) {
    unsigned char c = t[i];
    // Japanese UTF-8 is mostly three-byte sequences: one test takes a whole one.
    if (i + 3 <= length) {
      uint32_t three = static_cast<uint32_t>(c | t[i + 1] << 8 | t[i + 2] << 16);
      if ((three & 0xC0C0F0u) == 0x8080E0u) {
        i += 3;
        // One three-byte sequence is too easily a pair of Shift_JIS characters.
        if (seenThree) found = true;
        seenThree = true;
        continue;
      }
    }
    if (c < 0x80) {
      i = SkipAscii(t, i + 1, length);
      continue;
    }
    if (c >= 0xC0 && c <= 0xDF) {
      if (i + 1 >= length) return final ? invalid() : i;
      if (isContinuation(t[i + 1])) {
        i += 2;
        found = true;
      } else {
        i += 1;
      }
    } else if (c >= 0xE0 && c <= 0xEF) {
      if (i + 1 >= length) return final ? invalid() : i;
      if (!isContinuation(t[i + 1])) {
        i += 1;
        continue;
      }
      if (i + 2 >= length) return final ? invalid() : i;
      if (!isContinuation(t[i + 2])) {
        i += 2;
        continue;
      }
      i += 3;
      if (seenThree) found = true;
      seenThree = true;
    } else if (c >= 0xF0 && c <= 0xF4) {
      const unsigned char low = c == 0xF0 ? 0x90 : 0x80;
      const unsigned char high = c == 0xF4 ? 0x8F : 0xBF;
      size_t k = 1;
      for (; k <= 3; ++k) {
        if (i + k >= length) return final ? invalid() : i;
        unsigned char b = t[i + k];
        bool fits = k == 1 ? (b >= low && b <= high) : isContinuation(b);
        if (!fits) break;
      }
      i += k;  // a complete sequence, or what was read before the mismatch
      if (k == 4) found = true;
    } else {
      return invalid();  // a continuation byte or 0xF5-0xFF where a character should start
    }
  }
  return length;
}

TReturnCode TStringCodeConverter::DetectReturnCode(std::string_view text) {
  if (text.empty()) return rcNone;
  const char* p = text.data();
  const size_t n = text.size();
  const char* cr = static_cast<const char*>(std::memchr(p, '\r', n));
  size_t beforeCr = cr != nullptr ? static_cast<size_t>(cr - p) : n;
  if (std::memchr(p, '\n', beforeCr) != nullptr) return rcLF;
  if (cr == nullptr) return rcNone;
  return beforeCr + 1 < n && p[beforeCr + 1] == '\n' ? rcCRLF : rcCR;
}

namespace {

std::string_view ReturnSequence(TReturnCode code) {
  switch (code) {
    case rcCRLF:
      return "\r\n";
    case rcLF:
      return "\n";
    default:
      return "\r";
  }
}

// Every return of kind detected replaced by target's. In a CR LF text only
// CR LF pairs count: a CR without LF stays, so that no byte is lost.
std::string ReplaceReturns(std::string_view text, TReturnCode detected, TReturnCode target) {
  const char key = detected == rcLF ? '\n' : '\r';
  const bool pair = detected == rcCRLF;
  const size_t oldSize = pair ? 2 : 1;
  const std::string_view sequence = ReturnSequence(target);
  const char* begin = text.data();
  const char* end = begin + text.size();

  auto isReturn = [&](const char* p) { return !pair || (p + 1 < end && p[1] == '\n'); };
  size_t count = 0;
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, key, static_cast<size_t>(end - p)))) != nullptr; ++p) {
    if (isReturn(p)) ++count;
  }

  std::string out;
  ReserveLargeText(out, text.size() - count * oldSize + count * sequence.size());
  const char* from = begin;
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, key, static_cast<size_t>(end - p)))) != nullptr;) {
    if (!isReturn(p)) {
      ++p;
      continue;
    }
    out.append(from, static_cast<size_t>(p - from));
    out.append(sequence);
    p += oldSize;
    from = p;
  }
  out.append(from, static_cast<size_t>(end - from));
  return out;
}

bool IsReturnTarget(TReturnCode code) { return code == rcCRLF || code == rcLF || code == rcCR; }

}  // namespace

TReturnCodeConversion TStringCodeConverter::ConvertReturnCode(std::string_view text, TReturnCode target) {
  TReturnCodeConversion result;
  result.detected = DetectReturnCode(text);
  if (result.detected == rcNone || result.detected == target || !IsReturnTarget(target)) {
    result.text = std::string(text);
  } else {
    result.text = ReplaceReturns(text, result.detected, target);
  }
  return result;
}

TReturnCode TStringCodeConverter::ConvertReturnCodeInPlace(std::string& text, TReturnCode target) {
  TReturnCode detected = DetectReturnCode(text);
  if (detected != rcNone && detected != target && IsReturnTarget(target)) text = ReplaceReturns(text, detected, target);
  return detected;
}

// ---------------------------------------------------------------- to the internal text

std::string TStringCodeConverter::JISToSJIS(std::string_view text, ConversionReport* report) {
  return JisDecode(text.substr(0, TextLength(text)), report);
}

std::string TStringCodeConverter::EUCToSJIS(std::string_view text, ConversionReport* report) {
  return EucDecode(text.substr(0, TextLength(text)), report);
}

std::string TStringCodeConverter::Utf8ToSJIS(std::string_view bytes, bool skipMark, ConversionReport* report,
                                             size_t* endedAt, bool wholeText) const {
  size_t skip = skipMark && bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::string_view body = bytes.substr(skip);
  size_t length = wholeText ? body.size() : TextLength(body);
  if (endedAt != nullptr && length < body.size()) *endedAt = skip + length;
  ConversionReport local;
  std::string out = codePage_->Utf8ToCp932(body.substr(0, length), report != nullptr ? &local : nullptr);
  Merge(report, local, skip, 1);
  return out;
}

bool TStringCodeConverter::Utf8ToInternalOver(std::string& bytes, TCharCode code, TDecodeReport* report,
                                              size_t* textReplacedAt) const {
  constexpr size_t npos = ConversionReport::npos;
  const size_t skip = code == ccUTF8 && bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  const size_t bodyBytes = bytes.size() - skip;
  char* data = bytes.data();
  const size_t length = TextLength(std::string_view(data + skip, bodyBytes));
  const char* in = data + skip;
  // The second piece starts after a line feed near the middle (never inside
  // a character) and is written over itself; the first piece's output,
  // never longer than its input, ends before the second piece begins.
  size_t cut = 0;
  if (length >= kOverThreadBytes) {
    const void* lineFeed = std::memchr(in + length / 2, '\n', length - length / 2);
    if (lineFeed != nullptr) cut = static_cast<size_t>(static_cast<const char*>(lineFeed) - in) + 1;
    if (cut == length) cut = 0;
  }
  ConversionReport first, second;
  size_t firstAt = npos, secondAt = npos;
  size_t firstBytes = 0, secondBytes = 0;
  if (cut == 0) {
    firstBytes = codePage_->Utf8ToCp932Over(in, length, data, &first, &firstAt);
    if (firstBytes == npos) return false;
  } else {
    auto convertSecond = [&] {
      secondBytes = codePage_->Utf8ToCp932Over(in + cut, length - cut, data + skip + cut, &second, &secondAt);
    };
    std::thread other;
    try {
      other = std::thread(convertSecond);
    } catch (const std::system_error&) {
      convertSecond();  // no thread to be had: one after the other
    }
    firstBytes = codePage_->Utf8ToCp932Over(in, cut, data, &first, &firstAt);
    if (other.joinable()) other.join();
    if (firstBytes == npos || secondBytes == npos) return false;  // the same code page: both or neither
    std::memmove(data + firstBytes, data + skip + cut, secondBytes);
  }
  bytes.resize(firstBytes + secondBytes);
  ReleaseUnusedPages(bytes);
  if (report != nullptr) {
    Merge(&report->replaced, first, skip, 1);
    Merge(&report->replaced, second, skip + cut, 1);
    if (length < bodyBytes) report->endedAt = skip + length;
  }
  if (textReplacedAt != nullptr) {
    *textReplacedAt = firstAt != npos ? firstAt : secondAt != npos ? firstBytes + secondAt : npos;
  }
  return true;
}

std::string TStringCodeConverter::UTF8ToSJIS(std::string_view text, ConversionReport* report) const {
  return Utf8ToSJIS(text, true, report, nullptr, false);
}

std::string TStringCodeConverter::UTF8NToSJIS(std::string_view text, ConversionReport* report) const {
  return Utf8ToSJIS(text, false, report, nullptr, false);
}

std::string TStringCodeConverter::Utf16ToSJIS(std::string_view bytes, bool bigEndian, ConversionReport* report,
                                              size_t* endedAt, bool wholeText, bool* oddLastByte,
                                              bool markAllowed) const {
  const unsigned char* b = Bytes(bytes);
  const size_t n = bytes.size();
  const unsigned char markFirst = bigEndian ? 0xFE : 0xFF;
  size_t skip = markAllowed && n >= 2 && b[0] == markFirst && b[1] == (markFirst ^ 0x01) ? 2 : 0;
  const unsigned char* p = b + skip;
  const size_t units = (n - skip) / 2;
  const int high = bigEndian ? 0 : 1;

  // The code units up to the first zero one, in this machine's order.
  std::u16string text;
  ChunkedOutput<char16_t> chunks(text, units);
  char16_t* w = chunks.Start();
  size_t k = 0;
#if defined(__SSE2__)
  for (; k + 8 <= units; k += 8) {
    w = chunks.Room(w);
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * k));
    if (!wholeText && _mm_movemask_epi8(_mm_cmpeq_epi16(v, _mm_setzero_si128())) != 0) break;
    if (bigEndian) v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w), v);
    w += 8;
  }
#endif
  for (; k < units; ++k) {
    char16_t unit = static_cast<char16_t>(p[2 * k + high] << 8 | p[2 * k + (1 - high)]);
    if (unit == 0 && !wholeText) break;
    w = chunks.Room(w);
    *w++ = unit;
  }
  chunks.Flush(w);
  const bool ended = k < units;
  if (ended && endedAt != nullptr) *endedAt = skip + 2 * k;

  ConversionReport local;
  std::string out = codePage_->Utf16ToCp932(text, report != nullptr ? &local : nullptr);
  Merge(report, local, skip, 2);
  // An odd last byte is half a character: it is dropped, and said so.
  if (!ended && (n - skip) % 2 == 1 && oddLastByte != nullptr) *oddLastByte = true;
  return out;
}

std::string TStringCodeConverter::UnicodeToSJIS(std::string_view bytes, ConversionReport* report) const {
  return Utf16ToSJIS(bytes, false, report, nullptr, false, nullptr);
}

std::string TStringCodeConverter::UnicodeBEToSJIS(std::string_view bytes, ConversionReport* report) const {
  return Utf16ToSJIS(bytes, true, report, nullptr, false, nullptr);
}

std::string TStringCodeConverter::ToInternal(std::string_view bytes, TCharCode code, TDecodeReport* report,
                                             bool wholeText) const {
  ConversionReport* replaced = report != nullptr ? &report->replaced : nullptr;
  size_t* endedAt = report != nullptr ? &report->endedAt : nullptr;
  bool* oddLastByte = report != nullptr ? &report->oddLastByte : nullptr;
  auto upToZero = [&]() {
    if (wholeText) return bytes;
    size_t length = TextLength(bytes);
    if (endedAt != nullptr && length < bytes.size()) *endedAt = length;
    return bytes.substr(0, length);
  };
  switch (code) {
    case ccJIS:
      return JisDecode(upToZero(), replaced);
    case ccEUC:
      return EucDecode(upToZero(), replaced);
    case ccUnicode:
      return Utf16ToSJIS(bytes, false, replaced, endedAt, wholeText, oddLastByte);
    case ccUnicodeBE:
      return Utf16ToSJIS(bytes, true, replaced, endedAt, wholeText, oddLastByte);
    case ccUTF8:
      return Utf8ToSJIS(bytes, true, replaced, endedAt, wholeText);
    case ccUTF8N:
      return Utf8ToSJIS(bytes, false, replaced, endedAt, wholeText);
    default:
      return std::string(bytes);
  }
}

// ---------------------------------------------------------------- from the internal text

std::string TStringCodeConverter::SJISToJIS(std::string_view text, ConversionReport* report,
                                           ConversionReport* widened) {
  const unsigned char* t = Bytes(text);
  const size_t n = text.size();
  std::string result;
  // Three times the input holds every ordinary text; escapes around single
  // characters can need more, which the result then grows for.
  CharOutput out(result, n * 3 + 16);
  char* w = out.Start();
  bool kanji = false;
  // ASCII (ESC ( B), not JIS-Roman (ESC ( J): with the latter, readers of
  // ISO-2022-JP show every later backslash as a yen sign and tilde as overline.
  auto leaveKanji = [&kanji](char* at) {
    if (!kanji) return at;
    std::memcpy(at, "\x1B(B", 3);
    kanji = false;
    return at + 3;
  };
  auto enterKanji = [&kanji](char* at) {
    if (kanji) return at;
    std::memcpy(at, "\x1B$B", 3);
    kanji = true;
    return at + 3;
  };
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    unsigned char c = t[i];
    if (c < 0x80) {
      // Line ends and every other single byte alike leave the double-byte run.
      w = leaveKanji(w);
      i += CopyRun(out, w, t, i, n, [](auto v) { return HighBits(v); });
      continue;
    }
#if defined(__SSE2__)
    {
      // The escape goes before the pairs: they are written after it.
      auto convert = [](const Pairs& p, char* at) { SjisToJis8(p.first, p.second, _mm_setzero_si128(), at); };
      size_t pairs = VectorPairs(t + i, n - i, w + (kanji ? 0 : 3), PlainSjisPairs, convert);
      if (pairs != 0) {
        w = enterKanji(w);
        for (;;) {
          i += 2 * pairs;
          w = out.Room(w + 2 * pairs);
          if (pairs < 16) break;
          if ((pairs = VectorPairs(t + i, n - i, w, PlainSjisPairs, convert)) == 0) break;
        }
        continue;
      }
    }
#endif
    const bool lead = IsLeadByte(c);
    if (lead && i + 1 == n) {
      *w++ = static_cast<char>(c);  // a lone final byte stays as it is
      ++i;
      continue;
    }
    uint16_t jis = 0;
    int consumed = 1;
    if (c >= 0xA1 && c <= 0xDF) {
      // JIS has no half-width katakana: they are written full-width, for good.
      jis = KanaToJIS(c, i + 1 < n ? t[i + 1] : 0, consumed);
      Note(widened, i);
    } else if (lead && IsTrailByte(t[i + 1])) {
      consumed = 2;
      jis = SjisToJisCode(c, t[i + 1]);  // 0 for the user-defined area, which no row holds
    }
    if (jis == 0) {
      Note(report, i);
      w = leaveKanji(w);
      *w++ = '?';
    } else {
      w = enterKanji(w);
      w = Put2(w, jis);
    }
    i += static_cast<size_t>(consumed);
  }
  // A text ends in ASCII, so that what follows it (another file joined
  // after it, a reader's own output) is not read as kanji.
  w = out.Room(w);
  w = leaveKanji(w);
  out.Flush(w);
  return result;
}

std::string TStringCodeConverter::SJISToEUC(std::string_view text, ConversionReport* report) {
  const unsigned char* t = Bytes(text);
  const size_t n = text.size();
  std::string result;
  CharOutput out(result, n * 2);
  char* w = out.Start();
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    unsigned char c = t[i];
    if (c < 0x80) {
      i += CopyRun(out, w, t, i, n, [](auto v) { return HighBits(v); });
      continue;
    }
    if (c >= 0xA1 && c <= 0xDF) {
      // Half-width katakana come in runs.
      char* stop = w + CharOutput::kSlack;
      do {
        w[0] = static_cast<char>(0x8E);
        w[1] = static_cast<char>(t[i++]);
        w += 2;
      } while (w < stop && i < n && t[i] >= 0xA1 && t[i] <= 0xDF);
      continue;
    }
#if defined(__SSE2__)
    {
      const size_t from = i;
      auto convert = [](const Pairs& p, char* at) { SjisToJis8(p.first, p.second, _mm_set1_epi16(0x80), at); };
      for (size_t pairs; (pairs = VectorPairs(t + i, n - i, w, PlainSjisPairs, convert)) != 0;) {
        i += 2 * pairs;
        w = out.Room(w + 2 * pairs);
        if (pairs < 16) break;
      }
      if (i != from) continue;  // c is read again at the top
    }
#endif
    if (IsLeadByte(c) && i + 1 == n) {
      *w++ = static_cast<char>(c);  // a lone final byte stays as it is
      ++i;
    } else if (IsLeadByte(c) && IsTrailByte(t[i + 1])) {
      if (uint16_t jis = SjisToJisCode(c, t[i + 1])) {
        w = Put2(w, static_cast<uint16_t>(jis | 0x8080));
      } else {
        Note(report, i);
        *w++ = '?';
      }
      i += 2;
    } else {
      Note(report, i);
      *w++ = '?';
      ++i;
    }
  }
  out.Flush(w);
  return result;
}

void TStringCodeConverter::AppendUtf16(std::string& out, std::string_view text, bool bigEndian) const {
  std::u16string units = codePage_->Cp932ToUtf16(text);
  out.reserve(out.size() + units.size() * 2);
  const bool swap = bigEndian == (std::endian::native == std::endian::little);
  if (!swap) {
    out.append(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    return;
  }
  CharOutput chunks(out, out.capacity());
  char* w = chunks.Start();
  for (char16_t unit : units) {
    w = chunks.Room(w);
    w[0] = static_cast<char>(unit >> 8);
    w[1] = static_cast<char>(unit);
    w += 2;
  }
  chunks.Flush(w);
}

std::string TStringCodeConverter::SJISToUnicode(std::string_view text) const {
  std::string out;
  AppendUtf16(out, text, false);
  return out;
}

std::string TStringCodeConverter::SJISToUnicodeBE(std::string_view text) const {
  std::string out;
  AppendUtf16(out, text, true);
  return out;
}

std::string TStringCodeConverter::SJISToUTF8(std::string_view text) const { return codePage_->Cp932ToUtf8(text); }

std::string TStringCodeConverter::FromInternal(std::string_view text, TCharCode code, ConversionReport* report,
                                               ConversionReport* widened) const {
  switch (code) {
    case ccJIS:
      return SJISToJIS(text, report, widened);
    case ccEUC:
      return SJISToEUC(text, report);
    case ccUnicode: {
      std::string out("\xFF\xFE", 2);
      AppendUtf16(out, text, false);
      return out;
    }
    case ccUnicodeBE: {
      std::string out("\xFE\xFF", 2);
      AppendUtf16(out, text, true);
      return out;
    }
    case ccUTF8: {
      std::string out = SJISToUTF8(text);
      out.insert(0, "\xEF\xBB\xBF");  // in place: the conversion reserved room
      return out;
    }
    case ccUTF8N:
      return SJISToUTF8(text);
    default:
      return std::string(text);
  }
}

// ---------------------------------------------------------------- piece by piece

size_t TStringCodeConverter::PieceEnd(std::string_view bytes, TCharCode code) {
  const unsigned char* t = Bytes(bytes);
  const bool utf16 = code == ccUnicode || code == ccUnicodeBE;
  const size_t unit = utf16 ? 2 : 1;
  const size_t units = bytes.size() / unit;
  const int high = code == ccUnicodeBE ? 0 : 1;
  auto at = [&](size_t k) -> unsigned {
    return utf16 ? static_cast<unsigned>(t[2 * k + high] << 8 | t[2 * k + 1 - high]) : t[k];
  };
  // In JIS an escape takes up to three bytes after it, whatever they are: no
  // cut falls inside one.
  auto outsideEscape = [&](size_t k) {
    if (code != ccJIS) return true;
    for (size_t back = 1; back <= 3 && back <= k; ++back) {
      if (t[k - back] == kEsc) return false;
    }
    return true;
  };
  // A CR ends its line only when the next character is known; in JIS an
  // escape after it may vanish before an LF.
  auto endsLine = [&](size_t k) {
    const unsigned c = at(k);
    if (c == '\n') return true;
    if (c != '\r' || k + 1 >= units) return false;
    const unsigned next = at(k + 1);
    return next != '\n' && !(code == ccJIS && next == kEsc);
  };
  if (!utf16) {
    // Line breaks are found a word at a time; a CR is looked for only after the last LF.
    constexpr size_t npos = static_cast<size_t>(-1);
    auto found = [t](const void* p) { return p != nullptr ? static_cast<size_t>(static_cast<const unsigned char*>(p) - t) : npos; };
    for (size_t end = units; end > 0;) {
      const size_t lf = found(memrchr(t, '\n', end));
      const size_t from = lf == npos ? 0 : lf + 1;
      const size_t cr = found(memrchr(t + from, '\r', end - from));
      const size_t k = cr != npos ? cr : lf;
      if (k == npos) break;
      if (endsLine(k) && outsideEscape(k)) return k + 1;
      end = k;
    }
  } else {
    for (size_t k = units; k-- > 0;) {
      if (endsLine(k)) return 2 * (k + 1);
    }
  }
  // A line longer than the bytes: any other control byte or blank ends a
  // character in every code, but for ESC and the end-of-file byte, which the
  // end of the text treats apart.
  for (size_t k = units; k-- > 0;) {
    const unsigned c = at(k);
    if (c <= 0x20 && c != '\r' && c != kEsc && c != 0x1A && outsideEscape(k)) return (k + 1) * unit;
  }
  return 0;
}

std::string TStringCodeConverter::ToInternalPiece(std::string_view bytes, TCharCode code, bool first, int& jisMode,
                                                  TDecodeReport* report) const {
  ConversionReport* replaced = report != nullptr ? &report->replaced : nullptr;
  bool* oddLastByte = report != nullptr ? &report->oddLastByte : nullptr;
  switch (code) {
    case ccJIS:
      return JisDecode(bytes, replaced, &jisMode);
    case ccEUC:
      return EucDecode(bytes, replaced);
    case ccUnicode:
    case ccUnicodeBE:
      return Utf16ToSJIS(bytes, code == ccUnicodeBE, replaced, nullptr, true, oddLastByte, first);
    case ccUTF8:
    case ccUTF8N:
      return Utf8ToSJIS(bytes, code == ccUTF8 && first, replaced, nullptr, true);
    default:
      return std::string(bytes);
  }
}

std::string TStringCodeConverter::FromInternalPiece(std::string_view text, TCharCode code, bool first,
                                                    ConversionReport* report, ConversionReport* widened) const {
  if (first) return FromInternal(text, code, report, widened);
  switch (code) {
    case ccUnicode:
      return SJISToUnicode(text);
    case ccUnicodeBE:
      return SJISToUnicodeBE(text);
    case ccUTF8:
      return SJISToUTF8(text);
    default:
      return FromInternal(text, code, report, widened);
  }
}

// ---------------------------------------------------------------- pairs

uint16_t TStringCodeConverter::KanaToJIS(uint8_t a, uint8_t next, int& consumed) {
  // Full-width JIS X 0208 characters of the half-width katakana 0xA1-0xDF.
  static constexpr uint16_t kFullWidth[63] = {
      0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523,  // A1-A8 ｡｢｣､･ｦｧｨ
      0x2525, 0x2527, 0x2529, 0x2563, 0x2565, 0x2567, 0x2543, 0x213C,  // A9-B0 ｩｪｫｬｭｮｯｰ
      0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D, 0x252F,  // B1-B8 ｱｲｳｴｵｶｷｸ
      0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F,  // B9-C0 ｹｺｻｼｽｾｿﾀ
      0x2541, 0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C, 0x254D,  // C1-C8 ﾁﾂﾃﾄﾅﾆﾇﾈ
      0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B, 0x255E, 0x255F,  // C9-D0 ﾉﾊﾋﾌﾍﾎﾏﾐ
      0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569, 0x256A,  // D1-D8 ﾑﾒﾓﾔﾕﾖﾗﾘ
      0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C,          // D9-DF ﾙﾚﾛﾜﾝﾞﾟ
  };
  consumed = 1;
  if (a < 0xA1 || a > 0xDF) return 0x2129;  // not katakana: a full-width question mark
  uint16_t jis = kFullWidth[a - 0xA1];
  if (next == 0xDE) {
    if (a == 0xB3) {
      consumed = 2;
      return 0x2574;  // ｳﾞ, ヴ
    }
    if ((a >= 0xB6 && a <= 0xC4) || (a >= 0xCA && a <= 0xCE)) {
      consumed = 2;
      return static_cast<uint16_t>(jis + 1);
    }
  } else if (next == 0xDF && a >= 0xCA && a <= 0xCE) {
    consumed = 2;
    return static_cast<uint16_t>(jis + 2);
  }
  return jis;
}

// ---------------------------------------------------------------- detection piece by piece

namespace {

// Gives bytes to a walker that may leave the last few of them for later
// (a sequence cut by the end of the piece): carry holds those, and they are
// walked again together with the start of the next bytes.
template <typename Walk>
void FeedWalker(std::string& carry, std::string_view bytes, bool final, Walk walk) {
  if (!carry.empty()) {
    // A cut step needs at most a few more bytes: these are plenty.
    size_t take = std::min<size_t>(bytes.size(), 64);
    std::string joined = carry;
    joined.append(bytes.substr(0, take));
    size_t used = walk(Bytes(joined), joined.size(), final && take == bytes.size());
    if (used < carry.size() && take < bytes.size()) {
      // Not past the carried bytes even so: walk them with all the rest.
      joined = carry;
      joined.append(bytes);
      take = bytes.size();
      used = walk(Bytes(joined), joined.size(), final);
    }
    if (used < carry.size() || take == bytes.size()) {
      carry = joined.substr(std::min(used, joined.size()));
      return;
    }
    bytes.remove_prefix(used - carry.size());
    carry.clear();
  }
  size_t used = walk(Bytes(bytes), bytes.size(), final);
  carry = std::string(bytes.substr(std::min(used, bytes.size())));
}

}  // namespace

void TCodeDetector::Feed(std::string_view bytes) {
  if (decided_ || ended_) return;
  bool endsHere = false;
  if (!bytes.empty()) {
    if (const void* zero = std::memchr(bytes.data(), 0, bytes.size())) {
      bytes = bytes.substr(0, static_cast<size_t>(static_cast<const char*>(zero) - bytes.data()));
      endsHere = true;
    }
  }
  const size_t headBytes = TStringCodeConverter::kBinaryCheckBytes + 1;
  if (head_.size() < headBytes) head_.append(bytes.substr(0, std::min(bytes.size(), headBytes - head_.size())));
  Walk(bytes, endsHere);
  ended_ = endsHere;
  Decide();
}

void TCodeDetector::Finish() {
  if (decided_) return;
  if (!ended_) {
    Walk(std::string_view(), true);
    ended_ = true;
  }
  Decide();
}

void TCodeDetector::Walk(std::string_view bytes, bool final) {
  using C = TStringCodeConverter;
  if (utf8nCheck_ && !utf8_.invalid && !utf8Done_) {
    FeedWalker(utf8Carry_, bytes, final,
               [this](const unsigned char* t, size_t n, bool f) { return C::Utf8Walk(t, n, f, utf8_); });
    if (final) utf8Done_ = true;
  }
  if (!scan_.decided) {
    FeedWalker(scanCarry_, bytes, final,
               [this](const unsigned char* t, size_t n, bool f) { return C::Scan(t, n, f, scan_); });
  }
}

void TCodeDetector::Decide() {
  // The order of DetectCode: marks, UTF-8, the binary test, the scan.
  auto decide = [this](TCharCode code) {
    result_ = code;
    decided_ = true;
  };
  const unsigned char* h = Bytes(head_);
  const size_t known = head_.size();
  if (!ended_ && known < 3) return;
  if (known >= 2 && h[0] == 0xFF && h[1] == 0xFE) return decide(ccUnicode);
  if (known >= 2 && h[0] == 0xFE && h[1] == 0xFF) return decide(ccUnicodeBE);
  if (known >= 3 && h[0] == 0xEF && h[1] == 0xBB && h[2] == 0xBF) return decide(ccUTF8);
  if (utf8nCheck_ && !utf8_.invalid) {
    if (!ended_) return;
    if (utf8_.found) return decide(ccUTF8N);
  }
  if (!ended_ && known <= TStringCodeConverter::kBinaryCheckBytes) return;
  if (TStringCodeConverter::IsBinaryHead(h, known)) return decide(ccBinary);
  if (scan_.decided || ended_) decide(scan_.result);
}

}  // namespace kerv
