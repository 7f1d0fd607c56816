#pragma once
// The texts the formatting commands and their dialogs show (UTF-8,
// byte-exact), in one table.

namespace kerv {

enum class TFormatMessage {
  TypeFormatCaption,      // caption of the type-format dialog
  NumberingCaption,       // caption of the numbering dialog
  AlignLeft,              // numbering alignment 0
  AlignDigits,            // numbering alignment 1
  AlignZeroFill,          // numbering alignment 2
  InvalidStartNumber,     // error: the start number is not 0-9999
  PreviewEllipsis,        // the preview's line between the first and the last numbered line
  LeadStringCaption,      // caption of the lead-string dialog
  FootStringCaption,      // caption of the same dialog for the foot string
  LeadStringPrompt,       // label of the combo box, lead string
  FootStringPrompt,       // label of the combo box, foot string
  LeadStringHint,         // the escapes the lead and foot strings understand
  ClearHistoryButton,     // the history button
  ClearHistoryQuestion,   // question before the history is emptied
  IniSaveFailed,          // error: the history could not be written
  ReturnAtCaption,        // caption of the column question
  ReturnAtPrompt,         // prompt of the column question
};

// The UTF-8 text of a message.
const char* FormatMessage(TFormatMessage id);

}  // namespace kerv
