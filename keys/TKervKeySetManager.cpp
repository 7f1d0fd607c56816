#include "keys/TKervKeySetManager.h"

#include <algorithm>

#include "keys/DefaultKeySet.h"
#include "keys/KeySetMessages.h"

namespace kerv {

TKervKeySetManager::TKervKeySetManager(IFileSystem& fs, ICodePage& codePage, std::string settingFolder)
    : fs_(fs), keySet_(fs, codePage, std::move(settingFolder)) {
  SelectDefault();
}

bool TKervKeySetManager::CanEdit() const {
  return !damaged_ && !TKervKeySet::IsDefaultName(currentName_);
}

bool TKervKeySetManager::Exists(const std::string& name) { return !keySet_.StoredFile(name).empty(); }

TKeyArrayItem* TKervKeySetManager::Cached(const std::string& name) {
  auto found = std::find_if(cache_.begin(), cache_.end(), [&](const TKeyArrayItem& item) { return item.name == name; });
  return found == cache_.end() ? nullptr : &*found;
}

bool TKervKeySetManager::IsCached(const std::string& name) const {
  return std::any_of(cache_.begin(), cache_.end(), [&](const TKeyArrayItem& item) { return item.name == name; });
}

std::vector<std::string> TKervKeySetManager::SetNames() {
  std::vector<std::string> names{kDefaultKeySetName};
  auto add = [&](const std::string& name) {
    if (!TKervKeySet::IsDefaultName(name) && std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(name);
    }
  };
  for (const std::string& name : keySet_.StoredNames()) add(name);
  for (const TKeyArrayItem& item : cache_) add(item.name);
  add(currentName_);
  return names;
}

TKeySetNameProblem TKervKeySetManager::CheckNewName(const std::string& name) {
  if (name.empty()) return TKeySetNameProblem::Empty;
  if (!TKervKeySet::IsValidName(name)) return TKeySetNameProblem::InvalidChars;
  if (TKervKeySet::IsDefaultName(name) || Exists(name) || IsCached(name)) return TKeySetNameProblem::AlreadyExists;
  return TKeySetNameProblem::None;
}

std::string TKervKeySetManager::NameProblemMessage(TKeySetNameProblem problem) {
  switch (problem) {
    case TKeySetNameProblem::AlreadyExists:
      return KeySetMessage(TKeySetMessage::AlreadyExists);
    case TKeySetNameProblem::InvalidChars:
      return KeySetMessage(TKeySetMessage::InvalidChars);
    case TKeySetNameProblem::Empty:
    case TKeySetNameProblem::None:
      break;
  }
  return {};
}

void TKervKeySetManager::StoreCurrent() {
  if (!modified_ || !CanEdit()) return;
  if (TKeyArrayItem* item = Cached(currentName_)) {
    item->table = table_;
  } else {
    cache_.push_back({currentName_, table_});
  }
  modified_ = false;
}

void TKervKeySetManager::RebuildIndex() {
  index_.fill(0);
  // Walking in row and key order lets a later slot overwrite an earlier one, as applying does.
  for (int row = 0; row < kKeyRowCount; ++row) {
    for (int keyIndex = 1; keyIndex <= kKeyIndexCount; ++keyIndex) {
      if (int action = table_.ActionAt({row, keyIndex})) {
        index_[static_cast<size_t>(action)] = static_cast<uint16_t>(row << 8 | keyIndex);
      }
    }
  }
}

void TKervKeySetManager::Clear() {
  index_.fill(0);
  table_.Clear();
  modified_ = false;
  damaged_ = false;
}

TKeySetLoadResult TKervKeySetManager::Select(const std::string& name) {
  StoreCurrent();
  return LoadInto(name);
}

TKeySetLoadResult TKervKeySetManager::LoadInto(const std::string& name) {
  Clear();
  TKeySetLoadResult result;
  // The edits of a set chosen earlier in this dialog are what the user expects to see again.
  if (const TKeyArrayItem* item = Cached(name)) {
    table_ = item->table;
    result.status = TKeySetLoadStatus::Loaded;
  } else {
    result = keySet_.LoadSet(name, table_);
    damaged_ = result.status == TKeySetLoadStatus::Damaged;
  }
  RebuildIndex();
  currentName_ = name;
  return result;
}

void TKervKeySetManager::SelectDefault() {
  StoreCurrent();
  Clear();
  table_ = keySet_.DefaultTable();
  RebuildIndex();
  currentName_ = kDefaultKeySetName;
}

bool TKervKeySetManager::Create(const std::string& name) {
  if (CheckNewName(name) != TKeySetNameProblem::None) return false;
  StoreCurrent();
  Clear();
  table_ = keySet_.DefaultTable();
  RebuildIndex();
  currentName_ = name;
  cache_.push_back({name, table_});
  return true;
}

bool TKervKeySetManager::Copy(const std::string& name) {
  if (CheckNewName(name) != TKeySetNameProblem::None) return false;
  StoreCurrent();
  const TKeyTable copy = table_;
  Clear();
  table_ = copy;
  RebuildIndex();
  currentName_ = name;
  cache_.push_back({name, table_});
  return true;
}

bool TKervKeySetManager::Rename(const std::string& newName) {
  if (TKervKeySet::IsDefaultName(currentName_)) return false;
  if (CheckNewName(newName) != TKeySetNameProblem::None) return false;
  const std::string stored = keySet_.StoredFile(currentName_);
  TKeyArrayItem* item = Cached(currentName_);
  if (stored.empty() && item == nullptr) return false;
  if (!stored.empty() && !fs_.RenameFileNoReplace(stored, keySet_.FilePath(newName))) return false;
  if (item != nullptr) item->name = newName;
  currentName_ = newName;
  return true;
}

bool TKervKeySetManager::Delete() {
  if (TKervKeySet::IsDefaultName(currentName_)) return false;
  const std::string path = keySet_.FilePath(currentName_);
  const std::string bare = keySet_.BareFilePath(currentName_);
  const bool hasFile = fs_.FileExists(path);
  const bool hasBare = keySet_.IsKeySetFile(bare);
  TKeyArrayItem* item = Cached(currentName_);
  if (!hasFile && !hasBare && item == nullptr) return false;
  if (hasFile && !fs_.RemoveFile(path)) return false;
  if (hasBare && !fs_.RemoveFile(bare)) return false;
  cache_.erase(std::remove_if(cache_.begin(), cache_.end(),
                              [&](const TKeyArrayItem& entry) { return entry.name == currentName_; }),
               cache_.end());
  Clear();
  currentName_.clear();
  return true;
}

void TKervKeySetManager::ClearAction(int action) {
  // Every slot that names the action goes, not only the one shown: a file
  // may bind an action twice, and a slot left behind could win over a new one.
  for (int row = 0; row < kKeyRowCount; ++row) {
    for (int keyIndex = 1; keyIndex <= kKeyIndexCount; ++keyIndex) {
      if (table_.ActionAt({row, keyIndex}) == action) table_.Set({row, keyIndex}, 0);
    }
  }
}

bool TKervKeySetManager::Assign(int action, TKeySlot slot) {
  if (!CanEdit() || action < 1 || action > kKeyActionCount || !IsValidKeySlot(slot)) return false;
  ClearAction(action);
  table_.Set(slot, action);
  RebuildIndex();
  modified_ = true;
  return true;
}

bool TKervKeySetManager::Release(int action) {
  if (!CanEdit() || !GetBinding(action)) return false;
  ClearAction(action);
  RebuildIndex();
  modified_ = true;
  return true;
}

std::optional<TKeySlot> TKervKeySetManager::GetBinding(int action) const {
  if (action < 1 || action > kKeyActionCount) return std::nullopt;
  const uint16_t binding = index_[static_cast<size_t>(action)];
  if (binding == 0) return std::nullopt;
  return TKeySlot{binding >> 8, binding & 0xFF};
}

std::vector<std::string> TKervKeySetManager::SaveAll() {
  StoreCurrent();
  std::vector<std::string> errors;
  for (const TKeyArrayItem& item : cache_) {
    try {
      keySet_.SaveSet(item.name, item.table);
    } catch (const std::exception& error) {
      errors.push_back("\"" + keySet_.FilePath(item.name) + "\"\r\n" + KeySetMessage(TKeySetMessage::SaveFailed) +
                       "\r\n" + error.what());
    }
  }
  return errors;
}

}  // namespace kerv
