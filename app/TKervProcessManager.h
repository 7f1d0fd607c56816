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
  // Minimize the window (arranging, "minimize all").
  virtual void Minimize() = 0;
  // Close the window; its save question runs (queued, not at once).
  virtual void CloseWindow() = 0;
  // Another window changed the edit modes: read the list and the current mode again.
  virtual void ReloadEditModes() = 0;
  // Place the window with its frame at this rectangle of the screen (arranging).
  virtual void PlaceWindow(int left, int top, int width, int height) = 0;
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

// How windows are arranged: one above the other, side by side, cascaded;
// all minimized; all restored.
enum class TArrangeKind { Stacked = 0, SideBySide = 1, Cascade = 2, MinimizeAll = 3, RestoreAll = 4 };

struct TScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TScreenRect&) const = default;
};

// The rectangles (frames included) of count windows arranged on area;
// cascadeStep is how far each cascaded window moves right and down (a title
// bar's height). Empty for the kinds that place nothing.
std::vector<TScreenRect> ArrangeRects(TArrangeKind kind, int count, const TScreenRect& area, int cascadeStep);

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

  // Tells every other window to re-read the edit modes (after the edit-mode
  // dialog's OK), without waiting for anyone.
  void NotifyEditModesChanged();
  // Hands a word just used to every other window's history.
  void NotifyHistoryChanged(THistoryKind kind, const std::string& word);
  void SendSearchWord(const std::string& word) { NotifyHistoryChanged(THistoryKind::Search, word); }
  void SendReplaceWord(const std::string& word) { NotifyHistoryChanged(THistoryKind::Replace, word); }

  // Brings the next (or previous) window in number order forward, wrapping round.
  void NextWindow();
  void PreviousWindow();
  // Brings the window with that number forward (nothing for this one or one gone).
  void ActivateNumber(int windowNumber);
  // Arranges every running window on area: each window places itself.
  void Arrange(TArrangeKind kind, const TScreenRect& area, int cascadeStep);

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
  // Hands a notice to every other window without waiting for answers.
  void PostToOthers(const TWindowMessage& message);
  void StepWindow(int direction);
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
