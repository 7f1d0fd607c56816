#pragma once
// The row store of an editor: the one list of rows that holds the document,
// and the one place where text changes (ReplaceRows). It keeps lines cut into
// rows while word wrap is on, keeps every row's bracket state, records undo,
// and tells every view attached to it what changed.

#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/TEditorLineCutter.h"
#include "editor/TEditorStringList.h"
#include "editor/TEditorUndoObj.h"
#include "editor/TEditorView.h"
#include "editor/TEditorWrapOption.h"

namespace kerv {

class TEditorBracketScanner;

// The last change: views repaint from its first row and fire OnChange.
struct TEditorChangeRecord {
  int firstRow = 0;
  int oldRowCount = 0;
  int newRowCount = 0;
  int bracketRows = 0;
  bool changed = false;
};

// A range of rows as one text (GetRowRangeText).
struct TRowRangeText {
  std::string text;
  int rowCount = 0;
  uint8_t lastKind = raNone;
};

class TEditorScreenStrings : public TEditorStringList {
 public:
  TEditorScreenStrings();
  ~TEditorScreenStrings() override;

  // Counts the changes that replace the rows wholesale (a load, a clear, a
  // re-wrap), so a view can tell when measures it keeps need taking afresh.
  unsigned BulkStamp() const { return bulkStamp_; }

  // Views in registration order; the first owns the store's editor services.
  void RegisterView(TEditorView* view);
  // Returns true when this was the last view: the caller then frees the store.
  bool UnregisterView(TEditorView* view);
  const std::vector<TEditorView*>& Views() const { return views_; }
  TEditorView* Owner() const { return views_.empty() ? nullptr : views_.front(); }
  // The first view with the input focus, else the owner.
  TEditorView* ActiveEditor() const;

  // The edit primitive: replaces count rows from row by text (CR LF line breaks).
  void ReplaceRows(int row, int count, std::string_view text);

  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TEditorWrapOption& WrapOption() { return *wrapOption_; }

  virtual void StrToWrapList(std::string_view text, TEditorStringList& rows);
  // Cuts text into rows whose last row gets lastKind, keeping an empty last line.
  void CutRows(std::string_view text, TRowAttribute lastKind, TEditorStringList& rows);
  virtual int WrapCount(std::string_view line);
  void WrapLines();
  void UnWrapLines();

  // A big text loaded with word wrap on is cut in steps: the rows on screen
  // at once, the rest while the editor is idle (the row count grows as it
  // goes). Until then the rows from the pending point on are whole lines,
  // save those already cut where they were shown or edited: an edit cuts
  // the lines around it first. Views hold their places through each cut,
  // and undo records made before one find their rows by their offsets.
  bool WrapPending() const { return wordWrap_ && wrapFrom_ < Count(); }
  int WrapFrom() const { return wrapFrom_; }
  // Cuts the lines among the next budgetRows rows from the pending point;
  // returns the rows looked at.
  int FillWrap(int budgetRows);
  // Cuts the uncut lines among count rows from first (the rows a view shows).
  void CutShownRows(int first, int count);
  // Cuts the lines of rows first..last, the line before and the line after,
  // so that an edit there finds them cut.
  void CutNear(int first, int last);
  // Counts the cuts that added rows: a caret kept as a row and column before
  // one is found again by its offset.
  unsigned SplitStamp() const { return splitStamp_; }
  // Rows moved without a cut (text put back cut where it lay uncut).
  void RowsMayHaveMoved() { ++splitStamp_; }
  // The row that starts at extent (Count() at the end, unless an empty last row starts there).
  int RowStartingAt(long long extent) const;
  // Texts from this many bytes on are wrapped in steps when loaded.
  void SetStepWrapBytes(size_t bytes) { stepWrapBytes_ = bytes; }

  int FirstRowOfLine(int row) const;
  int LastRowOfLine(int row) const;
  // count -1: through the end of that row's line.
  TRowRangeText GetRowRangeText(int row, int count) const;
  void DeleteRows(int row, int count);
  void InsertRowList(int row, const TEditorStringList& rows);
  // The same for a list that is not needed afterwards: its rows move in.
  void InsertRowList(int row, TEditorStringList&& rows);

