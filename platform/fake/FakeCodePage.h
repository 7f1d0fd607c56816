#pragma once
#include "platform/CodePage.h"

namespace kerv {

// A code page for tests that need no real mapping: bytes are code points
// (Latin-1), and code points above 0xFF have no byte form.
class FakeCodePage : public ICodePage {
 public:
  std::u16string Cp932ToUtf16(std::string_view text) override {
    std::u16string out;
    for (unsigned char c : text) out.push_back(c);
    return out;
  }
  std::string Utf16ToCp932(std::u16string_view text, ConversionReport* report) override {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] <= 0xFF) {
        out.push_back(static_cast<char>(text[i]));
      } else {
        if (report) report->Note(i);
        out.push_back('?');
      }
    }
    return out;
  }
  std::u16string Utf8ToUtf16(std::string_view text, ConversionReport*) override { return Cp932ToUtf16(text); }
  std::string Utf16ToUtf8(std::u16string_view text) override { return Utf16ToCp932(text, nullptr); }
};

}  // namespace kerv
