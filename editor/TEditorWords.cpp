// Word-wise caret moves and the token under the caret or a point.

#include <algorithm>
#include <string>
#include <vector>

#include "editor/TEditor.h"

namespace kerv {
namespace {

// The columns where a caret move by words may stop in a row: the starts of
// its tokens other than symbols, found by the parser without editor options
// over the row's display text (whose bytes are its columns).
std::vector<int> WordTargets(const TEditor& editor, int row) {
  std::string display = editor.RowDisplayText(row);
  std::vector<int> targets;
  std::unique_ptr<TEditorParser> parser = editor.ParserFactory()(display.data(), display.size(), 0, nullptr);
  for (; parser->Token() != tkEnd; parser->NextToken()) {
    if (parser->Token() != tkSymbol) targets.push_back(parser->TokenPos());
  }
  return targets;
}

}  // namespace

void TEditor::MoveWordRight() {
  int rows = RowCount();
  int row = row_;
  int col = col_;
  if (col >= RowWidth(row) && row < rows - 1) {
    ++row;
    col = -1;
  }
  std::vector<int> targets = WordTargets(*this, row);
  auto next = std::upper_bound(targets.begin(), targets.end(), col);
  int targetRow = row;
  int targetCol;
  if (next != targets.end()) {
    targetCol = *next;
  } else if (RowKind(row) == raWrapped && row + 1 < rows) {
    targetRow = row + 1;
    targetCol = 0;
  } else {
    targetCol = RowWidth(row);
  }
  // Targets are token starts and row ends, never inside a character.
  MoveCaretTo(targetRow, targetCol);
}

void TEditor::MoveWordLeft() {
  int row = row_;
  int col = col_;
  if (col == 0) {
    if (row == 0) return;
    --row;
    col = RowWidth(row);
    // The end of the previous line is a stop of its own; a wrapped row is
    // the same line, so its words are searched.
    if (RowKind(row) != raWrapped) {
      MoveCaretTo(row, col);
      return;
    }
  }
  std::vector<int> targets = WordTargets(*this, row);
  auto next = std::lower_bound(targets.begin(), targets.end(), col);
  if (next != targets.begin()) {
    MoveCaretTo(row, *(next - 1));
  } else if (row == 0) {
    MoveCaretTo(0, 0);
  } else {
    MoveCaretTo(row - 1, RowWidth(row - 1));
  }
}

bool TEditor::WordAtPos(int row, int col, bool viewOptions, TEditorWordAt& word) {
  if (row < 0 || row >= RowCount() || col < 0 || col >= RowWidth(row)) return false;
  int byteIndex = ColToByte(row, col);
  if (byteIndex >= static_cast<int>(RowText(row).size())) return false;
  // The whole line is parsed from its start: a token (a comment, a string,
  // a word cut by the wrap) may begin rows before this one.
  int firstRow = store_->FirstRowOfLine(row);
  int lastRow = store_->LastRowOfLine(row);
  std::string line;
  std::vector<int> rowStarts;
  int position = 0;
  for (int r = firstRow; r <= lastRow; ++r) {
    rowStarts.push_back(static_cast<int>(line.size()));
    if (r == row) position = static_cast<int>(line.size()) + byteIndex;
    line.append(RowText(r));
  }
  int startState = 0;
  const TEditorViewInfo* view = nullptr;
  if (viewOptions) {
    view = view_.get();
    if (store_->BracketState(firstRow) == kBracketNotComputed) store_->UpdateBrackets(firstRow, false);
    int state = store_->BracketState(firstRow);
    startState = state == kBracketNotComputed ? kBracketNone : state;
  }
  std::unique_ptr<TEditorParser> parser = ParserClass()(line.data(), line.size(), startState, view);
  for (; parser->Token() != tkEnd; parser->NextToken()) {
    int start = parser->TokenPos();
    int length = parser->TokenLength();
    if (start > position) return false;  // a blank the parser skipped
    if (position >= start + length) continue;
    // The row a token starts in: a start on a wrap boundary is the next row's start.
    auto at = std::upper_bound(rowStarts.begin(), rowStarts.end(), start) - 1;
    word.row = firstRow + static_cast<int>(at - rowStarts.begin());
    word.byteIndex = start - *at;
    word.length = length;
    word.kind = parser->Token();
    word.text = parser->TokenString();
    return true;
  }
  return false;
}

void TEditor::SelectWordAtPos(int row, int col, bool viewOptions) {
  TEditorWordAt word;
  if (!WordAtPos(row, col, viewOptions, word)) return;
  CancelSelection();
  MoveCaretTo(word.row, ByteToCol(word.row, word.byteIndex));
  SetSelLength(word.length);
}

namespace {

// The cell under a client point by the nearest-cell rule; false left of and
// above the text area.
bool CellAtPoint(const TEditor& editor, int x, int y, TRowCol& cell) {
  const TEditorMetrics& metrics = editor.Metrics();
  if (x < metrics.textLeft || y < metrics.textTop) return false;
  cell = editor.PosToRowCol(x, y, true);
  return true;
}

}  // namespace

void TEditor::SelectWordAtPoint(int x, int y) {
  TRowCol cell;
  if (CellAtPoint(*this, x, y, cell)) SelectWordAtPos(cell.row, cell.col, true);
}

std::string TEditor::WordAtCaret() {
  TEditorWordAt word;
  return WordAtPos(row_, col_, true, word) ? word.text : std::string();
}

std::string TEditor::WordAtPoint(int x, int y) {
  TRowCol cell;
  TEditorWordAt word;
  if (!CellAtPoint(*this, x, y, cell) || !WordAtPos(cell.row, cell.col, true, word)) return std::string();
  return word.text;
}

TTokenKind TEditor::WordKindAtCaret() {
  TEditorWordAt word;
  return WordAtPos(row_, col_, true, word) ? word.kind : tkEnd;
}

TTokenKind TEditor::WordKindAtPoint(int x, int y) {
  TRowCol cell;
  TEditorWordAt word;
  if (!CellAtPoint(*this, x, y, cell) || !WordAtPos(cell.row, cell.col, true, word)) return tkEnd;
  return word.kind;
}

}  // namespace kerv
