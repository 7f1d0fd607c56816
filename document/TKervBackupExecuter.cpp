#include "document/TKervBackupExecuter.h"

#include <cstdio>

#include "document/DocumentMessages.h"
#include "document/TKervFileManager.h"
#include "platform/FileSystem.h"

namespace kerv {

std::string MakeTempFileName(const TKervLocalTime& time, int windowNumber, const std::string& fileName) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d_%03d", time.year, time.month, time.day, time.hour,
                time.minute, time.second, time.millisecond);
  std::string name = std::string(stamp) + std::to_string(windowNumber) + ".tmp";
  if (fileName.empty()) return name;
  std::string base = ExtractFileName(fileName);
  base.resize(base.size() - ExtractFileExt(base).size());
  return base + "_" + name;
}

std::string LongTimeText(const TKervLocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

std::string TKervBackupExecuter::BackupName(const std::string& fileName) const {
  const std::string extension = ExtractFileExt(fileName);
  std::string stem = fileName.substr(0, fileName.size() - extension.size());
  std::string name;
  if (options_.DelphiName) {
    name = stem + ".~" + (extension.empty() ? std::string() : extension.substr(1));
  } else {
    name = stem + ".bak";
  }
  if (options_.SaveSameDir) return name;
  return IncludeTrailingSlash(options_.SaveTarget) + ExtractFileName(name);
}

void TKervSaveBackupExecuter::Backup(const std::string& fileName) {
  if (!options_.SaveBackup || !fs_.FileExists(fileName)) return;
  fs_.CopyFile(fileName, BackupName(fileName));
}

TKervRegularBackupExecuter::TKervRegularBackupExecuter(const TKervFileOptions& options, TKervFileManager& manager,
                                                       IFileSystem& fs, IKervDocumentWindow& window,
                                                       IKervOtherWindows& windows, IKervClock& clock,
                                                       IKervTimer& timer)
    : TKervBackupExecuter(options),
      manager_(manager),
      fs_(fs),
      window_(window),
      windows_(windows),
      clock_(clock),
      timer_(timer) {
  timer_.SetEnabled(false);
  timer_.SetInterval(kTickMs);
}

std::string TKervRegularBackupExecuter::ComputeTargetName() {
  if (manager_.HasFile() && options_.RegBackupType == 2) return BackupName(manager_.FileName());
  return IncludeTrailingSlash(options_.SettingFolder) + "Backup/" + MakeTempFileName(clock_.Now(), windows_.WindowNumber());
}

void TKervRegularBackupExecuter::Arm() {
  if (options_.RegBackupType == 0 || !(options_.RegBackupNewFile || manager_.HasFile())) {
    timer_.SetEnabled(false);
    return;
  }
  countdown_ = options_.Interval;
  targetName_ = ComputeTargetName();
  std::string folder = ExtractFileFolder(targetName_);
  if (!folder.empty() && !fs_.FolderExists(folder) && !fs_.CreateFolder(folder)) {
    timer_.SetEnabled(false);
    window_.ShowErrorCode(10102, std::nullopt);
    return;
  }
  timer_.SetEnabled(true);
}

void TKervRegularBackupExecuter::Disarm() { timer_.SetEnabled(false); }

bool TKervRegularBackupExecuter::WriteEditorText() {
  // The internal text as it is: a backup must never fail on a character the
  // document's code cannot hold.
  try {
    manager_.CreateEmptyFile(targetName_, manager_.EditorText());
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

void TKervRegularBackupExecuter::Tick() {
  if (--countdown_ > 0) return;
  if (window_.BackupBlocked()) {
    if (!retrying_) {
      retrying_ = true;
      timer_.SetInterval(kRetryTickMs);
      countdown_ = kRetryTicks;
    } else {
      window_.ShowErrorCode(10101, manager_.FileName());
      retrying_ = false;
      timer_.SetInterval(kTickMs);
      countdown_ = options_.Interval;
    }
    return;
  }
  Run();
  if (retrying_) {
    retrying_ = false;
    timer_.SetInterval(kTickMs);
  }
  countdown_ = options_.Interval;
}

void TKervRegularBackupExecuter::Run() {
  bool saved = false;
  switch (options_.RegBackupType) {
    case 1:
      // A file that lost text when it was read is not saved over behind the
      // user's back (the save would ask): its text goes to the backup folder.
      if (manager_.HasFile() && manager_.LossySource() != manager_.FileName()) {
        // A failed save has shown its own message; a cancelled dialog shows none.
        if (!manager_.Save()) return;
        saved = true;
        break;
      }
      [[fallthrough]];
    case 2:
      if (!WriteEditorText()) {
        window_.ShowErrorCode(10101, manager_.FileName());
        return;
      }
      saved = true;
      break;
    default:
      timer_.SetEnabled(false);
      return;
  }
  if (saved) {
    window_.Notify(FormatDocumentMessage(TDocumentMessage::BackupSaved, {LongTimeText(clock_.Now())}), TKervBox::nlPlain);
  }
}

}  // namespace kerv
