#include "editmode/TKervEditModeSettingManager.h"

#include <algorithm>

#include "editmode/EditModeMessages.h"

namespace kerv {

void TKervEditModeSettingManager::Open(const std::string& currentName) {
  edited_.clear();
  selected_.clear();
  if (!ModeExists(kDefaultModeName)) {
    try {
      TEditorPropEx factory;
      factory.ApplyFactorySettings();
      SaveMode(factory, kDefaultModeName);
    } catch (const EFileError&) {
      // The default mode works without its file; OK tries to write it again.
    }
  }
  modes_ = ModeNames();

  LoadAssociations();
  dialogAssociations_.Clear();
  for (const TKervEditModeAssociation& pair : Associations()) {
    if (ModeExists(pair.mode)) dialogAssociations_.Put(pair.ext, pair.mode);
  }

  if (currentName.empty() || !Listed(currentName) || !Select(currentName)) Select(kDefaultModeName);
}

bool TKervEditModeSettingManager::Listed(const std::string& name) const {
  return std::find(modes_.begin(), modes_.end(), name) != modes_.end();
}

bool TKervEditModeSettingManager::InUse(const std::string& name) const {
  return name == kDefaultModeName || Listed(name) || ModeExists(name);
}

void TKervEditModeSettingManager::Keep(const std::string& name, const TEditorPropEx& set) {
  auto copy = std::make_unique<TEditorPropEx>();
  copy->Assign(set);
  edited_[name] = std::move(copy);
}

bool TKervEditModeSettingManager::Select(const std::string& name) {
  if (edited_.count(name) == 0) {
    if (name != kDefaultModeName && !ModeExists(name)) {
      user_.ShowErrorCode(11011, Shown(name));
      return false;
    }
    auto set = std::make_unique<TEditorPropEx>();
    if (!ReadMode(name, *set)) {
      user_.ShowErrorCode(11012, Shown(name));
      return false;
    }
    edited_[name] = std::move(set);
  }
  selected_ = name;
  return true;
}

std::string TKervEditModeSettingManager::ProposedCopyName() const {
  return selected_ + codePage_.Utf8ToCp932(EditModeMessage(TEditModeMessage::CopySuffix), nullptr);
}

bool TKervEditModeSettingManager::WriteNew(const TEditorPropEx& set, const std::string& name) {
  try {
    SaveMode(set, name);
    return true;
  } catch (const EFileError&) {
    user_.ShowError(EditModeMessage(TEditModeMessage::CreateFailed));
    return false;
  }
}

bool TKervEditModeSettingManager::NewMode(const std::string& name) {
  if (name.empty()) return false;
  if (!CheckName(name)) return false;
  if (InUse(name)) {
    user_.ShowError(EditModeMessage(TEditModeMessage::AlreadyExists));
    return false;
  }
  TEditorPropEx fresh;
  fresh.ApplyFactorySettings();
  if (!WriteNew(fresh, name)) return false;
  Keep(name, fresh);
  modes_.push_back(name);
  selected_ = name;
  return true;
}

bool TKervEditModeSettingManager::CopyMode(const std::string& name) {
  if (name.empty() || name == selected_ || selected_.empty()) return false;
  if (!CheckName(name)) return false;
  if (InUse(name) && !user_.Confirm(EditModeMessage(TEditModeMessage::OverwriteQuestion))) return false;
  const TEditorPropEx& source = SelectedSet();
  if (!WriteNew(source, name)) return false;
  // The copy replaces whatever the dialog held under that name, so OK does
  // not write an older edit over it.
  Keep(name, source);
  if (!Listed(name)) modes_.push_back(name);
  selected_ = name;
  return true;
}

bool TKervEditModeSettingManager::RenameMode(const std::string& oldName, const std::string& newName) {
  if (newName.empty() || newName == oldName || !Listed(oldName)) return false;
  if (!CheckName(newName)) return false;
  if (InUse(newName)) {
    user_.ShowError(EditModeMessage(TEditModeMessage::AlreadyExists));
    return false;
  }
  // The no-replace rename refuses a target that appeared meanwhile, which a
  // plain rename would silently destroy.
  if (!fs_.RenameFileNoReplace(ModeFilePath(oldName), ModeFilePath(newName))) {
    user_.ShowError(EditModeMessage(TEditModeMessage::RenameFailed));
    return false;
  }
  auto kept = edited_.find(oldName);
  if (kept != edited_.end()) {
    std::unique_ptr<TEditorPropEx> set = std::move(kept->second);
    edited_.erase(kept);
    edited_[newName] = std::move(set);
  }
  if (oldName == kDefaultModeName) {
    // The default mode stays listed first: it exists without its file.
    modes_.push_back(newName);
  } else {
    std::replace(modes_.begin(), modes_.end(), oldName, newName);
  }
  TKervEditModeAssociationList renamed;
  for (const TKervEditModeAssociation& pair : dialogAssociations_) {
    renamed.Put(pair.ext, pair.mode == oldName ? newName : pair.mode);
  }
  dialogAssociations_ = renamed;
  if (selected_ == oldName) selected_ = newName;
  return true;
}

bool TKervEditModeSettingManager::DeleteMode(const std::string& name) {
  if (name == kDefaultModeName || modes_.empty() || name == modes_.front()) {
    user_.ShowError(EditModeMessage(TEditModeMessage::CannotDelete));
    return false;
  }
  if (!Listed(name)) return false;
  const std::string shown = Shown(name);
  if (!user_.Confirm(shown + EditModeMessage(TEditModeMessage::DeleteQuestion) + "\r\n" +
                     EditModeMessage(TEditModeMessage::DeleteWarning))) {
    return false;
  }
  if (!fs_.RemoveFile(ModeFilePath(name))) {
    user_.ShowError(shown + EditModeMessage(TEditModeMessage::DeleteFailed));
    return false;
  }
  // Forgotten in memory too, or OK would write the deleted mode back.
  edited_.erase(name);
  modes_.erase(std::remove(modes_.begin(), modes_.end(), name), modes_.end());
  TKervEditModeAssociationList kept;
  for (const TKervEditModeAssociation& pair : dialogAssociations_) {
    if (pair.mode != name) kept.Put(pair.ext, pair.mode);
  }
  dialogAssociations_ = kept;
  Select(kDefaultModeName);
  return true;
}

bool TKervEditModeSettingManager::ImportMode(const std::string& path) {
  if (ExtractFileFolder(path) == SettingFolder()) return false;
  const std::string fileName = ExtractFileName(path);
  TEditorPropEx imported;
  if (!ReadModeFile(path, imported)) {
    user_.ShowErrorCode(11012, fileName);
    return false;
  }
  const std::string stem = fileName.substr(0, fileName.size() - ExtractFileExt(fileName).size());
  const std::string name = Internal(stem);
  if (name.empty()) {
    user_.ShowErrorCode(11012, fileName);
    return false;
  }
  if (!CheckName(name)) return false;
  const bool replaces = InUse(name);
  if (replaces && !user_.Confirm(Shown(name) + EditModeMessage(TEditModeMessage::ImportOverwrite))) return false;
  if (!WriteNew(imported, name)) return false;
  Keep(name, imported);
  if (!Listed(name)) modes_.push_back(name);
  selected_ = name;
  return true;
}

std::vector<std::string> TKervEditModeSettingManager::AssociableModes() const {
  std::vector<std::string> names;
  for (const std::string& name : modes_) {
    if (name != kDefaultModeName) names.push_back(name);
  }
  return names;
}

bool TKervEditModeSettingManager::CheckExtension(const std::string& ext) {
  if (ext.empty()) {
    user_.ShowError(EditModeMessage(TEditModeMessage::EnterExtension));
    return false;
  }
  return CheckName(ext);
}

bool TKervEditModeSettingManager::PutAssociation(const std::string& ext, const std::string& mode) {
  if (!CheckExtension(ext)) return false;
  if (mode.empty() || mode == kDefaultModeName) return false;
  dialogAssociations_.Put(ext, mode);
  return true;
}

bool TKervEditModeSettingManager::Commit() {
  bool ok = true;
  for (const auto& [name, set] : edited_) {
    try {
      SaveMode(*set, name);
    } catch (const EFileError&) {
      user_.ShowErrorCode(10053, Shown(name) + kEditModeExt);
      ok = false;
    }
  }
  TKervEditModeAssociationList saved;
  for (const TKervEditModeAssociation& pair : dialogAssociations_) {
    if (ModeExists(pair.mode)) saved.Put(pair.ext, pair.mode);
  }
  try {
    saved.Save(fs_, SettingFolder() + kAssociationFileName);
  } catch (const EFileError&) {
    user_.ShowErrorCode(19006, std::nullopt);
    ok = false;
  }
  return ok;
}

}  // namespace kerv
