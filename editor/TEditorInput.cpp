#include "editor/TEditor.h"

#include <algorithm>

#include "editor/TEditorInternal.h"

namespace kerv {

// TEditor: mouse and keyboard input.

using namespace editor_detail;

// ---------------------------------------------------------------- mouse

bool TEditor::InSelection(int row, int col) const {
  if (selState_ != sstSelected) return false;
  if (selectionMode_ == smBox) return row >= sel_.firstRow && row <= sel_.lastRow && col >= sel_.leftCol && col < sel_.rightCol;
  if (row < sel_.startRow || row > sel_.endRow) return false;
  int byteIndex = ColToByte(row, col);
  if (row == sel_.startRow && byteIndex < sel_.startByte) return false;
  if (row == sel_.endRow && byteIndex > sel_.endByte) return false;
  // Middle rows, and the start row past its text, are selected to the edge.
  return true;
}

void TEditor::MoveCaretKeepingRange(int row, int col) {
  keepRange_ = true;
  struct Restore {
    bool& flag;
    ~Restore() { flag = false; }
  } restore{keepRange_};
  MoveCaretTo(row, col);
}

TRowCol TEditor::MouseCell(int x, int y, bool nearest) const {
  // Above the text area the row is one more up, so holding the mouse there scrolls.
  TRowCol cell = PosToRowCol(x, y, nearest);
  if (y < metrics_.textTop) cell.row = std::max(0, cell.row - 1);
  return cell;
}

void TEditor::MouseDown(int x, int y, bool shift, bool) {
  if (shift) {
    // Nothing selected: the range starts at the caret.
    if (selState_ != sstSelected) StartSelection();
    TRowCol cell = PosToRowCol(x, y, true);
    MoveCaretTo(cell.row, cell.col);
    ExtendSelection();
    return;
  }
  pressX_ = x;
  pressY_ = y;
  TRowCol cell = PosToRowCol(x, y, false);
  if (CanSelMove() && x >= metrics_.textLeft && InSelection(cell.row, cell.col)) {
    // The press may start a drag: the caret goes there, the range stays.
    MoveCaretKeepingRange(cell.row, cell.col);
    if (caret_->SelDragMode() == dmAutomatic) dragState_ = dsPending;
    return;
  }
  cell = PosToRowCol(x, y, true);
  if (x < metrics_.textLeft && caret_->RowSelect()) {
    SelectRows(cell.row);
    return;
  }
  CaretHidden hidden(*this);
  CancelSelection();
  MoveCaretTo(cell.row, cell.col);
  StartSelection();
}

TEditorCursorKind TEditor::MouseMove(int x, int y, bool leftDown, bool ctrl) {
  int half = std::max(1, metrics_.charWidth / 2);
  bool movedAway = std::abs(x - pressX_) >= half || std::abs(y - pressY_) >= half;
  if (dragState_ == dsPending) {
    if (movedAway) dragState_ = dsDragging;
    return dragState_ == dsDragging ? (ctrl ? ckDragCopy : ckDrag) : ckInSelection;
  }
  if (dragState_ == dsDragging) {
    TRowCol cell = MouseCell(x, y, false);
    MoveCaretKeepingRange(cell.row, cell.col);
    return ctrl ? ckDragCopy : ckDrag;
  }
  if (leftDown) {
    TRowCol cell = MouseCell(x, y, true);
    if (rowSelectFirst_ >= 0) {
      ExtendRowSelection(cell.row);
      return ckLeftMargin;
    }
    MoveCaretTo(cell.row, cell.col);
    if (selState_ == sstAnchored && movedAway) ExtendSelection();
    return ckDefault;
  }
  if (x < metrics_.textLeft) return ckLeftMargin;
  TRowCol cell = PosToRowCol(x, y, false);
  if (CanSelMove() && InSelection(cell.row, cell.col)) return ckInSelection;
  return ckDefault;
}

void TEditor::MouseUp(int x, int y, bool ctrl) {
  if (dragState_ == dsDragging) {
    dragState_ = dsNone;
    if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) {
      // Dropped outside the control: nothing moves.
      CancelSelection();
      EndRowSelection();
      return;
    }
    TRowCol cell = MouseCell(x, y, false);
    if (ctrl) {
      CopySelectionTo(cell.row, cell.col);
    } else {
      MoveSelectionTo(cell.row, cell.col);
    }
  } else if (dragState_ == dsPending) {
    // A press inside the selection without a move: the selection goes, the caret stays.
    dragState_ = dsNone;
    CancelSelection();
  }
  EndRowSelection();
}

