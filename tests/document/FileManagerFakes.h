#pragma once
// Fakes of the file manager's ports: an editor holding a string, a window
// that records boxes and notices and answers from a queue, other windows, a
// clock and a timer.

#include <deque>
#include <string>
#include <vector>

#include "document/TKervFileManager.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeFileLock.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv::testing_files {

class FakeEditor : public IKervDocumentEditor {
 public:
  std::string text;
  bool modified = false;
  bool readOnly = false;
  int caretResets = 0;
  std::string Text() override { return text; }
  bool SetText(std::string&& value, const std::function<bool(int)>& progress) override {
    // Rows made in two halves, as a real editor reports them.
    if (progress && (!progress(0) || !progress(500) || !progress(1000))) return false;
    text = std::move(value);
    modified = false;
    return true;
  }
  void InsertAtCaret(std::string_view value) override {
    text.insert(0, value);
    modified = true;
  }
  bool Modified() override { return modified; }
  void SetModified(bool value) override { modified = value; }
  bool ReadOnly() override { return readOnly; }
  void SetReadOnly(bool value) override { readOnly = value; }
  void MoveCaretToTop() override { ++caretResets; }
};

class FakeWindow : public IKervDocumentWindow {
 public:
  struct Box {
    std::string text;
    int kind;
    int buttons;
    bool defaultNo = false;  // asked through AskDefaultNo
  };
  std::vector<Box> boxes;
  std::deque<int> answers;  // Yes when empty
  std::vector<std::pair<int, std::string>> errors;
  std::vector<std::string> notices;
  std::string fullTitle, shortTitle;
  TCharCode statusCode = ccAscii;
  TReturnCode statusReturn = rcNone;
  bool busy = false;
  int busyChanges = 0;
  bool blocked = false;
  std::vector<int> dialogStates;

  int MessageBox(const std::string& text, int kind, int buttons) override {
    boxes.push_back({text, kind, buttons});
    if (answers.empty()) return buttons == TKervBox::mbOk ? TKervBox::maOk : TKervBox::maYes;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  int AskDefaultNo(const std::string& text, int kind) override {
    int answer = MessageBox(text, kind, TKervBox::mbYesNo);
    boxes.back().defaultNo = true;
    return answer;
  }
  void Notify(const std::string& text, int) override { notices.push_back(text); }
  void ShowErrorCode(int code, const std::optional<std::string>& argument) override {
    errors.emplace_back(code, argument.value_or(""));
  }
  void SetFileBusy(bool value) override {
    busy = value;
    ++busyChanges;
  }
  // Every progress report; the read is given up at the first cancellable
  // one at or past cancelAt (never when negative).
  std::vector<std::pair<int, bool>> progress;
  int cancelAt = -1;
  bool ReadProgress(int permille, bool cancellable) override {
    progress.emplace_back(permille, cancellable);
    return !(cancellable && cancelAt >= 0 && permille >= cancelAt);
  }
  bool BackupBlocked() override { return busy || blocked; }
  void SetDialogState(int state) override { dialogStates.push_back(state); }
  void SetTitles(const std::string& full, const std::string& shortName) override {
    fullTitle = full;
    shortTitle = shortName;
  }
  void RefreshStatus(TCharCode code, TReturnCode returnCode) override {
    statusCode = code;
    statusReturn = returnCode;
  }
};

class FakeOtherWindows : public IKervOtherWindows {
 public:
  int number = 1;
  std::vector<std::string> openElsewhere;
  std::vector<std::string> activated;
  int WindowNumber() override { return number; }
  bool ActivateWindowWith(const std::string& fileName) override {
    for (const std::string& name : openElsewhere) {
      if (name == fileName) {
        activated.push_back(name);
        return true;
      }
    }
    return false;
  }
};

class FakeClock : public IKervClock {
 public:
  TKervLocalTime now{2024, 3, 15, 14, 25, 1, 7};
  TKervLocalTime Now() override { return now; }
};

class FakeTimer : public IKervTimer {
 public:
  int interval = 0;
  bool enabled = false;
  void SetInterval(int milliseconds) override { interval = milliseconds; }
  int Interval() const override { return interval; }
  void SetEnabled(bool value) override { enabled = value; }
  bool Enabled() const override { return enabled; }
};

// A file manager over the fakes, with a settings folder and options of its own.
struct FileManagerRig {
  FakeFileSystem fs;
  IconvCodePage codePage;
  FakeDialogs dialogs;
  FakeFileDialogs fileDialogs;
  FakeLockTable lockTable;
  FakeFileLock lock{lockTable};
  FakeEditor editor;
  FakeWindow window;
  FakeOtherWindows others;
  FakeClock clock;
  FakeTimer timer;
  TKervFileOptions options;
  TKervFileManager manager{
      TKervFileManagerPorts{fs, codePage, dialogs, fileDialogs, lock, editor, window, others, clock, timer}};

  FileManagerRig() {
    fs.AddFolder("/home/user/docs");
    fs.AddFolder("/home/user/.config/kerv");
    options.SettingFolder = "/home/user/.config/kerv/";
    options.SaveDlgFilter = "Text(*.txt)|*.txt|HTML|*.htm;*.html|All|*.*|";
    options.OpenDlgFilter = "All|*.*|";
    manager.ApplySettings(options);
  }
  void Apply() { manager.ApplySettings(options); }
  std::string Sjis(const char* utf8) { return codePage.Utf8ToCp932(utf8, nullptr); }
  static TSaveDialogResult SaveAnswer(const std::string& name, int code = 0, int returnCode = 0) {
    TSaveDialogResult result;
    result.fileName = name;
    result.codeIndex = code;
    result.returnCodeIndex = returnCode;
    return result;
  }
  static TOpenDialogResult OpenAnswer(const std::string& name, int code = 0, bool readOnly = false) {
    return TOpenDialogResult{name, code, readOnly};
  }
};

}  // namespace kerv::testing_files
