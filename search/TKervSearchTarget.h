#pragma once
// What the searchers need of the editor and of the window. The searchers do
// not know the editor control: the application adapts its panes to
// IKervSearchTarget and its boxes and progress window to IKervSearchHost.
// Offsets and lengths are bytes of the document text, which has CR LF after
// every line but the last.

#include <string>
#include <string_view>

#include "search/SearchFlags.h"

namespace kerv {

// A piece of the document text, read without copying the rest.
struct TKervTextWindow {
  std::string text;
  bool lineStart = true;   // the piece starts the text or follows a LF
  bool reachesEnd = true;  // the piece runs to the end of the text
};

class IKervSearchTarget {
 public:
  virtual ~IKervSearchTarget() = default;

  virtual long long SelStart() = 0;
  virtual long long SelLength() = 0;
  virtual std::string SelText() = 0;
  virtual long long TextLength() = 0;
  // The text from offset on: at least minBytes when there are that many,
  // ending at a line end or at the text's end, never inside a character.
  virtual TKervTextWindow TextWindow(long long offset, long long minBytes) = 0;
  virtual std::string WordAtCaret() = 0;

  // Selects length bytes from start (the caret goes to the end).
  virtual void Select(long long start, long long length) = 0;
  // The document scan from the selection, which selects the hit.
  virtual bool SearchText(std::string_view pattern, SearchFlags flags) = 0;
  virtual void ReplaceSelection(std::string_view text) = 0;
  // Replaces length bytes at start by text as one change and one undo step,
  // then selects (selStart, selLength).
  virtual void ReplaceRange(long long start, long long length, std::string_view text, long long selStart,
                            long long selLength) = 0;
  virtual void SetModified() = 0;
  virtual void Focus() = 0;

  // The search-word emphasis: the active pane's word, and setting the word
  // of every pane.
  virtual std::string EmphasisWord() = 0;
  virtual void SetEmphasis(const std::string& word, SearchFlags flags) = 0;
};

class IKervSearchHost {
 public:
  virtual ~IKervSearchHost() = default;
  // Sounds the question beep and asks whether to replace the selected match.
  virtual bool ConfirmReplace() = 0;
  // An information notice (UTF-8).
  virtual void NotifyInformation(const std::string& text) = 0;
  // Document text (Shift_JIS) as notices show it.
  virtual std::string DisplayText(std::string_view text) = 0;
  // The editor setting that keeps a replaced selection selected.
  virtual bool KeepSel() = 0;

  // The replace-all progress window. After each replacement the searcher
  // calls ProgressCancelled with the running count: the host shows it now
  // and then, lets the window work and says whether cancel was pressed.
  virtual void BeginProgress() = 0;
  virtual bool ProgressCancelled(int count) = 0;
  virtual void EndProgress() = 0;
};

}  // namespace kerv
