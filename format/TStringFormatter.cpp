#include "format/TStringFormatter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "format/ITextCollator.h"
#include "format/ParseInteger.h"
#include "format/TCharTables.h"
#include "platform/AsciiRun.h"
#include "platform/LineBreakSearch.h"

namespace kerv {
namespace {

using Byte = unsigned char;

const Byte* Bytes(std::string_view text) { return reinterpret_cast<const Byte*>(text.data()); }

// ---------------------------------------------------------------------------
// Lookup tables of the hot conversions, derived once from TCharTables.

struct ConversionTables {
  // The full-width code of a single byte for ToZenkaku, per mode (0: none).
  std::array<std::array<uint16_t, 256>, 3> zenkakuOfByte{};
  // Full-width kana of the other kind, for modes 1 and 2 (0: none).
  std::array<uint16_t, 65536> katakanaOf{}, hiraganaOf{};
  // Half-width form of a double-byte code: first byte | second byte << 8 (0: none).
  std::array<uint16_t, 65536> hankakuOf{};

  ConversionTables() {
    const TCharTables& t = TCharTables::Get();
    for (int b = 0; b < 256; ++b) {
      TCharEntry entry = t.Single(static_cast<Byte>(b));
      uint16_t full = t.FullOf(entry);
      for (auto& row : zenkakuOfByte) row[b] = full;
      if (entry.kind == TCharKind::HalfKana) zenkakuOfByte[2][b] = t.hiragana[entry.index];
    }
    for (int i = 0; i < TCharTables::kKanaCount; ++i) {
      katakanaOf[t.hiragana[i]] = t.katakana[i];
      hiraganaOf[t.katakana[i]] = t.hiragana[i];
    }
    for (int i = 0; i < TCharTables::kVoicedHiraganaCount; ++i) {
      katakanaOf[t.voicedHiragana[i]] = t.voicedKatakana[i];
      hiraganaOf[t.voicedKatakana[i]] = t.voicedHiragana[i];
    }
    for (int code = 0x8100; code <= 0xFCFF; ++code) {
      std::string_view half = t.HalfOf(t.Double(static_cast<uint16_t>(code)));
      if (half.empty()) continue;
      uint16_t packed = static_cast<Byte>(half[0]);
      if (half.size() == 2) packed = static_cast<uint16_t>(packed | static_cast<Byte>(half[1]) << 8);
      hankakuOf[code] = packed;
    }
  }
};

const ConversionTables& Conversions() {
  static const ConversionTables tables;
  return tables;
}

// Output of the hot conversions. The input is taken in blocks of kBlockBytes;
// the output of one block (at most kMaxGrowth bytes per input byte, and one
// character read past the block's end) goes to a small buffer without bounds
// checks and is then appended to the result. So the result is written once,
// never zero-filled, and holds no spare worst-case capacity.
class BlockWriter {
 public:
  static constexpr size_t kBlockBytes = 16 * 1024;
  static constexpr size_t kMaxGrowth = 2;

  explicit BlockWriter(size_t expectedBytes) { out_.reserve(expectedBytes); }

  void Put(Byte b) { *w_++ = static_cast<char>(b); }
  void Put2(uint16_t code) {
    w_[0] = static_cast<char>(code >> 8);
    w_[1] = static_cast<char>(code & 0xFF);
    w_ += 2;
  }
  void Put(const void* p, size_t n) {
    std::memcpy(w_, p, n);
    w_ += n;
  }
  void EndBlock() {
    out_.append(buffer_, static_cast<size_t>(w_ - buffer_));
    w_ = buffer_;
  }
  std::string Finish() {
    EndBlock();
    return std::move(out_);
  }

