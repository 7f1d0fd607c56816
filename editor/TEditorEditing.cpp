#include "editor/TEditor.h"

#include <algorithm>

#include "editor/TEditorInternal.h"

namespace kerv {

// TEditor: editing operations and typing.

using namespace editor_detail;

// ---------------------------------------------------------------- editing helpers

void TEditor::ReplaceInRow(int row, int fromByte, int toByte, std::string_view insert, int caretByte) {
  std::string_view text = RowText(row);
  std::string replacement(text.substr(0, fromByte));
  replacement.append(insert);
  replacement.append(text.substr(toByte));
  if (RowKind(row) == raCrlf) replacement += "\r\n";
  int baseRow = EditBaseRow(row);
  ReplaceAndPlace(row, 1, replacement, baseRow, RowColToOffset(baseRow, row, 0) + caretByte);
}

void TEditor::ReplaceAndPlace(int row, int count, std::string_view text, int baseRow, long long offset) {
  CaretHidden caretHidden(*this);
  UnderlineHidden underlineHidden(*this);
  store_->ReplaceRows(row, count, text);
  PlaceCaretByOffset(baseRow, offset);
}

std::string TEditor::BoxRemoved(int firstRow, int lastRow, std::string* insertAtFirst) const {
  std::string out;
  for (int row = firstRow; row <= lastRow; ++row) {
    std::string_view text = RowText(row);
    int startByte = 0;
    int endByte = 0;
    BoxCoveredBytes(row, startByte, endByte);
    out.append(text.substr(0, startByte));
    if (row == firstRow && insertAtFirst) {
      // A box left of the row's end is reached with spaces.
      int width = RowWidth(row);
      if (sel_.leftCol > width) out.append(sel_.leftCol - width, ' ');
      out += *insertAtFirst;
    }
    out.append(text.substr(std::min(endByte, Len(text))));
    if (RowKind(row) == raCrlf) out += "\r\n";
  }
  return out;
}

void TEditor::DeleteSelection() {
  if (readOnly_ || selState_ != sstSelected) return;
  PrepareEdit();
  int rows = RowCount();
  if (rows == 0) {
    CancelSelection();
    return;
  }
  if (selectionMode_ == smBox) {
    int first = sel_.firstRow;
    int last = std::min(sel_.lastRow, rows - 1);
    int leftCol = sel_.leftCol;
    if (first > last) {
      CancelSelection();
      return;
    }
    std::string text = BoxRemoved(first, last);
    CancelSelection();
    CaretHidden caretHidden(*this);
    UnderlineHidden underlineHidden(*this);
    store_->ReplaceRows(first, last - first + 1, text);
    SetRow(first);
    SetCol(leftCol);
    return;
  }
  Splice("");
}

// ---------------------------------------------------------------- typing

void TEditor::ReplaceSelText(std::string_view text) {
  if (readOnly_) return;
  PrepareEdit();
  if (text.empty()) {
    DeleteSelection();
    return;
  }
  int rows = RowCount();
  if (selState_ == sstSelected && selectionMode_ == smBox && rows > 0) {
    int first = sel_.firstRow;
    int last = std::min(sel_.lastRow, rows - 1);
    if (first <= last) {
      std::string inserted(text);
      int startByte = 0;
      int endByte = 0;
      BoxCoveredBytes(first, startByte, endByte);
      int pad = std::max(0, sel_.leftCol - RowWidth(first));
      std::string replacement = BoxRemoved(first, last, &inserted);
      CancelSelection();
      int baseRow = EditBaseRow(first);
      long long offset = RowColToOffset(baseRow, first, 0) + startByte + pad + Len(text);
      ReplaceAndPlace(first, last - first + 1, replacement, baseRow, offset);
      return;
    }
  }
  Splice(text);
}

void TEditor::ReplaceRange(long long start, long long length, std::string_view text) {
  if (readOnly_) return;
  int reach = store_->RowAtExtent(start + length);
  PrepareEdit(&reach);
  long long firstStart = 0;
  long long endStart = 0;
  int first = store_->RowAtExtent(start, &firstStart);
  int end = store_->RowAtExtent(start + length, &endStart);
  bool wholeLines = selectionMode_ == smNormal && firstStart == start && endStart == start + length && first < end &&
                    (first == 0 || RowKind(first - 1) != raWrapped) && RowKind(end - 1) == raCrlf &&
                    !text.empty() && text.back() == '\n';
  if (!wholeLines) {
    SetSelStart(start);
    SetSelLength(length);
    ReplaceSelText(text);
    return;
  }
  CancelSelection();
  int baseRow = EditBaseRow(first);
  ReplaceAndPlace(first, end - first, text, baseRow, firstStart - OffsetOfRow(baseRow) + Len(text));
}

void TEditor::Splice(std::string_view text) {
  int rows = RowCount();
  int row;
  int startByte;
  int endRow;
  std::string head;
  std::string tail;
  if (selState_ == sstSelected) {
    TEditorSelection s = sel_;
    CancelSelection();
    row = s.startRow;
    std::string_view startText = RowText(row);
    startByte = std::min(s.startByte, Len(startText));
    head.assign(startText.substr(0, startByte));
    endRow = s.endRow;
    if (endRow >= rows) {
      // The range runs through the final line break: the last row loses it.
      endRow = rows - 1;
    } else {
      std::string_view endText = RowText(endRow);
      tail.assign(endText.substr(std::min(s.endByte + 1, Len(endText))));
      if (RowKind(endRow) == raCrlf) tail += "\r\n";
    }
  } else {
    row = row_;
    endRow = row_;
    std::string_view rowText = RowText(row);
    int byteIndex = ColToByte(row, col_);
    head.assign(rowText.substr(0, std::min(byteIndex, Len(rowText))));
    if (byteIndex > Len(rowText)) head.append(byteIndex - Len(rowText), ' ');
    startByte = Len(head);
    if (byteIndex < Len(rowText)) tail.assign(rowText.substr(byteIndex));
    if (row < rows && RowKind(row) == raCrlf) tail += "\r\n";
  }
  int baseRow = EditBaseRow(row);
  long long offset = RowColToOffset(baseRow, row, 0) + startByte + Len(text);
  std::string joined;
  std::string_view replacement = text;
  if (!head.empty() || !tail.empty()) {
    ReserveLargeText(joined, head.size() + text.size() + tail.size());
    joined.append(head).append(text).append(tail);
    replacement = joined;
  }
  int count = row < rows ? endRow - row + 1 : 0;
  bool multiLine = text.find('\n') != std::string_view::npos || text.find('\r') != std::string_view::npos;
  if (multiLine) HideCaret();
  struct Show {
    TEditor& editor;
    bool on;
    ~Show() {
      if (on) editor.ShowCaret();
    }
  } show{*this, multiLine};
  ReplaceAndPlace(std::min(row, rows), count, replacement, baseRow, offset);
}

void TEditor::InsertText(std::string_view text) {
  if (text.empty() || readOnly_) return;
  PrepareEdit();
  if (selState_ == sstSelected || !overWrite_) {
    ReplaceSelText(text);
    return;
  }
  TypeOverwrite(text);
}

void TEditor::TypeOverwrite(std::string_view text) {
  int rows = RowCount();
  std::string_view rowText = RowText(row_);
  int byteIndex = ColToByte(row_, col_);
  if (row_ >= rows || byteIndex >= Len(rowText)) {
    ReplaceSelText(text);
    return;
  }
  // The cells from the caret to caret + width(text) go, row by row through
  // the rest of the line.
  int cells = rules_.TextWidth(text);
  int lastRow = store_->LastRowOfLine(row_);
  std::string rest;
  for (int r = row_; r <= lastRow; ++r) rest.append(RowText(r));
  std::string_view restView(rest);
  size_t pos = byteIndex;
  int col = col_;
  int rowIndex = row_;
  size_t rowEnd = Len(rowText);
  std::string filler;
  while (cells > 0 && pos < restView.size()) {
    while (pos >= rowEnd && rowIndex < lastRow) {
      ++rowIndex;
      rowEnd += RowText(rowIndex).size();
      col = 0;
    }
    unsigned char b = static_cast<unsigned char>(restView[pos]);
    int charBytes = IsLeadByte(b) && pos + 1 < restView.size() ? 2 : 1;
    int charCells = b == '\t' ? 1 + rules_.TabFill(col + 1) : charBytes;
    if (charBytes == 2 && cells == 1) {
      // Only the lead byte's cell is covered: its trail byte becomes a space.
      filler = " ";
      pos += 2;
      cells = 0;
      break;
    }
    pos += charBytes;
    col += charCells;
    cells -= charCells;
  }
  std::string line = rest.substr(0, byteIndex);
  line.append(text);
  line += filler;
  line.append(restView.substr(pos));
  if (RowKind(lastRow) == raCrlf) line += "\r\n";
  int baseRow = EditBaseRow(row_);
  long long offset = RowColToOffset(baseRow, row_, 0) + byteIndex + Len(text);
  // Rows before the caret row in the same line are kept; the rest of the line is replaced.
  ReplaceAndPlace(row_, lastRow - row_ + 1, line, baseRow, offset);
}

void TEditor::TypeReturn() {
  if (readOnly_) return;
  PrepareEdit();
  if (selState_ == sstSelected) DeleteSelection();
  int rows = RowCount();
  if (row_ >= rows) {
    CaretHidden caretHidden(*this);
    UnderlineHidden underlineHidden(*this);
    store_->ReplaceRows(rows, 0, "\r\n");
    SetRow(RowCount());
    SetCol(0);
    return;
  }
  if (overWrite_) {
    CaretHidden hidden(*this);
    SetRow(row_ + 1);
    SetCol(0);
    return;
  }
  int indent = 0;
  if (caret_->AutoIndent()) {
    int firstRow = store_->FirstRowOfLine(row_);
    int d = LeadingBlankWidth(RowText(firstRow));
    if (d < 1) {
      if (caret_->PrevSpaceIndent() && row_ == firstRow && RowText(row_).empty()) {
        for (int r = row_ - 1; r >= 0; --r) {
          bool startsLine = r == 0 || RowKind(r - 1) != raWrapped;
          if (startsLine && !RowText(r).empty()) {
            indent = std::max(0, LeadingBlankWidth(RowText(r)));
            break;
          }
        }
      }
    } else {
      indent = (row_ == firstRow && col_ < d) ? col_ : d;
    }
  }
  std::string indentText;
  if (caret_->TabIndent()) {
    int tab = caret_->TabSpaceCount();
    indentText.assign(indent / tab, '\t');
    indentText.append(indent % tab, ' ');
  } else {
    indentText.assign(indent, ' ');
  }
  int byteIndex = std::min(Len(RowText(row_)), ColToByte(row_, col_));
  std::string lineBreak = "\r\n" + indentText;
  ReplaceInRow(row_, byteIndex, byteIndex, lineBreak, byteIndex + Len(lineBreak));
}

void TEditor::TypeTab(bool shift, bool ctrl) {
  if (shift || ctrl || readOnly_ || !wantTabs_) return;
  PrepareEdit();
  int tab = caret_->TabSpaceCount();
  int width = tab - col_ % tab;
  if (store_->WordWrap()) {
    int wrap = store_->WrapOption().WrapByte();
    width = std::min(width, wrap - col_ % wrap);
  }
  if (overWrite_ && selState_ != sstSelected) {
    SetCol(col_ + width);
    return;
  }
  if (caret_->SoftTab()) {
    InsertText(std::string(width, ' '));
  } else {
    InsertText("\t");
  }
}

void TEditor::TypeBackspace() {
  if (readOnly_) return;
  PrepareEdit();
  if (selState_ == sstSelected) {
    DeleteSelection();
    return;
  }
  int rows = RowCount();
  if (rows == 0) {
    SetCol(col_ - 1);
    return;
  }
  std::string_view text = RowText(row_);
  TRowCells attrs(rules_, text);
  int width = attrs.Width();
  if (col_ > 0) {
    int indent = LeadingBlankWidth(RowDisplayText(row_));
    bool plain = !caret_->BackSpaceUnIndent() || (indent != -1 && indent != width && indent != col_);
    if (!plain) {
      BackspaceUnindent(text);
      return;
    }
    if (col_ > width) {
      SetCol(col_ - 1);
      return;
    }
    int startByte;
    int length;
    int before = col_ - 1;
    if (attrs[before] == kColTrail) {
      startByte = ColToByte(row_, before - 1);
      length = 2;
    } else {
      startByte = ColToByte(row_, before);
      length = 1;
    }
    ReplaceInRow(row_, startByte, startByte + length, "", startByte);
    return;
  }
  if (row_ == 0) return;
  int previous = row_ - 1;
  std::string_view prevText = RowText(previous);
  std::string joined;
  if (RowKind(previous) == raWrapped) {
    // The previous row's last character goes (a tab with its fillers is one).
    int cut = Len(prevText);
    if (cut > 0) {
      int lastStart = 0;
      for (int i = 0; i < cut;) {
        lastStart = i;
        i += IsLeadByte(static_cast<unsigned char>(prevText[i])) && i + 1 < cut ? 2 : 1;
      }
      cut = lastStart;
    }
    joined.assign(prevText.substr(0, cut));
  } else {
    joined.assign(prevText);
  }
  int joinByte = Len(joined);
  int baseRow = EditBaseRow(previous);
  long long offset = RowColToOffset(baseRow, previous, 0) + joinByte;
  if (row_ >= rows) {
    ReplaceAndPlace(previous, 1, joined, baseRow, offset);
    return;
  }
  joined.append(text);
  if (RowKind(row_) == raCrlf) joined += "\r\n";
  ReplaceAndPlace(previous, 2, joined, baseRow, offset);
}

void TEditor::BackspaceUnindent(std::string_view text) {
  TRowCells attrs(rules_, text);
  int width = attrs.Width();
  int firstOfLine = store_->FirstRowOfLine(row_);
  // The nearest row above with a smaller indent gives the target (0 when none does).
  int target = 0;
  for (int r = row_ - 1; r >= 0; --r) {
    int value = std::max(0, LeadingBlankWidth(RowDisplayText(r)));
    bool ownLineContinuation = r > firstOfLine;
    if (value < col_ && (!ownLineContinuation || value != 0)) {
      target = value;
      break;
    }
  }
  if (target >= width) {
    SetCol(target);
    return;
  }
  // Bytes from the target column to the caret go.
  int startCol = target;
  std::string lead;
  if (attrs[startCol] == kColTrail) {
    --startCol;
    lead = " ";
  } else if (attrs[startCol] == kColTabFill) {
    int tabCol = startCol;
    while (tabCol > 0 && attrs[tabCol] == kColTabFill) --tabCol;
    lead.assign(target - tabCol, ' ');
    startCol = tabCol;
  }
  int startByte = ColToByte(row_, startCol);
  int endCol = std::min(col_, width);
  int endByte;
  std::string keep;
  if (endCol < width && attrs[endCol] == kColTabFill) {
    int tabCol = endCol;
    while (tabCol > 0 && attrs[tabCol] == kColTabFill) --tabCol;
    int tabEnd = endCol;
    while (tabEnd < width && attrs[tabEnd] == kColTabFill) ++tabEnd;
    keep.assign(tabEnd - endCol, ' ');
    endByte = ColToByte(row_, tabCol) + 1;
  } else {
    endByte = endCol >= width ? Len(text) : ColToByte(row_, endCol);
  }
  ReplaceInRow(row_, startByte, std::max(endByte, startByte), lead + keep, startByte + Len(lead));
}

void TEditor::TypeDelete() {
  if (readOnly_) return;
  PrepareEdit();
  if (selState_ == sstSelected) {
    DeleteSelection();
    return;
  }
  int rows = RowCount();
  if (row_ >= rows) return;
  std::string_view text = RowText(row_);
  int byteIndex = ColToByte(row_, col_);
  int baseRow = EditBaseRow(row_);
  long long caretOffset = RowColToOffset(baseRow, row_, 0);
  if (byteIndex < Len(text)) {
    int length = IsLeadByte(static_cast<unsigned char>(text[byteIndex])) && byteIndex + 1 < Len(text) ? 2 : 1;
    ReplaceInRow(row_, byteIndex, byteIndex + length, "", byteIndex);
    return;
  }
  if (RowKind(row_) == raEof) return;
  std::string padded(text);
  padded.append(byteIndex - Len(text), ' ');
  if (row_ + 1 >= rows) {
    ReplaceAndPlace(row_, 1, padded, baseRow, caretOffset + byteIndex);
    return;
  }
  padded.append(RowText(row_ + 1));
  if (RowKind(row_ + 1) == raCrlf) padded += "\r\n";
  ReplaceAndPlace(row_, 2, padded, baseRow, caretOffset + byteIndex);
}

void TEditor::DeleteRow(int row) {
  if (readOnly_ || row < 0 || row >= RowCount()) return;
  PrepareEdit(&row);
  CancelSelection();
  CaretHidden caretHidden(*this);
  UnderlineHidden underlineHidden(*this);
  store_->ReplaceRows(row, 1, "");
  if (row > 0 && RowKind(row - 1) == raEof) {
    SetRow(row - 1);
    SetCol(RowWidth(row - 1));
  } else {
    SetRow(row);
    SetCol(0);
  }
}

void TEditor::Undo() {
  if (readOnly_) return;
  CancelSelection();
  store_->Undo();
}

void TEditor::Redo() {
  if (readOnly_) return;
  CancelSelection();
  store_->Redo();
}

void TEditor::ClearUndo() {
  if (readOnly_) return;
  store_->UndoObj().Clear();
}

void TEditor::InsertReturnString() {
  ReplaceSelText(returnInsertStr_);
  KeyPress('\r');
}

}  // namespace kerv
