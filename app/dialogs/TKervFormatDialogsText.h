#pragma once
// Texts of the formatting dialogs: the messages table is UTF-8, the user's
// texts (separators, lead strings) are Shift_JIS.

#include <QString>
#include <string>
#include <string_view>

#include "format/FormatMessages.h"
#include "platform/CodePage.h"

namespace kerv {

inline QString FormatText(TFormatMessage id) { return QString::fromUtf8(FormatMessage(id)); }

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
