#pragma once
// Shift_JIS test data written as UTF-8 literals, and a character splitter.

#include <string>
#include <string_view>
#include <vector>

#include "format/TCharTables.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv::test {

inline IconvCodePage& TestCodePage() {
  static IconvCodePage codePage;
  return codePage;
}

inline std::string S(std::string_view utf8) { return TestCodePage().Utf8ToCp932(utf8, nullptr); }

// Back to UTF-8 for readable failure messages.
inline std::string U(std::string_view sjis) { return TestCodePage().Cp932ToUtf8(sjis); }

inline std::vector<std::string> Chars(std::string_view text) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < text.size();) {
    size_t len = SjisCharBytes(text, i);
    chars.emplace_back(text.substr(i, len));
    i += len;
  }
  return chars;
}

}  // namespace kerv::test
