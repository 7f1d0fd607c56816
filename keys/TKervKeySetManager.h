#pragma once
// The editing model behind the key page of the settings dialog: the current
// set with its table and the binding of each action, and the edited tables
// of every set touched, written only by SaveAll when the dialog is
// confirmed. Set names are Shift_JIS.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "keys/TKervKeySet.h"

namespace kerv {

// An edited table kept for its set until SaveAll.
struct TKeyArrayItem {
  std::string name;
  TKeyTable table;
};

// Why a name offered for a new, copied or renamed set is refused.
enum class TKeySetNameProblem { None, Empty, AlreadyExists, InvalidChars };

class TKervKeySetManager {
 public:
  TKervKeySetManager(IFileSystem& fs, ICodePage& codePage, std::string settingFolder);

  const std::string& CurrentName() const { return currentName_; }
  const TKeyTable& Table() const { return table_; }
  bool Modified() const { return modified_; }
  // Whether the current set may be changed: not the built-in set, not a
  // damaged file (which is kept as it is), not the empty name after Delete.
  bool CanEdit() const;
  TKervKeySet& KeySet() { return keySet_; }

  // Whether the set has a file (its ".tks" or a key-set file under its bare name).
  bool Exists(const std::string& name);
  bool IsCached(const std::string& name) const;
  // "デフォルト" first, then every stored set and every set created in this
  // dialog, each once.
  std::vector<std::string> SetNames();
  // What refuses name for a new set: empty, "デフォルト", an existing or
  // cached set, one of the nine characters.
  TKeySetNameProblem CheckNewName(const std::string& name);
  // The message of a refusal (UTF-8), empty for None.
  static std::string NameProblemMessage(TKeySetNameProblem problem);

  // Keeps the current table if modified, then LoadInto(name).
  TKeySetLoadResult Select(const std::string& name);
  // Makes name current with its edited table when it has one, else its
  // file's (the built-in set when it has none or it is damaged; a damaged
  // file is reported in the result and cannot be edited). Not modified.
  TKeySetLoadResult LoadInto(const std::string& name);
  // Keeps the current table if modified; the built-in set becomes current.
  void SelectDefault();
  // A new set holding the built-in set; false (nothing changes) when the
  // name is refused.
  bool Create(const std::string& name);
  // A new set holding the current table.
  bool Copy(const std::string& name);
  // Gives the current set a new name (its file too when it has one); false
  // for the built-in set, a refused name or a file that cannot be renamed.
  bool Rename(const std::string& newName);
  // Drops the current set's edits and deletes its files; current becomes
  // empty (the dialog then selects the built-in set). False when it has
  // neither, or a file cannot be deleted.
  bool Delete();

  // Binds the action to the slot, taking the slot from whichever action had
  // it and the action from its old slot. False when nothing may change.
  bool Assign(int action, TKeySlot slot);
  // Frees the action's key. False when it had none or nothing may change.
  bool Release(int action);
  // The action's key, none when it has none.
  std::optional<TKeySlot> GetBinding(int action) const;
  // The action bound to a slot, 0 for none: the conflicting action the page shows.
  int ActionAt(TKeySlot slot) const { return table_.ActionAt(slot); }

  // Keeps the current table if modified and writes every edited table to
  // its set's file. Returns a message (UTF-8) for every set that could not
  // be written; the others are written all the same.
  std::vector<std::string> SaveAll();

 private:
  void StoreCurrent();
  void ClearAction(int action);
  void RebuildIndex();
  TKeyArrayItem* Cached(const std::string& name);
  void Clear();

  IFileSystem& fs_;
  TKervKeySet keySet_;
  std::string currentName_;
  TKeyTable table_;
  bool modified_ = false;
  bool damaged_ = false;
  std::vector<TKeyArrayItem> cache_;
  // Action number -> its slot as row << 8 | key index, 0 for none.
  std::array<uint16_t, kKeyActionCount + 1> index_{};
};

}  // namespace kerv
