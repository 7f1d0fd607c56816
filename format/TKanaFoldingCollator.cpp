#include "format/TKanaFoldingCollator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "format/TCharTables.h"

namespace kerv {

// Primary weights are dense ranks (1 and up) of the raw group-and-value
// weights below, so they fit 16 bits and make compact sort keys.
struct TKanaFoldingCollator::Weights {
  std::array<uint16_t, 256> singlePrimary{};
  std::array<uint8_t, 256> singleVariant{};
  std::array<uint16_t, 65536> doublePrimary{};
  std::array<uint8_t, 65536> doubleVariant{};
  std::array<uint16_t, TCharTables::kVoicedCount> pairPrimary{};

  Weights();
};

namespace {

enum Group : uint32_t { kControl = 1, kBlank, kSymbol, kDigit, kLatin, kGreek, kCyrillic, kKana, kOther };
enum Variant : uint8_t { kPlain = 0, kWide = 1, kHalfKanaForm = 2, kUpperCase = 4 };

struct RawWeight {
  uint32_t primary = 0;  // group << 20 | value
  uint8_t variant = 0;
};

constexpr uint32_t Raw(Group group, uint32_t value) { return group << 20 | value; }

constexpr uint16_t kHiraganaFirst = 0x829F;  // ぁ
constexpr uint16_t kHiraganaLast = 0x82F1;   // ん
constexpr uint16_t kKatakanaFirst = 0x8340;  // ァ
constexpr uint16_t kKatakanaLast = 0x8393;   // ン
constexpr uint16_t kKatakanaVu = 0x8394;     // ヴ
constexpr uint16_t kKatakanaSmallKa = 0x8395;
constexpr uint16_t kKatakanaSmallKe = 0x8396;

// Position in the syllabary, shared by both kana; spaced by 4 so that ヴ, ヵ
// and ヶ fit between neighbours.
uint32_t KanaWeight(uint16_t hiraganaCode) { return 4u * (hiraganaCode - kHiraganaFirst) + 4; }

RawWeight DoubleRaw(uint16_t code) {
  const TCharTables& t = TCharTables::Get();
  if (code >= kHiraganaFirst && code <= kHiraganaLast) return {Raw(kKana, KanaWeight(code)), kPlain};
  if (code >= kKatakanaFirst && code <= kKatakanaLast && code != 0x837F) {
    uint16_t offset = static_cast<uint16_t>(code - kKatakanaFirst - (code > 0x837F ? 1 : 0));
    return {Raw(kKana, KanaWeight(static_cast<uint16_t>(kHiraganaFirst + offset))), kWide};
  }
  if (code == kKatakanaVu) return {Raw(kKana, KanaWeight(t.hiraganaU) + 2), kWide};
  if (code == kKatakanaSmallKa) return {Raw(kKana, KanaWeight(t.hiragana[15]) - 2), kWide};   // before か
  if (code == kKatakanaSmallKe) return {Raw(kKana, KanaWeight(t.hiragana[18]) - 2), kWide};   // before け
  TCharEntry entry = t.Double(code);
  switch (entry.kind) {
    case TCharKind::Upper:
      if (entry.index == 0) return {Raw(kBlank, 0), kWide};
      return {Raw(kLatin, entry.index - 1u), kWide | kUpperCase};
    case TCharKind::Lower: return {Raw(kLatin, entry.index), kWide};
    case TCharKind::Digit: return {Raw(kDigit, entry.index), kWide};
    case TCharKind::Symbol:
      if (entry.index < 32) return {Raw(kSymbol, t.symbolHalf[entry.index]), kWide};
      return {Raw(kSymbol, code), kPlain};
    default: break;
  }
  if (code >= 0x839F && code <= 0x83B6) return {Raw(kGreek, code - 0x839Fu), kUpperCase};
  if (code >= 0x83BF && code <= 0x83D6) return {Raw(kGreek, code - 0x83BFu), kPlain};
  if (code >= 0x8440 && code <= 0x8460) return {Raw(kCyrillic, code - 0x8440u), kUpperCase};
  if (code >= 0x8470 && code <= 0x8491 && code != 0x847F) {
    return {Raw(kCyrillic, code - 0x8470u - (code > 0x847F ? 1u : 0u)), kPlain};
  }
  unsigned lead = code >> 8;
  if (lead <= 0x87) return {Raw(kSymbol, code), kPlain};
  return {Raw(kOther, code), kPlain};
}

RawWeight SingleRaw(unsigned char b) {
  const TCharTables& t = TCharTables::Get();
  if (b < 0x20 || b == 0x7F) return {Raw(kControl, b), kPlain};
  TCharEntry entry = t.Single(b);
  switch (entry.kind) {
    case TCharKind::Upper:
      if (entry.index == 0) return {Raw(kBlank, 0), kPlain};
      return {Raw(kLatin, entry.index - 1u), kUpperCase};
    case TCharKind::Lower: return {Raw(kLatin, entry.index), kPlain};
    case TCharKind::Digit: return {Raw(kDigit, entry.index), kPlain};
    case TCharKind::Symbol:
      if (entry.index < 32) return {Raw(kSymbol, b), kPlain};
      return {DoubleRaw(t.symbolFull[entry.index]).primary, kHalfKanaForm};
    case TCharKind::HalfKana: return {DoubleRaw(t.katakana[entry.index]).primary, kHalfKanaForm};
    default: break;
  }
  // Bytes of no character (0x80, 0xA0, 0xFD-0xFF, a lead byte without its
  // trail byte) after every symbol.
  return {Raw(kSymbol, 0x10000u + b), kPlain};
}

}  // namespace

TKanaFoldingCollator::Weights::Weights() {
  const TCharTables& t = TCharTables::Get();
  std::vector<RawWeight> singles(256);
  for (int b = 0; b < 256; ++b) singles[b] = SingleRaw(static_cast<unsigned char>(b));
  std::vector<RawWeight> doubles(65536);
  std::vector<uint32_t> used;
  used.reserve(12000);
  for (const RawWeight& w : singles) used.push_back(w.primary);
  for (int code = 0x8100; code <= 0xFCFF; ++code) {
    if (!IsLeadByte(static_cast<unsigned char>(code >> 8)) || !IsTrailByte(static_cast<unsigned char>(code & 0xFF))) {
      continue;
    }
    doubles[code] = DoubleRaw(static_cast<uint16_t>(code));
    used.push_back(doubles[code].primary);
  }
  std::sort(used.begin(), used.end());
  used.erase(std::unique(used.begin(), used.end()), used.end());
  auto rank = [&](uint32_t raw) {
    return static_cast<uint16_t>(std::lower_bound(used.begin(), used.end(), raw) - used.begin() + 1);
  };
  for (int b = 0; b < 256; ++b) {
    singlePrimary[b] = rank(singles[b].primary);
    singleVariant[b] = singles[b].variant;
  }
  for (int code = 0; code < 65536; ++code) {
    if (doubles[code].primary == 0) continue;
    doublePrimary[code] = rank(doubles[code].primary);
    doubleVariant[code] = doubles[code].variant;
  }
  for (int i = 0; i < TCharTables::kVoicedCount; ++i) pairPrimary[i] = doublePrimary[t.voicedKatakana[i]];
}

namespace {

// Walks one text character by character, with ｶﾞ-like pairs as one.
struct CharCursor {
  const unsigned char* p;
  size_t i = 0;
  size_t n;

