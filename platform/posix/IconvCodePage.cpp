#include "platform/posix/IconvCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/AsciiRun.h"
#include "platform/ChunkedOutput.h"

namespace kerv {

// Code page 932 as iconv maps it, asked once character by character.
struct IconvCodePage::Tables {
  static constexpr uint16_t kNone = 0xFFFF;  // no code page 932 form (no code is FFFF)

  bool isLead[256] = {};       // iconv wants a second byte after it
  char16_t single[256] = {};   // a byte alone: its character, or itself when iconv rejects it
  char16_t pair[65536] = {};   // (lead << 8) | trail: its character, 0 when iconv rejects the pair
  uint16_t encode[65536] = {}; // UTF-16 code unit (not a surrogate): code, one byte or two, or kNone
  bool asciiIsIdentity = true; // 0x00-0x7F map to U+0000-U+007F both ways (lets runs be copied)
};

namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(::iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv_open failed: ") + from);
  }
  ~Iconv() { ::iconv_close(handle_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts one whole input; false when iconv rejects any of it (or it is incomplete).
  bool ConvertAll(const char* in, size_t inSize, char* out, size_t outCapacity, size_t& outSize) {
    ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    size_t outLeft = outCapacity;
    size_t rc = ::iconv(handle_, &inPtr, &inSize, &outPtr, &outLeft);
    outSize = outCapacity - outLeft;
    return rc != static_cast<size_t>(-1) && inSize == 0;
  }

 private:
  iconv_t handle_;
};

char16_t Utf16Le(const char* bytes) {
  return static_cast<char16_t>(static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1]) << 8);
}

std::unique_ptr<IconvCodePage::Tables> BuildTables() {
  auto t = std::make_unique<IconvCodePage::Tables>();
  Iconv decode("UTF-16LE", "CP932");
  Iconv encode("CP932", "UTF-16LE");
  char out[16];
  size_t outSize = 0;

  for (int b = 0; b < 256; ++b) {
    char in[2] = {static_cast<char>(b), 0};
    t->single[b] = static_cast<char16_t>(b);
    if (decode.ConvertAll(in, 1, out, sizeof out, outSize)) {
      if (outSize == 2) t->single[b] = Utf16Le(out);
      continue;
    }
    // A byte that iconv accepts before a suitable trail byte is a lead byte.
    for (int trail = 0x40; trail <= 0xFC && !t->isLead[b]; ++trail) {
      in[1] = static_cast<char>(trail);
      t->isLead[b] = decode.ConvertAll(in, 2, out, sizeof out, outSize);
    }
  }
  for (int lead = 0; lead < 256; ++lead) {
    if (!t->isLead[lead]) continue;
    for (int trail = 0; trail < 256; ++trail) {
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      if (decode.ConvertAll(in, 2, out, sizeof out, outSize) && outSize == 2) t->pair[lead << 8 | trail] = Utf16Le(out);
    }
  }
  for (int unit = 0; unit < 65536; ++unit) {
    t->encode[unit] = IconvCodePage::Tables::kNone;
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    if (!encode.ConvertAll(in, 2, out, sizeof out, outSize)) continue;
    if (outSize == 1) {
      t->encode[unit] = static_cast<unsigned char>(out[0]);
    } else if (outSize == 2) {
      t->encode[unit] = static_cast<uint16_t>(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
    }
  }
  for (int b = 0; b < 0x80; ++b) {
    if (t->isLead[b] || t->single[b] != b || t->encode[b] != b) t->asciiIsIdentity = false;
  }
  return t;
}

const IconvCodePage::Tables& SharedTables() {
  static const std::unique_ptr<IconvCodePage::Tables> tables = BuildTables();
  return *tables;
}

const unsigned char* Bytes(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }


// Length of the run of code units below 0x80 at the start of [p, p + n).
size_t AsciiRun(const char16_t* p, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
  while (i + 8 <= n) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128()));
    if (mask != 0xFFFF) return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(~mask & 0xFFFF))) / 2;
    i += 8;
  }
#endif
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