 private:
  std::string out_;
  char buffer_[kMaxGrowth * kBlockBytes + 8];
  char* w_ = buffer_;
};

// ---------------------------------------------------------------------------
// Line breaks.

// Bytes of the line break at byteIndex (CR LF, CR or LF).
size_t LineBreakBytes(const Byte* p, size_t byteIndex, size_t byteCount) {
  return (p[byteIndex] == '\r' && byteIndex + 1 < byteCount && p[byteIndex + 1] == '\n') ? 2 : 1;
}

// ---------------------------------------------------------------------------
// Case.

uint16_t UpperOf(uint16_t code) {
  if (code >= 0x8281 && code <= 0x829A) return static_cast<uint16_t>(code - 0x21);                 // ａ-ｚ
  if (code >= 0x83BF && code <= 0x83D6) return static_cast<uint16_t>(code - 0x20);                 // α-ω
  if (code >= 0x8470 && code <= 0x847E) return static_cast<uint16_t>(0x8440 + (code - 0x8470));    // а-н
  if (code >= 0x8480 && code <= 0x8491) return static_cast<uint16_t>(0x844F + (code - 0x8480));    // о-я
  if (code >= 0xEEEF && code <= 0xEEF8) return static_cast<uint16_t>(0x8754 + (code - 0xEEEF));    // ⅰ-ⅹ (NEC-selected)
  if (code >= 0xFA40 && code <= 0xFA49) return static_cast<uint16_t>(0x8754 + (code - 0xFA40));    // ⅰ-ⅹ (IBM)
  return code;
}

uint16_t LowerOf(uint16_t code) {
  if (code >= 0x8260 && code <= 0x8279) return static_cast<uint16_t>(code + 0x21);                 // Ａ-Ｚ
  if (code >= 0x839F && code <= 0x83B6) return static_cast<uint16_t>(code + 0x20);                 // Α-Ω
  if (code >= 0x8440 && code <= 0x844E) return static_cast<uint16_t>(0x8470 + (code - 0x8440));    // А-Н
  if (code >= 0x844F && code <= 0x8460) return static_cast<uint16_t>(0x8480 + (code - 0x844F));    // О-Я
  if (code >= 0x8754 && code <= 0x875D) return static_cast<uint16_t>(0xFA40 + (code - 0x8754));    // Ⅰ-Ⅹ (NEC)
  if (code >= 0xFA4A && code <= 0xFA53) return static_cast<uint16_t>(0xFA40 + (code - 0xFA4A));    // Ⅰ-Ⅹ (IBM)
  return code;
}

template <bool kUpper>
std::string ChangeCase(std::string_view text) {
  const Byte* p = Bytes(text);
  const size_t n = text.size();
  std::string out(text);
  for (size_t i = 0; i < n;) {
    Byte b = p[i];
    if (b < 0x80) {
      if (kUpper ? (b >= 'a' && b <= 'z') : (b >= 'A' && b <= 'Z')) out[i] = static_cast<char>(b ^ 0x20);
      ++i;
      continue;
    }
    if (SjisCharBytes(p, i, n) == 1) {
      ++i;
      continue;
    }
    uint16_t code = SjisCode(b, p[i + 1]);
    uint16_t changed = kUpper ? UpperOf(code) : LowerOf(code);
    out[i] = static_cast<char>(changed >> 8);
    out[i + 1] = static_cast<char>(changed & 0xFF);
    i += 2;
  }
  return out;
}

// ---------------------------------------------------------------------------
// The type-format operations.

enum class TypeOp { Zenkaku, Hankaku, Delete };

// The first step of a by-type operation: the symbols chosen one by one, in
// their half-width (single-byte) and full-width forms.
std::string ConvertChosenSymbols(std::string_view text, std::string_view symbols, TypeOp op) {
  const TCharTables& t = TCharTables::Get();
  std::array<bool, 256> chosenByte{};
  for (size_t i = 0; i < symbols.size(); i += SjisCharBytes(symbols, i)) {
    if (SjisCharBytes(symbols, i) == 1) chosenByte[static_cast<Byte>(symbols[i])] = true;
  }
  std::vector<uint16_t> chosenFull;
  std::string fullForms = TStringFormatter::ToZenkaku(symbols, TZenkakuMode::Plain);
  for (size_t i = 0; i < fullForms.size(); i += SjisCharBytes(fullForms, i)) {
    if (SjisCharBytes(fullForms, i) == 2) {
      chosenFull.push_back(SjisCode(static_cast<Byte>(fullForms[i]), static_cast<Byte>(fullForms[i + 1])));
    }
  }
  const auto& zenkakuOfByte = Conversions().zenkakuOfByte[0];
  const Byte* p = Bytes(text);
  std::string out;
  out.reserve(text.size() * (op == TypeOp::Zenkaku ? 2 : 1));
  for (size_t i = 0; i < text.size();) {
    size_t len = SjisCharBytes(p, i, text.size());
    // The mark of a ｶﾞ-like pair belongs to its kana, not to the symbols.
    if (len == 1 && i + 1 < text.size() && t.VoicedPair(p[i], p[i + 1]) >= 0) len = 2;
    if (len == 1 && chosenByte[p[i]] && op != TypeOp::Hankaku) {
      uint16_t full = zenkakuOfByte[p[i]];
      if (op == TypeOp::Zenkaku) {
        if (full != 0) AppendCode(out, full);
        else out += static_cast<char>(p[i]);
      }
      ++i;
      continue;
    }
    if (len == 2 && op != TypeOp::Zenkaku && IsLeadByte(p[i])) {
      uint16_t code = SjisCode(p[i], p[i + 1]);
      if (std::find(chosenFull.begin(), chosenFull.end(), code) != chosenFull.end()) {
        if (op == TypeOp::Hankaku) out += t.HalfOf(t.Double(code));
        i += 2;
        continue;
      }
    }
    out.append(text.substr(i, len));
    i += len;
  }
  return out;
}

bool HasFlag(TTypeFlags flags, TTypeFlags flag) { return (flags & flag) != 0; }

// Whether the type flags select a character of a table row.
bool RowChosen(TCharEntry entry, TTypeFlags flags, bool fullWidthBlank, TypeOp op) {
  using namespace TypeFlag;
  switch (entry.kind) {
    case TCharKind::Katakana:
    case TCharKind::VoicedKatakana:
    case TCharKind::HalfKana: return HasFlag(flags, Kata);
    case TCharKind::Hiragana:
    case TCharKind::VoicedHiragana: return HasFlag(flags, Kana);
    case TCharKind::Upper:
      if (entry.index != 0) return HasFlag(flags, EUpp);
      // The blank goes with Space, and with the upper-case row it belongs
      // to, except that the full-width blank only converts back with Space.
      return HasFlag(flags, Space) || (HasFlag(flags, EUpp) && !(fullWidthBlank && op == TypeOp::Hankaku));
    case TCharKind::Lower: return HasFlag(flags, ELow);
    case TCharKind::Digit: return HasFlag(flags, Num);
    case TCharKind::Symbol: return HasFlag(flags, Sym);
    default: return false;
  }
}

std::string ConvertByType(std::string_view text, std::string_view symbols, TTypeFlags flags, TypeOp op) {
  std::string chosen;
  if (!symbols.empty() && !HasFlag(flags, TypeFlag::Sym)) {
    chosen = ConvertChosenSymbols(text, symbols, op);
    text = chosen;
  }
  const TCharTables& t = TCharTables::Get();
  const Byte* p = Bytes(text);
  const size_t n = text.size();
  std::string out;
  out.reserve(n * (op == TypeOp::Zenkaku ? 2 : 1));
  for (size_t i = 0; i < n;) {
    Byte b = p[i];
    size_t len = SjisCharBytes(p, i, n);
    if (len == 2) {
      uint16_t code = SjisCode(b, p[i + 1]);
      TCharEntry entry = t.Double(code);
      bool isChosen = op != TypeOp::Zenkaku && RowChosen(entry, flags, true, op);
      // う゛ is one character for deleting hiragana.
      size_t used = 2;
      if (isChosen && op == TypeOp::Delete && code == t.hiraganaU && i + 3 < n &&
          SjisCode(p[i + 2], p[i + 3]) == t.voicedMarkFull) {
        used = 4;
      }
      if (!isChosen) out.append(text.substr(i, 2));
      else if (op == TypeOp::Hankaku) out += t.HalfOf(entry);
      i += used;
      continue;
    }
    if (b == '\t' || b == '\r' || b == '\n') {
      size_t used = LineBreakBytes(p, i, n);  // CR LF goes as one
      bool remove = op == TypeOp::Delete && HasFlag(flags, b == '\t' ? TypeFlag::Tab : TypeFlag::Ret);
      if (!remove) out.append(text.substr(i, used));
      i += used;
      continue;
    }
    TCharEntry entry = t.Single(b);
    int pair = (entry.kind == TCharKind::HalfKana && i + 1 < n) ? t.VoicedPair(b, p[i + 1]) : -1;
    size_t used = pair >= 0 ? 2 : 1;
    bool isChosen = op != TypeOp::Hankaku && RowChosen(entry, flags, false, op);
    if (!isChosen) out.append(text.substr(i, used));
    else if (op == TypeOp::Zenkaku) AppendCode(out, pair >= 0 ? t.voicedKatakana[static_cast<size_t>(pair)] : t.FullOf(entry));
    i += used;
  }
  return out;
}

// ---------------------------------------------------------------------------
// Lines.

struct Line {
  std::string_view text;       // without its line break
  std::string_view lineBreak;  // empty only for the last line
  // The empty position after a line break that ends the text, which the
  // line-start operations do not take for a line.
  bool emptyTail;
};

// Calls f(Line) for every line, the last one (possibly an empty tail) included.
template <class F>
void ForEachLine(std::string_view text, F f) {
  const Byte* p = Bytes(text);
  const size_t n = text.size();
  size_t begin = 0;
  while (true) {
    size_t end = FindLineBreak(p, begin, n);
    if (end == n) {
      f(Line{text.substr(begin), {}, begin == n && begin > 0});
      return;
    }
    size_t breakBytes = LineBreakBytes(p, end, n);
    f(Line{text.substr(begin, end - begin), text.substr(end, breakBytes), false});
    begin = end + breakBytes;
  }
}

std::string IndentWith(std::string_view text, bool noIndentEmptyLine, std::string_view indent) {
  std::string out;
  out.reserve(text.size() + text.size() / 8 + indent.size());
  ForEachLine(text, [&](const Line& line) {
    if (!line.emptyTail && !(noIndentEmptyLine && line.text.empty())) out += indent;
    out += line.text;
    out += line.lineBreak;
  });
  return out;
}

// Every line without its first cutBytes(line text) bytes; line breaks kept.
template <class CutBytes>
std::string CutLineStarts(std::string_view text, CutBytes cutBytes) {
  std::string out;
  out.reserve(text.size());
  ForEachLine(text, [&](const Line& line) {
    out += line.text.substr(cutBytes(line.text));
    out += line.lineBreak;
  });
  return out;
}

int DecimalDigits(unsigned long long value) {
  int digits = 1;
  for (; value >= 10; value /= 10) ++digits;
  return digits;
}

// One piece of a numbering format: literal text, or a "%d" conversion.
struct FormatPiece {
  std::string literal;
  bool isNumber = false;
  bool leftAlign = false;
  bool zeroPad = false;
  int widthInChars = 0;
  int precisionInDigits = -1;  // -1: none
};

// A width or precision larger than this is a damaged format, not a layout.
constexpr int kMaxFieldWidth = 4096;

int ReadDecimal(std::string_view format, size_t& i) {
  int value = 0;
  while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
    value = std::min(kMaxFieldWidth, value * 10 + (format[i] - '0'));
    ++i;
  }
  return value;
}

std::vector<FormatPiece> ParseNumberFormat(std::string_view format) {
  std::vector<FormatPiece> pieces(1);
  for (size_t i = 0; i < format.size();) {
    size_t len = SjisCharBytes(format, i);
    if (len == 1 && format[i] == '%') {
      if (i + 1 < format.size() && format[i + 1] == '%') {
        pieces.back().literal += '%';
        i += 2;
        continue;
      }
      FormatPiece spec;
      spec.isNumber = true;
      size_t j = i + 1;
      for (; j < format.size() && (format[j] == '-' || format[j] == '0'); ++j) {
        (format[j] == '-' ? spec.leftAlign : spec.zeroPad) = true;
      }
      spec.widthInChars = ReadDecimal(format, j);
      if (j < format.size() && format[j] == '.') {
        ++j;
        spec.precisionInDigits = ReadDecimal(format, j);
      }
      if (j < format.size() && format[j] == 'd') {
        pieces.push_back(std::move(spec));
        pieces.emplace_back();
        i = j + 1;
        continue;
      }
      // Not a conversion we know: the "%" is text.
    }
    pieces.back().literal.append(format.substr(i, len));
    i += len;
  }
  return pieces;
}

unsigned long long Magnitude(long long value) {
  return value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
}

// As printf writes "%d" with these flags, width and precision.
void AppendNumber(std::string& out, long long value, const FormatPiece& spec) {
  std::string digits;
  if (value != 0 || spec.precisionInDigits != 0) digits = std::to_string(Magnitude(value));
  if (spec.precisionInDigits > static_cast<int>(digits.size())) {
    digits.insert(0, static_cast<size_t>(spec.precisionInDigits) - digits.size(), '0');
  }
  const std::string_view sign = value < 0 ? "-" : "";
  const size_t used = sign.size() + digits.size();
  const size_t pad = spec.widthInChars > static_cast<int>(used) ? static_cast<size_t>(spec.widthInChars) - used : 0;
  if (spec.leftAlign) {
    out += sign;
    out += digits;
    out.append(pad, ' ');
  } else if (spec.zeroPad && spec.precisionInDigits < 0) {
    out += sign;
    out.append(pad, '0');
    out += digits;
  } else {
    out.append(pad, ' ');
    out += sign;
    out += digits;
  }
}

// The first 16 key bytes sit in the item, most significant first and
// zero-padded (a key unit is never zero), so most comparisons read no key.
struct SortItem {
  uint64_t keyHead[2];
  size_t keyOffset;  // the whole key in the key buffer
  size_t keyBytes;
  std::string_view line;
};

constexpr size_t kKeyHeadBytes = 16;

void FillKeyHead(SortItem& item, const char* key) {
  for (size_t word = 0; word < 2; ++word) {
    uint64_t value = 0;
    for (size_t i = word * 8; i < word * 8 + 8; ++i) value = value << 8 | (i < item.keyBytes ? static_cast<Byte>(key[i]) : 0u);
    item.keyHead[word] = value;
  }
}

bool EndsWithLineBreak(std::string_view text) { return !text.empty() && (text.back() == '\r' || text.back() == '\n'); }

// count lines, each followed by CR LF, except the last one when the text
// they came from did not end with a line break.
template <class LineAt>
std::string JoinLines(size_t count, LineAt lineAt, bool endWithBreak) {
  size_t bytes = 0;
  for (size_t i = 0; i < count; ++i) bytes += lineAt(i).size() + 2;
  std::string out;
  out.reserve(bytes);
  for (size_t i = 0; i < count; ++i) {
    out += lineAt(i);
    out += "\r\n";
  }
  if (!endWithBreak && !out.empty()) out.resize(out.size() - 2);
  return out;
}

std::string SortLinesImpl(std::string_view text, const ITextCollator& collator, bool descending) {
  const size_t n = text.size();
  std::vector<SortItem> items;
  items.reserve(n / 32 + 1);
  ForEachLine(text, [&](const Line& line) {
    if (!line.emptyTail) items.push_back({{0, 0}, 0, 0, line.text});
  });
  // Keys, where the collator makes them, settle most comparisons with one
  // memcmp; the collator's own comparison breaks the remaining ties.
  std::string keys;
  keys.reserve(2 * n);  // the most a key can take; pages it leaves unused are never touched
  bool haveKeys = true;
  for (SortItem& item : items) {
    item.keyOffset = keys.size();
    if (!collator.AppendSortKey(item.line, keys)) {
      haveKeys = false;
      break;
    }
    item.keyBytes = keys.size() - item.keyOffset;
    FillKeyHead(item, keys.data() + item.keyOffset);
  }
  if (!haveKeys) {
    std::vector<std::string_view> lines;
    lines.reserve(items.size());
    for (const SortItem& item : items) lines.push_back(item.line);
    std::vector<size_t> order;
    if (collator.SortOrder(lines, descending, order) && order.size() == lines.size()) {
      return JoinLines(order.size(), [&](size_t i) { return lines[order[i]]; }, EndsWithLineBreak(text));
    }
    for (SortItem& item : items) item = {{0, 0}, 0, 0, item.line};
  }
  auto less = [&](const SortItem& a, const SortItem& b) {
    if (a.keyHead[0] != b.keyHead[0]) return a.keyHead[0] < b.keyHead[0];
    if (a.keyHead[1] != b.keyHead[1]) return a.keyHead[1] < b.keyHead[1];
    if (a.keyBytes > kKeyHeadBytes || b.keyBytes > kKeyHeadBytes) {
      size_t common = std::min(a.keyBytes, b.keyBytes);
      if (common > kKeyHeadBytes) {
        int order = std::memcmp(keys.data() + a.keyOffset + kKeyHeadBytes, keys.data() + b.keyOffset + kKeyHeadBytes,
                                common - kKeyHeadBytes);
        if (order != 0) return order < 0;
      }
      if (a.keyBytes != b.keyBytes) return a.keyBytes < b.keyBytes;
    }
    return collator.Compare(a.line, b.line) < 0;
  };
  if (descending) {
    std::stable_sort(items.begin(), items.end(), [&](const SortItem& a, const SortItem& b) { return less(b, a); });
  } else {
    std::stable_sort(items.begin(), items.end(), less);
  }
  return JoinLines(items.size(), [&](size_t i) { return items[i].line; }, EndsWithLineBreak(text));
}

}  // namespace

