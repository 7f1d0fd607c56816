#pragma once
// The texts the settings store and the settings dialog show to the user
// (UTF-8, byte-exact), kept in one table.

#include <string>

namespace kerv {

enum class TKervSettingMessage {
  BackupFolderInvalid,     // the backup folder is not an existing folder
  TempFileInvalidChars,    // the tools' temporary file name holds a character a file name cannot
  OpenFirstFolderInvalid,  // the open dialog's first folder does not exist
  SaveFirstFolderInvalid,  // the save dialog's first folder does not exist
  FilterNameEmpty,
  FilterDefinitionEmpty,
  FilterNameHasBar,
  FilterBadExtension,      // a pattern's extension holds a character an extension cannot
  ResetOpenFilterQuestion,
  ResetSaveFilterQuestion,
  IniSaveFailed,           // a feature dialog could not write its section
  ApplyWithoutSaving,      // the dialog's check box: apply the changes this time only
  SaveMenuChanges,         // the dialog's check box, stored negated as NoSaveMenu
  BackupToChosenFolder,    // the dialog's check box, stored negated as SaveSameDir
  ResetFilterButton,
  // The dialog's own captions.
  DialogCaption,
  OkButton,
  CancelButton,
  BrowseButton,
  ColourButton,
  FilterNameColumn,
  FilterDefinitionColumn,
  FilterAddButton,
  FilterChangeButton,
  FilterDeleteButton,
  FilterUpButton,
  FilterDownButton,
  ToolListButton,       // the tools page's way to the tool dialog
};

const std::string& SettingMessage(TKervSettingMessage id);

}  // namespace kerv
