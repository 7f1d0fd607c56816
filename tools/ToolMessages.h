#pragma once
// Every text the tool launcher, its menu and its dialogs show (UTF-8,
// byte-exact), in one table.

#include <span>
#include <string>

namespace kerv {

enum class TToolMessage {
  MenuCaption,           // Mnu_AppList
  MissingTool,           // menu and list entry of a tool whose program is missing
  TempWriteFailed,       // error notice: the temporary copy could not be written
  ProgramNotFound,       // after the program's path and a line break
  ProgramNotExecutable,  // after the program's path and a line break
  LaunchFailed,          // after the program's path and a line break; the system's reason follows
  // The tool dialog TFrm_AppList.
  ListCaption,
  ColumnName,
  ColumnPath,
  AddButton,
  ModifyButton,
  DeleteButton,
  UpButton,
  DownButton,
  OkButton,
  CancelButton,
  HelpButton,
  DeleteQuestion,
  // The tool editor TFrm_AddApp.
  EditorCaption,
  ChangePathButton,
  ProgramFilter,
  SaveFirstCheck,
  SpecialButton,
  EnterToolName,
  PathLabel,
  NameLabel,
  ShortcutLabel,
  OptionLabel,
  ToolBarButtonTip,      // the tool bar's button that opens the tool menu
};

const char* ToolMessage(TToolMessage id);

// Help topics of the two dialogs.
inline constexpr int kToolListHelpTopic = 40401;
inline constexpr int kToolEditorHelpTopic = 40402;

// The items of the tool editor's "← 特殊(&E)" menu, in order; a separator follows the third.
struct TToolPlaceholderItem {
  const char* placeholder;  // "%f"
  const char* text;         // "編集中のファイルパス(&P)"
};
std::span<const TToolPlaceholderItem> ToolPlaceholderMenu();
// An item's caption: the placeholder in double quotes, " : ", its text.
std::string ToolPlaceholderCaption(const TToolPlaceholderItem& item);
// What choosing it appends to the options: the placeholder in double quotes and a blank.
std::string ToolPlaceholderInsertion(const TToolPlaceholderItem& item);

}  // namespace kerv
