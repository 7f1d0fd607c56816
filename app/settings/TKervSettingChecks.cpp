#include "app/settings/TKervSettingChecks.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace kerv {
namespace {

// Whether text holds one of chars as a character of its own: the trail byte of
// a double-byte character (0x5C in "ソ", 0x7C in "ポ") is never one.
bool HoldsAnyOf(std::string_view text, std::string_view chars) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (chars.find(static_cast<char>(c)) != std::string_view::npos) return true;
  }
  return false;
}

// Splits at every "|" that is a character of its own. A lead byte without
// its trail byte at the very end is dropped: written back before a "|", it
// would take that separator as its trail byte.
std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  size_t begin = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c)) {
      if (i + 1 == text.size()) text.remove_suffix(1);
      ++i;
    } else if (c == '|') {
      fields.emplace_back(text.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  fields.emplace_back(text.substr(std::min(begin, text.size())));
  return fields;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

std::vector<TKervFilterRow> ParseFilterList(std::string_view list) {
  std::vector<std::string> fields = SplitFields(list);
  // A list without its final "|" reads as if it had one.
  if (!fields.back().empty()) fields.emplace_back();
  size_t separators = fields.size() - 1;
  std::vector<TKervFilterRow> rows;
  for (size_t i = 0; i < separators / 2; ++i) rows.push_back({fields[2 * i], fields[2 * i + 1]});
  return rows;
}

std::string BuildFilterList(const std::vector<TKervFilterRow>& rows) {
  std::string list;
  for (const TKervFilterRow& row : rows) list += row.name + "|" + row.definition + "|";
  return list;
}

std::optional<TKervSettingMessage> CheckFilterRow(std::string_view name, std::string_view definition) {
  if (name.empty()) return TKervSettingMessage::FilterNameEmpty;
  if (definition.empty()) return TKervSettingMessage::FilterDefinitionEmpty;
  if (HoldsAnyOf(name, "|")) return TKervSettingMessage::FilterNameHasBar;
  // A "|" anywhere in the patterns, not only in an extension, would split the
  // stored list and shift every later row.
  if (HoldsAnyOf(definition, "|")) return TKervSettingMessage::FilterBadExtension;
  size_t begin = 0;
  while (begin <= definition.size()) {
    size_t end = definition.find(';', begin);
    if (end == std::string_view::npos) end = definition.size();
    std::string_view pattern = definition.substr(begin, end - begin);
    // A '.' is never a trail byte, so the extension starts at a character.
    size_t dot = pattern.rfind('.');
    if (dot != std::string_view::npos && HoldsAnyOf(pattern.substr(dot + 1), "\\/,;\"<>|?")) {
      return TKervSettingMessage::FilterBadExtension;
    }
    begin = end + 1;
  }
  return std::nullopt;
}

std::optional<TKervSettingMessage> CheckFilterList(std::string_view list) {
  for (const TKervFilterRow& row : ParseFilterList(list)) {
    if (auto refusal = CheckFilterRow(row.name, row.definition)) return refusal;
  }
  return std::nullopt;
}

std::optional<TKervSettingMessage> CheckTempFileName(std::string_view name) {
  // A name typed in the dialog is a native (UTF-8) file name, where no byte of
  // a multi-byte character is ASCII; one from the file may be Shift_JIS.
  std::string_view refused = "\\/;*?\"<>|";
  bool refuse = IsValidUtf8(name) ? name.find_first_of(refused) != std::string_view::npos : HoldsAnyOf(name, refused);
  if (refuse) return TKervSettingMessage::TempFileInvalidChars;
  return std::nullopt;
}

bool UsesBackupFolder(const TKervBackupSetting& backup) {
  return (backup.SaveBackup || backup.RegBackupType == 2) && !backup.SaveSameDir;
}

std::optional<TKervSettingProblem> CheckSettingsBeforeOk(const TKervBackupSetting& backup,
                                                         const TKervToolLauncherSetting& tools,
                                                         const TKervFileDialogSetting& fileDialog, IFileSystem& fs) {
  if (UsesBackupFolder(backup) && !fs.FolderExists(backup.SaveTarget)) {
    return TKervSettingProblem{TKervSettingMessage::BackupFolderInvalid, FindSettingKey("Backup", "SaveTarget")};
  }
  if (auto refusal = CheckTempFileName(tools.TempFile)) {
    return TKervSettingProblem{*refusal, FindSettingKey("Settings", "TempFile")};
  }
  if (!fileDialog.OpenFirstFolder.empty() && !fs.FolderExists(fileDialog.OpenFirstFolder)) {
    return TKervSettingProblem{TKervSettingMessage::OpenFirstFolderInvalid,
                               FindSettingKey("Settings", "OpenFirstFolder")};
  }
  if (!fileDialog.SaveFirstFolder.empty() && !fs.FolderExists(fileDialog.SaveFirstFolder)) {
    return TKervSettingProblem{TKervSettingMessage::SaveFirstFolderInvalid,
                               FindSettingKey("Settings", "SaveFirstFolder")};
  }
  // The filter lists are checked row by row in their editor: a list read from
  // the file as it is never keeps the dialog from closing.
  return std::nullopt;
}

}  // namespace kerv
