#include "editor/TEditorCharIndex.h"

#include <algorithm>

#include "editor/TEditor.h"
#include "editor/TSjisCharCounter.h"

namespace kerv {

int TEditorCharIndex::CharsIn(std::string_view text) {
  TSjisCharCounter counter;
  counter.Add(text);
  return static_cast<int>(counter.Characters());
}

int TEditorCharIndex::RowChars(int row) const {
  return CharsIn(editor_.RowText(row)) + (editor_.RowKind(row) == raCrlf ? 1 : 0);
}

int TEditorCharIndex::EnsureCheckpoint(int row) {
  const int rows = editor_.RowCount();
  row = std::clamp(row, 0, rows);
  const int wanted = row / kStride;
  while (static_cast<int>(checkpoints_.size()) <= wanted) {
    const int first = (static_cast<int>(checkpoints_.size()) - 1) * kStride;
    long long chars = checkpoints_.back();
    for (int r = first; r < std::min(first + kStride, rows); ++r) chars += RowChars(r);
    checkpoints_.push_back(chars);
  }
  return wanted;
}

void TEditorCharIndex::Invalidate(int fromRow) {
  // Checkpoint k stays right while every row before k * kStride is unchanged.
  const size_t keep = static_cast<size_t>(std::max(0, fromRow) / kStride) + 1;
  if (checkpoints_.size() > keep) checkpoints_.resize(keep);
}

long long TEditorCharIndex::OffsetOf(int row, int byteIndex) {
  const int rows = editor_.RowCount();
  row = std::clamp(row, 0, rows);
  const int k = EnsureCheckpoint(row);
  long long chars = checkpoints_[static_cast<size_t>(k)];
  for (int r = k * kStride; r < row; ++r) chars += RowChars(r);
  if (row < rows) {
    std::string_view text = editor_.RowText(row);
    chars += CharsIn(text.substr(0, std::clamp(byteIndex, 0, static_cast<int>(text.size()))));
  }
  return chars;
}

TCharPosition TEditorCharIndex::PositionOf(long long offset) {
  const int rows = editor_.RowCount();
  if (rows == 0 || offset <= 0) return {0, 0};
  // Checkpoints as far as past the offset (or the end), the last one at or
  // before it, then row by row.
  while (checkpoints_.back() <= offset && static_cast<int>(checkpoints_.size()) * kStride <= rows) {
    EnsureCheckpoint(static_cast<int>(checkpoints_.size()) * kStride);
  }
  auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), offset);
  int k = static_cast<int>(after - checkpoints_.begin()) - 1;
  long long chars = checkpoints_[static_cast<size_t>(k)];
  for (int row = k * kStride; row < rows; ++row) {
    std::string_view text = editor_.RowText(row);
    const int own = CharsIn(text);
    const bool lineEnd = editor_.RowKind(row) == raCrlf;
    // An offset at a row's end belongs to that row, unless the row is wrapped
    // and the next one starts at the same place.
    if (offset < chars + own || (offset == chars + own && (lineEnd || row == rows - 1 || editor_.RowKind(row) == raEof))) {
      int byteIndex = 0;
      for (long long c = chars; c < offset && byteIndex < static_cast<int>(text.size()); ++c) {
        byteIndex += IsLeadByte(static_cast<unsigned char>(text[byteIndex])) && byteIndex + 1 < static_cast<int>(text.size()) ? 2 : 1;
      }
      return {row, byteIndex};
    }
    chars += own + (lineEnd ? 1 : 0);
  }
  // Past the end: the empty line after a final line break, or the last row's end.
  if (editor_.RowKind(rows - 1) == raCrlf) return {rows, 0};
  return {rows - 1, static_cast<int>(editor_.RowText(rows - 1).size())};
}

long long TEditorCharIndex::Count() {
  const int rows = editor_.RowCount();
  return OffsetOf(rows, 0);
}

}  // namespace kerv
