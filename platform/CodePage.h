#pragma once
// Code page 932 (Shift_JIS with Microsoft's mapping) and UTF-8 to and from UTF-16.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kerv {

// Lead bytes of code page 932: a double-byte character starts with one of these.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

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
};

}  // namespace kerv
