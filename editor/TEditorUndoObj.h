#pragma once
// Undo and redo of row replacements. Every change made through ReplaceRows
// leaves one record with what it overwrote; undo puts that back, redo
// re-applies the change.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

namespace kerv {

class TEditorScreenStrings;
class TEditorView;

struct TUndoData {
  int32_t caretRow = 0;    // the active view's caret when the record was made
  int32_t caretCol = 0;
  int64_t caretOffset = -1;  // the same as a place in the text (-1: none)
  int32_t row = -1;        // first row of the changed range
  int64_t extent = -1;     // where that row starts in the text (-1: not known)
  // The store's split count when the caret was taken: once lines were cut
  // since, rows may have moved and the caret is put back by its offset.
  uint32_t splitStamp = 0;
  // Made while lines still waited for their cut: its text, put back, is cut
  // and may take more rows than it did.
  bool amongUncut = false;
  int32_t rowCount = 0;    // rows the change put in place of the old ones
  uint8_t kind = 3;        // kind of the last old row; 3: there were none
  std::string text;        // the old rows joined, CR LF after each raCrlf row
};

// Owns its records.
using TUndoDataList = std::deque<std::unique_ptr<TUndoData>>;

class TEditorUndoObj {
 public:
  static constexpr int kMinUndoListMax = 64;

  explicit TEditorUndoObj(TEditorScreenStrings& store) : store_(store) {}
  virtual ~TEditorUndoObj() = default;
  TEditorUndoObj(const TEditorUndoObj&) = delete;
  TEditorUndoObj& operator=(const TEditorUndoObj&) = delete;

  // A new record with the active caret, appended to the undo list for the caller to fill.
  virtual TUndoData& NewUndoRecord();
  virtual bool CanRedo() const { return !redoList_.empty(); }
  virtual bool CanUndo() const { return !undoList_.empty(); }
  virtual void Redo();
  virtual void Undo();
  // Takes row, row count, kind and text of record, with the active caret of now.
  virtual void AddRedo(TUndoData record);
  virtual void Clear();

  int UndoListMax() const { return undoListMax_; }
  // Never below 64.
  void SetUndoListMax(int value);
  const TUndoDataList& UndoList() const { return undoList_; }
  const TUndoDataList& RedoList() const { return redoList_; }

 private:
  // Steps 2-4 shared by undo and redo: puts record's text in place of the rows
  // the change made; returns the rows taken out as a record of their own.
  TUndoData Apply(const TUndoData& record);
  // The record's first row now, and its caret put back on the view.
  int RowOf(const TUndoData& record) const;
  void PlaceCaret(TEditorView* view, const TUndoData& record) const;
  // The active view's caret, as rows and as an offset.
  void TakeCaret(TUndoData& record) const;

  TEditorScreenStrings& store_;
  int undoListMax_ = kMinUndoListMax;
  bool redoing_ = false;
  TUndoDataList redoList_;
  TUndoDataList undoList_;
};

}  // namespace kerv
