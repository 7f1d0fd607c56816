#include "editmode/TKervEditModeManager.h"

#include <algorithm>

#include "editmode/EditModeMessages.h"

namespace kerv {

TKervEditModeManager::TKervEditModeManager(IFileSystem& fs, ICodePage& codePage, IEditModeUser& user,
                                           std::string settingFolder)
    : fs_(fs),
      codePage_(codePage),
      user_(user),
      settingFolder_(IncludeTrailingSlash(settingFolder)),
      current_(std::make_unique<TEditorPropEx>()) {}

std::string TKervEditModeManager::Internal(const std::string& utf8) const {
  ConversionReport report;
  std::string name = codePage_.Utf8ToCp932(utf8, &report);
  // A file name with characters that have no Shift_JIS form names no mode.
  return report.replaced == 0 ? name : std::string();
}

std::string TKervEditModeManager::ModeFilePath(const std::string& name) const {
  return settingFolder_ + Shown(name) + kEditModeExt;
}

void TKervEditModeManager::LoadAssociations() {
  try {
    associations_.Load(fs_, settingFolder_ + kAssociationFileName);
  } catch (const EFileError&) {
    associations_.Clear();
    user_.ShowErrorCode(19005, std::nullopt);
  }
}

bool TKervEditModeManager::ModeExists(const std::string& name) const {
  return !name.empty() && fs_.FileExists(ModeFilePath(name));
}

bool TKervEditModeManager::ReadModeFile(const std::string& path, TEditorPropEx& set) {
  try {
    return set.LoadFromFile(fs_, path);
  } catch (const EFileError&) {
    return false;
  }
}

bool TKervEditModeManager::ReadMode(const std::string& name, TEditorPropEx& set) {
  if (name == kDefaultModeName && !ModeExists(name)) {
    set.ApplyFactorySettings();
    return true;
  }
  return ReadModeFile(ModeFilePath(name), set);
}

bool TKervEditModeManager::CanLoad(const std::string& name) {
  if (!ModeExists(name)) return false;
  TEditorPropEx probe;
  return ReadModeFile(ModeFilePath(name), probe);
}

std::string TKervEditModeManager::ChooseMode(const std::string& fileName, bool report, bool drop) {
  if (fileName.empty() || associations_.Count() == 0) return kDefaultModeName;
  const std::string ext = Internal(TKervEditModeAssociationList::ExtensionOf(fileName));
  const std::string mode = associations_.ModeOfExt(ext);
  // The default mode always exists, with or without its file.
  if (mode.empty() || mode == kDefaultModeName) return kDefaultModeName;
  if (CanLoad(mode)) return mode;
  const bool exists = ModeExists(mode);
  if (drop) associations_.Delete(ext);
  if (report) {
    user_.NoticeError(EditModeMessage(exists ? TEditModeMessage::AssociatedNotLoaded
                                             : TEditModeMessage::AssociatedNotFound));
  }
  return kDefaultModeName;
}

std::string TKervEditModeManager::ModeForFile(const std::string& fileName, bool report) {
  return ChooseMode(fileName, report, true);
}

bool TKervEditModeManager::LoadMode(const std::string& name) {
  // A file that is not a mode is as much a failed load as a missing one:
  // the user learns why the mode did not change.
  if (!ReadMode(name, *current_)) {
    user_.ShowError(EditModeMessage(TEditModeMessage::LoadFailed));
    return false;
  }
  currentName_ = name;
  return true;
}

void TKervEditModeManager::SaveMode(const TEditorPropEx& set, const std::string& name) {
  set.SaveToFile(fs_, ModeFilePath(name), resolve_);
}

bool TKervEditModeManager::ChangesWrapping(const std::string& name) {
  TEditorPropEx probe;
  if (!ReadMode(name, probe)) return false;
  if (probe.WordWrap() != current_->WordWrap()) return true;
  return probe.WordWrap() && probe.WrapOption().WrapByte() != current_->WrapOption().WrapByte();
}

std::vector<std::string> TKervEditModeManager::ModeNames() const {
  std::vector<std::string> names{kDefaultModeName};
  const std::string ext = kEditModeExt;
  for (const std::string& file : fs_.ListFiles(settingFolder_, "*" + ext)) {
    std::string name = Internal(file.substr(0, file.size() - ext.size()));
    if (!name.empty() && name != kDefaultModeName) names.push_back(std::move(name));
  }
  return names;
}

TModeSwitch TKervEditModeManager::ChangeMode(const std::string& name, bool askUndoClear, bool force) {
  const std::string wanted = name.empty() ? std::string(kDefaultModeName) : name;
  if (wanted == currentName_ && !force) return TModeSwitch::Unchanged;
  if (askUndoClear && ChangesWrapping(wanted) && !user_.Confirm(EditModeMessage(TEditModeMessage::UndoClearQuestion))) {
    return TModeSwitch::Declined;
  }
  return LoadMode(wanted) ? TModeSwitch::Changed : TModeSwitch::Failed;
}

TModeSwitch TKervEditModeManager::ChangeModeForFile(const std::string& fileName, bool askUndoClear) {
  if (askUndoClear) {
    // A look without consequences: the associations stay, so that the
    // choice below still reports a missing mode.
    const std::string preview = ChooseMode(fileName, false, false);
    if (ChangesWrapping(preview) && !user_.Confirm(EditModeMessage(TEditModeMessage::UndoClearQuestion))) {
      return TModeSwitch::Declined;
    }
  }
  return LoadMode(ModeForFile(fileName, true)) ? TModeSwitch::Changed : TModeSwitch::Failed;
}

bool TKervEditModeManager::SeedShippedModes(const std::string& dataFolder) {
  const std::string source = IncludeTrailingSlash(dataFolder);
  if (fs_.FileExists(settingFolder_ + kAssociationFileName)) return false;
  if (!fs_.FileExists(source + kAssociationFileName)) return false;
  for (const std::string& file : fs_.ListFiles(source, std::string("*") + kEditModeExt)) {
    // A mode the user already has is theirs: never replaced by a shipped one.
    if (!fs_.FileExists(settingFolder_ + file)) fs_.CopyFile(source + file, settingFolder_ + file);
  }
  return fs_.CopyFile(source + kAssociationFileName, settingFolder_ + kAssociationFileName);
}

bool TKervEditModeManager::IsValidName(std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c)) {
      ++i;  // a trail byte may be 0x5C or 0x7C and is still part of its character
      continue;
    }
    if (std::string_view("\\/;*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) return false;
  }
  return true;
}

bool TKervEditModeManager::CheckName(const std::string& name) {
  if (IsValidName(name)) return true;
  user_.RefuseName(EditModeMessage(TEditModeMessage::InvalidChars));
  return false;
}

std::string TKervEditModeManager::InvalidModeMessage(const std::string& name) const {
  return EditModeMessage(TEditModeMessage::InvalidModeUsed) + Shown(name);
}

}  // namespace kerv
