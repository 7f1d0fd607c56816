#pragma once
// Texts of the formatting dialogs: the messages table is UTF-8, the user's
// texts (separators, lead strings) are Shift_JIS.

#include <QString>
#include <string>
#include <string_view>

#include "format/FormatMessages.h"
#include "platform/CodePage.h"
#include "platform/qt/QtText.h"

namespace kerv {

inline QString FormatText(TFormatMessage id) { return QString::fromUtf8(FormatMessage(id)); }

}  // namespace kerv
