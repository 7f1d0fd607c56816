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
  OkButton,
  CancelButton,
  TypeActionGroup,        // type-format dialog: the group of the three operations
  TypeHanToZen,           // RB_HanToZen
  TypeZenToHan,           // RB_ZenToHan
  TypeDelete,             // RB_Del
  TypeKindGroup,          // the group of the kind boxes
  TypeELow,               // Chk_ELow
  TypeEUpp,               // Chk_EUpp
  TypeNum,                // Chk_Num
  TypeKata,               // Chk_Kata
  TypeKana,               // Chk_Kana
  TypeSym,                // Chk_Sym
  TypeSpace,              // Chk_Space
  TypeTab,                // Chk_Tab
  TypeRet,                // Chk_Ret
  TypeAllText,            // Chk_AllText
  StartNumberLabel,       // numbering dialog: label of Edt_StartNum
  SeparatorLabel,         // label of Edt_SeparateStr
  AlignmentLabel,         // label of Cmb_Type
  PreviewLabel,           // title of the preview
};

// The UTF-8 text of a message.
const char* FormatMessage(TFormatMessage id);

}  // namespace kerv
