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
  BlankedChars,   // warning: control bytes became blanks; %1 count, %2 line
  OddLastByte,    // warning: the odd last byte of UTF-16 was dropped
  SaveWillAsk,    // appended to the warnings above: a save over the file asks first
  // The question before a save over a file whose load lost something (%1 the
  // name, %2 the lines below) and its lines.
  LossyLoadSave,
  LossTextAfter,  // %1 line, %2 the byte's name
  EofByteName,
  ZeroByteName,
  LossReplaced,  // %1 count, %2 line
  LossBlanked,   // %1 count, %2 line
  LossOddByte,
  // The file manager's questions (%1 the file name) and notices (%1 the time).
  QuerySave,
  BigFile,         // %2 the limit in MB
  ReloadQuestion,
  ChangedOutside,
  NewerOnDisk,     // a save would replace a file changed since it was read
  LossySave,       // a save in a code that cannot hold everything; %2 the lines below
  SaveLosesChars,  // %1 the code, %2 how many characters would become "?"
  SaveWidensKana,  // %1 how many half-width katakana become full-width in JIS, %2 the line of the first
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
  // Why a file could not be read or written, after the message of its code.
  ReasonNoSpace,
  ReasonQuota,
  ReasonDenied,
  ReasonReadOnlyFs,
  ReasonIsFolder,
  ReasonNotFound,
  ReasonTooBig,
  ReasonIo,
  ReasonNotRegular,
  ReasonLocked,
  ReasonNoBackupCopy,  // a file written in place needs a copy first, which could not be made
  InPlaceCopyKept,     // %1 the copy that holds the file as it was before the failed save
  // The progress of a long read, and its end when cancelled (%1 the name).
  ReadingCaption,
  Reading,
  ReadingCancelled,
};

const std::string& DocumentMessage(TDocumentMessage id);

// The message with "%1", "%2", ... replaced by the arguments in order.
std::string FormatDocumentMessage(TDocumentMessage id, std::initializer_list<std::string> arguments);

class EFileError;
// Why a file operation failed, in the user's words: the common system errors
// by name, any other by the system's own text.
std::string FileErrorReason(const EFileError& error);

}  // namespace kerv
