#pragma once
#include "platform/CodePage.h"

namespace kerv {

// Code page conversions with Microsoft's mapping of code page 932, as glibc
// iconv knows it ("CP932"; "SHIFT_JIS" would map 0x5C to the yen sign and lack
// the NEC rows). The mapping is taken from iconv once, into tables that every
// conversion then uses in a single pass; UTF-8 and UTF-16 are transcoded
// directly. Results equal iconv's and do not depend on the process locale.
//
// Bytes that are not Shift_JIS (and a lead byte without its trail byte) stand
// for the code point of the same value, so that nothing is lost. Characters
// with no Shift_JIS form become "?"; malformed UTF-8 (each byte that starts no
// well-formed sequence) becomes U+FFFD; a lone surrogate written as UTF-8
// becomes U+FFFD.
class IconvCodePage : public ICodePage {
 public:
  IconvCodePage();

  std::u16string Cp932ToUtf16(std::string_view text) override;
  size_t Cp932ToUtf16Into(std::string_view text, char16_t* out) override;
  std::string Utf16ToCp932(std::u16string_view text, ConversionReport* report) override;
  std::u16string Utf8ToUtf16(std::string_view text, ConversionReport* report) override;
  std::string Utf16ToUtf8(std::u16string_view text) override;
  // One pass each, positions in report are byte offsets of the UTF-8 input.
  std::string Cp932ToUtf8(std::string_view text) override;
  std::string Utf8ToCp932(std::string_view text, ConversionReport* report) override;
  size_t Utf8ToCp932Over(const char* in, size_t size, char* out, ConversionReport* report,
                         size_t* firstReplacedOut) override;

  struct Tables;

 private:
  const Tables* tables_;
};

}  // namespace kerv
