#pragma once
// The running editor windows and this window's number among them: the
// questions a window asks the others (does one have this file open, does one
// show this dialog) and the notices it sends them, and the answers it gives.

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/WindowChannel.h"

namespace kerv {

// What other windows may ask of or tell this window; the main window
// implements it. The requests arrive between events on the window's own
// thread (also while this window waits for an answer of its own, or runs a
// modal dialog), so an operation that reshapes the window (closing it) should
// be queued rather than run at once. None may send requests itself.
class IKervWindowPort {
 public:
  virtual ~IKervWindowPort() = default;
  // The document's full name; "NewDoc.txt" while untitled.
  virtual std::string FileName() = 0;
  // The caption as the title bar shows it.
  virtual std::string Caption() = 0;
  virtual int DialogState() = 0;
  // Leave the minimized state.
  virtual void Restore() = 0;
  // Raise and activate the window.
  virtual void BringToFront() = 0;
  // Re-read kerv.ini without re-applying what it says.
  virtual void ReloadSettings() = 0;
  // Another window used a word: put it at the top of the list, not passing it on.
  virtual void AddSearchHistory(const std::string& word) = 0;
  virtual void AddReplaceHistory(const std::string& word) = 0;
  // For arranging windows and the rest of the window commands; nothing yet asks them.
  virtual void Minimize() {}
  virtual void CloseWindow() {}
  virtual void ReloadEditModes() {}
  virtual void PlaceWindow(int /*left*/, int /*top*/, int /*width*/, int /*height*/) {}
};

// One running window: how to reach it and its number.
struct TKervProcessInfo {
  int handle = -1;  // its channel endpoint
  int WindowNumber = -1;
  bool operator==(const TKervProcessInfo&) const = default;
};

// A line of the window list.
struct TKervWindowEntry {
  int WindowNumber = -1;
  std::string fileName;
  std::string caption;
  bool isThis = false;
};

enum class THistoryKind { Search, Replace };

class TKervProcessManager {
 public:
  static constexpr int kDefaultTimeoutMs = 2000;

  // timeoutMs bounds every wait for another window; one that does not answer
  // in time counts as not running.
  TKervProcessManager(IWindowChannel& channel, IKervWindowPort& port, IFileSystem& fs,
                      int timeoutMs = kDefaultTimeoutMs);
  // Removes this window's endpoint: it drops out of every later list.
  ~TKervProcessManager();
  TKervProcessManager(const TKervProcessManager&) = delete;
  TKervProcessManager& operator=(const TKervProcessManager&) = delete;

  // Start-up: opens this window's endpoint with 0 when no other window runs,
  // else the largest running number + 1, and starts answering requests.
  // False (ChannelError tells why) when there is no channel: the window
  // then runs alone as number 0.
  bool AssignNumber();
  int WindowNumber() const { return windowNumber_; }
  const std::string& ChannelError() const { return channelError_; }

  // Asks every window for its number; those answering >= 0 are listed, this
  // window too (unless closing), sorted by number.
  const std::vector<TKervProcessInfo>& Enumerate();
  // The list as last enumerated.
  const std::vector<TKervProcessInfo>& List() const { return list_; }
  // Enumerate, with each window's document name and caption.
  std::vector<TKervWindowEntry> WindowList();
  // Whether this window is the oldest running one (it saves the shared settings at exit).
  bool IsFirstWindow();

  // The double-open query: the first other window that has the file open
  // (names compared exactly once links are resolved) is restored and brought
  // to the front and returned.
  std::optional<TKervProcessInfo> FindWindowWithFile(const std::string& name);
  bool IsFileOpenElsewhere(const std::string& name) { return FindWindowWithFile(name).has_value(); }
  // The single-dialog query: true when another window shows dialog state
  // state; that window is restored and brought to the front.
  bool ActivateDialogOwner(int state);
  bool QueryDialogState(int state) { return ActivateDialogOwner(state); }

  // Tells every other window to re-read kerv.ini.
  void NotifySettingsChanged();
  // Hands a word just used to every other window's history.
  void NotifyHistoryChanged(THistoryKind kind, const std::string& word);
  void SendSearchWord(const std::string& word) { NotifyHistoryChanged(THistoryKind::Search, word); }
  void SendReplaceWord(const std::string& word) { NotifyHistoryChanged(THistoryKind::Replace, word); }

  // The window has begun to close: it answers the number query with -1 (so
  // others drop it), the dialog query with 0, and ignores the other numbered
  // messages; copy-data is still handled.
  void MarkClosing() { closing_ = true; }
  bool IsClosing() const { return closing_; }

  // Answers one request from another window (the channel's handler).
  TWindowAnswer HandleMessage(const TWindowMessage& message);

 private:
  std::optional<TWindowAnswer> Ask(int handle, uint32_t message);
  bool IsThis(const TKervProcessInfo& entry) const;
  void BringForward(const TKervProcessInfo& entry);
  void SendToOthers(const TWindowMessage& message);
  // Absolute names with their links resolved; others as they are.
  std::string ResolvedName(const std::string& name);
  bool IsThisFile(const std::string& name);

  IWindowChannel& channel_;
  IKervWindowPort& port_;
  IFileSystem& fs_;
  int timeoutMs_;
  int windowNumber_ = 0;
  bool closing_ = false;
  std::vector<TKervProcessInfo> list_;
  std::string channelError_;
};

}  // namespace kerv
