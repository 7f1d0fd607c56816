#include "editor/TEditor.h"

#include <algorithm>

#include "editor/TEditorInternal.h"

namespace kerv {

// TEditor: caret placement, scrolling and the row store's reports.

using namespace editor_detail;

// ---------------------------------------------------------------- caret

int TEditor::NormalizeCol(int row, int col, int direction, bool vertical) {
  if (vertical && rememberedCol_ >= 0) col = rememberedCol_;
  TRowCells attrs(rules_, RowText(row));
  int width = attrs.Width();
  auto remember = [&](int value) {
    if (vertical && rememberedCol_ < 0) rememberedCol_ = value;
  };
  if (!caret_->FreeCaret() && col > width) {
    if (caret_->KeepCaret() && vertical && rememberedCol_ < 0) {
      rememberedCol_ = (window_ && window_->LeftButtonDown()) ? width : col;
    }
    col = width;
  }
  if (col >= 0 && col < width && attrs[col] == kColTrail) {
    remember(col);
    col += direction;
  }
  if (!caret_->InTab()) {
    bool moved = false;
    while (col > 0 && col < width && attrs[col] == kColTabFill) {
      if (!moved) remember(col);
      moved = true;
      col += direction;
    }
  }
  if (store_->WordWrap() && col >= width) {
    if (RowKind(row) == raWrapped) {
      col = width - 1;
    } else if (col >= store_->WrapOption().WrapByte()) {
      col = std::max(width, store_->WrapOption().WrapByte() - 1);
    }
    col = std::max(0, col);
    if (col < width && attrs[col] == kColTrail) --col;
    if (!caret_->InTab()) {
      while (col > 0 && col < width && attrs[col] == kColTabFill) --col;
    }
  }
  return std::clamp(col, 0, std::max(kMaxCaretCol, width));
}

void TEditor::SetCol(int col) {
  col = std::clamp(col, 0, std::max(kMaxCaretCol, RowWidth(row_)));
  int direction = col > col_ ? 1 : -1;
  rememberedCol_ = -1;
  col_ = NormalizeCol(row_, col, direction, false);
  if (selState_ == sstSelected && !keepRange_) UpdateRange(true);
  UpdateCaret();
}

void TEditor::SetRow(int row) {
  if (row == row_ && row_ != RowCount()) return;
  UnderlineHidden hidden(*this);
  int oldRow = row_;
  row_ = std::clamp(row, 0, RowCount());
  if (row_ == RowCount() && row_ > 0 && RowKind(row_ - 1) == raEof) row_ = RowCount() - 1;
  col_ = NormalizeCol(row_, col_, -1, true);
  if (selState_ == sstSelected && oldRow != row_ && !keepRange_) UpdateRange(true);
  UpdateCaret();
}

void TEditor::MoveCaretTo(int row, int col) {
  CaretHidden hidden(*this);
  SetRow(row);
  TRowCells attrs(rules_, RowText(row_));
  int width = attrs.Width();
  if (col > 0 && col < width && attrs[col] == kColTrail) --col;
  if (!caret_->InTab()) {
    while (col > 0 && col < width && attrs[col] == kColTabFill) --col;
  }
  SetCol(col);
}

void TEditor::ClampToStore() {
  int rows = RowCount();
  int maxRow = rows > 0 && RowKind(rows - 1) == raEof ? rows - 1 : rows;
  row_ = std::clamp(row_, 0, std::max(0, maxRow));
  topRow_ = std::clamp(topRow_, 0, std::max(0, rows));
  if (selState_ != sstNone) {
    // A change from elsewhere (the other pane) may have taken the selected rows.
    if (sel_.endRow > rows || anchor_.row > rows) CancelSelection();
  }
}

// ---------------------------------------------------------------- wrapping in steps

void TEditor::HoldPlaces(int fromRow) {
  // Holds nest: a re-wrap holds the places around cuts that hold them too,
  // and only the outermost hold and restore count.
  if (held_.depth++ > 0) return;
  held_ = THeldPlaces();
  held_.depth = 1;
  const bool anchored = selState_ != sstNone;
  if (topRow_ < fromRow && row_ < fromRow && (!anchored || anchor_.row < fromRow)) return;
  held_.held = true;
  held_.top = OffsetOfRow(topRow_);
  held_.caretShown = row_ >= topRow_ && row_ < topRow_ + std::max(1, metrics_.visibleRows);
  held_.caret = screen_->CaretOffset();
  // A free caret may stand past its row's end, where no offset reaches.
  const int rows = RowCount();
  held_.caretBeyond = std::max(0, col_ - (row_ < rows ? ByteToCol(row_, CaretByte()) : 0));
  if (anchored) {
    held_.anchor = OffsetOfRow(anchor_.row, anchor_.row < rows ? anchor_.byteIndex : 0);
    held_.anchorBeyond =
        std::max(0, anchor_.col - (anchor_.row < rows ? ByteToCol(anchor_.row, anchor_.byteIndex) : 0));
  }
  // A left-bar drag is given up rather than carried over.
  rowSelectFirst_ = rowSelectLast_ = -1;
}

void TEditor::RestorePlaces() {
  if (held_.depth == 0 || --held_.depth > 0 || !held_.held) return;
  held_.held = false;
  const long long total = store_->TotalExtent();
  const int rows = RowCount();
  // The row and byte of an offset; the end of the text is the row after a
  // final line break, else the end of the last row.
  auto find = [&](long long offset, int& row, int& byteIndex) {
    long long rowStart = 0;
    row = offset >= total ? rows : store_->RowAtExtent(offset, &rowStart);
    byteIndex = 0;
    if (row < rows) {
      byteIndex = static_cast<int>(std::min<long long>(offset - rowStart, Len(RowText(row))));
    } else if (rows > 0 && RowKind(rows - 1) != raCrlf) {
      row = rows - 1;
      byteIndex = Len(RowText(row));
    }
  };
  topRow_ = held_.top >= total ? rows : store_->RowAtExtent(held_.top);
  if (selState_ != sstNone) {
    find(held_.anchor, anchor_.row, anchor_.byteIndex);
    anchor_.col = (anchor_.row < rows ? ByteToCol(anchor_.row, anchor_.byteIndex) : 0) + held_.anchorBeyond;
  }
  // The caret stays on its character without scrolling the view to it.
  int caretByte = 0;
  find(held_.caret, row_, caretByte);
  col_ = (row_ < rows ? ByteToCol(row_, caretByte) : 0) + held_.caretBeyond;
  rememberedCol_ = -1;
  if (held_.caretShown) {
    // Rows cut above the caret push it down: the view follows as little as it must.
    const int shown = std::max(1, metrics_.visibleRows);
    if (row_ >= topRow_ + shown) topRow_ = row_ - shown + 1;
  }
  if (caretHideCount_ == 0) PlaceCaret();
  selCaretRow_ = -1;
  UpdateRange(false);
  ClampToStore();
  UpdateScrollBars();
  InvalidateAll();
}

void TEditor::PrepareEdit(int* row, int* col) {
  if (!store_->WrapPending()) return;
  long long held = -1;
  int beyond = 0;  // columns past the row's end, which no offset holds
  const int rowsBefore = RowCount();
  if (row != nullptr && *row < rowsBefore) {
    int byteIndex = ColToByte(*row, col ? *col : 0);
    int length = Len(RowText(*row));
    if (byteIndex > length) {
      beyond = byteIndex - length;
      byteIndex = length;
    }
    held = OffsetOfRow(*row, byteIndex);
  }
  // An edit reaches the lines where the caret and the selection begin and
  // end (and the cell given): those lines and their neighbours are cut, the
  // lines between may go uncut. Every cut keeps the caret and the anchor on
  // their text, so the ends are taken afresh after each.
  if (row != nullptr) store_->CutNear(*row, *row);
  const bool anchored = selState_ != sstNone;
  if (anchored && selectionMode_ == smBox) {
    // A box edits every row it covers, by columns as the rows are cut.
    store_->CutNear(std::min(row_, anchor_.row), std::max(row_, anchor_.row));
  }
  store_->CutNear(row_, row_);
  if (anchored) store_->CutNear(anchor_.row, anchor_.row);
  if (row == nullptr) return;
  if (held < 0) {
    // At or past the end: as far from the end as before.
    *row += RowCount() - rowsBefore;
    return;
  }
  long long rowStart = 0;
  *row = store_->RowAtExtent(held, &rowStart);
  if (col != nullptr && *row < RowCount()) *col = ByteToCol(*row, static_cast<int>(held - rowStart)) + beyond;
}

void TEditor::CutShownRows() {
  if (!store_->WrapPending()) return;
  store_->CutShownRows(topRow_, metrics_.visibleRows + 1);
  // The caret's own row too: a caret kept out of view still moves by rows.
  if (store_->WrapPending()) store_->CutShownRows(row_, 1);
}

void TEditor::PlaceCaretByOffset(int baseRow, long long offset) {
  int rows = RowCount();
  int row = std::max(0, baseRow);
  if (rows == 0 || row >= rows) {
    row_ = std::min(row, rows);
    if (rows > 0 && RowKind(rows - 1) == raEof) row_ = rows - 1;
    rememberedCol_ = -1;
    col_ = rows > 0 && row_ < rows ? RowWidth(row_) : 0;
    UpdateCaret();
    return;
  }
  long long target = store_->ExtentBefore(row) + std::max(0LL, offset);
  long long rowStart = 0;
  row = store_->RowAtExtent(target, &rowStart);
  long long remaining = target - rowStart;
  if (row >= rows) {
    // Past the last row: a final line break leaves the caret on the empty line after it.
    if (RowKind(rows - 1) == raCrlf) {
      row_ = rows;
      rememberedCol_ = -1;
      col_ = 0;
      UpdateCaret();
      return;
    }
    row = rows - 1;
    remaining = Len(RowText(row));
  }
  std::string_view text = RowText(row);
  int byteIndex = static_cast<int>(std::min<long long>(remaining, Len(text)));
  row_ = row;
  rememberedCol_ = -1;
  col_ = WidthOf(text.substr(0, byteIndex));
  UpdateCaret();
}

int TEditor::EditBaseRow(int row) const {
  // The row before a continuation row may take text from it when it is cut again.
  int first = store_->FirstRowOfLine(std::min(row, RowCount()));
  return std::max(first, row - 1);
}

void TEditor::HideCaret() {
  if (caretHideCount_++ == 0 && window_ && caretCreated_) window_->SetCaretVisible(false);
}

void TEditor::ShowCaret() {
  if (caretHideCount_ == 0) return;
  if (--caretHideCount_ == 0) PlaceCaret();
}

void TEditor::HideUnderline() {
  if (underlineHideCount_++ == 0 && underlineRow_ >= 0) {
    InvalidateRow(underlineRow_);
    underlineRow_ = -1;
  }
}

void TEditor::ShowUnderline() {
  if (underlineHideCount_ == 0) return;
  if (--underlineHideCount_ == 0 && marks_->Underline().Visible() && selState_ != sstSelected) {
    underlineRow_ = row_;
    InvalidateRow(row_);
  }
}

void TEditor::PlaceCaret() {
  if (!window_ || !window_->HasFocus()) return;
  const TEditorMetrics& m = metrics_;
  int cellWidth = m.charWidth - margin_->Character();
  std::string_view text = RowText(row_);
  int byteIndex = ColToByte(row_, col_);
  bool onLead = byteIndex < Len(text) && IsLeadByte(static_cast<unsigned char>(text[byteIndex]));
  int width;
  int height;
  int yOffset = 0;
  if (overWrite_) {
    width = onLead ? 2 * cellWidth : cellWidth;
    height = m.fontHeight;
  } else if (caret_->Style() == csBrief) {
    width = onLead ? 2 * cellWidth : cellWidth;
    height = 2;
    yOffset = m.fontHeight - 2;
  } else {
    width = 2;
    height = m.fontHeight;
  }
  window_->CreateCaret(width, height);
  caretCreated_ = true;
  int x = CaretX();
  int y = CaretY() + yOffset;
  window_->SetCaretPos(x, y);
  // While a key repeats the input method's window is left where it was and
  // moved once the key is released or a character is typed.
  if (autoRepeat_) {
    compositionMovePending_ = true;
  } else {
    compositionMovePending_ = false;
    window_->MoveCompositionWindow(x, CaretY());
  }
  bool inView = row_ >= topRow_ && row_ < topRow_ + std::max(1, m.visibleRows) && col_ >= topCol_ &&
                col_ <= topCol_ + m.visibleCols;
  window_->SetCaretVisible(inView && caretHideCount_ == 0);
}

void TEditor::KeepCaretVisible() {
  if (!window_ || !window_->HasFocus()) return;
  int rows = std::max(1, metrics_.visibleRows);
  int cols = std::max(1, metrics_.visibleCols);
  if (row_ < topRow_) {
    SetTopRow(row_);
  } else if (row_ >= topRow_ + rows) {
    SetTopRow(row_ - rows + 1);
  }
  if (col_ < topCol_) {
    SetTopCol(std::max(0, std::min(col_, topCol_ - cols / 4)));
  } else if (col_ >= topCol_ + cols) {
    SetTopCol(std::min(std::max(col_ - cols + 1, topCol_ + cols / 4), ColumnRange() - cols / 2));
  }
}

void TEditor::UpdateCaret() {
  KeepCaretVisible();
  if (ruler_->Visible()) InvalidateRect({metrics_.textLeft, 0, ClientWidth(), metrics_.rulerHeight});
  if (underlineHideCount_ == 0 && underlineRow_ != row_ && marks_->Underline().Visible()) {
    if (underlineRow_ >= 0) InvalidateRow(underlineRow_);
    underlineRow_ = selState_ == sstSelected ? -1 : row_;
    if (underlineRow_ >= 0) InvalidateRow(underlineRow_);
  }
  if (caretHideCount_ == 0) PlaceCaret();
  if (window_ && window_->HasFocus()) {
    window_->CaretMoved();
    if (OnCaretMoved) OnCaretMoved(*this);
  }
}

void TEditor::FocusIn() {
  caretCreated_ = false;
  UpdateCaret();
}

void TEditor::FocusOut() {
  if (window_ && caretCreated_) {
    window_->SetCaretVisible(false);
    window_->DestroyCaret();
  }
  caretCreated_ = false;
}

// ---------------------------------------------------------------- scrolling

int TEditor::ClientWidth() const { return window_ ? window_->ClientWidth() : kDefaultClientWidth; }

int TEditor::ClientHeight() const { return window_ ? window_->ClientHeight() : kDefaultClientHeight; }

void TEditor::InvalidateAll() { InvalidateRect({0, 0, ClientWidth(), ClientHeight()}); }

void TEditor::InvalidateRect(const TRect& rect) {
  if (window_ && !rect.Empty()) window_->InvalidateRect(rect);
}

void TEditor::InvalidateRow(int row) {
  if (!window_ || row < topRow_ || row > topRow_ + metrics_.visibleRows) return;
  int y = RowToY(row);
  window_->InvalidateRect({0, y, window_->ClientWidth(), y + metrics_.rowHeight});
}

void TEditor::RepaintRows(int firstRow, int lastRow) {
  if (!window_) return;
  if (firstRow > lastRow) std::swap(firstRow, lastRow);
  firstRow = std::max(firstRow, topRow_);
  lastRow = std::min(lastRow, topRow_ + metrics_.visibleRows);
  if (firstRow > lastRow) return;
  window_->InvalidateRect({0, RowToY(firstRow), window_->ClientWidth(), RowToY(lastRow) + metrics_.rowHeight});
}

void TEditor::RepaintRowsBetween(int a, int b) { RepaintRows(std::min(a, b), std::max(a, b)); }

void TEditor::SetTopRow(int row) {
  row = std::clamp(row, 0, RowCount());
  if (row == topRow_) return;
  int delta = row - topRow_;
  topRow_ = row;
  if (window_) {
    CaretHidden hidden(*this);
    int height = window_->ClientHeight();
    TRect area{0, metrics_.textTop, window_->ClientWidth(), height};
    if (std::abs(delta) <= metrics_.visibleRows + 1) {
      window_->ScrollRect(area, 0, -delta * metrics_.rowHeight);
    } else {
      window_->InvalidateRect(area);
    }
    if (HasScrollBar(sbVertical)) PushScrollBar(sbVertical);
  }
  if (OnTopRowChange) OnTopRowChange(*this);
}

void TEditor::SetTopCol(int col) {
  col = std::clamp(col, 0, std::max(0, ColumnRange() - metrics_.visibleCols / 2));
  if (col == topCol_) return;
  int delta = col - topCol_;
  topCol_ = col;
  if (window_) {
    CaretHidden hidden(*this);
    TRect area{metrics_.textLeft, 0, window_->ClientWidth(), window_->ClientHeight()};
    if (std::abs(delta) <= metrics_.visibleCols) {
      window_->ScrollRect(area, -delta * metrics_.charWidth, 0);
    } else {
      window_->InvalidateRect(area);
    }
    if (HasScrollBar(sbHorizontal)) PushScrollBar(sbHorizontal);
  }
  if (OnTopColChange) OnTopColChange(*this);
}

void TEditor::UpdateScrollBars() {
  int highest = std::max(0, RowCount() + metrics_.visibleRows - 2);
  if (topRow_ > highest) SetTopRow(highest);
  int highestCol = std::max(0, ColumnRange() - metrics_.visibleCols / 2);
  if (topCol_ > highestCol) SetTopCol(highestCol);
  if (!window_) return;
  PushScrollBar(sbVertical);
  PushScrollBar(sbHorizontal);
}

bool TEditor::HasScrollBar(TScrollBarKind kind) const {
  return scrollBars_ == ssBoth || scrollBars_ == (kind == sbVertical ? ssVertical : ssHorizontal);
}

// The bars' ranges take in one page past the last row (and half a screen past
// the widest row), so the last row can be scrolled to the top.
int TEditor::ScrollBarMax(TScrollBarKind kind) const {
  if (kind == sbVertical) return std::max(metrics_.visibleRows, RowCount() + metrics_.visibleRows - 2);
  return ColumnRange() + metrics_.visibleCols / 2;
}

int TEditor::ColumnRange() const {
  if (widestStamp_ != store_->BulkStamp()) {
    widestStamp_ = store_->BulkStamp();
    widestRow_ = 0;
    store_->ForEachRow(0, RowCount(), [this](std::string_view text, uint32_t) {
      widestRow_ = std::max(widestRow_, Len(text));
    });
  }
  return std::max({store_->WordWrap() ? 0 : kMaxGridCols, widestRow_, col_ + 1});
}

void TEditor::PushScrollBar(TScrollBarKind kind) {
  bool vertical = kind == sbVertical;
  window_->SetScrollBar(kind, HasScrollBar(kind), ScrollBarMax(kind), vertical ? metrics_.visibleRows : metrics_.visibleCols,
                        vertical ? topRow_ : topCol_);
}

void TEditor::ScrollCaret() {
  int rows = std::max(1, metrics_.visibleRows);
  int cols = std::max(1, metrics_.visibleCols);
  if (row_ < topRow_ || row_ >= topRow_ + rows) SetTopRow(row_ - rows / 3);
  if (col_ < topCol_ || col_ >= topCol_ + cols) SetTopCol(col_ - cols / 3);
}

void TEditor::ScrollPage(int rows) {
  if (topRow_ == 0 && rows < 0) {
    SetRow(0);
    return;
  }
  if (rows > 0 && RowKind(topRow_) == raEof) return;
  int distance = row_ - topRow_;
  SetTopRow(topRow_ + rows);
  SetRow(topRow_ + distance);
}

void TEditor::ScrollBy(TScrollBarKind kind, int delta) {
  // A bar's highest position leaves one page of its range in view.
  if (kind == sbVertical) {
    int highest = std::max(0, ScrollBarMax(sbVertical) - metrics_.visibleRows + 1);
    delta = std::clamp(topRow_ + delta, 0, highest) - topRow_;
    if (delta == 0) return;
    SetTopRow(topRow_ + delta);
    if (caret_->LockScroll()) SetRow(row_ + delta);
  } else {
    int highest = std::max(0, ScrollBarMax(sbHorizontal) - metrics_.visibleCols + 1);
    delta = std::clamp(topCol_ + delta, 0, highest) - topCol_;
    if (delta == 0) return;
    SetTopCol(topCol_ + delta);
  }
  PlaceCaret();
}

// ---------------------------------------------------------------- row-store reports

void TEditor::ScreenRowsChanged() {
  const TEditorChangeRecord& change = store_->ChangeRecord();
  if (!change.changed && change.oldRowCount == change.newRowCount && change.bracketRows == 0) return;
  // An edit can only widen the range (rows replaced wholesale are measured afresh).
  int newRows = std::min(change.newRowCount, RowCount() - change.firstRow);
  if (newRows > 0 && widestStamp_ == store_->BulkStamp()) {
    store_->ForEachRow(change.firstRow, newRows, [this](std::string_view text, uint32_t) {
      widestRow_ = std::max(widestRow_, Len(text));
    });
  }
  int delta = change.newRowCount - change.oldRowCount;
  // Rows cut or changed below the screen change nothing shown but the scroll range.
  const bool belowScreen = !change.changed && change.firstRow >= topRow_ + metrics_.visibleRows;
  if (window_ && !belowScreen) {
    if (std::abs(delta) > metrics_.visibleRows) {
      window_->InvalidateRect({0, metrics_.textTop, window_->ClientWidth(), window_->ClientHeight()});
    } else {
      int lastAffected = change.firstRow + std::max(change.newRowCount, 1) - 1 + change.bracketRows;
      RepaintRows(change.firstRow, lastAffected);
      if (delta != 0) {
        // The rows below move by the difference instead of being painted again.
        int below = change.firstRow + change.newRowCount;
        RepaintRows(below, topRow_ + metrics_.visibleRows);
      }
      if (leftbar_->Visible()) {
        bool lineMode = leftbar_->ShowNumberMode() == nmLine;
        if (lineMode || (delta != 0 && topRow_ + metrics_.visibleRows >= RowCount())) {
          int y = RowToY(std::max(topRow_, lastAffected));
          window_->InvalidateRect({0, y, metrics_.leftbarWidth, window_->ClientHeight()});
        }
      }
    }
  }
  if (LeftbarDigits() != leftbarDigits_) {
    ComputeMetrics();
    InvalidateAll();
  }
  UpdateScrollBars();
  if (OnRowsChanged) OnRowsChanged(*this, change.firstRow);
  if (change.changed) {
    // An anchor without a range marks where a click left the caret; once the
    // text changed, a Shift move must start from the caret, not from there.
    if (selState_ == sstAnchored) selState_ = sstNone;
    modified_ = true;
    if (OnChange) OnChange(*this);
  }
}

}  // namespace kerv