// ---------------------------------------------------------------------------

std::string TStringFormatter::ToUpper(std::string_view text) { return ChangeCase<true>(text); }
std::string TStringFormatter::ToLower(std::string_view text) { return ChangeCase<false>(text); }

std::string TStringFormatter::ToZenkaku(std::string_view text, TZenkakuMode mode) {
  const TCharTables& t = TCharTables::Get();
  const ConversionTables& c = Conversions();
  if (mode != TZenkakuMode::Katakana && mode != TZenkakuMode::Hiragana) mode = TZenkakuMode::Plain;
  const auto& zenkakuOfByte = c.zenkakuOfByte[static_cast<size_t>(mode)];
  const uint16_t vu = t.voicedKatakana[TCharTables::kVuIndex];
  const Byte* p = Bytes(text);
  const size_t n = text.size();
  // Every byte grows to at most two (kMaxGrowth): a single byte to one
  // full-width character, ｳﾞ and ヴ to う゛. Japanese text grows far less.
  BlockWriter w(n + n / 4);
  for (size_t i = 0; i < n; w.EndBlock()) {
    for (const size_t blockEnd = std::min(n, i + BlockWriter::kBlockBytes); i < blockEnd;) {
      Byte b = p[i];
      if (b < 0x80) {
        uint16_t full = zenkakuOfByte[b];
        if (full != 0) w.Put2(full);
        else w.Put(b);
        ++i;
        continue;
      }
      if (SjisCharBytes(p, i, n) == 2) {
        uint16_t code = SjisCode(b, p[i + 1]);
        if (mode == TZenkakuMode::Katakana) {
          if (code == t.hiraganaU && i + 3 < n && SjisCode(p[i + 2], p[i + 3]) == t.voicedMarkFull) {
            w.Put2(vu);
            i += 4;
            continue;
          }
          if (uint16_t kana = c.katakanaOf[code]; kana != 0) code = kana;
        } else if (mode == TZenkakuMode::Hiragana) {
          if (code == vu) {
            w.Put2(t.hiraganaU);
            code = t.voicedMarkFull;
          } else if (uint16_t kana = c.hiraganaOf[code]; kana != 0) {
            code = kana;
          }
        }
        w.Put2(code);
        i += 2;
        continue;
      }
      if (int pair = i + 1 < n ? t.VoicedPair(b, p[i + 1]) : -1; pair >= 0) {
        if (mode != TZenkakuMode::Hiragana) {
          w.Put2(t.voicedKatakana[static_cast<size_t>(pair)]);
        } else if (pair == TCharTables::kVuIndex) {
          w.Put2(t.hiraganaU);
          w.Put2(t.voicedMarkFull);
        } else {
          w.Put2(t.voicedHiragana[static_cast<size_t>(pair)]);
        }
        i += 2;
        continue;
      }
      uint16_t full = zenkakuOfByte[b];
      if (full != 0) w.Put2(full);
      else w.Put(b);
      ++i;
    }
  }
  return w.Finish();
}

