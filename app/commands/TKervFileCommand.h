#pragma once
// The file actions of the main window: each runs one operation of the file
// manager and then brings the window up to date (edit mode, read-only state,
// caret, modified flag, title, status bar, history, info-bar notice).

#include "app/commands/TKervCommand.h"
#include <string>
#include <vector>

#include "app/settings/TKervSettingManager.h"
#include "document/TKervFileHistory.h"
#include "document/TKervFileManager.h"
#include "platform/Launcher.h"

namespace kerv {

// What only the window can do after a file operation.
class IKervFileCommandHooks {
 public:
  virtual ~IKervFileCommandHooks() = default;
  // The edit mode for the name's extension, applied to both panes.
  virtual void ChooseEditMode(const std::string& fileName) = 0;
  // The read-only action's check mark and the status-bar cell.
  virtual void ReadOnlyChanged(bool readOnly) = 0;
  // The history sub-menu's entries, rebuilt.
  virtual void HistoryMenuChanged(const std::vector<TKervFileHistory::TMenuEntry>& entries) = 0;
};

class TKervFileCommand : public TKervCommand, public IKervDocumentLock {
 public:
  TKervFileCommand(TKervFileManager& manager, IKervDocumentEditor& editor, IKervDocumentWindow& window,
                   TKervSettingManager& settings, ILauncher& launcher, IKervClock& clock, IKervFileCommandHooks& hooks);

  // The settings the file manager works with, from the store's groups.
  static TKervFileOptions OptionsFrom(TKervSettingManager& settings, const std::string& settingFolder);
  // Settings applied: lock, regular backup, the history menu's length.
  void ApplySettings(const std::string& settingFolder);

  // ---- the actions
  void NewDocument();
  bool OpenDocument();
  // History menu, dropped files: the save question, the double-open rule, then the read.
  bool OpenByName(const std::string& name, TCharCode code = ccAuto, bool readOnly = false);
  // The command line: a file another window has open brings that window
  // forward without asking to save this one first. False when the start is
  // to end (another window has the file, or it could not be read); a name
  // that is no regular file (a pipe, a device) is refused with a message
  // and the window goes on with its empty document (true).
  bool OpenFromCommandLine(const std::string& name, TCharCode code = ccAuto, bool readOnly = false);
  bool AddOpenDocument();
  bool SaveDocument();
  bool SaveDocumentAs();
  bool ReloadDocument();
  // The application became active; nothing while a single search runs.
  bool CheckChangedOnActivate(bool searching);
  void OpenDocumentFolder();
  // Entry item (0-based) of the status bar's character-code or return-code menu.
  void SetCharCode(int item);
  void SetReturnCode(int item);
  // The close query: whether the document may be dropped (the save question;
  // Cancel or a failed save keeps the window open).
  bool CanClose() { return manager_.QuerySave(); }
  // Reads the shared history again and rebuilds the menu (when the "File" menu opens).
  void RefreshHistoryMenu();
  // After the settings dialog's question: empties the history and its section.
  void ClearHistory();
  // Title and status bar from the document's name and codes.
  void RefreshTitle();

  const TKervFileHistory& History() const { return history_; }

  // IKervDocumentLock: the settings store unlocks the document while it
  // reads or writes kerv.ini, should the document be that file.
  std::string DocumentFileName() override;
  void Unlock() override { manager_.Unlock(); }
  void ReapplyLock() override { manager_.ReapplyLock(); }

 private:
  void AfterOpen();
  void AfterSave();
  void AddToHistory(const std::string& name);
  void ReadHistory();
  std::string TimeText();

  TKervFileManager& manager_;
  IKervDocumentEditor& editor_;
  IKervDocumentWindow& window_;
  TKervSettingManager& settings_;
  ILauncher& launcher_;
  IKervClock& clock_;
  IKervFileCommandHooks& hooks_;
  TKervFileHistory history_;
  int historyShowCount_ = 10;
};

}  // namespace kerv
