#include "format/TCharTables.h"

#include <stdexcept>

#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

// The rows in UTF-8, converted with the Microsoft mapping of code page 932
// (so "－" is 0x817C, "￥" 0x818F and "￣" 0x8150).
constexpr const char* kKatakana =
    "ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
constexpr const char* kHiragana =
    "をぁぃぅぇぉゃゅょっあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわん";
constexpr const char* kHalfKana = "ｦｧｨｩｪｫｬｭｮｯｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ";
constexpr const char* kVoicedKatakana = "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ";
constexpr const char* kVoicedHiragana = "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ";
constexpr const char* kVoicedHalf = "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ";
constexpr const char* kUpperFull = "　ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ";
constexpr const char* kUpperHalf = " ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char* kLowerFull = "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ";
constexpr const char* kLowerHalf = "abcdefghijklmnopqrstuvwxyz";
constexpr const char* kDigitFull = "０１２３４５６７８９";
constexpr const char* kDigitHalf = "0123456789";
constexpr const char* kSymbolFull = "！”＃＄％＆’（）＊＋，－．／：；＜＝＞？＠［￥］＾＿｀｛｜｝￣。「」、・ー゛゜";
constexpr const char* kSymbolHalf = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~｡｢｣､･ｰﾞﾟ";

// A row's characters in Shift_JIS: double-byte codes, or single bytes.
template <size_t N>
void FullRow(ICodePage& codePage, const char* utf8, std::array<uint16_t, N>& row, size_t count = N) {
  std::string sjis = codePage.Utf8ToCp932(utf8, nullptr);
  if (sjis.size() != 2 * count) throw std::logic_error("formatter table: bad full-width row");
  for (size_t i = 0; i < count; ++i) {
    row[i] = SjisCode(static_cast<unsigned char>(sjis[2 * i]), static_cast<unsigned char>(sjis[2 * i + 1]));
  }
}

template <size_t N>
void HalfRow(ICodePage& codePage, const char* utf8, std::array<unsigned char, N>& row) {
  std::string sjis = codePage.Utf8ToCp932(utf8, nullptr);
  if (sjis.size() != N) throw std::logic_error("formatter table: bad half-width row");
  for (size_t i = 0; i < N; ++i) row[i] = static_cast<unsigned char>(sjis[i]);
}

}  // namespace

const TCharTables& TCharTables::Get() {
  static const TCharTables tables;
  return tables;
}

TCharTables::TCharTables() {
  IconvCodePage codePage;
  FullRow(codePage, kKatakana, katakana);
  FullRow(codePage, kHiragana, hiragana);
  HalfRow(codePage, kHalfKana, halfKana);
  FullRow(codePage, kVoicedKatakana, voicedKatakana);
  FullRow(codePage, kVoicedHiragana, voicedHiragana, kVoicedHiraganaCount);
  std::string pairs = codePage.Utf8ToCp932(kVoicedHalf, nullptr);
  if (pairs.size() != 2 * kVoicedCount) throw std::logic_error("formatter table: bad voiced pairs");
  for (int i = 0; i < kVoicedCount; ++i) {
    voicedHalf[i] = {static_cast<unsigned char>(pairs[2 * i]), static_cast<unsigned char>(pairs[2 * i + 1])};
  }
  FullRow(codePage, kUpperFull, upperFull);
  HalfRow(codePage, kUpperHalf, upperHalf);
  FullRow(codePage, kLowerFull, lowerFull);
  HalfRow(codePage, kLowerHalf, lowerHalf);
  FullRow(codePage, kDigitFull, digitFull);
  HalfRow(codePage, kDigitHalf, digitHalf);
  FullRow(codePage, kSymbolFull, symbolFull);
  HalfRow(codePage, kSymbolHalf, symbolHalf);
  hiraganaU = hiragana[12];
  voicedMarkFull = symbolFull[38];

  // Each row's characters point at their row and index; the rows are disjoint.
  auto mark = [](auto& table, const auto& row, TCharKind kind, size_t count) {
    for (size_t i = 0; i < count; ++i) table[row[i]] = {kind, static_cast<uint8_t>(i)};
  };
  mark(double_, katakana, TCharKind::Katakana, kKanaCount);
  mark(double_, hiragana, TCharKind::Hiragana, kKanaCount);
  mark(single_, halfKana, TCharKind::HalfKana, kKanaCount);
  mark(double_, voicedKatakana, TCharKind::VoicedKatakana, kVoicedCount);
  mark(double_, voicedHiragana, TCharKind::VoicedHiragana, kVoicedHiraganaCount);
  mark(double_, upperFull, TCharKind::Upper, kUpperCount);
  mark(single_, upperHalf, TCharKind::Upper, kUpperCount);
  mark(double_, lowerFull, TCharKind::Lower, kLowerCount);
  mark(single_, lowerHalf, TCharKind::Lower, kLowerCount);
  mark(double_, digitFull, TCharKind::Digit, kDigitCount);
  mark(single_, digitHalf, TCharKind::Digit, kDigitCount);
  mark(double_, symbolFull, TCharKind::Symbol, kSymbolCount);
  mark(single_, symbolHalf, TCharKind::Symbol, kSymbolCount);
  voicedPair_.fill(-1);
  semiVoicedPair_.fill(-1);
  for (int i = 0; i < kVoicedCount; ++i) {
    auto& pairTable = voicedHalf[i][1] == kVoicedMark ? voicedPair_ : semiVoicedPair_;
    pairTable[voicedHalf[i][0]] = static_cast<int8_t>(i);
  }
}

uint16_t TCharTables::FullOf(TCharEntry entry) const {
  switch (entry.kind) {
    case TCharKind::HalfKana: return katakana[entry.index];
    case TCharKind::Upper: return upperFull[entry.index];
    case TCharKind::Lower: return lowerFull[entry.index];
    case TCharKind::Digit: return digitFull[entry.index];
    case TCharKind::Symbol: return symbolFull[entry.index];
    default: return 0;
  }
}

std::string_view TCharTables::HalfOf(const TCharEntry& entry) const {
  auto one = [](const unsigned char& b) { return std::string_view(reinterpret_cast<const char*>(&b), 1); };
  switch (entry.kind) {
    case TCharKind::Katakana:
    case TCharKind::Hiragana: return one(halfKana[entry.index]);
    case TCharKind::VoicedKatakana:
    case TCharKind::VoicedHiragana:
      return std::string_view(reinterpret_cast<const char*>(voicedHalf[entry.index].data()), 2);
    case TCharKind::Upper: return one(upperHalf[entry.index]);
    case TCharKind::Lower: return one(lowerHalf[entry.index]);
    case TCharKind::Digit: return one(digitHalf[entry.index]);
    case TCharKind::Symbol: return one(symbolHalf[entry.index]);
    default: return {};
  }
}

}  // namespace kerv