  explicit CharCursor(std::string_view text) : p(reinterpret_cast<const unsigned char*>(text.data())), n(text.size()) {}

  bool AtEnd() const { return i >= n; }

  template <class W>
  void Next(const W& w, uint16_t& primary, uint8_t& variant) {
    unsigned char b = p[i];
    if (b >= 0x80) {
      if (SjisCharBytes(p, i, n) == 2) {
        uint16_t code = SjisCode(b, p[i + 1]);
        primary = w.doublePrimary[code];
        variant = w.doubleVariant[code];
        i += 2;
        return;
      }
      if (int pair = i + 1 < n ? TCharTables::Get().VoicedPair(b, p[i + 1]) : -1; pair >= 0) {
        primary = w.pairPrimary[static_cast<size_t>(pair)];
        variant = kHalfKanaForm;
        i += 2;
        return;
      }
    }
    primary = w.singlePrimary[b];
    variant = w.singleVariant[b];
    ++i;
  }
};

}  // namespace

TKanaFoldingCollator::TKanaFoldingCollator() {
  static const Weights weights;
  weights_ = &weights;
}

int TKanaFoldingCollator::Compare(std::string_view a, std::string_view b) const {
  const Weights& w = *weights_;
  uint16_t pa = 0, pb = 0;
  uint8_t va = 0, vb = 0;
  {
    CharCursor ca(a), cb(b);
    while (!ca.AtEnd() && !cb.AtEnd()) {
      ca.Next(w, pa, va);
      cb.Next(w, pb, vb);
      if (pa != pb) return pa < pb ? -1 : 1;
    }
    if (!ca.AtEnd() || !cb.AtEnd()) return ca.AtEnd() ? -1 : 1;
  }
  {
    // Equal on every primary weight, so both walks take the same steps.
    CharCursor ca(a), cb(b);
    while (!ca.AtEnd()) {
      ca.Next(w, pa, va);
      cb.Next(w, pb, vb);
      if (va != vb) return va < vb ? -1 : 1;
    }
  }
  size_t common = std::min(a.size(), b.size());
  int bytes = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (bytes != 0) return bytes < 0 ? -1 : 1;
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool TKanaFoldingCollator::AppendSortKey(std::string_view text, std::string& key) const {
  // At most two key bytes per text byte; written in place, then trimmed.
  const size_t keyStart = key.size();
  key.resize(keyStart + 2 * text.size());
  char* w = key.data() + keyStart;
  CharCursor cursor(text);
  uint16_t primary = 0;
  uint8_t variant = 0;
  while (!cursor.AtEnd()) {
    cursor.Next(*weights_, primary, variant);
    w[0] = static_cast<char>(primary >> 8);
    w[1] = static_cast<char>(primary & 0xFF);
    w += 2;
  }
  key.resize(static_cast<size_t>(w - key.data()));
  return true;
}

const ITextCollator& DefaultTextCollator() {
  static const TKanaFoldingCollator collator;
  return collator;
}

}  // namespace kerv
