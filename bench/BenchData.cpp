#include "bench/BenchData.h"

#include "platform/posix/IconvCodePage.h"

#include <cstdint>
#include <vector>

namespace kerv::bench {
namespace {

// A small linear congruential generator: the same text on every machine.
struct Random {
  uint32_t state = 12345;
  uint32_t Next(uint32_t bound) {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % bound;
  }
};

// Shift_JIS pieces: "吾輩は", "猫である。", "名前", "まだ無い", "カタカナ", "、", ...
const std::vector<std::string>& JapanesePieces() {
  static const std::vector<std::string> pieces = {
      "\x8C\xE1\x94\x79\x82\xCD",                          // 吾輩は
      "\x94\x4C\x82\xC5\x82\xA0\x82\xE9\x81\x42",          // 猫である。
      "\x96\xBC\x91\x4F\x82\xCD",                          // 名前は
      "\x82\xDC\x82\xBE\x96\xB3\x82\xA2\x81\x42",          // まだ無い。
      "\x83\x4A\x83\x5E\x83\x4A\x83\x69",                  // カタカナ
      "\x81\x41",                                          // 、
      "\x81\x75\x8A\x87\x8C\xCA\x81\x76",                  // 「括弧」
      "\x8B\x4C\x89\xAF\x82\xB5\x82\xC4\x82\xA2\x82\xE9",  // 記憶している
      "\x83\x5C\x83\x74\x83\x67",                          // ソフト (0x5C trail byte)
      "\x95\x5C\x8E\xA6",                                  // 表示 (0x5C trail byte)
      "\xB6\xDE\xB7\xDE",                                  // ｶﾞｷﾞ
      "text ",
      "2026 ",
      "\x82\x60\x82\x61\x82\x62",                          // ＡＢＣ
  };
  return pieces;
}

const std::vector<std::string>& SourcePieces() {
  static const std::vector<std::string> pieces = {
      "int ", "value", " = ", "0x1F", "; ", "return ", "count", "(", ")", "{ ", "} ", "/* note */ ",
      "\"text\" ", "// comment", "3.14", " + ", "index", "while ", "if ", "for ",
  };
  return pieces;
}

std::string Generate(size_t totalBytes, size_t lineBytes, const std::vector<std::string>& pieces) {
  std::string text;
  text.reserve(totalBytes + lineBytes + 64);
  Random random;
  size_t lineStart = 0;
  while (text.size() < totalBytes) {
    text += pieces[random.Next(static_cast<uint32_t>(pieces.size()))];
    if (text.size() - lineStart >= lineBytes) {
      text += "\r\n";
      lineStart = text.size();
    }
  }
  if (text.size() != lineStart) text += "\r\n";
  return text;
}

}  // namespace

std::string JapaneseText(size_t totalBytes, size_t lineBytes) { return Generate(totalBytes, lineBytes, JapanesePieces()); }

const std::string& SharedJapaneseText() {
  static const std::string text = JapaneseText(size_t{100} << 20);
  return text;
}

std::string Sjis(std::string_view utf8) {
  static IconvCodePage codePage;
  return codePage.Utf8ToCp932(utf8, nullptr);
}

std::string SourceCode(size_t totalBytes) { return Generate(totalBytes, 70, SourcePieces()); }

}  // namespace kerv::bench