// ASCII bytes widened to code units.
void WidenAscii(const unsigned char* from, size_t n, char16_t* to) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i + 8), _mm_unpackhi_epi8(v, zero));
  }
#endif
  for (; i < n; ++i) to[i] = from[i];
}

// Code units below 0x80 narrowed to bytes.
void NarrowAscii(const char16_t* from, size_t n, char* to) {
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i + 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_packus_epi16(a, b));
  }
#endif
  for (; i < n; ++i) to[i] = static_cast<char>(from[i]);
}

// One well-formed UTF-8 sequence at p (strictly: no overlong forms, no
// surrogates, nothing above U+10FFFF), as iconv accepts them. Returns its
// length and sets codePoint, or 0 when the byte at p starts none.
size_t DecodeUtf8(const unsigned char* p, size_t left, char32_t& codePoint) {
  unsigned char c = p[0];
  auto cont = [&](size_t k, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return k < left && p[k] >= low && p[k] <= high;
  };
  if (c >= 0xC2 && c <= 0xDF) {
    if (!cont(1)) return 0;
    codePoint = static_cast<char32_t>((c & 0x1F) << 6 | (p[1] & 0x3F));
    return 2;
  }
  if (c >= 0xE0 && c <= 0xEF) {
    unsigned char low = c == 0xE0 ? 0xA0 : 0x80;
    unsigned char high = c == 0xED ? 0x9F : 0xBF;
    if (!cont(1, low, high) || !cont(2)) return 0;
    codePoint = static_cast<char32_t>((c & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    unsigned char low = c == 0xF0 ? 0x90 : 0x80;
    unsigned char high = c == 0xF4 ? 0x8F : 0xBF;
    if (!cont(1, low, high) || !cont(2) || !cont(3)) return 0;
    codePoint = static_cast<char32_t>((c & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F));
    return 4;
  }
  return 0;
}

// Writes code point (at most U+FFFF) as UTF-8; returns the bytes written.
size_t PutUtf8(char* w, char16_t unit) {
  if (unit < 0x80) {
    w[0] = static_cast<char>(unit);
    return 1;
  }
  if (unit < 0x800) {
    w[0] = static_cast<char>(0xC0 | unit >> 6);
    w[1] = static_cast<char>(0x80 | (unit & 0x3F));
    return 2;
  }
  w[0] = static_cast<char>(0xE0 | unit >> 12);
  w[1] = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
  w[2] = static_cast<char>(0x80 | (unit & 0x3F));
  return 3;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void Note(ConversionReport* report, size_t index) {
  if (report != nullptr) report->Note(index);
}

// Writes a code page 932 code (one byte or two); returns the bytes written.
size_t PutCode(char* w, uint16_t code) {
  if (code < 0x100) {
    w[0] = static_cast<char>(code);
    return 1;
  }
  w[0] = static_cast<char>(code >> 8);
  w[1] = static_cast<char>(code);
  return 2;
}

}  // namespace

IconvCodePage::IconvCodePage() : tables_(&SharedTables()) {}

namespace {

// Writes into memory the caller has made room in.
template <typename Unit>
struct DirectOutput {
  Unit* start;
  Unit* Start() { return start; }
  Unit* Room(Unit* w) { return w; }
  size_t Space(Unit*) const { return static_cast<size_t>(-1); }
  void Flush(Unit*) {}
};

// Code page 932 to UTF-16 in one pass into out; returns where the output ended.
template <typename Output>
char16_t* DecodeCp932(const IconvCodePage::Tables& t, const unsigned char* p, size_t n, Output& out) {
  char16_t* w = out.Start();
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    unsigned char c = p[i];
    if (c < 0x80 && t.asciiIsIdentity) {
      size_t run = kerv::AsciiRun(p + i, std::min(n - i, out.Space(w)));
      WidenAscii(p + i, run, w);
      w += run;
      i += run;
      continue;
    }
    if (t.isLead[c] && i + 1 < n) {
      char16_t unit = t.pair[c << 8 | p[i + 1]];
      if (unit != 0) {
        *w++ = unit;
        i += 2;
        continue;
      }
    }
    // A single character, or a lead byte that iconv rejects with what follows.
    *w++ = t.single[c];
    ++i;
  }
  out.Flush(w);
  return w;
}

}  // namespace

std::u16string IconvCodePage::Cp932ToUtf16(std::string_view text) {
  std::u16string result;
  ChunkedOutput<char16_t> out(result, text.size());
  DecodeCp932(*tables_, Bytes(text), text.size(), out);
  return result;
}

size_t IconvCodePage::Cp932ToUtf16Into(std::string_view text, char16_t* out) {
  DirectOutput<char16_t> direct{out};
  return static_cast<size_t>(DecodeCp932(*tables_, Bytes(text), text.size(), direct) - out);
}

std::string IconvCodePage::Cp932ToUtf8(std::string_view text) {
  const Tables& t = *tables_;
  const unsigned char* p = Bytes(text);
  const size_t n = text.size();
  std::string result;
  // Every byte gives at most three bytes (half-width katakana; pairs give at most three for two).
  ChunkedOutput<char> out(result, n * 3);
  char* w = out.Start();
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    unsigned char c = p[i];
    if (c < 0x80 && t.asciiIsIdentity) {
      size_t run = AsciiRun(p + i, std::min(n - i, out.Space(w)));
      std::memcpy(w, p + i, run);
      w += run;
      i += run;
      continue;
    }
    if (t.isLead[c] && i + 1 < n) {
      char16_t unit = t.pair[c << 8 | p[i + 1]];
      if (unit != 0) {
        w += PutUtf8(w, unit);
        i += 2;
        continue;
      }
    }
    w += PutUtf8(w, t.single[c]);
    ++i;
  }
  out.Flush(w);
  return result;
}

