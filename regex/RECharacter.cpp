#include "regex/RECharacter.h"

#include "platform/CodePage.h"
#include "regex/ERegExpParser.h"

namespace kerv {

bool REReadChar(std::string_view text, int& position, uint16_t& code) {
  size_t index = static_cast<size_t>(position - 1);
  if (index >= text.size()) return false;
  unsigned char b = static_cast<unsigned char>(text[index]);
  if (IsLeadByte(b)) {
    if (index + 1 >= text.size()) throw ERegExpParser(ERegexMessage::BadDoubleByteChar, position);
    code = static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(text[index + 1]));
    position += 2;
  } else {
    code = b;
    position += 1;
  }
  return true;
}

int REPrevCharPosition(std::string_view text, int position) {
  if (position <= 2) return 1;
  // The character before is two bytes exactly when the byte two back is a
  // lead byte that starts a character; the run of lead-valued bytes ending
  // there pairs up from its first byte, so its length's parity decides.
  size_t lastIndex = static_cast<size_t>(position - 2);  // 0-based index of the byte before position
  size_t runLength = 0;
  size_t i = lastIndex;
  while (i > 0 && IsLeadByte(static_cast<unsigned char>(text[i - 1]))) {
    ++runLength;
    --i;
  }
  return (runLength % 2 == 1) ? position - 2 : position - 1;
}

std::string QuoteMeta(std::string_view word) {
  static constexpr std::string_view kMeta = "^(|)+*?.[]$\\";
  std::string result;
  result.reserve(word.size() * 2);
  for (size_t i = 0; i < word.size();) {
    unsigned char b = static_cast<unsigned char>(word[i]);
    size_t width = (IsLeadByte(b) && i + 1 < word.size()) ? 2 : 1;
    if (width == 1 && kMeta.find(static_cast<char>(b)) != std::string_view::npos) result += '\\';
    result.append(word.substr(i, width));
    i += width;
  }
  return result;
}

}  // namespace kerv