std::string TStringFormatter::ToHankaku(std::string_view text) {
  const auto& hankakuOf = Conversions().hankakuOf;
  const Byte* p = Bytes(text);
  const size_t n = text.size();
  BlockWriter w(n);
  for (size_t i = 0; i < n; w.EndBlock()) {
    for (const size_t blockEnd = std::min(n, i + BlockWriter::kBlockBytes); i < blockEnd;) {
      size_t run = AsciiRun(p + i, blockEnd - i);
      if (run != 0) {
        w.Put(p + i, run);
        i += run;
        if (i == blockEnd) break;
      }
      Byte b = p[i];
      if (SjisCharBytes(p, i, n) == 1) {
        w.Put(b);
        ++i;
        continue;
      }
      uint16_t code = SjisCode(b, p[i + 1]);
      uint16_t half = hankakuOf[code];
      if (half == 0) {
        w.Put2(code);
      } else {
        w.Put(static_cast<Byte>(half & 0xFF));
        if (half >> 8) w.Put(static_cast<Byte>(half >> 8));
      }
      i += 2;
    }
  }
  return w.Finish();
}

std::string TStringFormatter::ToZenkakuByType(std::string_view text, std::string_view symbols, TTypeFlags flags) {
  return ConvertByType(text, symbols, flags, TypeOp::Zenkaku);
}

