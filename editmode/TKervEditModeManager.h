#pragma once
// The edit-mode manager: which modes exist (one .em2 file each in the
// settings folder), which one is current, and which belongs to which file
// extension. Mode names are Shift_JIS like every text inside the program;
// they become UTF-8 only in file names and in the texts shown to the user.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editmode/TEditorProp.h"
#include "editmode/TKervEditModeAssociationList.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kerv {

// What the manager needs from the user interface. Every text is UTF-8.
class IEditModeUser {
 public:
  virtual ~IEditModeUser() = default;
  // An error notice of the information service: the info bar when it is
  // enabled and visible, otherwise an error box.
  virtual void NoticeError(const std::string& text) = 0;
  // An error message box.
  virtual void ShowError(const std::string& text) = 0;
  // An error of the program's error-code table, with its argument when given.
  virtual void ShowErrorCode(int code, const std::optional<std::string>& argument) = 0;
  // A question beep and a Yes/No question; true for Yes.
  virtual bool Confirm(const std::string& text) = 0;
  // An error beep and the message that a name holds a character not allowed.
  virtual void RefuseName(const std::string& text) = 0;
};

// How a request to switch the mode ended.
enum class TModeSwitch {
  Unchanged,  // already the current mode: nothing to do
  Declined,   // the user kept the undo history: set the mode box back
  Failed,     // the mode did not load (already reported): set the mode box back
  Changed,    // the current set holds the new mode: apply it to the editors
};

class TKervEditModeManager {
 public:
  // settingFolder is a native path; a trailing '/' is added when missing.
  TKervEditModeManager(IFileSystem& fs, ICodePage& codePage, IEditModeUser& user, std::string settingFolder);
  virtual ~TKervEditModeManager() = default;
  TKervEditModeManager(const TKervEditModeManager&) = delete;
  TKervEditModeManager& operator=(const TKervEditModeManager&) = delete;

  const std::string& SettingFolder() const { return settingFolder_; }
  const std::string& CurrentName() const { return currentName_; }
  TEditorPropEx& Current() { return *current_; }
  const TEditorPropEx& Current() const { return *current_; }
  TKervEditModeAssociationList& Associations() { return associations_; }
  const TKervEditModeAssociationList& Associations() const { return associations_; }
  // How system colours are written into mode files (the window layer's palette).
  void SetSystemColorResolver(TSystemColorResolver resolve) { resolve_ = resolve; }
  TSystemColorResolver SystemColorResolver() const { return resolve_; }
  // The services the manager works with, for a settings dialog that makes its own manager.
  IFileSystem& FileSystem() const { return fs_; }
  ICodePage& CodePage() const { return codePage_; }

  // Clears the associations and reads editmode.ini when it exists (a read
  // error is reported and leaves the list empty).
  void LoadAssociations();
  // The mode for a document (fileName is a native path; its extension is
  // looked up without its dot and without regard to case). No extension, no
  // association or an association to "デフォルト" give "デフォルト".
  // Associations whose mode is missing or does not load are dropped from the
  // list in memory, with a notice when report is set.
  std::string ModeForFile(const std::string& fileName, bool report);
  // Loads the named mode into the current set; only success changes the
  // current name. The default mode without a file is the factory settings.
  bool LoadMode(const std::string& name);
  bool ModeExists(const std::string& name) const;
  // Whether the mode's file loads into a temporary set.
  bool CanLoad(const std::string& name);
  // Writes set as the mode's file; raises EFileError (the old file stays).
  void SaveMode(const TEditorPropEx& set, const std::string& name);
  // Whether using the named mode would re-wrap the text (and so clear undo).
  bool ChangesWrapping(const std::string& name);
  // "デフォルト" first, then every other mode file of the settings folder.
  std::vector<std::string> ModeNames() const;
  std::string ModeFilePath(const std::string& name) const;

  // The user picked a mode (an empty name is the default mode). With
  // askUndoClear (the caller's ask and NoticeUndoClear) a switch that
  // re-wraps is asked about first.
  TModeSwitch ChangeMode(const std::string& name, bool askUndoClear, bool force);
  // A document was opened or saved: the mode of its extension is loaded.
  TModeSwitch ChangeModeForFile(const std::string& fileName, bool askUndoClear);

  // Copies the shipped modes and their editmode.ini from dataFolder into a
  // settings folder that has no editmode.ini yet; existing mode files are
  // kept. True when the folder was seeded.
  bool SeedShippedModes(const std::string& dataFolder);

  // A mode name or an extension may not hold \ / ; * ? " < > | (trail
  // bytes of double-byte characters are not characters of their own).
  static bool IsValidName(std::string_view name);
  // The same, telling the user when refused.
  bool CheckName(const std::string& name);
  // The message of error 25000 for a name missing from a filled mode box.
  std::string InvalidModeMessage(const std::string& name) const;

 protected:
  // Reads the named mode into set (the default mode without a file: the
  // factory settings). False when its file cannot be read or is not a mode
  // file; set is then unchanged.
  bool ReadMode(const std::string& name, TEditorPropEx& set);
  // The same for a mode file anywhere.
  bool ReadModeFile(const std::string& path, TEditorPropEx& set);
  // A name (Shift_JIS) as the user reads it.
  std::string Shown(const std::string& name) const { return codePage_.Cp932ToUtf8(name); }
  std::string Internal(const std::string& utf8) const;

  IFileSystem& fs_;
  ICodePage& codePage_;
  IEditModeUser& user_;
  TSystemColorResolver resolve_ = &DefaultSystemColorRgb;

 private:
  std::string ChooseMode(const std::string& fileName, bool report, bool drop);

  std::string settingFolder_;
  std::string currentName_;
  std::unique_ptr<TEditorPropEx> current_;
  TKervEditModeAssociationList associations_;
};

}  // namespace kerv
