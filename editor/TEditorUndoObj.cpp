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

TUndoData& TEditorUndoObj::NewUndoRecord() {
  auto record = std::make_unique<TUndoData>();
  if (TEditorView* view = store_.ActiveEditor()) {
    record->caretRow = view->CaretRow();
    record->caretCol = view->CaretCol();
  }
  undoList_.push_back(std::move(record));
  TUndoData& added = *undoList_.back();
  while (static_cast<int>(undoList_.size()) > undoListMax_) undoList_.pop_front();
  if (!redoing_) redoList_.clear();
  return added;
}

void TEditorUndoObj::AddRedo(TUndoData record) {
  auto copy = std::make_unique<TUndoData>();
  copy->row = record.row;
  copy->rowCount = record.rowCount;
  copy->kind = record.kind;
  copy->text = std::move(record.text);
  if (TEditorView* view = store_.ActiveEditor()) {
    copy->caretRow = view->CaretRow();
    copy->caretCol = view->CaretCol();
  }
  redoList_.push_back(std::move(copy));
}

void TEditorUndoObj::Clear() {
  undoList_.clear();
  redoList_.clear();
}

TUndoData TEditorUndoObj::Apply(const TUndoData& record) {
  TUndoData current;
  current.row = record.row;
  int taken = 0;
  if (record.rowCount > 0) {
    TRowRangeText range = store_.GetRowRangeText(record.row, record.rowCount);
    current.text = std::move(range.text);
    current.kind = range.lastKind;
    taken = range.rowCount;
    store_.DeleteRows(record.row, taken);
  } else {
    current.kind = raNone;
  }
  int inserted = 0;
  if (record.kind != raNone) {
    TEditorStringList rows;
    store_.CutRows(record.text, static_cast<TRowAttribute>(record.kind), rows);
    inserted = rows.Count();
    store_.InsertRowList(record.row, std::move(rows));
  }
  store_.ChangeRecord() = {record.row, taken, inserted, store_.UpdateBrackets(record.row, true), true};
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
    if (view) {
      view->SetCaretRow(record.caretRow);
      view->SetCaretCol(record.caretCol);
    }
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
      again.rowCount = current.rowCount;
      again.kind = current.kind;
      again.text = std::move(current.text);
    }
    if (view) {
      view->SetCaretRow(record.caretRow);
      view->SetCaretCol(record.caretCol);
    }
  }
  redoList_.pop_back();
}

}  // namespace kerv
