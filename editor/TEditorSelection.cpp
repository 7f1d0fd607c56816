#include "editor/TEditor.h"

#include <algorithm>

#include "editor/TEditorInternal.h"
#include "editor/TSjisCharCounter.h"

namespace kerv {

// TEditor: selection, normal and box.

using namespace editor_detail;

// ---------------------------------------------------------------- selection

void TEditor::StartSelection() {
  CancelSelection();
  selState_ = sstAnchored;
  anchor_.row = row_;
  anchor_.byteIndex = CaretByte();
  anchor_.col = selectionMode_ == smBox ? col_ : std::min(col_, RowWidth(row_));
}

void TEditor::ExtendSelection() {
  if (selState_ == sstNone) return;
  bool first = selState_ == sstAnchored;
  selState_ = sstSelected;
  // The underline stays hidden while a selection exists; CancelSelection shows it again.
  if (first) HideUnderline();
  UpdateRange(true);
}

void TEditor::UpdateRange(bool notify) {
  if (selState_ != sstSelected) return;
  TEditorSelection old = sel_;
  int caretByte = CaretByte();
  TEditorSelection s;
  s.startRow = std::min(anchor_.row, row_);
  s.endRow = std::max(anchor_.row, row_);
  if (anchor_.row == row_) {
    s.startByte = std::min(anchor_.byteIndex, caretByte);
    s.endByte = std::max(anchor_.byteIndex, caretByte) - 1;
  } else if (anchor_.row < row_) {
    s.startByte = anchor_.byteIndex;
    s.endByte = caretByte - 1;
  } else {
    s.startByte = caretByte;
    s.endByte = anchor_.byteIndex - 1;
  }
  s.firstRow = s.startRow;
  s.lastRow = s.endRow;
  if (selectionMode_ == smBox) {
    s.leftCol = std::min(anchor_.col, col_);
    s.rightCol = std::max(anchor_.col, col_);
  } else if (anchor_.row == row_) {
    int width = RowWidth(row_);
    s.leftCol = std::min(std::min(anchor_.col, col_), width);
    s.rightCol = std::min(std::max(anchor_.col, col_), width);
  } else {
    bool anchorFirst = anchor_.row < row_;
    int startCol = anchorFirst ? anchor_.col : col_;
    int endCol = anchorFirst ? col_ : anchor_.col;
    s.leftCol = std::min(startCol, RowWidth(s.startRow));
    s.rightCol = std::min(endCol, RowWidth(s.endRow));
  }
  sel_ = s;
  if (selectionMode_ == smBox || selCaretRow_ < 0) {
    RepaintRows(std::min(old.firstRow, s.firstRow), std::max(old.lastRow, s.lastRow));
  } else {
    // Only the rows between the old and the new moving end change.
    RepaintRowsBetween(selCaretRow_, row_);
  }
  selCaretRow_ = row_;
  if (notify && window_) window_->SelectionChanged();
  if (notify && OnSelectionChange) OnSelectionChange(*this, true);
}

void TEditor::CancelSelection() {
  rememberedCol_ = -1;
  if (selState_ == sstNone) return;
  bool wasSelected = selState_ == sstSelected;
  selState_ = sstNone;
  if (wasSelected) {
    RepaintRows(sel_.firstRow, sel_.lastRow);
    ShowUnderline();
  }
  sel_ = TEditorSelection();
  selCaretRow_ = -1;
  if (window_) window_->SelectionChanged();
  if (OnSelectionChange) OnSelectionChange(*this, false);
}

void TEditor::SetSelectionMode(TSelectionMode mode) {
  if (dragState_ == dsDragging || mode == selectionMode_) return;
  selectionMode_ = mode;
  if (selState_ == sstSelected) {
    RepaintRows(sel_.firstRow, sel_.lastRow);
    if (mode == smBox) {
      anchor_.col = ByteToCol(anchor_.row, anchor_.byteIndex);
    } else {
      anchor_.col = std::min(anchor_.col, RowWidth(anchor_.row));
    }
    UpdateRange(true);
  } else if (selState_ == sstAnchored) {
    anchor_.col = mode == smBox ? col_ : std::min(col_, RowWidth(row_));
  }
  if (OnSelectionModeChange) OnSelectionModeChange(*this);
}

void TEditor::BoxCoveredBytes(int row, int& startByte, int& endByte) const {
  TRowCells attrs(rules_, RowText(row));
  int width = attrs.Width();
  int left = std::min(sel_.leftCol, width);
  int right = std::min(sel_.rightCol, width);
  // A partly covered character or tab counts as covered.
  if (left < width && attrs[left] == kColTrail) --left;
  while (left > 0 && left < width && attrs[left] == kColTabFill) --left;
  if (right < width && attrs[right] == kColTrail) ++right;
  while (right < width && right > 0 && attrs[right] == kColTabFill) ++right;
  // Neither column is on a tab's fillers now: ColToByte counts them off.
  startByte = ColToByte(row, left);
  endByte = ColToByte(row, right);
  if (endByte < startByte) endByte = startByte;
}

std::string TEditor::SelText() const {
  if (selState_ != sstSelected) return std::string();
  std::string out;
  long long bytes = 0;
  ForEachSelectedPiece([&](std::string_view piece, bool lineBreak) { bytes += Len(piece) + (lineBreak ? 2 : 0); });
  ReserveLargeText(out, static_cast<size_t>(bytes));
  ForEachSelectedPiece([&](std::string_view piece, bool lineBreak) {
    out.append(piece);
    if (lineBreak) out += "\r\n";
  });
  return out;
}

TEditor::TSelectionSize TEditor::SelSize() const {
  TSelectionSize size;
  if (selState_ != sstSelected) return size;
  TSjisCharCounter counter;
  ForEachSelectedPiece([&counter](std::string_view piece, bool lineBreak) {
    counter.Add(piece);
    if (lineBreak) counter.AddLineBreak();
  });
  size.bytes = counter.Bytes();
  size.characters = counter.Characters();
  return size;
}

template <typename OnPiece>
void TEditor::ForEachSelectedPiece(OnPiece onPiece) const {
  if (selectionMode_ == smBox) {
    // Each row's covered bytes, each followed by a line break.
    int last = std::min(sel_.lastRow, RowCount() - 1);
    for (int row = sel_.firstRow; row <= last; ++row) {
      int startByte = 0;
      int endByte = 0;
      BoxCoveredBytes(row, startByte, endByte);
      onPiece(RowText(row).substr(startByte, endByte - startByte), true);
    }
    return;
  }
  int last = std::min(sel_.endRow, RowCount() - 1);
  if (last < sel_.startRow) return;
  // Rows are walked block by block rather than looked up one at a time.
  int row = sel_.startRow;
  store_->ForEachRow(sel_.startRow, last - sel_.startRow + 1, [&](std::string_view text, uint32_t value) {
    int length = Len(text);
    int from = row == sel_.startRow ? std::min(sel_.startByte, length) : 0;
    if (row == sel_.endRow) {
      int to = std::max(from, std::min(sel_.endByte + 1, length));
      onPiece(text.substr(from, to - from), false);
    } else {
      onPiece(text.substr(from), rowrecord::Kind(value) == raCrlf);
    }
    ++row;
  });
}

long long TEditor::SelStart() const {
  if (RowCount() == 0) return 0;
  if (selState_ != sstSelected) return OffsetOfRow(row_, CaretByte());
  if (selectionMode_ == smBox) {
    int startByte = 0;
    int endByte = 0;
    BoxCoveredBytes(sel_.firstRow, startByte, endByte);
    return OffsetOfRow(sel_.firstRow, startByte);
  }
  return OffsetOfRow(sel_.startRow, std::min(sel_.startByte, Len(RowText(sel_.startRow))));
}

long long TEditor::SelLength() const {
  if (selState_ != sstSelected) return 0;
  long long length = 0;
  ForEachSelectedPiece([&](std::string_view piece, bool lineBreak) { length += Len(piece) + (lineBreak ? 2 : 0); });
  return length;
}

void TEditor::SetSelStart(long long offset) {
  CancelSelection();
  if (offset <= 0) {
    SetRow(0);
    SetCol(0);
    return;
  }
  PlaceCaretByOffset(0, offset);
}

void TEditor::SetSelLength(long long length) {
  // A range of bytes is a normal selection: box mode gives way first.
  if (selectionMode_ == smBox && (length > 0 || selState_ == sstSelected)) {
    bool hadRange = selState_ == sstSelected;
    long long start = SelStart();
    SetSelectionMode(smNormal);
    if (hadRange) SetSelStart(start);
  }
  if (length <= 0) {
    if (selState_ == sstSelected) {
      int row = sel_.startRow;
      int byteIndex = sel_.startByte;
      CancelSelection();
      SetRow(row);
      SetCol(ByteToCol(row, byteIndex));
    }
    return;
  }
  if (selState_ == sstSelected) {
    int row = sel_.startRow;
    int byteIndex = sel_.startByte;
    CancelSelection();
    SetRow(row);
    SetCol(ByteToCol(row, byteIndex));
  }
  StartSelection();
  // Walk length bytes forward: a line break counts 2, the walk stops at a
  // raEof row or after the last row.
  int row = row_;
  long long remaining = length + CaretByte();
  int rows = RowCount();
  int byteIndex = 0;
  for (;;) {
    if (row >= rows) {
      byteIndex = 0;
      break;
    }
    int rowLength = Len(RowText(row));
    TRowAttribute kind = RowKind(row);
    if (remaining <= rowLength || kind == raEof) {
      byteIndex = static_cast<int>(std::min<long long>(remaining, rowLength));
      break;
    }
    long long extent = rowLength + (kind == raCrlf ? 2 : 0);
    if (remaining < extent) {
      byteIndex = rowLength;
      break;
    }
    remaining -= extent;
    ++row;
  }
  {
    CaretHidden hidden(*this);
    row_ = std::min(row, rows);
    col_ = row_ < rows ? ByteToCol(row_, byteIndex) : 0;
    rememberedCol_ = -1;
  }
  ExtendSelection();
  UpdateCaret();
}

void TEditor::SelectAll() {
  SetSelStart(0);
  SetSelLength(TextLength());
}

void TEditor::SelectRows(int row) {
  int rows = RowCount();
  row = std::clamp(row, 0, rows);
  if (rows > 0 && row == rows && RowKind(rows - 1) == raEof) row = rows - 1;
  CaretHidden hidden(*this);
  CancelSelection();
  SetRow(row);
  if (row < rows && RowKind(row) == raEof) {
    SetCol(RowWidth(row));
    StartSelection();
    SetCol(0);
  } else {
    SetCol(0);
    StartSelection();
    SetRow(row + 1);
    SetCol(0);
  }
  ExtendSelection();
  // The caret returns to the clicked row's start; the range stays.
  TEditorSelection range = sel_;
  row_ = row;
  col_ = 0;
  sel_ = range;
  rowSelectFirst_ = rowSelectLast_ = row;
  UpdateCaret();
}

void TEditor::ExtendRowSelection(int row) {
  if (rowSelectFirst_ < 0) return;
  int rows = RowCount();
  row = std::clamp(row, 0, rows);
  if (rows > 0 && row == rows && RowKind(rows - 1) == raEof) row = rows - 1;
  if (row == rowSelectLast_) return;
  rowSelectLast_ = row;
  int first = std::min(rowSelectFirst_, row);
  int last = std::max(rowSelectFirst_, row);
  CaretHidden hidden(*this);
  // Anchor at the top row's start (or bottom row's end), caret at the other end.
  bool downward = row >= rowSelectFirst_;
  auto endOf = [&](int r) -> std::pair<int, int> {
    if (r < rows && RowKind(r) == raEof) return {r, RowWidth(r)};
    return {std::min(r + 1, rows), 0};
  };
  selState_ = sstAnchored;
  if (downward) {
    anchor_ = {first, 0, 0};
    auto [r, c] = endOf(last);
    row_ = r;
    col_ = c;
  } else {
    auto [r, c] = endOf(last);
    anchor_ = {r, ColToByte(r, c), c};
    row_ = first;
    col_ = 0;
  }
  selState_ = sstSelected;
  UpdateRange(true);
  UpdateCaret();
}

}  // namespace kerv
