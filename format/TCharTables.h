#pragma once
// The character tables of the width and kana conversions, and the Shift_JIS
// character stepping every formatting operation shares. A character of one
// table row converts to the character at the same index of its partner row.
// The rows are looked up through flat arrays indexed by byte or by 16-bit
// code, so a conversion costs one load per character and a double-byte
// character is found only at a character boundary (茶, whose bytes occur
// inside "ヲァ", is no kana).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kerv {

// Blanks, TAB, CR, LF, digits and "<" ">" "%" are never trail bytes
// (IsTrailByte), so scans for them need no character stepping; "\" (0x5C)
// and "|" (0x7C) are trail bytes.

// Bytes of the character at byteIndex: 2 for a lead byte followed by a trail
// byte, else 1 (a stray lead byte never swallows a line break).
inline size_t SjisCharBytes(const unsigned char* p, size_t byteIndex, size_t byteCount) {
  return (IsLeadByte(p[byteIndex]) && byteIndex + 1 < byteCount && IsTrailByte(p[byteIndex + 1])) ? 2 : 1;
}
inline size_t SjisCharBytes(std::string_view text, size_t byteIndex) {
  return SjisCharBytes(reinterpret_cast<const unsigned char*>(text.data()), byteIndex, text.size());
}

constexpr uint16_t SjisCode(unsigned char lead, unsigned char trail) { return static_cast<uint16_t>(lead << 8 | trail); }

inline void AppendCode(std::string& out, uint16_t code) {
  out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

// The rows a character belongs to.
enum class TCharKind : uint8_t {
  None,
  Katakana,        // full-width, Kana row
  Hiragana,        // full-width, Kana row
  VoicedKatakana,  // full-width, voiced row (ヴ is the last, index 25)
  VoicedHiragana,  // full-width, voiced row (no ヴ)
  HalfKana,        // 0xA6-0xAF, 0xB1-0xDD
  Upper,           // index 0 is the blank, 1-26 A-Z
  Lower,
  Digit,
  Symbol,          // the 40 symbols, ASCII punctuation then ｡｢｣､･ｰﾞﾟ
};

struct TCharEntry {
  TCharKind kind = TCharKind::None;
  uint8_t index = 0;  // position in the row
};

class TCharTables {
 public:
  static constexpr int kKanaCount = 55;
  static constexpr int kVoicedCount = 26;  // katakana; hiragana has 25
  static constexpr int kVoicedHiraganaCount = 25;
  static constexpr int kUpperCount = 27;
  static constexpr int kLowerCount = 26;
  static constexpr int kDigitCount = 10;
  static constexpr int kSymbolCount = 40;
  static constexpr int kVuIndex = 25;  // ヴ in the voiced row
  static constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
  static constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

  // Built on first use from the rows written in UTF-8; read only afterwards.
  static const TCharTables& Get();

  TCharEntry Single(unsigned char b) const { return single_[b]; }
  TCharEntry Double(uint16_t code) const { return double_[code]; }
  // Index in the voiced row of a half-width kana followed by a mark, or -1.
  int VoicedPair(unsigned char kana, unsigned char mark) const {
    if (mark == kVoicedMark) return voicedPair_[kana];
    if (mark == kSemiVoicedMark) return semiVoicedPair_[kana];
    return -1;
  }

  // The rows. Full-width sides are Shift_JIS codes; half-width sides bytes.
  std::array<uint16_t, kKanaCount> katakana{}, hiragana{};
  std::array<unsigned char, kKanaCount> halfKana{};
  std::array<uint16_t, kVoicedCount> voicedKatakana{}, voicedHiragana{};  // voicedHiragana[25] unused
  std::array<std::array<unsigned char, 2>, kVoicedCount> voicedHalf{};
  std::array<uint16_t, kUpperCount> upperFull{};
  std::array<unsigned char, kUpperCount> upperHalf{};
  std::array<uint16_t, kLowerCount> lowerFull{};
  std::array<unsigned char, kLowerCount> lowerHalf{};
  std::array<uint16_t, kDigitCount> digitFull{};
  std::array<unsigned char, kDigitCount> digitHalf{};
  std::array<uint16_t, kSymbolCount> symbolFull{};
  std::array<unsigned char, kSymbolCount> symbolHalf{};
  uint16_t hiraganaU = 0;     // う, which with ゛ becomes ヴ
  uint16_t voicedMarkFull = 0;  // ゛

  // The full-width form of a single-byte entry (kana as katakana), or 0.
  uint16_t FullOf(TCharEntry entry) const;
  // The half-width form of a double-byte entry, one or two bytes; empty when it has none.
  std::string_view HalfOf(const TCharEntry& entry) const;

 private:
  TCharTables();

  std::array<TCharEntry, 256> single_{};
  std::array<TCharEntry, 65536> double_{};
  std::array<int8_t, 256> voicedPair_{}, semiVoicedPair_{};
};

}  // namespace kerv
