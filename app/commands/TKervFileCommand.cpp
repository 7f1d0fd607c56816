#include "app/commands/TKervFileCommand.h"

#include "document/DocumentMessages.h"
#include "document/TIniFile.h"

namespace kerv {

TKervFileCommand::TKervFileCommand(TKervFileManager& manager, IKervDocumentEditor& editor, IKervDocumentWindow& window,
                                   TKervSettingManager& settings, ILauncher& launcher, IKervClock& clock,
                                   IKervFileCommandHooks& hooks)
    : manager_(manager),
      editor_(editor),
      window_(window),
      settings_(settings),
      launcher_(launcher),
      clock_(clock),
      hooks_(hooks) {}

TKervFileOptions TKervFileCommand::OptionsFrom(TKervSettingManager& settings, const std::string& settingFolder) {
  TKervFileOptions options;
  const TKervFileSetting& file = settings.File();
  options.AllowDoubleOpen = file.AllowDoubleOpen;
  options.CheckModification = file.CheckModification;
  options.UTF8NCheck = file.UTF8NCheck;
  options.CheckNull = file.CheckNull;
  options.CheckFileSize = file.CheckFileSize;
  options.BigFileSize = file.BigFileSize;
  options.FileLockMode = file.FileLockMode;
  const TKervFileDialogSetting& dialog = settings.FileDialog();
  options.OpenDlgFilter = dialog.OpenDlgFilter;
  options.SaveDlgFilter = dialog.SaveDlgFilter;
  options.OpenFirstFolder = dialog.OpenFirstFolder;
  options.SaveFirstFolder = dialog.SaveFirstFolder;
  options.DialogPlaceBar = dialog.DialogPlaceBar;
  const TKervBackupSetting& backup = settings.Backup();
  options.SaveBackup = backup.SaveBackup;
  options.DelphiName = backup.DelphiName;
  options.SaveSameDir = backup.SaveSameDir;
  options.SaveTarget = backup.SaveTarget;
  options.RegBackupType = backup.RegBackupType;
  options.RegBackupNewFile = backup.RegBackupNewFile;
  options.Interval = backup.Interval;
  options.SettingFolder = settingFolder;
  return options;
}

void TKervFileCommand::ApplySettings(const std::string& settingFolder) {
  manager_.ApplySettings(OptionsFrom(settings_, settingFolder));
  historyShowCount_ = settings_.File().HistoryNum;
  hooks_.HistoryMenuChanged(history_.MenuEntries(historyShowCount_));
}

std::string TKervFileCommand::TimeText() { return LongTimeText(clock_.Now()); }

void TKervFileCommand::RefreshTitle() {
  const std::string& suffix = DocumentMessage(TDocumentMessage::TitleSuffix);
  window_.SetTitles(manager_.FileName() + suffix, ExtractFileName(manager_.FileName()) + suffix);
  window_.RefreshStatus(manager_.CharCode(), manager_.ReturnCode());
}

void TKervFileCommand::NewDocument() {
  if (settings_.Window().NewKerv_New) {
    launcher_.LaunchSelf({});
    return;
  }
  if (!manager_.QuerySave()) return;
  manager_.Reset();
  editor_.SetText(std::string(), {});
  editor_.SetModified(false);
  RefreshTitle();
  hooks_.ChooseEditMode(manager_.FileName());
  window_.Notify(FormatDocumentMessage(TDocumentMessage::NewDocument, {TimeText()}), TKervBox::nlPlain);
}

void TKervFileCommand::AfterOpen() {
  if (settings_.EditMode().CheckEditMode) hooks_.ChooseEditMode(manager_.FileName());
  AddToHistory(manager_.FileName());
  window_.Notify(FormatDocumentMessage(TDocumentMessage::Opened, {TimeText(), manager_.FileName()}), TKervBox::nlPlain);
  editor_.SetReadOnly(manager_.ReadOnly());
  hooks_.ReadOnlyChanged(manager_.ReadOnly());
  editor_.MoveCaretToTop();
  editor_.SetModified(false);
  RefreshTitle();
}

void TKervFileCommand::AfterSave() {
  if (settings_.EditMode().SaveCheckEditMode) hooks_.ChooseEditMode(manager_.FileName());
  // Saved first, then the title: it shows whether the document is modified.
  editor_.SetModified(false);
  RefreshTitle();
  AddToHistory(manager_.FileName());
  window_.Notify(FormatDocumentMessage(TDocumentMessage::Saved, {TimeText(), manager_.FileName()}), TKervBox::nlPlain);
}

bool TKervFileCommand::OpenDocument() {
  if (!manager_.Open()) return false;
  AfterOpen();
  return true;
}

bool TKervFileCommand::OpenByName(const std::string& name, TCharCode code, bool readOnly) {
  if (!manager_.OpenFile(name, code, readOnly)) return false;
  AfterOpen();
  return true;
}

bool TKervFileCommand::OpenFromCommandLine(const std::string& name, TCharCode code, bool readOnly) {
  if (!manager_.IsOpenAllowed(manager_.MakeAbsolute(name))) return false;
  if (OpenByName(name, code, readOnly)) return true;
  // A pipe or a device was refused with its message: the window starts with
  // the empty document instead of ending as if the start had been refused.
  return manager_.LastReadRefusedNotRegular();
}

bool TKervFileCommand::AddOpenDocument() { return manager_.AddOpen(); }

bool TKervFileCommand::SaveDocument() {
  if (!manager_.Save()) return false;
  AfterSave();
  return true;
}

bool TKervFileCommand::SaveDocumentAs() {
  if (!manager_.SaveAs()) return false;
  AfterSave();
  return true;
}

bool TKervFileCommand::ReloadDocument() {
  if (!manager_.Reload()) return false;
  AfterOpen();
  return true;
}

bool TKervFileCommand::CheckChangedOnActivate(bool searching) {
  if (searching) return false;
  bool reread = manager_.CheckChanged();
  if (reread) RefreshTitle();
  return reread;
}

void TKervFileCommand::OpenDocumentFolder() {
  std::string folder = ExtractFileFolder(manager_.FileName());
  if (!folder.empty() && settings_.FileSystem().FolderExists(folder)) launcher_.ShellOpen(folder, std::string());
}

void TKervFileCommand::SetCharCode(int item) {
  if (item < 0 || item > 6) return;
  manager_.SetCharCode(static_cast<TCharCode>(item + 1));
  window_.RefreshStatus(manager_.CharCode(), manager_.ReturnCode());
}

void TKervFileCommand::SetReturnCode(int item) {
  if (item < 0 || item > 2) return;
  manager_.SetReturnCode(static_cast<TReturnCode>(item + 1));
  window_.RefreshStatus(manager_.CharCode(), manager_.ReturnCode());
}

void TKervFileCommand::ReadHistory() {
  try {
    TKervIniAccess access(settings_);
    TIniFile ini(settings_.FileSystem(), settings_.IniFileName());
    history_.Read(ini);
  } catch (const EFileError&) {
    // An unreadable kerv.ini leaves the list as it was.
  }
}

void TKervFileCommand::AddToHistory(const std::string& name) {
  // Read first, so that names other windows added since are kept.
  try {
    TKervIniAccess access(settings_);
    TIniFile ini(settings_.FileSystem(), settings_.IniFileName());
    history_.Read(ini);
    history_.Add(name);
    hooks_.HistoryMenuChanged(history_.MenuEntries(historyShowCount_));
    history_.Write(ini);
    ini.UpdateFile();
  } catch (const EFileError&) {
    // The history is a convenience: a failed write is not reported.
  }
  if (history_.Names().empty() || history_.Names().front() != name) {
    history_.Add(name);
    hooks_.HistoryMenuChanged(history_.MenuEntries(historyShowCount_));
  }
}

void TKervFileCommand::RefreshHistoryMenu() {
  historyShowCount_ = settings_.File().HistoryNum;
  ReadHistory();
  hooks_.HistoryMenuChanged(history_.MenuEntries(historyShowCount_));
}

void TKervFileCommand::ClearHistory() {
  history_.Clear();
  hooks_.HistoryMenuChanged(history_.MenuEntries(historyShowCount_));
  try {
    TKervIniAccess access(settings_);
    TIniFile ini(settings_.FileSystem(), settings_.IniFileName());
    TKervFileHistory::Erase(ini);
    ini.UpdateFile();
  } catch (const EFileError&) {
    // Nothing more to do: the menu is empty already.
  }
}

std::string TKervFileCommand::DocumentFileName() {
  return manager_.HasFile() ? manager_.FileName() : std::string();
}

}  // namespace kerv
