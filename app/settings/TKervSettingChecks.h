#pragma once
// The settings dialog's checks before OK is accepted, and the filter lists it
// edits row by row. Pure functions over the group fields (Shift_JIS texts,
// native paths), so the dialog only shows what they return.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings/TKervSettingGroups.h"
#include "app/settings/TKervSettingMessages.h"
#include "platform/FileSystem.h"

namespace kerv {

// One row of a filter list: a description and its ";"-separated patterns.
struct TKervFilterRow {
  std::string name;
  std::string definition;
  bool operator==(const TKervFilterRow&) const = default;
};

// The rows of a list "name|patterns|name|patterns|..." (a missing final "|"
// is supplied; an unpaired last field is dropped).
std::vector<TKervFilterRow> ParseFilterList(std::string_view list);
// The list as the dialog writes it: every field followed by "|".
std::string BuildFilterList(const std::vector<TKervFilterRow>& rows);
// Why a row is refused, or nothing when it may be added.
std::optional<TKervSettingMessage> CheckFilterRow(std::string_view name, std::string_view definition);
// The refusal of the first row of a list that the row editor would refuse.
std::optional<TKervSettingMessage> CheckFilterList(std::string_view list);

// Refuses a name holding \ / ; * ? " < > | (a file name in the settings folder).
std::optional<TKervSettingMessage> CheckTempFileName(std::string_view name);
// Whether backups may go to SaveTarget, so that it must be an existing folder.
bool UsesBackupFolder(const TKervBackupSetting& backup);

// The first check that fails: the message and the key of the field to mark
// (its section and name tell the dialog which page and control).
struct TKervSettingProblem {
  TKervSettingMessage message;
  const TKervSettingKey* key;
};
std::optional<TKervSettingProblem> CheckSettingsBeforeOk(const TKervBackupSetting& backup,
                                                         const TKervToolLauncherSetting& tools,
                                                         const TKervFileDialogSetting& fileDialog, IFileSystem& fs);

}  // namespace kerv
