#include "search/SearchBuffer.h"

#include <cstring>
#include <vector>

#include "platform/CodePage.h"

namespace kerv {
namespace {

// Full-width forms of 0x20..0x7E (JIS X 0201 -> JIS X 0208).
constexpr uint16_t kZenkakuAscii[0x7F - 0x20] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C,
    0x8144, 0x815E,                                                                          // space .. /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257, 0x8258,          // 0 .. 9
    0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197,                                  // : .. @
    0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C,
    0x826D, 0x826E, 0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279,  // A .. Z
    0x816D, 0x818F, 0x816E, 0x814F, 0x8151, 0x814D,                                          // [ \ ] ^ _ `
    0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D,
    0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A,  // a .. z
    0x816F, 0x8162, 0x8170, 0x8150,                                                          // { | } ~
};

// Full-width forms of the half-width punctuation and katakana 0xA1..0xDF.
constexpr uint16_t kZenkakuKana[0xE0 - 0xA1] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145,                                                  // ｡ ｢ ｣ ､ ･
    0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362,          // ｦ ｧ ｨ ｩ ｪ ｫ ｬ ｭ ｮ ｯ
    0x815B,                                                                                  // ｰ
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349,                                                  // ｱ .. ｵ
    0x834A, 0x834C, 0x834E, 0x8350, 0x8352,                                                  // ｶ .. ｺ
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C,                                                  // ｻ .. ｿ
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367,                                                  // ﾀ .. ﾄ
    0x8369, 0x836A, 0x836B, 0x836C, 0x836D,                                                  // ﾅ .. ﾉ
    0x836E, 0x8371, 0x8374, 0x8377, 0x837A,                                                  // ﾊ .. ﾎ
    0x837D, 0x837E, 0x8380, 0x8381, 0x8382,                                                  // ﾏ .. ﾓ
    0x8384, 0x8386, 0x8388,                                                                  // ﾔ ﾕ ﾖ
    0x8389, 0x838A, 0x838B, 0x838C, 0x838D,                                                  // ﾗ .. ﾛ
    0x838F, 0x8393,                                                                          // ﾜ ﾝ
    0x814A, 0x814B,                                                                          // ﾞ ﾟ
};

constexpr uint8_t kVoicedMark = 0xDE;      // ﾞ
constexpr uint8_t kSemiVoicedMark = 0xDF;  // ﾟ

bool TakesVoicedMark(uint8_t b) { return b == 0xB3 || (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE); }
bool TakesSemiVoicedMark(uint8_t b) { return b >= 0xCA && b <= 0xCE; }

enum ByteType : uint8_t { kSingle, kLead, kTrail };

// Pattern character at i: its code and width; a cut-off lead byte stands alone.
uint16_t PatternChar(std::string_view p, size_t i, int& width) {
  uint8_t b = static_cast<uint8_t>(p[i]);
  if (IsLeadByte(b) && i + 1 < p.size()) {
    width = 2;
    return static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(p[i + 1]));
  }
  width = 1;
  return b;
}

