#include "editor/TEditorUndoObj.h"

#include "editor/TEditorScreenStrings.h"

namespace kerv {
namespace {

// Hides the active view's caret for an undo or redo and shows it again on every way out.
class CaretHidden {
 public:
  explicit CaretHidden(TEditorView* view) : view_(view) {
    if (view_) view_->HideCaret();
  }
  ~CaretHidden() {
    if (view_) view_->ShowCaret();
  }
  CaretHidden(const CaretHidden&) = delete;
  CaretHidden& operator=(const CaretHidden&) = delete;

 private:
  TEditorView* view_;
};

}  // namespace

void TEditorUndoObj::SetUndoListMax(int value) { undoListMax_ = value < kMinUndoListMax ? kMinUndoListMax : value; }

void TEditorUndoObj::TakeCaret(TUndoData& record) const {
  record.splitStamp = store_.SplitStamp();
  record.amongUncut = store_.WrapPending();
  if (TEditorView* view = store_.ActiveEditor()) {
    record.caretRow = view->CaretRow();
    record.caretCol = view->CaretCol();
    record.caretOffset = view->CaretOffset();
  }
}

int TEditorUndoObj::RowOf(const TUndoData& record) const {
  // The offset holds in every layout of the rows: lines cut since, or text
  // put back cut where it lay uncut.
  if (record.extent < 0) return record.row;
  return store_.RowStartingAt(record.extent);
}

void TEditorUndoObj::PlaceCaret(TEditorView* view, const TUndoData& record) const {
  if (view == nullptr) return;
  if (record.splitStamp != store_.SplitStamp() && record.caretOffset >= 0) {
    view->RestoreCaretOffset(record.caretOffset);
    return;
  }
  view->SetCaretRow(record.caretRow);
  view->SetCaretCol(record.caretCol);
}

TUndoData& TEditorUndoObj::NewUndoRecord() {
  auto record = std::make_unique<TUndoData>();
  TakeCaret(*record);
  undoList_.push_back(std::move(record));
  TUndoData& added = *undoList_.back();
  while (static_cast<int>(undoList_.size()) > undoListMax_) undoList_.pop_front();
  if (!redoing_) redoList_.clear();
  return added;
}

void TEditorUndoObj::AddRedo(TUndoData record) {
  auto copy = std::make_unique<TUndoData>();
  copy->row = record.row;
  copy->extent = record.extent;
  copy->rowCount = record.rowCount;
  copy->kind = record.kind;
  copy->text = std::move(record.text);
  TakeCaret(*copy);
  redoList_.push_back(std::move(copy));
}

void TEditorUndoObj::Clear() {
  undoList_.clear();
  redoList_.clear();
}

TUndoData TEditorUndoObj::Apply(const TUndoData& record) {
  TUndoData current;
  const int row = RowOf(record);
  current.row = row;
  current.extent = store_.ExtentBefore(row);
  int taken = 0;
  if (record.rowCount > 0) {
    TRowRangeText range = store_.GetRowRangeText(row, record.rowCount);
    current.text = std::move(range.text);
    current.kind = range.lastKind;
    taken = range.rowCount;
    store_.DeleteRows(row, taken);
  } else {
    current.kind = raNone;
  }
  int inserted = 0;
  if (record.kind != raNone) {
    TEditorStringList rows;
    store_.CutRows(record.text, static_cast<TRowAttribute>(record.kind), rows);
    inserted = rows.Count();
    store_.InsertRowList(row, std::move(rows));
  }
  store_.ChangeRecord() = {row, taken, inserted, store_.UpdateBrackets(row, true), true};
  // Text put back cut where it lay uncut takes more rows than it did: rows below moved.
  if (record.amongUncut) store_.RowsMayHaveMoved();
  current.rowCount = inserted;
  return current;
}

void TEditorUndoObj::Undo() {
  if (undoList_.empty()) return;
  TUndoData& record = *undoList_.back();
  TEditorView* view = store_.ActiveEditor();
  {
    CaretHidden hidden(view);
    {
      store_.BeginUpdate();
      struct End {
        TEditorScreenStrings& store;
        ~End() { store.EndUpdate(); }
      } end{store_};
      AddRedo(Apply(record));
    }
    PlaceCaret(view, record);
  }
  // Only a completed undo gives up its record.
  undoList_.pop_back();
}

void TEditorUndoObj::Redo() {
  if (redoList_.empty()) return;
  TUndoData& record = *redoList_.back();
  TEditorView* view = store_.ActiveEditor();
  {
    CaretHidden hidden(view);
    {
      store_.BeginUpdate();
      struct End {
        TEditorUndoObj& undo;
        TEditorScreenStrings& store;
        ~End() {
          undo.redoing_ = false;
          store.EndUpdate();
        }
      } end{*this, store_};
      TUndoData current = Apply(record);
      redoing_ = true;
      TUndoData& again = NewUndoRecord();
      again.row = current.row;
      again.extent = current.extent;
      again.rowCount = current.rowCount;
      again.kind = current.kind;
      again.text = std::move(current.text);
    }
    PlaceCaret(view, record);
  }
  redoList_.pop_back();
}

}  // namespace kerv
