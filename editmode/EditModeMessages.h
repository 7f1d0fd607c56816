#pragma once
// Every text the edit-mode subsystem shows (UTF-8, byte-exact), in one table,
// and the names it keeps internally (Shift_JIS).

#include <span>
#include <string>

namespace kerv {

// "デフォルト" in Shift_JIS: the mode that always exists.
inline constexpr const char* kDefaultModeName = "\x83\x66\x83\x74\x83\x48\x83\x8B\x83\x67";
inline constexpr const char* kEditModeExt = ".em2";
inline constexpr const char* kAssociationFileName = "editmode.ini";

enum class TEditModeMessage {
  // Choosing and switching modes.
  AssociatedNotFound,    // notice: the associated mode's file is missing
  AssociatedNotLoaded,   // notice: the associated mode's file does not load
  LoadFailed,            // error box: reading a mode raised an error
  UndoClearQuestion,     // Yes/No before a switch that re-wraps
  InvalidModeUsed,       // error 25000's text, followed by the name
  // The settings dialog.
  NewCaption,
  NewPrompt,
  CopyCaption,
  CopyPrompt,
  CopySuffix,            // appended to the proposed name of a copy
  RenameCaption,
  RenamePrompt,
  AlreadyExists,
  OverwriteQuestion,
  CreateFailed,
  CannotDelete,
  DeleteQuestion,        // after the name; a line break and DeleteWarning follow
  DeleteWarning,
  DeleteFailed,          // after the name
  RenameFailed,
  ImportOverwrite,       // after the name
  EnterExtension,
  InvalidChars,          // a name or extension holds one of \ / ; * ? " < > |
  // The word list and the word dialog.
  MethodRegExp,
  MethodFuzzy,           // appended to MethodRegExp
  MethodMatchCase,
  MethodWholeWord,
  MethodNone,
  LevelPrefix,           // followed by the level number
  MultiWordCaption,
  SetLevelForAll,
  // The colour page and the bracket dialog.
  UseEditorColors,
  ShowProportionalFonts,
  BracketShowReserve,
  SampleSearchString,
  SampleTempWord,
};

const std::string& EditModeMessage(TEditModeMessage id);

// One line of the colour page: its caption (UTF-8) and the colour set it edits.
struct TColorPageEntry {
  const char* name;
  int colorSet;
};
// The 26 entries in the order the page lists them.
std::span<const TColorPageEntry> ColorPageEntries();

}  // namespace kerv