  // Lines: a line is a run of raWrapped rows and the row that ends it.
  int LineCount() const;
  int LineToRow(int line) const;
  int RowToLine(int row) const;

  // Bracket states (the parser's state at each row's start).
  int BracketState(int row) const;
  void InitBrackets();
  int UpdateBrackets(int row, bool notify);
  // Whether rows below the computed ones still wait for their states (after
  // a load, or an edit that changed the states below it).
  bool BracketsPending() const;
  // Computes the states of up to budgetRows such rows, for the idle time
  // between events, so that a jump far down finds them known. Returns the
  // rows computed.
  int FillBrackets(int budgetRows);

  void Undo() { undo_->Undo(); }
  void Redo() { undo_->Redo(); }
  TEditorUndoObj& UndoObj() { return *undo_; }

  // Update batches: the change notification waits for the outermost end.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  TEditorChangeRecord& ChangeRecord() { return change_; }
  void Clear() override;

  // Rewraps, re-initialises brackets and refreshes views after the whole text
  // was replaced (loading, setting the text).
  void TextReplaced();
  // Loads a document's text (CR LF, CR or LF lines) by taking its bytes
  // over, cut into rows at once: no copy of the text is made. The rows are
  // made beside the old ones, which stay, untouched, when the adopt progress
  // gives the load up (false is returned then).
  bool LoadText(std::string&& text);
  // Asks every view to refresh itself and clamp its caret and top row.
  void RefreshViews();

 protected:
  virtual std::unique_ptr<TEditorUndoObj> CreateUndoObj();
  virtual std::unique_ptr<TEditorWrapOption> CreateWrapOption();

 private:
  friend class TEditorUndoObj;
  const TEditorLineCutter& Cutter();
  template <typename OnLine>
  void ForEachStoredLine(OnLine onLine) const;
  // Replaces every row in one change (a re-wrap): views drop their selections
  // and hear of it once, and the bracket states and steps start afresh.
  template <typename Change>
  void ChangeAllRows(Change change);
  // Cuts every line again at once.
  void RebuildRows();
  void WrapOptionChanged();
  void ResetAfterRewrap();
  TEditorBracketScanner MakeBracketScanner() const;
  // The state after row, which starts in state (the next row read along when
  // the wrap continues the line into it).
  int ScanRow(TEditorBracketScanner& scanner, int row, int state);
  // Gives rows first..end-1 their states, state being first's; stops at a
  // computed row that already holds the state carried to it, since every row
  // below is then still right, and returns true if so. rewritten counts the
  // rows given a state.
  bool WalkBrackets(TEditorBracketScanner& scanner, int first, int end, int state, int& rewritten);
  int ScreenRows() const;
  // Cuts the whole uncut lines among rows first..end-1 in place, every view
  // kept on its text; returns the rows added.
  int CutUncut(int first, int end);
  // Starts the stepwise wrap of rows that are all whole lines: the first screens now.
  void StartStepWrap();
  // Wraps after the text or the wrap was switched: in steps when it can.
  void WrapWholeLines();
  // Makes every line one row again, in place.
  void JoinCutLines();
  void NotifyViews();
  void ConnectChangeEvent(bool connected) { changeEventConnected_ = connected; }

  std::vector<TEditorView*> views_;
  unsigned bulkStamp_ = 0;
  TEditorChangeRecord change_;
  std::unique_ptr<TEditorUndoObj> undo_;
  bool wordWrap_ = false;
  std::unique_ptr<TEditorWrapOption> wrapOption_;
  int updateCount_ = 0;
  bool changeEventConnected_ = true;

  // The cutter in use, rebuilt when the options or the owner's column rules change.
  std::unique_ptr<TEditorLineCutter> cutter_;
  bool cutterStale_ = true;
  TEditorColumnRules cutterRules_;

  // Rows from this one on read as "not computed" (-2), so invalidating the
  // states below an edit costs nothing.
  int bracketValidEnd_ = 0;

  static constexpr int kNoWrapPending = std::numeric_limits<int>::max();
  int wrapFrom_ = kNoWrapPending;
  unsigned splitStamp_ = 0;
  size_t stepWrapBytes_ = 4u << 20;
};

}  // namespace kerv
