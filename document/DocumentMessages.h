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
  EndedAtEof,     // warning: an end-of-file byte (0x1A) ended the text early; %1 line
  SaveWarning,    // appended to the two warnings above
  // The file manager's questions (%1 the file name) and notices (%1 the time).
  QuerySave,
  BigFile,         // %2 the limit in MB
  ReloadQuestion,
  ChangedOutside,
  NewerOnDisk,     // a save would replace a file changed since it was read
  LossySave,       // %2 the code, %3 how many characters would become "?"
  Opened,          // %2 the name
  Saved,           // %2 the name
  NewDocument,
  BackupSaved,
  // File dialogs, history and the filter lists of the settings dialog.
  OpenCodeLabel,
  SaveCodeLabel,
  ReturnCodeLabel,
  ReadOnlyBox,
  HistoryNone,
  HistoryClear,
  FilterNameEmpty,
  FilterDefinitionEmpty,
  FilterNameBar,
  FilterBadExtension,
  TitleSuffix,
};

const std::string& DocumentMessage(TDocumentMessage id);

// The message with "%1", "%2", ... replaced by the arguments in order.
std::string FormatDocumentMessage(TDocumentMessage id, std::initializer_list<std::string> arguments);

}  // namespace kerv
