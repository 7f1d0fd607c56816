#pragma once
// What the search command needs of its window beyond the editors and the
// notices: the search bar's boxes, the action states, the other windows, and
// the replace-all progress window. Texts are Shift_JIS, like the document.

#include <string>
#include <vector>

namespace kerv {

class IKervSearchWindow {
 public:
  virtual ~IKervSearchWindow() = default;
  // The item lists of Cmb_SearchStr and Cmb_ReplaceStr, newest first; the
  // first item becomes the box's text.
  virtual void SetSearchItems(const std::vector<std::string>& items) = 0;
  virtual void SetReplaceItems(const std::vector<std::string>& items) = 0;
  // The text of Cmb_SearchStr alone (quick search).
  virtual void SetSearchText(const std::string& word) = 0;
  // The options changed: Act_Srch_FindPrev and Act_Srch_ReplaceUp are
  // disabled while RegExp is set, Act_Srch_SelSearch shows SelectionOnly,
  // both boxes take AutoComplete.
  virtual void SearchOptionsChanged() = 0;
  // A history word for every other editor window (kind 3 search, 4 replace).
  virtual void SendHistoryWord(int kind, const std::string& word) = 0;
  // The editor takes the keyboard focus.
  virtual void FocusEditor() = 0;
  // The platform's question beep.
  virtual void QuestionBeep() = 0;
};

// The replace-all progress window ("全置換処理中").
class IKervSearchProgress {
 public:
  virtual ~IKervSearchProgress() = default;
  virtual void Start() = 0;
  // Shows the count and lets pending window events run (repaint, cancel button).
  virtual void Step(int count) = 0;
  virtual bool Cancelled() = 0;
  // Closes the window.
  virtual void End() = 0;
};

}  // namespace kerv
