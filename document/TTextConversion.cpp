#include "document/TTextConversion.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "document/TFileManager.h"
#include "platform/LineBreakSearch.h"

namespace kerv {
namespace {

bool IsUnicode(TCharCode code) { return code >= ccUnicode && code <= ccUTF8N; }
bool IsUtf16(TCharCode code) { return code == ccUnicode || code == ccUnicodeBE; }
bool IsDecoded(TCharCode code) { return code >= ccJIS && code <= ccUTF8N; }

std::string_view ReturnSequence(TReturnCode code) {
  return code == rcCRLF ? std::string_view("\r\n") : code == rcLF ? std::string_view("\n") : std::string_view("\r");
}

// The old end-of-file mark: one 0x1A as the very last byte ends the text.
void DropEndMark(std::string_view& text) {
  if (!text.empty() && text.back() == '\x1A' && (text.size() == 1 || text[text.size() - 2] != '\x1A')) {
    text.remove_suffix(1);
  }
}

// Whether every line break of text already is a CR LF pair (a CR at its
// end is a lone one).
bool OnlyCrLf(std::string_view text) {
  const char* p = text.data();
  const size_t n = text.size();
  size_t i = 0;
  bool crBefore = false;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
    unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    // An LF exactly after every CR, and no other.
    if ((((crs << 1) | (crBefore ? 1u : 0u)) & 0xFFFF) != lfs) return false;
    crBefore = (crs & 0x8000) != 0;
  }
#endif
  for (; i < n; ++i) {
    const bool isLf = p[i] == '\n';
    if (isLf != crBefore) return false;
    crBefore = p[i] == '\r';
  }
  return !crBefore;
}

// Every line break (CR LF, a lone CR, a lone LF) as target; rcNone keeps
// them. The text is ASCII-transparent (Shift_JIS trail bytes and UTF-8
// continuation bytes are never CR or LF). Returns text itself when nothing
// changes, else the text built in storage.
std::string_view UnifyReturns(std::string_view text, TReturnCode target, std::string& storage) {
  if (target == rcNone) return text;
  const char* p = text.data();
  const size_t n = text.size();
  if (target == rcCRLF) {
    if (OnlyCrLf(text)) return text;
  } else if (std::memchr(p, target == rcLF ? '\r' : '\n', n) == nullptr) {
    return text;
  }
  const std::string_view brk = ReturnSequence(target);
  storage.clear();
  storage.reserve(n + n / 16 + 16);
  size_t from = 0;
  for (size_t i = FindLineBreak(p, 0, n); i < n; i = FindLineBreak(p, from, n)) {
    storage.append(p + from, i - from);
    storage.append(brk);
    from = i + (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n' ? 2 : 1);
  }
  storage.append(p + from, n - from);
  return storage;
}

// UTF-16 bytes to UTF-8, counting what UTF-8 cannot take (a lone surrogate)
// and an odd last byte. lineBase is added to the lines found in bytes.
std::string Utf16ToUtf8(ICodePage& codePage, std::string_view bytes, bool bigEndian, bool markAllowed, bool last,
                        int lineBase, TConversionLoss& loss) {
  const TCharCode code = bigEndian ? ccUnicodeBE : ccUnicode;
  const unsigned char mark0 = bigEndian ? 0xFE : 0xFF;
  size_t skip = markAllowed && bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == mark0 &&
                        static_cast<unsigned char>(bytes[1]) == (mark0 ^ 0x01)
                    ? 2
                    : 0;
  const size_t units = (bytes.size() - skip) / 2;
  std::u16string text(units, u'\0');
  for (size_t k = 0; k < units; ++k) {
    const unsigned char a = static_cast<unsigned char>(bytes[skip + 2 * k]);
    const unsigned char b = static_cast<unsigned char>(bytes[skip + 2 * k + 1]);
    text[k] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  for (size_t k = 0; k < units; ++k) {
    const char16_t unit = text[k];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && k + 1 < units && text[k + 1] >= 0xDC00 && text[k + 1] <= 0xDFFF) {
      ++k;
    } else if (high || low) {
      if (loss.replaced++ == 0) loss.Note(lineBase + TFileManager::LineOfOffset(bytes, skip + 2 * k, code));
    }
  }
  if (last && (bytes.size() - skip) % 2 == 1) {
    loss.oddByte = true;
    loss.Note(lineBase + TFileManager::LineOfOffset(bytes, bytes.size() - 1, code));
  }
  return codePage.Utf16ToUtf8(text);
}

// UTF-8 to bytes in a Unicode code; the mark only when first.
std::string Utf8ToUnicode(ICodePage& codePage, std::string_view text, TCharCode to, bool first, int lineBase,
                          TConversionLoss& loss) {
  if (to == ccUTF8 || to == ccUTF8N) {
    const bool mark = to == ccUTF8 && first;
    std::string out(mark ? 3 : 0, '\xEF');
    if (mark) out[1] = '\xBB', out[2] = '\xBF';
    out.append(text);
    return out;
  }
  ConversionReport malformed;
  std::u16string units = codePage.Utf8ToUtf16(text, &malformed);
  if (malformed.replaced != 0) {
    loss.replaced += malformed.replaced;
    loss.Note(lineBase + TFileManager::LineOfOffset(text, malformed.firstReplaced, ccUTF8N));
  }
  const bool bigEndian = to == ccUnicodeBE;
  const size_t markBytes = first ? 2 : 0;
  std::string out(markBytes + units.size() * 2, '\0');
  if (first) {
    out[0] = bigEndian ? '\xFE' : '\xFF';
    out[1] = bigEndian ? '\xFF' : '\xFE';
  }
  char* w = out.data() + markBytes;
  for (char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    *w++ = bigEndian ? high : low;
    *w++ = bigEndian ? low : high;
  }
  return out;
}

}  // namespace

size_t CountLineBreaks(std::string_view bytes, TCharCode code) {
  if (IsUtf16(code)) return static_cast<size_t>(TFileManager::LineOfOffset(bytes, bytes.size(), code) - 1);
  const char* p = bytes.data();
  const size_t n = bytes.size();
  size_t count = 0;
  for (size_t i = FindLineBreak(p, 0, n); i < n; i = FindLineBreak(p, i, n)) {
    ++count;
    i += p[i] == '\r' && i + 1 < n && p[i + 1] == '\n' ? 2 : 1;
  }
  return count;
}

TTextConversion::TTextConversion(ICodePage& codePage, TCharCode from, TCharCode to, TReturnCode ret)
    : codePage_(codePage), converter_(codePage), from_(from), to_(to), ret_(ret), target_(ret) {}

bool TTextConversion::UnicodeOnly() const { return IsUnicode(from_) && IsUnicode(to_); }

std::string TTextConversion::ConvertWhole(std::string bytes) {
  if (UnicodeOnly()) {
    std::string text;
    if (IsUtf16(from_)) {
      text = Utf16ToUtf8(codePage_, bytes, from_ == ccUnicodeBE, true, true, 0, loss_);
    } else {
      const size_t skip = from_ == ccUTF8 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
      text = bytes.substr(skip);
    }
    bytes = std::string();
    std::string_view body = text;
    DropEndMark(body);
    std::string unified;
    body = UnifyReturns(body, ret_ != rcNone ? ret_ : TStringCodeConverter::DetectReturnCode(body), unified);
    return Utf8ToUnicode(codePage_, body, to_, true, 0, loss_);
  }

  std::string text;
  if (IsDecoded(from_)) {
    TDecodeReport decode;
    text = converter_.ToInternal(bytes, from_, &decode, true);
    if (decode.replaced.replaced != 0) {
      loss_.replaced += decode.replaced.replaced;
      loss_.Note(TFileManager::LineOfOffset(bytes, decode.replaced.firstReplaced, from_));
    }
    if (decode.oddLastByte) {
      loss_.oddByte = true;
      loss_.Note(TFileManager::LineOfOffset(bytes, bytes.size() - 1, from_));
    }
  } else {
    text = std::move(bytes);
  }
  bytes = std::string();
  std::string_view body = text;
  DropEndMark(body);
  std::string unified;
  body = UnifyReturns(body, ret_ != rcNone ? ret_ : TStringCodeConverter::DetectReturnCode(body), unified);
  if (!IsDecoded(to_)) return std::string(body);
  // Positions of what the encoding lost are lines of the text, which has the input's lines.
  ConversionReport replaced, widened;
  std::string out = converter_.FromInternal(body, to_, &replaced, &widened);
  loss_.replaced += replaced.replaced;
  if (replaced.replaced != 0) loss_.Note(TFileManager::LineOfOffset(body, replaced.firstReplaced, ccShiftJIS));
  loss_.widened += widened.replaced;
  if (widened.replaced != 0) loss_.Note(TFileManager::LineOfOffset(body, widened.firstReplaced, ccShiftJIS));
  return out;
}

void TTextConversion::Feed(std::string_view bytes, const Sink& sink) {
  if (bytes.empty()) return;
  if (pending_.empty()) {
    // The bytes are converted where they lie; only an unfinished line is kept.
    ConvertPieces(bytes, false, sink);
    return;
  }
  pending_.append(bytes);
  std::string held;
  held.swap(pending_);
  ConvertPieces(held, false, sink);
}

void TTextConversion::Finish(const Sink& sink) {
  if (finished_) return;
  finished_ = true;
  std::string held;
  held.swap(pending_);
  ConvertPieces(held, true, sink);
}

void TTextConversion::ConvertPieces(std::string_view bytes, bool last, const Sink& sink) {
  // Pieces of about pieceBytes_, each cut where the code allows it.
  while (bytes.size() > pieceBytes_) {
    std::string_view window = bytes.substr(0, pieceBytes_);
    size_t end = TStringCodeConverter::PieceEnd(window, from_);
    if (end == 0) {
      // A line longer than a piece: its end, or the first place after it.
      size_t more = pieceBytes_;
      while (end == 0 && more < bytes.size()) {
        more = std::min(bytes.size(), more * 2);
        end = TStringCodeConverter::PieceEnd(bytes.substr(0, more), from_);
      }
      if (end == 0) break;
    }
    ConvertPiece(bytes.substr(0, end), false, sink);
    bytes.remove_prefix(end);
  }
  if (last) {
    ConvertPiece(bytes, true, sink);
  } else {
    pending_.assign(bytes);
  }
}

std::string_view TTextConversion::Unify(std::string_view text, std::string& storage) {
  if (target_ == rcNone) {
    // Nothing has been cut yet: the first line break decides the kind.
    target_ = TStringCodeConverter::DetectReturnCode(text);
  }
  return UnifyReturns(text, target_, storage);
}

std::string_view TTextConversion::UnicodePiece(std::string_view piece, bool last, std::string& storage) {
  if (IsUtf16(from_)) {
    storage = Utf16ToUtf8(codePage_, piece, from_ == ccUnicodeBE, first_, last, inputBreaks_, loss_);
    return storage;
  }
  if (first_ && from_ == ccUTF8 && piece.substr(0, 3) == "\xEF\xBB\xBF") piece.remove_prefix(3);
  return piece;
}

std::string_view TTextConversion::InternalPiece(std::string_view piece, bool last, std::string& storage) {
  if (!IsDecoded(from_)) return piece;
  TDecodeReport decode;
  storage = converter_.ToInternalPiece(piece, from_, first_, jisMode_, &decode);
  if (decode.replaced.replaced != 0) {
    loss_.replaced += decode.replaced.replaced;
    loss_.Note(inputBreaks_ + TFileManager::LineOfOffset(piece, decode.replaced.firstReplaced, from_));
  }
  if (decode.oddLastByte && last) {
    loss_.oddByte = true;
    loss_.Note(inputBreaks_ + TFileManager::LineOfOffset(piece, piece.size() - 1, from_));
  }
  return storage;
}

void TTextConversion::ConvertPiece(std::string_view piece, bool last, const Sink& sink) {
  std::string decoded, unified;
  const bool unicodeOnly = UnicodeOnly();
  std::string_view text = unicodeOnly ? UnicodePiece(piece, last, decoded) : InternalPiece(piece, last, decoded);
  // A piece never ends with 0x1A but the last: the end mark is the last piece's business.
  if (last) DropEndMark(text);
  text = Unify(text, unified);
  const int lineBase = textBreaks_;
  if (unicodeOnly) {
    sink(Utf8ToUnicode(codePage_, text, to_, first_, lineBase, loss_));
  } else if (!IsDecoded(to_)) {
    sink(text);
  } else {
    ConversionReport replaced, widened;
    sink(converter_.FromInternalPiece(text, to_, first_, &replaced, &widened));
    loss_.replaced += replaced.replaced;
    if (replaced.replaced != 0) {
      loss_.Note(lineBase + TFileManager::LineOfOffset(text, replaced.firstReplaced, ccShiftJIS));
    }
    loss_.widened += widened.replaced;
    if (widened.replaced != 0) {
      loss_.Note(lineBase + TFileManager::LineOfOffset(text, widened.firstReplaced, ccShiftJIS));
    }
  }
  // Line numbers of later losses count from here. Only a code that can lose
  // characters needs them.
  if (!last) {
    if (IsDecoded(from_)) inputBreaks_ += static_cast<int>(CountLineBreaks(piece, from_));
    if (to_ == ccJIS || to_ == ccEUC || (unicodeOnly && IsUtf16(to_))) {
      textBreaks_ += static_cast<int>(CountLineBreaks(text, ccShiftJIS));
    }
  }
  first_ = false;
}

}  // namespace kerv
