#pragma once
// The document of one window: its file name, codes and file state, and the
// operations New, Open, Open by name, Add-open, Reload, Save and Save As with
// their dialogs and questions, the change check, the lock and the backups.
// What follows an operation in the window (title, history, notices, edit
// mode) is the file command's.

#include <memory>
#include <optional>
#include <string>

#include "document/TFileManager.h"
#include "document/TKervBackupExecuter.h"
#include "document/TKervFilePorts.h"
#include "platform/FileDialogs.h"
#include "platform/FileLock.h"

namespace kerv {

// The platform and window services one file manager works with.
struct TKervFileManagerPorts {
  IFileSystem& fs;
  ICodePage& codePage;
  IDialogs& dialogs;  // the standard questions of reading
  IFileDialogs& fileDialogs;
  IFileLock& lock;
  IKervDocumentEditor& editor;
  IKervDocumentWindow& window;
  IKervOtherWindows& otherWindows;
  IKervClock& clock;
  IKervTimer& backupTimer;
};

class TKervFileManager : public TFileManager {
 public:
  static constexpr const char* kUntitled = "NewDoc.txt";
  // FileTime of a new document: the change check is off.
  static constexpr int64_t kNoFileTime = -2;
  // FileTime of a file that could not be found.
  static constexpr int64_t kMissingFileTime = -1;

  explicit TKervFileManager(const TKervFileManagerPorts& ports);
  ~TKervFileManager() override;

  // ---- state
  const std::string& FileName() const { return fileName_; }
  TCharCode CharCode() const { return charCode_; }
  TReturnCode ReturnCode() const { return returnCode_; }
  bool HasFile() const { return hasFile_; }
  bool ReadOnly() const { return readOnly_; }
  int64_t FileTime() const { return fileTime_; }
  // The file whose load lost something (empty when none): the first save
  // over it asks, naming what the file would lose. Edits keep the mark; a
  // save that asked, a reload, New and another open clear it.
  const std::string& LossySource() const { return lossySource_; }
  // The last ReadFile refused its name for not being a regular file (a
  // pipe, a device): the error was shown, the document kept.
  bool LastReadRefusedNotRegular() const { return refusedNotRegular_; }
  // Whether the last read was given up by the user.
  bool LastReadCancelled() const { return readCancelled_; }
  const TKervFileOptions& Options() const { return options_; }
  TKervRegularBackupExecuter& RegularBackup() { return *regularBackup_; }
  // The editor's text (Shift_JIS, CR LF).
  std::string EditorText() { return ports_.editor.Text(); }
  // The codes chosen in the status bar's menus; they apply at the next save.
  void SetCharCode(TCharCode code) { charCode_ = code; }
  void SetReturnCode(TReturnCode code) { returnCode_ = code; }

  // ---- operations. Each returns true when the document was read or written.
  // The untitled document "NewDoc.txt" (codes Shift-JIS and CRLF, no file).
  void Reset();
  // New settings: the lock taken again with the new mode, the backup re-armed.
  void ApplySettings(const TKervFileOptions& options);
  // Whether the document may be dropped: asks to save a modified document
  // (Yes saves, No drops, Cancel keeps it).
  bool QuerySave();
  bool Save();
  bool SaveAs();
  // The open dialog, after the save question.
  bool Open();
  // Opens name (after the save question) in code (ccAuto detects).
  bool OpenFile(const std::string& name, TCharCode code, bool readOnly);
  // Inserts a file's text at the caret; name, codes and lock stay.
  bool AddOpen();
  // Reads the file again in the code it was read in, after a question.
  bool Reload();
  // On activation: when the file changed on disk since it was read or
  // written, asks (once per change) whether to read it again. True when read.
  bool CheckChanged();
  // False when another window has name open (that window comes to the front).
  bool IsOpenAllowed(const std::string& name);
  // A name relative to the current folder made absolute, a link resolved.
  std::string MakeAbsolute(const std::string& name);

  // ---- lock
  void Lock(const std::string& name);
  void Unlock();
  // Once a lock has been attempted in this window: the lock on FileName again
  // with the current mode (mode 0 releases it).
  void ReapplyLock();

  // ---- the common cores
  bool ReadFile(const std::string& name, TCharCode code, bool readOnly);
  bool WriteFile(const std::string& name, TCharCode code, TReturnCode returnCode);

 private:
  std::optional<TSaveDialogResult> RunSaveDialog(std::string& fileName);
  std::optional<TOpenDialogResult> RunOpenDialog(const std::string& folder, bool showReadOnly);
  // The frame of every read and write of the document: busy state, backup
  // timer stopped, lock released; afterwards the lock taken again.
  void BeginFileOperation();
  void EndFileOperation(bool succeeded);
  bool AskNewerOnDisk(const std::string& name);
  // Before a save of name in code that loses what the load of name lost or
  // what code cannot hold; true when it may go on.
  bool AskLossySave(const std::string& name, TCharCode code, const TSaveReport& report);
  int Ask(const std::string& text, int kind, int buttons);
  void ShowLoadWarning(const std::string& name, const TLoadReport& report, bool documentsFile = true);
  // The error box of a failed read (10052) or write (10053) with the reason.
  void ShowFileError(int code, const std::string& name, const EFileError& error, const std::string& note = {});
  // Writes bytes into the existing file name itself, after a copy of it in
  // the backup folder that is read back and compared; the copy goes once
  // the write is complete and stays (named in *keptCopy) when it fails.
  void WriteInPlace(const std::string& name, std::string_view bytes, std::string* keptCopy);

  TKervFileManagerPorts ports_;
  TKervFileOptions options_;
  std::string fileName_ = kUntitled;
  TCharCode charCode_ = ccShiftJIS;
  TReturnCode returnCode_ = rcCRLF;
  bool hasFile_ = false;
  bool readOnly_ = false;
  int64_t fileTime_ = kNoFileTime;
  // The time stamp of the version on disk that the text was read from or
  // written as: a save over any other version asks first, also after the
  // change check was answered No (which moves fileTime_ on).
  int64_t seenFileTime_ = kNoFileTime;
  std::string lossySource_;
  TLoadReport lossyLoad_;
  bool refusedNotRegular_ = false;
  bool readCancelled_ = false;
  bool lockAttempted_ = false;
  TKervSaveBackupExecuter saveBackup_;
  std::unique_ptr<TKervRegularBackupExecuter> regularBackup_;
};

}  // namespace kerv
