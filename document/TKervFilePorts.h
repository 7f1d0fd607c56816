#pragma once
// What the window's file manager needs from the rest of the program, as small
// interfaces: the editor holding the document's text, the window (boxes,
// notices, title, status, the busy state), the other editor windows, the
// clock and the regular-backup timer. The application implements them; tests
// use fakes. Texts shown to the user are UTF-8; document text is Shift_JIS
// with CR LF line ends.

#include <cstdint>
#include <optional>
#include <functional>
#include <string>
#include <string_view>

#include "document/CharCode.h"

namespace kerv {

// The document's text as the editor control holds it.
class IKervDocumentEditor {
 public:
  virtual ~IKervDocumentEditor() = default;
  // The whole text, CR LF between lines.
  virtual std::string Text() = 0;
  // Replaces the whole text (the old text and its undo steps go) with what
  // was just read: the document is then unmodified. The caller's string may
  // be consumed.
  // progress, when given, hears how far the rows are made, in thousandths,
  // and answers false to give up: the old text then stays as it was and
  // SetText returns false.
  virtual bool SetText(std::string&& text, const std::function<bool(int permille)>& progress) = 0;
  // Inserts at the caret as typing would (one undo step).
  virtual void InsertAtCaret(std::string_view text) = 0;
  virtual bool Modified() = 0;
  virtual void SetModified(bool modified) = 0;
  virtual bool ReadOnly() = 0;
  virtual void SetReadOnly(bool readOnly) = 0;
  // Caret to the start of the first line, scrolled into view.
  virtual void MoveCaretToTop() = 0;
};

// Box kinds, button sets, answers and notice levels, numbered as the window's
// information service numbers them.
struct TKervBox {
  enum Kind { mkWarning = 0, mkError = 1, mkInformation = 2, mkConfirm = 3 };
  enum Buttons { mbYesNo = 3, mbOk = 4, mbYesNoCancel = 11, mbOkCancel = 12, mbYesNoDefaultNo = 0x103 };
  enum Answer { maOk = 0, maYes = 1, maNo = 2, maCancel = 3 };
  enum Level { nlError = -1, nlPlain = 0, nlInformation = 1 };
};

// The window that shows the document.
class IKervDocumentWindow {
 public:
  virtual ~IKervDocumentWindow() = default;
  // A box captioned by kind ("確認 - KervEditor", ...); returns a TKervBox::Answer.
  virtual int MessageBox(const std::string& text, int kind, int buttons) = 0;
  // A Yes/No box whose default button is No, for a question whose Yes gives
  // something up for good (a save that loses text): a Yes/No box whose
  // default button is No.
  virtual int AskDefaultNo(const std::string& text, int kind) { return MessageBox(text, kind, TKervBox::mbYesNoDefaultNo); }
  // An info-bar notice of a TKervBox::Level.
  virtual void Notify(const std::string& text, int level) = 0;
  // The error box of an error code (ShowErrorCode).
  virtual void ShowErrorCode(int code, const std::optional<std::string>& argument) = 0;
  // Set while a document is read or written: the state flag FileBusy and the wait cursor.
  virtual void SetFileBusy(bool busy) = 0;
  // How far a read has come, in thousandths, told often while busy; the
  // window shows it once a read takes long. False when the user gave the
  // read up, which only counts while cancellable.
  virtual bool ReadProgress(int /*permille*/, bool /*cancellable*/) { return true; }
  // Whether a file operation or a replace-all is running, which the regular
  // backup must not interrupt.
  virtual bool BackupBlocked() = 0;
  // The window's dialog-state byte: 7 while a file dialog is shown, then 0.
  virtual void SetDialogState(int state) = 0;
  // Caption "name - KervEditor"; the task bar shows shortTitle (name without
  // folder) while the application is active and fullTitle otherwise.
  virtual void SetTitles(const std::string& fullTitle, const std::string& shortTitle) = 0;
  // Status-bar cells of the codes and the check marks of their pop-up menus.
  virtual void RefreshStatus(TCharCode charCode, TReturnCode returnCode) = 0;
};

// The other editor windows of the user (the window channel).
class IKervOtherWindows {
 public:
  virtual ~IKervOtherWindows() = default;
  // This window's number: 0 for the first, then the largest running number + 1.
  virtual int WindowNumber() = 0;
  // Asks the other windows whether one has fileName open; the first that
  // does is restored and brought to the front, and the answer is true. A
  // window that does not answer in time counts as not having it.
  virtual bool ActivateWindowWith(const std::string& fileName) = 0;
};

struct TKervLocalTime {
  int year = 2000;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
  int hour = 0;   // 0-23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class IKervClock {
 public:
  virtual ~IKervClock() = default;
  virtual TKervLocalTime Now() = 0;
};

// A repeating timer on the window's thread; its owner delivers each tick.
class IKervTimer {
 public:
  virtual ~IKervTimer() = default;
  virtual void SetInterval(int milliseconds) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

// The settings the file manager and the backups work with, copied from the
// settings store when settings are applied. Texts as kerv.ini holds them
// (filter names Shift_JIS; folders are file-system names).
struct TKervFileOptions {
  // File
  bool AllowDoubleOpen = false;
  bool CheckModification = true;
  bool UTF8NCheck = true;
  bool CheckNull = true;
  bool CheckFileSize = true;
  int BigFileSize = 10;  // MB
  int FileLockMode = 0;  // 0 none, 2 others may read, 3 others may do nothing
  // File dialogs
  std::string OpenDlgFilter;
  std::string SaveDlgFilter;
  std::string OpenFirstFolder;
  std::string SaveFirstFolder;
  bool DialogPlaceBar = true;
  // Backup
  bool SaveBackup = false;
  bool DelphiName = false;
  bool SaveSameDir = true;
  std::string SaveTarget;
  int RegBackupType = 0;  // 0 none, 1 save in place, 2 write to the save-backup name
  bool RegBackupNewFile = false;
  int Interval = 5;  // minutes
  // The settings folder (trailing '/'), whose "Backup/" takes regular backups.
  std::string SettingFolder;
};

}  // namespace kerv
