#include "app/window/TKervStatusTexts.h"

#include <cstdio>

#include "editor/TSjisCharCounter.h"
#include "platform/CodePage.h"

namespace kerv {

std::string CaretPosText(int line, int col) {
  return std::to_string(line) + "行: " + std::to_string(col) + "桁";
}

const char* StatusCodeName(int charCode) {
  static constexpr const char* kNames[] = {"ASCII", "Shift-JIS", "JIS", "EUC", "Unicode", "Unicode(BE)", "UTF-8", "UTF-8N"};
  return charCode >= 0 && charCode < 8 ? kNames[charCode] : "Binary";
}

const char* StatusReturnName(int returnCode) { return returnCode == 2 ? "LF" : returnCode == 3 ? "CR" : "CRLF"; }

std::string WithThousands(int64_t value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  std::string result;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) result += ',';
    result += digits[i];
  }
  return value < 0 ? "-" + result : result;
}

int64_t CountCharacters(std::string_view sjis) {
  TSjisCharCounter counter;
  counter.Add(sjis);
  return counter.Characters();
}

TKervCharCount CharCountTexts(std::string_view sjis, int returnCode) {
  int64_t breaks = 0;
  if (returnCode == 2 || returnCode == 3) {
    for (size_t i = 0; i + 1 < sjis.size(); ++i) {
      if (sjis[i] == '\r' && sjis[i + 1] == '\n') ++breaks;
    }
  }
  const int64_t characters = CountCharacters(sjis) - breaks;
  const int64_t bytes = static_cast<int64_t>(sjis.size()) - breaks;
  TKervCharCount result;
  result.characters = "総文字数：" + WithThousands(characters) + "文字";
  result.bytes = "総バイト数：" + WithThousands(bytes) + "バイト";
  if (bytes / 1024 > 1) result.bytes += " (約" + WithThousands(bytes / 1024) + "KB)";
  return result;
}

std::string AsciiCodeText(std::string_view sjisSelection) {
  size_t count = std::min<size_t>(10, sjisSelection.size());
  if (count == 10) {
    const auto tenth = static_cast<unsigned char>(sjisSelection[9]);
    if (IsLeadByte(tenth) || tenth == '\r') count = std::min<size_t>(11, sjisSelection.size());
  }
  std::string text;
  char hex[4];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(hex, sizeof hex, "%02X ", static_cast<unsigned char>(sjisSelection[i]));
    text += hex;
  }
  return text;
}

std::string ClipboardNoticeBody(std::string_view sjisClipboard) {
  constexpr size_t kShown = 70;
  size_t end = 0;
  // Whole characters only: a cut inside one would show a lone lead byte.
  while (end < sjisClipboard.size()) {
    const size_t width = IsLeadByte(static_cast<unsigned char>(sjisClipboard[end])) ? 2 : 1;
    if (end + width > kShown) break;
    end += width;
  }
  std::string body;
  for (size_t i = 0; i < end; ++i) {
    if (sjisClipboard[i] == '\r' && i + 1 < end && sjisClipboard[i + 1] == '\n') {
      body += ' ';
      ++i;
    } else {
      body += sjisClipboard[i];
    }
  }
  if (sjisClipboard.size() >= 50) body += "...";
  return body;
}

std::string SelectionSizeText(int64_t bytes, int64_t characters) {
  return " " + std::to_string(bytes) + "Byte / " + std::to_string(characters) + "文字選択";
}

std::string JumpToPrompt(int firstLine, int lastLine) {
  return "移動先の行を指定してください(" + std::to_string(firstLine) + "～" + std::to_string(lastLine) + ")";
}

}  // namespace kerv
