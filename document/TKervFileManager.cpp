#include "document/TKervFileManager.h"

#include <cstdint>
#include <functional>

#include "document/DocumentMessages.h"
#include "document/TKervExceptionStringMaker.h"
#include "document/TKervFileDialogs.h"

namespace kerv {
namespace {

constexpr int64_t kMegabyte = 1048576;
// The window's dialog-state byte while a file dialog is shown.
constexpr int kFileDialogState = 7;

// The share of a read's progress before the rows are made.
constexpr int kDecodeShare = 650;

// Clears a flag and re-arms on every way out of a scope.
class TScopeExit {
 public:
  template <typename F>
  explicit TScopeExit(F&& action) : action_(std::forward<F>(action)) {}
  ~TScopeExit() { action_(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  std::function<void()> action_;
};

}  // namespace

TKervFileManager::TKervFileManager(const TKervFileManagerPorts& ports)
    : TFileManager(ports.fs, ports.codePage, ports.dialogs), ports_(ports), saveBackup_(options_, ports.fs) {
  regularBackup_ = std::make_unique<TKervRegularBackupExecuter>(options_, *this, ports.fs, ports.window,
                                                                ports.otherWindows, ports.clock, ports.backupTimer);
}

TKervFileManager::~TKervFileManager() {
  regularBackup_->Disarm();
  Unlock();
}

int TKervFileManager::Ask(const std::string& text, int kind, int buttons) {
  return ports_.window.MessageBox(text, kind, buttons);
}

void TKervFileManager::Reset() {
  fileName_ = kUntitled;
  charCode_ = ccShiftJIS;
  returnCode_ = rcCRLF;
  hasFile_ = false;
  readOnly_ = false;
  fileTime_ = kNoFileTime;
  seenFileTime_ = kNoFileTime;
  lossySource_.clear();
  lossyLoad_ = TLoadReport();
  Unlock();
  regularBackup_->Arm();
}

void TKervFileManager::ApplySettings(const TKervFileOptions& options) {
  options_ = options;
  ReapplyLock();
  regularBackup_->Arm();
}

bool TKervFileManager::QuerySave() {
  if (!ports_.editor.Modified()) return true;
  int answer = Ask(FormatDocumentMessage(TDocumentMessage::QuerySave, {fileName_}), TKervBox::mkConfirm,
                   TKervBox::mbYesNoCancel);
  if (answer == TKervBox::maYes) return Save();
  return answer == TKervBox::maNo;
}

std::optional<TSaveDialogResult> TKervFileManager::RunSaveDialog(std::string& fileName) {
  TSaveDialogRequest request;
  request.filters = DialogFilters(options_.SaveDlgFilter, ports_.codePage);
  request.filterIndex = InitialSaveFilter(request.filters, fileName_);
  request.initialFolder = options_.SaveFirstFolder;
  request.fileName = fileName_;
  request.placesBar = options_.DialogPlaceBar;
  request.code = SaveCodeChoice(charCode_);
  request.returnCode = ReturnCodeChoice(returnCode_);
  ports_.window.SetDialogState(kFileDialogState);
  std::optional<TSaveDialogResult> result = ports_.fileDialogs.SaveFile(request);
  ports_.window.SetDialogState(0);
  if (result) fileName = MakeAbsolute(SaveDialogFileName(*result, request.filters));
  return result;
}

std::optional<TOpenDialogResult> TKervFileManager::RunOpenDialog(const std::string& folder, bool showReadOnly) {
  TOpenDialogRequest request;
  request.filters = DialogFilters(options_.OpenDlgFilter, ports_.codePage);
  request.initialFolder = folder;
  request.placesBar = options_.DialogPlaceBar;
  request.showReadOnly = showReadOnly;
  request.readOnlyLabel = DocumentMessage(TDocumentMessage::ReadOnlyBox);
  request.code = OpenCodeChoice();
  ports_.window.SetDialogState(kFileDialogState);
  std::optional<TOpenDialogResult> result = ports_.fileDialogs.OpenFile(request);
  ports_.window.SetDialogState(0);
  return result;
}

bool TKervFileManager::Save() {
  if (!hasFile_ || !ports_.fs.FileExists(fileName_)) return SaveAs();
  return WriteFile(fileName_, charCode_, returnCode_);
}

bool TKervFileManager::SaveAs() {
  std::string name;
  std::optional<TSaveDialogResult> result = RunSaveDialog(name);
  if (!result) return false;
  return WriteFile(name, SaveCodeAt(result->codeIndex), ReturnCodeAt(result->returnCodeIndex));
}

bool TKervFileManager::Open() {
  if (!QuerySave()) return false;
  std::string folder = options_.OpenFirstFolder.empty() ? ExtractFileFolder(fileName_) : options_.OpenFirstFolder;
  std::optional<TOpenDialogResult> result = RunOpenDialog(folder, true);
  if (!result) return false;
  return ReadFile(MakeAbsolute(result->fileName), OpenCodeAt(result->codeIndex), result->readOnly);
}

bool TKervFileManager::OpenFile(const std::string& name, TCharCode code, bool readOnly) {
  if (!QuerySave()) return false;
  return ReadFile(MakeAbsolute(name), code, readOnly);
}

bool TKervFileManager::AddOpen() {
  std::optional<TOpenDialogResult> result = RunOpenDialog(options_.OpenFirstFolder, false);
  if (!result) return false;
  const std::string name = MakeAbsolute(result->fileName);
  if (FileSize(name) < 0) {
    ports_.window.ShowErrorCode(10050, name);
    return false;
  }
  std::string text;
  TCharCode code = OpenCodeAt(result->codeIndex);
  TReturnCode returnCode = rcCRLF;
  TLoadReport report;
  try {
    if (!LoadText(name, text, options_.CheckNull, options_.UTF8NCheck, returnCode, code, &report)) return false;
  } catch (const EFileError& error) {
    ShowFileError(10052, name, error);
    return false;
  }
  ShowLoadWarning(name, report, false);
  ports_.editor.InsertAtCaret(text);
  return true;
}

bool TKervFileManager::Reload() {
  if (!hasFile_) return false;
  if (Ask(FormatDocumentMessage(TDocumentMessage::ReloadQuestion, {fileName_}), TKervBox::mkConfirm,
          TKervBox::mbYesNo) != TKervBox::maYes) {
    return false;
  }
  // The read stops and re-arms the regular backup itself.
  return ReadFile(fileName_, charCode_, readOnly_);
}

bool TKervFileManager::CheckChanged() {
  if (fileTime_ < kMissingFileTime || !ports_.fs.FileExists(fileName_)) return false;
  int64_t time = ports_.fs.FileTime(fileName_);
  if (time == fileTime_) return false;
  // Remembered at once, so that one change is asked about once.
  fileTime_ = time;
  if (!options_.CheckModification) return false;
  if (Ask(FormatDocumentMessage(TDocumentMessage::ChangedOutside, {fileName_}), TKervBox::mkConfirm,
          TKervBox::mbYesNo) != TKervBox::maYes) {
    return false;
  }
  // The read stops and re-arms the regular backup itself.
  return ReadFile(fileName_, charCode_, readOnly_);
}

bool TKervFileManager::IsOpenAllowed(const std::string& name) {
  if (options_.AllowDoubleOpen || name == fileName_) return true;
  return !ports_.otherWindows.ActivateWindowWith(name);
}

std::string TKervFileManager::MakeAbsolute(const std::string& name) {
  std::string absolute = AbsolutePath(name, ports_.fs.CurrentFolder());
  // A link to a file stands for its target, which is what gets read, locked and saved.
  std::string target = ports_.fs.ResolveLink(absolute);
  return ports_.fs.FileExists(target) ? target : absolute;
}

void TKervFileManager::Lock(const std::string& name) {
  const int mode = options_.FileLockMode;
  if (mode == IFileLock::lmDenyWrite || mode == IFileLock::lmDenyAll) {
    lockAttempted_ = true;
    // A lock that cannot be taken leaves the document unlocked, silently.
    ports_.lock.Lock(name, mode);
  } else {
    ports_.lock.Unlock();
  }
}

void TKervFileManager::Unlock() { ports_.lock.Unlock(); }

void TKervFileManager::ReapplyLock() {
  if (!lockAttempted_) return;
  Unlock();
  if (hasFile_) Lock(fileName_);
}

void TKervFileManager::ShowLoadWarning(const std::string& name, const TLoadReport& report, bool documentsFile) {
  // The file is named: an add-open warns about a file that is not the document.
  std::string warning = LoadWarning(report, documentsFile);
  if (!warning.empty()) Ask(name + "\r\n" + warning, TKervBox::mkWarning, TKervBox::mbOk);
}

void TKervFileManager::ShowFileError(int code, const std::string& name, const EFileError& error,
                                     const std::string& note) {
  std::string text = TKervExceptionStringMaker::Make(code, name) + "\r\n" + FileErrorReason(error);
  if (!note.empty()) text += "\r\n" + note;
  Ask(text, TKervBox::mkError, TKervBox::mbOk);
}

void TKervFileManager::BeginFileOperation() {
  ports_.window.SetFileBusy(true);
  regularBackup_->Disarm();
  // The program's own read or write must not meet its own lock.
  Unlock();
}

void TKervFileManager::EndFileOperation(bool succeeded) {
  // An operation that did not succeed leaves the current document as it was, locked again.
  if (!succeeded && hasFile_) Lock(fileName_);
  ports_.window.SetFileBusy(false);
  regularBackup_->Arm();
}

bool TKervFileManager::ReadFile(const std::string& name, TCharCode code, bool readOnly) {
  refusedNotRegular_ = false;
  readCancelled_ = false;
  const int64_t size = FileSize(name);
  if (size < 0) {
    ports_.window.ShowErrorCode(10050, name);
    return false;
  }
  if (!IsOpenAllowed(name)) return false;
  if (size > static_cast<int64_t>(options_.BigFileSize) * kMegabyte && options_.CheckFileSize) {
    std::string text = FormatDocumentMessage(TDocumentMessage::BigFile, {name, std::to_string(options_.BigFileSize)});
    if (Ask(text, TKervBox::mkWarning, TKervBox::mbYesNo) != TKervBox::maYes) return false;
  }

  BeginFileOperation();
  bool succeeded = false;
  TScopeExit restore([&] { EndFileOperation(succeeded); });

  std::string text;
  TReturnCode returnCode = rcCRLF;
  TLoadReport report;
  int64_t time = kMissingFileTime;
  // The read, its decoding and the making of the rows can all be given up:
  // the rows are made beside the old ones.
  SetLoadProgress([this](int permille) { return ports_.window.ReadProgress(permille * kDecodeShare / 1000, true); });
  TScopeExit noProgress([this] { SetLoadProgress({}); });
  // Given up by the user while reading or making the rows: the old document stays.
  auto givenUp = [&] {
    readCancelled_ = true;
    ports_.window.Notify(FormatDocumentMessage(TDocumentMessage::ReadingCancelled, {name}), TKervBox::nlPlain);
    return false;
  };
  try {
    // Another window's exclusive lock keeps this one out as well.
    if (ports_.lock.Refused(name, false)) {
      throw EFileError(EFileError::Kind::Open, name, DocumentMessage(TDocumentMessage::ReasonLocked));
    }
    // Taken before reading: a change made while the file is read shows on the next check.
    time = ports_.fs.FileTime(name);
    if (!LoadText(name, text, options_.CheckNull, options_.UTF8NCheck, returnCode, code, &report)) return false;
  } catch (const EFileError& error) {
    if (error.kind() == EFileError::Kind::Cancelled) return givenUp();
    refusedNotRegular_ = error.kind() == EFileError::Kind::NotRegular;
    ShowFileError(10052, name, error);
    return false;
  }
  const bool made = ports_.editor.SetText(std::move(text), [this](int permille) {
    return ports_.window.ReadProgress(kDecodeShare + permille * (1000 - kDecodeShare) / 1000, true);
  });
  if (!made) return givenUp();
  fileName_ = name;
  charCode_ = code;
  returnCode_ = returnCode;
  readOnly_ = readOnly;
  hasFile_ = true;
  fileTime_ = time;
  seenFileTime_ = time;
  lossySource_ = report.Lossy() ? name : std::string();
  lossyLoad_ = report;
  succeeded = true;
  Lock(name);
  ShowLoadWarning(name, report);
  return true;
}

bool TKervFileManager::AskNewerOnDisk(const std::string& name) {
  // Only the document's own file has a time stamp to compare with.
  if (!hasFile_ || name != fileName_ || seenFileTime_ < kMissingFileTime) return true;
  int64_t time = ports_.fs.FileTime(name);
  if (time < 0 || time == seenFileTime_) return true;
  return Ask(FormatDocumentMessage(TDocumentMessage::NewerOnDisk, {name}), TKervBox::mkConfirm, TKervBox::mbYesNo) ==
         TKervBox::maYes;
}

bool TKervFileManager::AskLossySave(const std::string& name, TCharCode code, const TSaveReport& report) {
  // Save As to another name loses nothing of the file the text came from.
  if (!lossySource_.empty() && name == lossySource_) {
    std::string text = FormatDocumentMessage(TDocumentMessage::LossyLoadSave, {name, LoadLossItems(lossyLoad_)});
    if (ports_.window.AskDefaultNo(text, TKervBox::mkWarning) != TKervBox::maYes) return false;
  }
  if (!report.Lossy()) return true;
  std::string lines;
  if (report.replaced != 0) {
    lines = FormatDocumentMessage(TDocumentMessage::SaveLosesChars, {CharCodeName(code), std::to_string(report.replaced)});
  }
  if (report.widened != 0) {
    if (!lines.empty()) lines += "\r\n";
    lines += FormatDocumentMessage(TDocumentMessage::SaveWidensKana,
                                   {std::to_string(report.widened), std::to_string(report.firstWidenedLine)});
  }
  std::string text = FormatDocumentMessage(TDocumentMessage::LossySave, {name, lines});
  return ports_.window.AskDefaultNo(text, TKervBox::mkWarning) == TKervBox::maYes;
}

void TKervFileManager::WriteInPlace(const std::string& name, std::string_view bytes, std::string* keptCopy) {
  IFileSystem& fs = ports_.fs;
  const std::string folder =
      options_.SettingFolder.empty() ? fs.TempFolder() : IncludeTrailingSlash(options_.SettingFolder) + "Backup/";
  const std::string copy = folder + MakeTempFileName(ports_.clock.Now(), ports_.otherWindows.WindowNumber(), name);
  std::string original;
  bool copied = false;
  try {
    if (fs.FolderExists(folder) || fs.CreateFolder(folder)) {
      original = fs.ReadRegularFile(name, INT64_MAX);
      fs.WriteFile(copy, original);
      // Read back: a copy that cannot be trusted is no copy.
      copied = fs.ReadRegularFile(copy, INT64_MAX) == original;
    }
  } catch (const EFileError&) {
    copied = false;
  }
  if (!copied) {
    fs.RemoveFile(copy);
    throw EFileError(EFileError::Kind::Write, name, DocumentMessage(TDocumentMessage::ReasonNoBackupCopy));
  }
  try {
    fs.WriteFileInPlace(name, bytes);
  } catch (const EFileError&) {
    // A write refused before it touched the file (no permission, no room
    // claimed) needs no copy; one that may have changed it keeps its copy.
    bool untouched = false;
    try {
      untouched = fs.ReadRegularFile(name, INT64_MAX) == original;
    } catch (const EFileError&) {
      untouched = false;
    }
    if (untouched) {
      fs.RemoveFile(copy);
    } else {
      *keptCopy = copy;
    }
    throw;
  }
  fs.RemoveFile(copy);
}

bool TKervFileManager::WriteFile(const std::string& name, TCharCode code, TReturnCode returnCode) {
  BeginFileOperation();
  bool succeeded = false;
  TScopeExit restore([&] { EndFileOperation(succeeded); });

  if (!AskNewerOnDisk(name)) return false;
  TSaveReport report;
  std::string bytes = EncodeText(ports_.editor.Text(), returnCode, code, &report);
  if (!AskLossySave(name, code, report)) return false;

  std::string keptCopy;
  try {
    if (ports_.lock.Refused(name, true)) {
      throw EFileError(EFileError::Kind::Open, name, DocumentMessage(TDocumentMessage::ReasonLocked));
    }
    saveBackup_.Backup(name);
    if (ports_.fs.FileExists(name) && !ports_.fs.ReplacesWhole(name)) {
      // A new file renamed over this one would lose its owner, its mode or
      // its other names, or the folder takes no new file: it is written into.
      WriteInPlace(name, bytes, &keptCopy);
    } else {
      // Written to a temporary file that replaces the original only once it
      // is complete and on disk: a failure leaves the original whole.
      ports_.fs.WriteFile(name, bytes);
    }
  } catch (const EFileError& error) {
    ShowFileError(10053, name, error,
                  keptCopy.empty() ? std::string() : FormatDocumentMessage(TDocumentMessage::InPlaceCopyKept, {keptCopy}));
    return false;
  }
  if (name == lossySource_) {
    // The user agreed to the loss: the file now holds the text as it is.
    lossySource_.clear();
    lossyLoad_ = TLoadReport();
  }
  fileName_ = name;
  charCode_ = code;
  returnCode_ = returnCode;
  hasFile_ = true;
  succeeded = true;
  Lock(name);
  fileTime_ = ports_.fs.FileTime(name);
  seenFileTime_ = fileTime_;
  return true;
}

}  // namespace kerv