void AppendCode(std::string& out, uint16_t code) {
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

size_t LengthToNul(std::string_view s) {
  const void* nul = std::memchr(s.data(), 0, s.size());
  return nul ? static_cast<size_t>(static_cast<const char*>(nul) - s.data()) : s.size();
}

class Search {
 public:
  Search(std::string_view text, int length) : text_(reinterpret_cast<const uint8_t*>(text.data())), length_(length) {
    // Rows and lines are short: their map lives on the stack.
    if (static_cast<size_t>(length) + 1 > sizeof local_) {
      heap_.assign(static_cast<size_t>(length) + 1, kSingle);
      types_ = heap_.data();
    } else {
      std::memset(local_, kSingle, static_cast<size_t>(length) + 1);
      types_ = local_;
    }
    for (int i = 0; i < length_;) {
      if (IsLeadByte(text_[i])) {
        types_[i] = kLead;
        if (i + 1 < length_) types_[i + 1] = kTrail;
        i += 2;
      } else {
        ++i;
      }
    }
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  uint8_t At(int i) const { return i >= 0 && i < length_ ? text_[i] : 0; }
  bool IsTrail(int i) const { return i >= 0 && i < length_ && types_[i] == kTrail; }

  // A trail byte belongs to a double-byte character, which is a word
  // character whatever the value of its second byte (0x5C in ソ, 0x40 in 　).
  bool IsDelimiter(int i) const { return i >= length_ || (!IsTrail(i) && IsWordDelimiterByte(At(i))); }
  bool IsWordStart(int p) const { return p < length_ && !IsDelimiter(p) && (p == 0 || IsDelimiter(p - 1)); }

  // The voiced mark at i folds with the half-width kana before it.
  bool IsFoldedMark(int i) const {
    if (i < 1 || types_[i - 1] != kSingle || IsTrail(i)) return false;
    return ZenkakuOfPair(At(i - 1), At(i)) != 0;
  }

  void MoveToWordStart(int& p, int& r, int dir) const {
    bool down = dir > 0;
    if (down && !IsDelimiter(p) && (p == 0 || IsDelimiter(p - 1))) return;
    while (r > 0 && (down ? !IsDelimiter(p) : IsDelimiter(p))) p += dir, --r;
    while (r > 0 && (down ? IsDelimiter(p) : !IsDelimiter(p))) p += dir, --r;
    if (!down && IsDelimiter(p)) p -= dir, ++r;
    if (IsTrail(p)) p += dir, --r;
  }

 private:
  const uint8_t* text_;
  int length_;
  uint8_t* types_ = nullptr;  // one entry per byte: single, lead or trail
  uint8_t local_[1024];
  std::vector<uint8_t> heap_;
};

}  // namespace

std::string PrepareSearchPattern(std::string_view pattern, SearchFlags flags) {
  pattern = pattern.substr(0, LengthToNul(pattern));
  std::string prepared = (flags & SearchFlag::MatchCase) ? std::string(pattern) : UpperCasePattern(pattern);
  if (flags & SearchFlag::NoMatchZenkaku) prepared = FoldToZenkaku(prepared);
  return prepared;
}

int ComparePreparedAt(std::string_view text, int p, std::string_view prepared, SearchFlags flags) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const int length = static_cast<int>(text.size());
  int t = 0, k = 0;
  size_t i = 0;
  while (i < prepared.size()) {
    int width = 0;
    uint16_t code = PatternChar(prepared, i, width);
    int q = p + t + k;
    if (q > length) return -1;
    int used = MatchTextChar(bytes, length, q, code, width, flags);
    if (used > 0) {
      t += used;
      i += static_cast<size_t>(width);
      continue;
    }
    // Returns and blanks are skipped only inside a match, never before it.
    if (t == 0 || q >= length) return -1;
    uint8_t b = bytes[q];
    if ((flags & SearchFlag::IncludeRet) && (b == '\r' || b == '\n')) k += 1;
    else if ((flags & SearchFlag::IncludeSpace) && (b == '\t' || b == ' ')) k += 1;
    else if ((flags & SearchFlag::IncludeSpace) && b == 0x81 && q + 1 < length && bytes[q + 1] == 0x40) k += 2;
    else return -1;
  }
  return t + k;
}

int MatchTextChar(const uint8_t* text, int length, int q, uint16_t patternCode, int patternWidth, SearchFlags flags) {
  auto at = [&](int i) -> uint8_t { return i >= 0 && i < length ? text[i] : 0; };
  const bool matchCase = flags & SearchFlag::MatchCase;
  const uint8_t b = at(q);
  if (IsLeadByte(b)) {
    uint16_t code = static_cast<uint16_t>(b << 8 | at(q + 1));
    if (patternWidth != 2) return 0;
    if (code == patternCode) return 2;
    return (!matchCase && UpperCaseDoubleByte(code) == patternCode) ? 2 : 0;
  }
  if (!(flags & SearchFlag::NoMatchZenkaku)) {
    uint8_t folded = (!matchCase && b >= 'a' && b <= 'z') ? static_cast<uint8_t>(b - 0x20) : b;
    return (patternWidth == 1 && folded == patternCode) ? 1 : 0;
  }
  int used = 1;
  uint16_t full = ZenkakuOfByte(b);
  if (uint16_t pair = ZenkakuOfPair(b, at(q + 1)); pair != 0 && q + 1 < length) {
    full = pair;
    used = 2;
  }
  if (!matchCase && full >= 0x8281 && full <= 0x829A) full = static_cast<uint16_t>(full - 0x21);
  return full == patternCode ? used : 0;
}

uint16_t UpperCaseDoubleByte(uint16_t code) {
  if (code >= 0x8281 && code <= 0x829A) return static_cast<uint16_t>(code - 0x21);            // ａ-ｚ
  if (code >= 0x83BF && code <= 0x83D6) return static_cast<uint16_t>(code - 0x20);            // α-ω
  if (code >= 0x8470 && code <= 0x847E) return static_cast<uint16_t>(0x8440 + (code - 0x8470));  // а-н
  if (code >= 0x8480 && code <= 0x8491) return static_cast<uint16_t>(0x844F + (code - 0x8480));  // о-я
  if (code >= 0xEEEF && code <= 0xEEF8) return static_cast<uint16_t>(0x8754 + (code - 0xEEEF));  // ⅰ-ⅹ
  return code;
}

uint16_t ZenkakuOfByte(uint8_t byte) {
  if (byte >= 0x20 && byte <= 0x7E) return kZenkakuAscii[byte - 0x20];
  if (byte >= 0xA1 && byte <= 0xDF) return kZenkakuKana[byte - 0xA1];
  return byte;
}

