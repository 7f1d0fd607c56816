// The editor's clipboard, box paste, the primary selection, and the drag and
// drop of text.

#include <algorithm>
#include <string>
#include <vector>

#include "editor/TEditor.h"
#include "editor/TEditorStringList.h"
#include "platform/Clipboard.h"

namespace kerv {
namespace {

int Len(std::string_view text) { return static_cast<int>(text.size()); }

std::string_view RowBreak(TRowAttribute kind) { return kind == raCrlf ? std::string_view("\r\n") : std::string_view(); }

size_t Reported(TEditor& editor, size_t replaced) {
  if (replaced > 0 && editor.OnCharsReplaced) editor.OnCharsReplaced(editor, replaced);
  return replaced;
}

// A drop cell as the caret would take it: a row a caret may stand on, the
// column off a trail byte and (unless InTab) back over tab fillers.
TRowCol DropCell(const TEditor& editor, int row, int col) {
  int rows = editor.RowCount();
  row = std::clamp(row, 0, rows);
  if (row == rows && rows > 0 && editor.RowKind(rows - 1) == raEof) row = rows - 1;
  col = std::clamp(col, 0, kMaxCaretCol);
  std::string attrs = editor.ColumnAttributes(editor.RowText(row));
  int width = Len(attrs);
  if (col > 0 && col < width && attrs[col] == kColTrail) --col;
  if (!editor.Caret().InTab()) {
    while (col > 0 && col < width && attrs[col] == kColTabFill) --col;
  }
  return {row, col};
}

// The byte at which text goes in at col of a row text: right off a trail
// byte and over tab fillers; -1 when col lies beyond the row's cells.
int InsertByteOfCol(const TEditor& editor, std::string_view text, int col) {
  std::string attrs = editor.ColumnAttributes(text);
  int width = Len(attrs);
  if (col >= width) return -1;
  if (attrs[col] == kColTrail) ++col;
  while (col < width && attrs[col] == kColTabFill) ++col;
  if (col >= width) return Len(text);
  int fills = static_cast<int>(std::count(attrs.begin(), attrs.begin() + col, kColTabFill));
  return col - fills;
}

}  // namespace

// ---------------------------------------------------------------- clipboard

void TEditor::CopyToClipboard() {
  if (clipboard_ == nullptr || selState_ != sstSelected) return;
  clipboard_->SetText(SelText(), selectionMode_ == smBox);
}

void TEditor::CutToClipboard() {
  if (clipboard_ == nullptr || readOnly_ || selState_ != sstSelected) return;
  CopyToClipboard();
  DeleteSelection();
}

size_t TEditor::PasteFromClipboard() {
  if (clipboard_ == nullptr || readOnly_ || !clipboard_->HasText()) return 0;
  // The clipboard hands over CR LF line breaks already.
  TClipboardText fetched = clipboard_->Text();
  if (fetched.box) {
    PasteBoxText(fetched.text);
  } else {
    ReplaceSelText(fetched.text);
  }
  return Reported(*this, fetched.replaced);
}

void TEditor::UpdatePrimarySelection() {
  if (clipboard_ == nullptr || selState_ != sstSelected) return;
  clipboard_->SetPrimaryText(SelText());
}

size_t TEditor::PastePrimaryAt(int row, int col) {
  if (clipboard_ == nullptr || readOnly_) return 0;
  PrepareEdit(&row, &col);
  TClipboardText fetched = clipboard_->PrimaryText();
  if (fetched.text.empty()) return 0;
  // The primary selection usually is our own selection: it goes in at the
  // click and does not replace what is selected.
  TRowCol cell = DropCell(*this, row, col);
  CancelSelection();
  MoveCaretTo(cell.row, cell.col);
  ReplaceSelText(fetched.text);
  return Reported(*this, fetched.replaced);
}

// ---------------------------------------------------------------- box paste

void TEditor::PasteBoxText(std::string_view text) {
  if (readOnly_) return;
  PrepareEdit();
  std::vector<std::string_view> lines;
  ForEachLine(text, [&lines](std::string_view line) { lines.push_back(line); });
  if (lines.empty()) {
    if (selState_ == sstSelected) DeleteSelection();
    return;
  }
  int rows = RowCount();
  bool selected = selState_ == sstSelected;
  bool box = selected && selectionMode_ == smBox;
  // A box selection is replaced; a normal one only says where the box goes.
  int insertRow = selected ? (box ? sel_.firstRow : sel_.startRow) : row_;
  int insertCol = selected ? sel_.leftCol : col_;
  insertRow = std::clamp(insertRow, 0, rows);
  int lineCount = static_cast<int>(lines.size());
  int lastPasted = insertRow + lineCount - 1;
  int lastExisting = std::min(rows - 1, std::max(lastPasted, box ? sel_.lastRow : insertRow));

  std::string replacement;
  for (int row = insertRow; row <= lastExisting; ++row) {
    std::string_view rowText = RowText(row);
    std::string kept;
    if (box && row >= sel_.firstRow && row <= sel_.lastRow) {
      // The box's own text goes first, in the same replacement.
      int startByte = 0;
      int endByte = 0;
      BoxCoveredBytes(row, startByte, endByte);
      kept.assign(rowText.substr(0, startByte));
      kept.append(rowText.substr(std::min(endByte, Len(rowText))));
    } else {
      kept.assign(rowText);
    }
    int index = row - insertRow;
    if (index < lineCount) {
      int byteIndex = InsertByteOfCol(*this, kept, insertCol);
      if (byteIndex < 0) {
        kept.append(insertCol - TextWidth(kept), ' ');
        kept.append(lines[index]);
      } else {
        kept.insert(static_cast<size_t>(byteIndex), lines[index]);
      }
    }
    replacement += kept;
    TRowAttribute kind = RowKind(row);
    // The last row gets a line break when pasted rows follow it.
    if (kind == raEof && lastPasted > row) kind = raCrlf;
    replacement += RowBreak(kind);
  }
  for (int row = std::max(insertRow, rows); row <= lastPasted; ++row) {
    replacement.append(insertCol, ' ');
    replacement.append(lines[row - insertRow]);
    if (row < lastPasted) replacement += "\r\n";
  }
  int count = insertRow < rows ? lastExisting - insertRow + 1 : 0;

  CancelSelection();
  CaretHidden caretHidden(*this);
  UnderlineHidden underlineHidden(*this);
  store_->ReplaceRows(insertRow, count, replacement);
  SetRow(lastPasted);
  SetCol(insertCol + TextWidth(lines.back()));
}

// ---------------------------------------------------------------- drag and drop

bool TEditor::CanSelMove() const {
  return !readOnly_ && selState_ == sstSelected && selectionMode_ == smNormal && caret_->SelMove();
}

void TEditor::MoveSelectionTo(int row, int col) {
  if (selState_ != sstSelected) return;
  PrepareEdit(&row, &col);
  TRowCol drop = DropCell(*this, row, col);
  if (!CanSelMove() || InSelection(drop.row, drop.col)) {
    CancelSelection();
    return;
  }
  int rows = RowCount();
  TEditorSelection s = sel_;
  int endRow = s.endRow;
  int startByte = std::min(s.startByte, Len(RowText(s.startRow)));
  int endExclusive;
  if (endRow >= rows) {
    // The selection runs through the final line break.
    endRow = rows - 1;
    endExclusive = Len(RowText(endRow)) + Len(RowBreak(RowKind(endRow)));
  } else {
    endExclusive = std::min(s.endByte + 1, Len(RowText(endRow)));
  }
  // One replacement covers the drop row and the selected rows.
  int first = std::min(drop.row, s.startRow);
  int last = std::max(std::min(drop.row, rows - 1), endRow);
  std::string joined;
  long long dropOffset = -1;
  long long startOffset = 0;
  long long endOffset = 0;
  int pad = 0;
  for (int r = first; r <= last; ++r) {
    std::string_view text = RowText(r);
    long long rowStart = static_cast<long long>(joined.size());
    if (r == s.startRow) startOffset = rowStart + startByte;
    if (r == endRow) endOffset = rowStart + endExclusive;
    if (r == drop.row) {
      int dropByte = ColToByte(r, drop.col);
      dropOffset = rowStart + std::min(dropByte, Len(text));
      pad = std::max(0, drop.col - RowWidth(r));
    }
    joined.append(text);
    joined += RowBreak(RowKind(r));
  }
  if (dropOffset < 0) {
    // The empty line after a final line break.
    dropOffset = static_cast<long long>(joined.size());
    pad = drop.col;
  }
  if (dropOffset > startOffset && dropOffset < endOffset) {
    CancelSelection();
    return;
  }
  std::string moved = joined.substr(startOffset, endOffset - startOffset);
  std::string result;
  result.reserve(joined.size() + pad);
  long long caretOffset;
  if (dropOffset <= startOffset) {
    result.append(joined, 0, dropOffset);
    result.append(pad, ' ');
    result += moved;
    result.append(joined, dropOffset, startOffset - dropOffset);
    result.append(joined, endOffset);
    caretOffset = dropOffset + pad + static_cast<long long>(moved.size());
  } else {
    result.append(joined, 0, startOffset);
    result.append(joined, endOffset, dropOffset - endOffset);
    result.append(pad, ' ');
    result += moved;
    result.append(joined, dropOffset);
    caretOffset = dropOffset + pad;
  }
  CancelSelection();
  int baseRow = EditBaseRow(first);
  long long base = RowColToOffset(baseRow, first, 0);
  if (result == joined) {
    // Dropped at its own edge: nothing moves.
    PlaceCaretByOffset(baseRow, base + caretOffset);
    return;
  }
  ReplaceAndPlace(first, last - first + 1, result, baseRow, base + caretOffset);
}

void TEditor::CopySelectionTo(int row, int col) {
  if (selState_ != sstSelected) return;
  PrepareEdit(&row, &col);
  TRowCol drop = DropCell(*this, row, col);
  if (InSelection(drop.row, drop.col)) {
    CancelSelection();
    return;
  }
  std::string text = SelText();
  CancelSelection();
  MoveCaretTo(drop.row, drop.col);
  ReplaceSelText(text);
}

void TEditor::DropTextAt(int row, int col, std::string_view text, size_t replaced) {
  if (readOnly_) return;
  PrepareEdit(&row, &col);
  std::string normalized = CrLfLineBreaks(text);
  if (normalized.empty()) return;
  TRowCol drop = DropCell(*this, row, col);
  CancelSelection();
  MoveCaretTo(drop.row, drop.col);
  ReplaceSelText(normalized);
  Reported(*this, replaced);
}

}  // namespace kerv
