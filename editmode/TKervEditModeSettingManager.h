#pragma once
// What the edit-mode settings dialog changes on disk: its own manager, so
// that editing never touches the current mode. Modes edited while the dialog
// is open stay in memory by name; OK writes them and the associations, Cancel
// drops them. The dialog itself only shows lists and asks for names.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editmode/TKervEditModeManager.h"

namespace kerv {

class TKervEditModeSettingManager : public TKervEditModeManager {
 public:
  using TKervEditModeManager::TKervEditModeManager;

  // Writes "デフォルト.em2" with the factory settings when it is missing,
  // lists the modes, reads the associations whose mode file exists, and
  // selects currentName (the default mode when that cannot be loaded).
  void Open(const std::string& currentName);

  const std::vector<std::string>& ModeList() const { return modes_; }
  const std::string& Selected() const { return selected_; }
  // The in-memory set of the selected mode, which the dialog's pages edit.
  TEditorPropEx& SelectedSet() { return *edited_.at(selected_); }
  // Loads (once) and selects a mode; on error 11011 (no file) or 11012 (not
  // a mode) the previous selection stays.
  bool Select(const std::string& name);

  // The name a copy of the selected mode is proposed under.
  std::string ProposedCopyName() const;
  // Each refuses an empty name silently, a name in use and an invalid name
  // with a message; true when the list changed.
  bool NewMode(const std::string& name);
  bool CopyMode(const std::string& name);
  bool RenameMode(const std::string& oldName, const std::string& newName);
  bool DeleteMode(const std::string& name);
  // Reads a mode file from outside the settings folder and adds it under
  // its file name (asking before it replaces a mode). path is native.
  bool ImportMode(const std::string& path);

  // The dialog's associations (only pairs whose mode file exists).
  const TKervEditModeAssociationList& DialogAssociations() const { return dialogAssociations_; }
  // Every mode but the default, which needs no association.
  std::vector<std::string> AssociableModes() const;
  // An extension must be given and be a valid name; refusals are reported.
  bool CheckExtension(const std::string& ext);
  bool PutAssociation(const std::string& ext, const std::string& mode);
  void DeleteAssociation(const std::string& ext) { dialogAssociations_.Delete(ext); }

  // OK: writes every mode kept in memory and editmode.ini. Failures are
  // reported; false when any write failed (the files that failed keep
  // their old contents).
  bool Commit();

 private:
  bool Listed(const std::string& name) const;
  bool InUse(const std::string& name) const;
  // Writes set under name; reports "編集モードの作成に失敗しました。" on failure.
  bool WriteNew(const TEditorPropEx& set, const std::string& name);
  void Keep(const std::string& name, const TEditorPropEx& set);

  std::vector<std::string> modes_;
  std::string selected_;
  std::map<std::string, std::unique_ptr<TEditorPropEx>> edited_;
  TKervEditModeAssociationList dialogAssociations_;
};

}  // namespace kerv