std::string TStringFormatter::ToHankakuByType(std::string_view text, std::string_view symbols, TTypeFlags flags) {
  return ConvertByType(text, symbols, flags, TypeOp::Hankaku);
}

std::string TStringFormatter::DeleteByType(std::string_view text, std::string_view symbols, TTypeFlags flags) {
  return ConvertByType(text, symbols, flags, TypeOp::Delete);
}

std::string TStringFormatter::TabToSpace(std::string_view text, int widthInBlanks) {
  if (widthInBlanks < 1) return std::string(text);
  const size_t width = static_cast<size_t>(widthInBlanks);
  size_t tabs = static_cast<size_t>(std::count(text.begin(), text.end(), '\t'));
  std::string out;
  out.reserve(text.size() + tabs * (width - 1));
  // TAB is never a trail byte: a byte scan finds exactly the TAB characters.
  for (size_t begin = 0;;) {
    const void* found = std::memchr(text.data() + begin, '\t', text.size() - begin);
    if (found == nullptr) {
      out.append(text.substr(begin));
      return out;
    }
    size_t at = static_cast<size_t>(static_cast<const char*>(found) - text.data());
    out.append(text.substr(begin, at - begin));
    out.append(width, ' ');
    begin = at + 1;
  }
}

std::string TStringFormatter::SpaceToTab(std::string_view text, int widthInBlanks) {
  if (widthInBlanks < 1) return std::string(text);
  const size_t width = static_cast<size_t>(widthInBlanks);
  std::string out;
  out.reserve(text.size());
  for (size_t begin = 0;;) {
    size_t at = text.find(' ', begin);
    if (at == std::string_view::npos) {
      out.append(text.substr(begin));
      return out;
    }
    out.append(text.substr(begin, at - begin));
    size_t end = text.find_first_not_of(' ', at);
    if (end == std::string_view::npos) end = text.size();
    size_t blanks = end - at;
    out.append(blanks / width, '\t');
    out.append(blanks % width, ' ');
    begin = end;
  }
}

