// Detection of character codes and return codes, and return-code conversion,
// on arbitrary bytes.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "document/TStringCodeConverter.h"

namespace {

using kerv::TStringCodeConverter;

// Every byte that is not CR or LF, in order: what a return-code conversion must keep.
std::string WithoutReturns(std::string_view text) {
  std::string rest;
  for (char c : text) {
    if (c != '\r' && c != '\n') rest += c;
  }
  return rest;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (bool utf8nCheck : {false, true}) Check(TStringCodeConverter::DetectCode(text, utf8nCheck) <= kerv::ccBinary);

  const size_t length = std::min(text.find('\0'), text.size());
  const std::string_view body = text.substr(0, length);
  const bool marked = body.starts_with("\xFF\xFE") || body.starts_with("\xFE\xFF") || body.starts_with("\xEF\xBB\xBF");
  if (TStringCodeConverter::IsUTF8N(text) && !marked) Check(TStringCodeConverter::DetectCode(text, true) == kerv::ccUTF8N);

  size_t first = text.find_first_of("\r\n");
  kerv::TReturnCode expected = first == std::string_view::npos ? kerv::rcNone
                               : text[first] == '\n'           ? kerv::rcLF
                               : first + 1 < size && text[first + 1] == '\n' ? kerv::rcCRLF
                                                                              : kerv::rcCR;
  Check(TStringCodeConverter::DetectReturnCode(text) == expected);

  const std::string rest = WithoutReturns(text);
  for (kerv::TReturnCode target : {kerv::rcNone, kerv::rcCRLF, kerv::rcLF, kerv::rcCR}) {
    kerv::TReturnCodeConversion converted = TStringCodeConverter::ConvertReturnCode(text, target);
    Check(converted.detected == expected);
    Check(WithoutReturns(converted.text) == rest);
    std::string inPlace(text);
    TStringCodeConverter::ConvertReturnCodeInPlace(inPlace, target);
    Check(inPlace == converted.text);
  }
  if (text.find('\r') == std::string_view::npos) {
    std::string crlf = TStringCodeConverter::ConvertReturnCode(text, kerv::rcCRLF).text;
    Check(TStringCodeConverter::ConvertReturnCode(crlf, kerv::rcLF).text == text);
  }
  return 0;
}