std::string IconvCodePage::Utf16ToCp932(std::u16string_view text, ConversionReport* report) {
  const Tables& t = *tables_;
  const char16_t* p = text.data();
  const size_t n = text.size();
  std::string result;
  ChunkedOutput<char> out(result, n * 2);
  char* w = out.Start();
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    char16_t unit = p[i];
    if (unit < 0x80 && t.asciiIsIdentity) {
      size_t run = AsciiRun(p + i, std::min(n - i, out.Space(w)));
      NarrowAscii(p + i, run, w);
      w += run;
      i += run;
      continue;
    }
    uint16_t code = t.encode[unit];
    if (code != Tables::kNone) {
      w += PutCode(w, code);
      ++i;
      continue;
    }
    Note(report, i);
    *w++ = '?';
    // A surrogate pair is one character (code page 932 has none above U+FFFF).
    i += IsHighSurrogate(unit) && i + 1 < n && IsLowSurrogate(p[i + 1]) ? 2 : 1;
  }
  out.Flush(w);
  return result;
}

namespace {

// UTF-8 to code page 932 in one pass into out (a ChunkedOutput, or a
// DirectOutput over the input's own bytes); returns where the output ended.
template <typename Output>
char* EncodeUtf8(const IconvCodePage::Tables& t, const unsigned char* p, size_t n, Output& out,
                 ConversionReport* report, size_t* firstReplacedOut) {
  constexpr bool kOver = std::is_same_v<Output, DirectOutput<char>>;
  char* w = out.Start();
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    unsigned char c = p[i];
    if (c < 0x80 && t.asciiIsIdentity) {
      size_t run = kerv::AsciiRun(p + i, std::min(n - i, out.Space(w)));
      if constexpr (kOver) {
        if (reinterpret_cast<const unsigned char*>(w) != p + i) std::memmove(w, p + i, run);
      } else {
        std::memcpy(w, p + i, run);
      }
      w += run;
      i += run;
      continue;
    }
    // Japanese text is mostly three-byte sequences with leads other than
    // E0 and ED (the two whose second byte has a narrower range).
    if (i + 3 <= n && c != 0xE0 && c != 0xED) {
      uint32_t three = static_cast<uint32_t>(c | p[i + 1] << 8 | p[i + 2] << 16);
      if ((three & 0xC0C0F0u) == 0x8080E0u) {
        uint16_t code = t.encode[(c & 0x0F) << 12 | (p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F)];
        if (code != IconvCodePage::Tables::kNone) {
          w += PutCode(w, code);
          i += 3;
          continue;
        }
      }
    }
    char32_t codePoint = c;
    size_t length = c < 0x80 ? 1 : DecodeUtf8(p + i, n - i, codePoint);
    uint16_t code = length != 0 && codePoint <= 0xFFFF ? t.encode[codePoint] : IconvCodePage::Tables::kNone;
    if (code != IconvCodePage::Tables::kNone) {
      w += PutCode(w, code);
    } else {
      if (firstReplacedOut != nullptr && *firstReplacedOut == ConversionReport::npos) {
        *firstReplacedOut = static_cast<size_t>(w - out.Start());
      }
      Note(report, i);
      *w++ = '?';
    }
    i += length != 0 ? length : 1;
  }
  out.Flush(w);
  return w;
}

}  // namespace

