#pragma once
// The texts that reading and writing documents shows to the user (UTF-8,
// byte-exact), kept in one table.

#include <initializer_list>
#include <string>

namespace kerv {

enum class TDocumentMessage {
  SpecialChars,   // question: control bytes are about to become blanks
  SJISOrEUC,      // question: detection could not tell Shift-JIS from EUC
  ReplacedChars,  // warning: characters with no Shift-JIS form became "?"; %1 count, %2 line
  EndedAtZero,    // warning: a zero byte ended the text early; %1 line
  SaveWarning,    // appended to the two warnings above
};

const std::string& DocumentMessage(TDocumentMessage id);

// The message with "%1", "%2", ... replaced by the arguments in order.
std::string FormatDocumentMessage(TDocumentMessage id, std::initializer_list<std::string> arguments);

}  // namespace kerv