int TStringFormatter::CountLines(std::string_view text) {
  const Byte* p = Bytes(text);
  int count = 0;
  for (size_t i = FindLineBreak(p, 0, text.size()); i < text.size(); i = FindLineBreak(p, i, text.size())) {
    i += LineBreakBytes(p, i, text.size());
    ++count;
  }
  return count;
}

std::string TStringFormatter::Indent(std::string_view text, bool noIndentEmptyLine) {
  return IndentWith(text, noIndentEmptyLine, "\t");
}

std::string TStringFormatter::SpaceIndent(std::string_view text, bool noIndentEmptyLine, int indentSizeInBlanks) {
  return IndentWith(text, noIndentEmptyLine, std::string(static_cast<size_t>(std::max(0, indentSizeInBlanks)), ' '));
}

std::string TStringFormatter::Outdent(std::string_view text) {
  return CutLineStarts(text, [](std::string_view line) -> size_t { return line.starts_with('\t') ? 1 : 0; });
}

std::string TStringFormatter::SpaceOutdent(std::string_view text, int indentSizeInBlanks) {
  const size_t size = static_cast<size_t>(std::max(0, indentSizeInBlanks));
  return CutLineStarts(text, [size](std::string_view line) -> size_t {
    bool enough = line.size() >= size && line.find_first_not_of(' ') >= size;
    return enough ? size : 0;
  });
}