std::string IconvCodePage::Utf8ToCp932(std::string_view text, ConversionReport* report) {
  std::string result;
  // No UTF-8 sequence gives more bytes than it has.
  ChunkedOutput<char> out(result, text.size());
  EncodeUtf8(*tables_, Bytes(text), text.size(), out, report, nullptr);
  return result;
}

size_t IconvCodePage::Utf8ToCp932Over(const char* in, size_t size, char* out, ConversionReport* report,
                                      size_t* firstReplacedOut) {
  // Only where ASCII stays one byte is no character's form longer than its UTF-8.
  if (!tables_->asciiIsIdentity) return ConversionReport::npos;
  // Behind the read position: the input is read from the same memory.
  DirectOutput<char> over{out};
  return static_cast<size_t>(EncodeUtf8(*tables_, reinterpret_cast<const unsigned char*>(in), size, over, report,
                                        firstReplacedOut) -
                             out);
}

std::u16string IconvCodePage::Utf8ToUtf16(std::string_view text, ConversionReport* report) {
  const unsigned char* p = Bytes(text);
  const size_t n = text.size();
  std::u16string result;
  ChunkedOutput<char16_t> out(result, n);
  char16_t* w = out.Start();
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    unsigned char c = p[i];
    if (c < 0x80) {
      size_t run = AsciiRun(p + i, std::min(n - i, out.Space(w)));
      WidenAscii(p + i, run, w);
      w += run;
      i += run;
      continue;
    }
    char32_t codePoint = 0;
    size_t length = DecodeUtf8(p + i, n - i, codePoint);
    if (length == 0) {
      Note(report, i);
      *w++ = u'\uFFFD';
      ++i;
    } else if (codePoint <= 0xFFFF) {
      *w++ = static_cast<char16_t>(codePoint);
      i += length;
    } else {
      codePoint -= 0x10000;
      *w++ = static_cast<char16_t>(0xD800 + (codePoint >> 10));
      *w++ = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
      i += length;
    }
  }
  out.Flush(w);
  return result;
}

std::string IconvCodePage::Utf16ToUtf8(std::u16string_view text) {
  const char16_t* p = text.data();
  const size_t n = text.size();
  std::string result;
  ChunkedOutput<char> out(result, n * 3);
  char* w = out.Start();
  size_t i = 0;
  while (i < n) {
    w = out.Room(w);
    char16_t unit = p[i];
    if (unit < 0x80) {
      size_t run = AsciiRun(p + i, std::min(n - i, out.Space(w)));
      NarrowAscii(p + i, run, w);
      w += run;
      i += run;
      continue;
    }
    if (IsHighSurrogate(unit) && i + 1 < n && IsLowSurrogate(p[i + 1])) {
      char32_t codePoint = 0x10000 + (static_cast<char32_t>(unit - 0xD800) << 10) + (p[i + 1] - 0xDC00);
      w[0] = static_cast<char>(0xF0 | codePoint >> 18);
      w[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
      w[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
      w[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
      w += 4;
      i += 2;
      continue;
    }
    // A lone surrogate has no UTF-8 form.
    w += PutUtf8(w, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? u'\uFFFD' : unit);
    ++i;
  }
  out.Flush(w);
  return result;
}

}  // namespace kerv
