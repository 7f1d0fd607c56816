#pragma once
// Code page 932 (Shift_JIS with Microsoft's mapping) and UTF-8 to and from UTF-16.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kerv {

// Lead bytes of code page 932: a double-byte character starts with one of these.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
// The bytes that may follow a lead byte.
constexpr bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// ASCII letters compared without regard to case; both bytes of a
// double-byte character compare exactly (a trail byte is never folded).
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto fold = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; };
  for (size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (IsLeadByte(x)) {
      if (i + 1 >= a.size() || x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (fold(x) != fold(y)) return false;
  }
  return true;
}

// The name with its ASCII letters in upper case (trail bytes untouched), for
// lookups that ignore case as EqualsIgnoringAsciiCase does.
inline std::string FoldedAsciiCase(std::string_view name) {
  std::string folded(name);
  for (size_t i = 0; i < folded.size(); ++i) {
    auto c = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(c)) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      folded[i] = static_cast<char>(c - 32);
    }
  }
  return folded;
}

// What a lossy conversion had to give up.
struct ConversionReport {
  static constexpr size_t npos = static_cast<size_t>(-1);
  size_t replaced = 0;             // characters replaced (or dropped)
  size_t firstReplaced = npos;     // index in the input (code units) of the first one
  void Note(size_t index) {
    if (replaced++ == 0) firstReplaced = index;
  }
};

class ICodePage {
 public:
  virtual ~ICodePage() = default;
  // Never fails: bytes that are not valid Shift_JIS still yield characters.
  virtual std::u16string Cp932ToUtf16(std::string_view text) = 0;
  // The same into out, which has room for text.size() units (no Shift_JIS
  // character takes more units than bytes); returns the units written.
  virtual size_t Cp932ToUtf16Into(std::string_view text, char16_t* out) {
    const std::u16string units = Cp932ToUtf16(text);
    std::copy(units.begin(), units.end(), out);
    return units.size();
  }
  // A character with no Shift_JIS form becomes "?" (0x3F) and is noted in report.
  virtual std::string Utf16ToCp932(std::u16string_view text, ConversionReport* report) = 0;
  // Malformed UTF-8 becomes U+FFFD and is noted in report.
  virtual std::u16string Utf8ToUtf16(std::string_view text, ConversionReport* report) = 0;
  virtual std::string Utf16ToUtf8(std::u16string_view text) = 0;

  // Direct paths; implementations may override them with a faster single pass.
  virtual std::string Cp932ToUtf8(std::string_view text) { return Utf16ToUtf8(Cp932ToUtf16(text)); }
  virtual std::string Utf8ToCp932(std::string_view text, ConversionReport* report) {
    return Utf16ToCp932(Utf8ToUtf16(text, report), report);
  }
  // UTF-8 to Shift_JIS written over memory of the input's own: out is in or
  // lies before it, so that a big text needs no second copy. Returns the
  // bytes written, or npos where the code page cannot promise that no
  // character's Shift_JIS form is longer than its UTF-8 (nothing is written
  // then). firstReplacedOut, when not null and still npos, gets where in
  // the output the first "?" went.
  virtual size_t Utf8ToCp932Over(const char* /*in*/, size_t /*size*/, char* /*out*/, ConversionReport* /*report*/,
                                 size_t* /*firstReplacedOut*/) {
    return ConversionReport::npos;
  }
};

}  // namespace kerv