void TEditor::CancelDrag() {
  if (dragState_ == dsNone) return;
  dragState_ = dsNone;
  CancelSelection();
}

// ---------------------------------------------------------------- keyboard

void TEditor::KeyUp() {
  autoRepeat_ = false;
  if (!compositionMovePending_) return;
  compositionMovePending_ = false;
  if (window_ && window_->HasFocus()) window_->MoveCompositionWindow(CaretX(), CaretY());
}

bool TEditor::KeyDown(TEditorKey key, bool shift, bool ctrl, bool autoRepeat) {
  autoRepeat_ = autoRepeat;
  if (key == vkDelete) {
    if (!readOnly_) TypeDelete();
    return true;
  }
  if (shift && selState_ != sstSelected) StartSelection();
  if (!shift && selState_ != sstNone) CancelSelection();
  int visibleRows = std::max(1, metrics_.visibleRows);
  int step = 1;
  if (autoRepeat && ((key == vkUp && row_ == topRow_) || (key == vkDown && row_ == topRow_ + visibleRows - 1))) {
    step = 2;
  }
  {
    CaretHidden hidden(*this);
    switch (key) {
      case vkPrior:
        ScrollPage(1 - visibleRows);
        break;
      case vkNext:
        ScrollPage(visibleRows - 1);
        break;
      case vkHome:
        if (ctrl) SetRow(0);
        SetCol(0);
        break;
      case vkEnd:
        if (ctrl) SetRow(RowCount());
        SetCol(row_ >= RowCount() ? 0 : RowWidth(row_));
        break;
      case vkLeft:
        if (ctrl) {
          MoveWordLeft();
        } else if (col_ > 0) {
          SetCol(col_ - 1);
        } else if (row_ > 0 && (caret_->NextLine() || RowKind(row_ - 1) == raWrapped)) {
          SetRow(row_ - 1);
          SetCol(RowWidth(row_));
        }
        break;
      case vkRight: {
        if (ctrl) {
          MoveWordRight();
          break;
        }
        int before = col_;
        SetCol(col_ + 1);
        if (col_ == before && row_ < RowCount() && RowKind(row_) != raEof &&
            (caret_->NextLine() || RowKind(row_) == raWrapped)) {
          SetRow(row_ + 1);
          SetCol(0);
        }
        break;
      }
      case vkUp:
        if (ctrl) {
          SetTopRow(topRow_ - step);
          if (row_ >= topRow_ + visibleRows) SetRow(row_ - step);
        } else if (row_ > 0) {
          SetRow(row_ - step);
        }
        break;
      case vkDown:
        if (ctrl) {
          SetTopRow(topRow_ + step);
          if (row_ < topRow_) SetRow(row_ + step);
        } else if (RowKind(row_) != raEof) {
          SetRow(row_ + step);
        }
        break;
      case vkDelete:
        break;
    }
  }
  if (shift) ExtendSelection();
  return true;
}

void TEditor::KeyPress(unsigned char ch, bool shift, bool ctrl) {
  if (ch == '\r' && OnKeyPress) {
    ch = static_cast<unsigned char>(OnKeyPress(*this, static_cast<char>(ch)));
    if (ch == 0) return;
  }
  switch (ch) {
    case 0x08:
      TypeBackspace();
      return;
    case 0x09:
      TypeTab(shift, ctrl);
      return;
    case 0x0D:
      if (wantReturns_) TypeReturn();
      return;
    default:
      break;
  }
  if ((ch >= 0x20 && ch <= 0x7E) || (ch >= 0xA1 && ch <= 0xDF)) {
    KeyUp();
    if (!readOnly_) InsertText(std::string_view(reinterpret_cast<const char*>(&ch), 1));
  }
}

}  // namespace kerv
