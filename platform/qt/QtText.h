#pragma once
// Texts between the program's strings and Qt's: UTF-8 messages and names, and
// Shift_JIS document text through the code page.

#include <QString>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kerv {

inline QString Utf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QString SjisToQString(ICodePage& codePage, std::string_view sjis) {
  std::u16string utf16 = codePage.Cp932ToUtf16(sjis);
  return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

// Characters the code page lacks become "?".
inline std::string QStringToSjis(ICodePage& codePage, const QString& text) {
  std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
  return codePage.Utf16ToCp932(utf16, nullptr);
}

}  // namespace kerv
