#pragma once
#include "platform/CodePage.h"

namespace kerv {

// Code page conversions through glibc iconv, with Microsoft's mapping of code
// page 932 ("CP932"; "SHIFT_JIS" would map 0x5C to the yen sign and lack the
// NEC rows). Results do not depend on the process locale.
class IconvCodePage : public ICodePage {
 public:
  std::u16string Cp932ToUtf16(std::string_view text) override;
  std::string Utf16ToCp932(std::u16string_view text, ConversionReport* report) override;
  std::u16string Utf8ToUtf16(std::string_view text, ConversionReport* report) override;
  std::string Utf16ToUtf8(std::u16string_view text) override;
};

}  // namespace kerv