std::string TStringFormatter::InsertNumbers(std::string_view text, std::string_view format, int startNumber) {
  const long long start = startNumber;
  const int lineBreaks = CountLines(text);
  // TAB in the format stands for the digit count of the widest number.
  std::string widthText = std::to_string(DecimalDigits(Magnitude(start + lineBreaks)));
  std::string expanded;
  for (char ch : format) {
    if (ch == '\t') expanded += widthText;
    else expanded += ch;
  }
  const std::vector<FormatPiece> pieces = ParseNumberFormat(expanded);
  std::string out;
  out.reserve(text.size() + static_cast<size_t>(lineBreaks + 1) * (expanded.size() + 8));
  long long number = start;
  ForEachLine(text, [&](const Line& line) {
    if (!line.emptyTail) {
      for (const FormatPiece& piece : pieces) {
        if (piece.isNumber) AppendNumber(out, number, piece);
        else out += piece.literal;
      }
      ++number;
    }
    out += line.text;
    out += line.lineBreak;
  });
  return out;
}

std::string TStringFormatter::InsertLeadString(std::string_view text, std::string_view lead) {
  if (lead.empty()) return std::string(text);
  return IndentWith(text, false, lead);
}

std::string TStringFormatter::AppendFootString(std::string_view text, std::string_view foot) {
  if (foot.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size() + text.size() / 8 + foot.size());
  ForEachLine(text, [&](const Line& line) {
    out += line.text;
    out += foot;
    out += line.lineBreak;
  });
  return out;
}