uint16_t ZenkakuOfPair(uint8_t kana, uint8_t mark) {
  if (mark == kVoicedMark && kana == 0xB3) return 0x8394;  // ｳﾞ -> ヴ
  if (mark == kVoicedMark && TakesVoicedMark(kana)) return static_cast<uint16_t>(ZenkakuOfByte(kana) + 1);
  if (mark == kSemiVoicedMark && TakesSemiVoicedMark(kana)) return static_cast<uint16_t>(ZenkakuOfByte(kana) + 2);
  return 0;
}

bool IsWordDelimiterByte(uint8_t b) {
  bool word = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || b == '_' || (b >= 'a' && b <= 'z') ||
              (b >= 0x81 && b <= 0x9F) || (b >= 0xA6 && b <= 0xFC);
  return !word;
}

std::string UpperCasePattern(std::string_view pattern) {
  std::string result;
  result.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size();) {
    uint8_t b = static_cast<uint8_t>(pattern[i]);
    if (IsLeadByte(b) && i + 1 < pattern.size()) {
      AppendCode(result, UpperCaseDoubleByte(static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(pattern[i + 1]))));
      i += 2;
    } else {
      result += static_cast<char>((b >= 'a' && b <= 'z') ? b - 0x20 : b);
      i += 1;
    }
  }
  return result;
}

std::string FoldToZenkaku(std::string_view text) {
  std::string result;
  result.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size();) {
    uint8_t b = static_cast<uint8_t>(text[i]);
    if (IsLeadByte(b) && i + 1 < text.size()) {
      result.append(text.substr(i, 2));
      i += 2;
      continue;
    }
    uint8_t next = i + 1 < text.size() ? static_cast<uint8_t>(text[i + 1]) : 0;
    if (uint16_t pair = ZenkakuOfPair(b, next); pair != 0) {
      AppendCode(result, pair);
      i += 2;
      continue;
    }
    AppendCode(result, ZenkakuOfByte(b));
    i += 1;
  }
  return result;
}

bool SearchBuffer(std::string_view text, TSearchPosition& position, std::string_view pattern, SearchFlags flags) {
  const int length = static_cast<int>(std::min<size_t>(LengthToNul(text), 0x3FFFFFFF));
  pattern = pattern.substr(0, LengthToNul(pattern));
  if (pattern.empty() || length == 0) return false;
  const int64_t selStart = position.start;
  const int64_t selLength = position.length;
  if (selStart < 0 || selStart > length || selLength < 0) return false;

  const bool zenkaku = flags & SearchFlag::NoMatchZenkaku;
  const std::string prepared = PrepareSearchPattern(pattern, flags);
  int charCount = 0;
  if (zenkaku) {
    for (size_t i = 0; i < prepared.size(); ++charCount) {
      int width = 0;
      PatternChar(prepared, i, width);
      i += static_cast<size_t>(width);
    }
  }
  const int patternBytes = static_cast<int>(prepared.size());

  Search search(text, length);
  const bool down = flags & SearchFlag::Down;
  const int dir = down ? 1 : -1;
  int p = 0;
  int remaining = 0;  // candidates after the current one
  if (down) {
    int64_t from = selStart + selLength;
    if (from > length) return false;
    p = static_cast<int>(from);
    if (p < length && search.IsTrail(p)) p += 1;
    remaining = length - p - (zenkaku ? charCount : patternBytes);
    if (remaining < 0) return false;
  } else {
    if (!zenkaku) {
      p = static_cast<int>(selStart) - patternBytes;
    } else {
      // Back over as many characters as the pattern has; a kana with its
      // folded voicing mark is one character, like a double-byte one.
      p = static_cast<int>(selStart);
      for (int c = 0; c < charCount && p >= 0; ++c) {
        p -= 1;
        if (p >= 1 && (search.IsTrail(p) || search.IsFoldedMark(p))) p -= 1;
      }
    }
    if (p >= 0 && search.IsTrail(p)) p -= 1;
    remaining = p;
  }
  if (p < 0 || p > length) return false;

  const bool wholeWord = flags & SearchFlag::WholeWord;
  while (remaining >= 0) {
    if (wholeWord && remaining > 0) search.MoveToWordStart(p, remaining, dir);
    if (remaining < 0 || p < 0 || p > length) return false;
    // Whole words are checked at every candidate, the last one included.
    int matched = (!wholeWord || search.IsWordStart(p)) ? ComparePreparedAt(text.substr(0, static_cast<size_t>(length)), p, prepared, flags) : -1;
    if (matched > 0 && (!wholeWord || search.IsDelimiter(p + matched))) {
      position.start = p;
      position.length = matched;
      return true;
    }
    p += dir;
    remaining -= 1;
    if (search.IsTrail(p)) {
      p += dir;
      remaining -= 1;
    }
  }
  return false;
}

}  // namespace kerv
