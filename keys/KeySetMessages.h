#pragma once
// Every text the key sets and their settings page show (UTF-8, byte-exact),
// in one table.

namespace kerv {

enum class TKeySetMessage {
  // A key-set file that cannot be used; the built-in set is used instead.
  DamagedType,         // the type mark is not "KervKeySet"
  DamagedShort,        // KeySet holds fewer than 4096 digits
  DamagedNotHex,       // KeySet holds a character that is no hexadecimal digit
  Unreadable,          // the file could not be read
  UsingDefault,        // the last line of the messages above
  NotOverwritten,      // a damaged file is never written over
  SaveFailed,          // a set could not be written
  CannotEdit,          // the built-in set or a damaged set cannot be changed
  // The key page of the settings dialog.
  NoBinding,           // the text of an action without a key
  AssignButton,
  ReleaseButton,
  DescriptionLabel,
  AddButton,
  RenameButton,
  DeleteButton,
  CreateCaption,
  CreatePrompt,
  CopyCaption,
  CopyPrompt,
  RenameCaption,
  RenamePrompt,
  AlreadyExists,
  InvalidChars,        // a name holds one of \ / ; * ? " < > |
  DeleteQuestion,      // after the set's name; a line break and DeleteWarning follow
  DeleteWarning,
  DeleteFailed,        // after the set's name
  RenameFailed,
  CategoryFile,        // the twelve nodes of the action tree, in order
  CategoryEdit,
  CategoryFormat,
  CategorySearch,
  CategoryInsert,
  CategoryDelete,
  CategoryCaret,
  CategoryTool,
  CategoryView,
  CategoryWindow,
  CategoryInfobar,
  CategoryHelp,
  // More of the key page.
  CopyButton,
  KeySetLabel,
  ActionTreeLabel,
  KeyListLabel,
  BindingLabel,
  PressKeyLabel,
  HeldByLabel,         // the action or tool the chosen combination belongs to follows
  HeldByTool,          // before a tool's name
};

const char* KeySetMessage(TKeySetMessage id);

}  // namespace kerv