std::string TStringFormatter::DeleteLeadChar(std::string_view text) {
  return CutLineStarts(text, [](std::string_view line) -> size_t { return line.empty() ? 0 : SjisCharBytes(line, 0); });
}

std::string TStringFormatter::EraseEmptyLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  ForEachLine(text, [&](const Line& line) {
    if (line.text.find_first_not_of(" \t") == std::string_view::npos) return;
    out += line.text;
    out += line.lineBreak;
  });
  return out;
}

std::string TStringFormatter::ReturnAt(std::string_view text, int tabWidthInBlanks, int returnCol) {
  const int maxCol = std::clamp(returnCol, kMinReturnCol, kMaxReturnCol);
  const int tabWidth = std::max(0, tabWidthInBlanks);
  const Byte* p = Bytes(text);
  const size_t n = text.size();
  std::string out;
  out.reserve(n + n / static_cast<size_t>(maxCol) * 2 + 2);
  int col = 0;  // bytes on the current output line
  // Breaking an empty output line would add a line and make no progress.
  auto breakLine = [&] {
    if (col > 0) out += "\r\n";
    col = 0;
  };
  for (size_t i = 0; i < n;) {
    Byte b = p[i];
    if (b == '\r' || b == '\n') {
      size_t breakBytes = LineBreakBytes(p, i, n);
      out.append(text.substr(i, breakBytes));
      i += breakBytes;
      col = 0;
      continue;
    }
    if (b == '\t') {
      if (col == maxCol) breakLine();
      if (col + tabWidth > maxCol) {
        breakLine();
        col = tabWidth;
      } else {
        col += tabWidth + 1;
      }
      out += '\t';
      ++i;
      continue;
    }
    size_t len = SjisCharBytes(p, i, n);
    if (col + static_cast<int>(len) > maxCol) breakLine();
    out.append(text.substr(i, len));
    col += static_cast<int>(len);
    i += len;
  }
  return out;
}

std::optional<int> TStringFormatter::ParseReturnCol(std::string_view text) {
  return ParseIntegerInRange(text, kMinReturnCol, kMaxReturnCol);
}

std::string TStringFormatter::EraseTags(std::string_view text) {
  // "<", ">", "!" and "-" are never trail bytes, so plain byte searches
  // cannot match inside a double-byte character.
  auto removeAll = [](std::string_view from, std::string_view marker) {
    std::string out;
    out.reserve(from.size());
    for (size_t begin = 0;;) {
      size_t at = from.find(marker, begin);
      if (at == std::string_view::npos) {
        out.append(from.substr(begin));
        return out;
      }
      out.append(from.substr(begin, at - begin));
      begin = at + marker.size();
    }
  };
  const std::string plain = removeAll(removeAll(text, "<!--"), "-->");
  std::string_view rest = plain;
  std::string out;
  out.reserve(plain.size());
  while (true) {
    size_t open = rest.find('<');
    size_t close = open == std::string_view::npos ? open : rest.find('>', open + 1);
    if (close == std::string_view::npos) {
      out.append(rest);
      return out;
    }
    out.append(rest.substr(0, open));
    rest.remove_prefix(close + 1);
  }
}

std::string TStringFormatter::SortLines(std::string_view text, const ITextCollator& collator) {
  return SortLinesImpl(text, collator, false);
}

std::string TStringFormatter::SortLines(std::string_view text) { return SortLines(text, DefaultTextCollator()); }

std::string TStringFormatter::ReverseSortLines(std::string_view text, const ITextCollator& collator) {
  return SortLinesImpl(text, collator, true);
}

std::string TStringFormatter::ReverseSortLines(std::string_view text) {
  return ReverseSortLines(text, DefaultTextCollator());
}

}  // namespace kerv
