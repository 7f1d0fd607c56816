#pragma once
// Backups of the document: the copy of the file on disk made just before a
// save replaces it, and the regular backup on a timer, which saves the
// document in place or writes the editor's text to a backup file (also for a
// document that was never saved).

#include <string>

#include "document/TKervFilePorts.h"

namespace kerv {

class IFileSystem;
class TKervFileManager;

// "yyyymmdd_hhnnss_zzz" of time directly followed by the window number and
// ".tmp"; with a file name, its name without extension and "_" in front.
std::string MakeTempFileName(const TKervLocalTime& time, int windowNumber, const std::string& fileName = std::string());
// The long time of a notice, "h:mm:ss".
std::string LongTimeText(const TKervLocalTime& time);

class TKervBackupExecuter {
 public:
  explicit TKervBackupExecuter(const TKervFileOptions& options) : options_(options) {}
  virtual ~TKervBackupExecuter() = default;
  // a.txt gives a.bak, or a.~txt with DelphiName (Makefile gives Makefile.~),
  // beside the file, or in SaveTarget unless SaveSameDir.
  virtual std::string BackupName(const std::string& fileName) const;

 protected:
  const TKervFileOptions& options_;
};

class TKervSaveBackupExecuter : public TKervBackupExecuter {
 public:
  TKervSaveBackupExecuter(const TKervFileOptions& options, IFileSystem& fs) : TKervBackupExecuter(options), fs_(fs) {}
  // Copies an existing fileName to its backup name when SaveBackup is on. A
  // failed copy does not stop the save and is not reported.
  void Backup(const std::string& fileName);

 private:
  IFileSystem& fs_;
};

class TKervRegularBackupExecuter : public TKervBackupExecuter {
 public:
  static constexpr int kTickMs = 60000;
  static constexpr int kRetryTickMs = 10000;
  static constexpr int kRetryTicks = 5;

  TKervRegularBackupExecuter(const TKervFileOptions& options, TKervFileManager& manager, IFileSystem& fs,
                             IKervDocumentWindow& window, IKervOtherWindows& windows, IKervClock& clock,
                             IKervTimer& timer);

  // Starts the count to the next backup when a backup is configured for this
  // document; otherwise stops the timer, so that a backup armed for an
  // earlier document cannot write this one's text over that one's backup.
  void Arm();
  void Disarm();
  // One timer tick: counts down and runs the backup when it falls due.
  void Tick();

  int Countdown() const { return countdown_; }
  bool Retrying() const { return retrying_; }
  const std::string& TargetName() const { return targetName_; }

 private:
  std::string ComputeTargetName();
  bool WriteEditorText();
  void Run();

  TKervFileManager& manager_;
  IFileSystem& fs_;
  IKervDocumentWindow& window_;
  IKervOtherWindows& windows_;
  IKervClock& clock_;
  IKervTimer& timer_;
  int countdown_ = 0;
  bool retrying_ = false;
  std::string targetName_;
};

}  // namespace kerv
