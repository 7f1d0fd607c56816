#pragma once
// Character offsets in an editor's text, for those who count characters
// rather than bytes (assistive technology): a double-byte character is one
// character, and so is every line break; a wrapped row's end counts nothing.
// Offsets of rows are kept at checkpoints, computed lazily and dropped from
// the first changed row on, so a query near the caret of a large document
// counts only the rows since the last checkpoint.

#include <string_view>
#include <vector>

namespace kerv {

class TEditor;

struct TCharPosition {
  int row = 0;
  int byteIndex = 0;
};

class TEditorCharIndex {
 public:
  explicit TEditorCharIndex(const TEditor& editor) : editor_(editor) {}

  // Characters of one row's text (not its line break).
  static int CharsIn(std::string_view text);
  // The character offset of byteIndex in row (a byte inside a character counts the character).
  long long OffsetOf(int row, int byteIndex);
  long long OffsetOfRow(int row) { return OffsetOf(row, 0); }
  // The row and byte of a character offset (clamped to the text).
  TCharPosition PositionOf(long long offset);
  // Characters of the whole text, line breaks included.
  long long Count();
  // Rows from row on changed: what was counted for them is counted again.
  void Invalidate(int fromRow);

 private:
  static constexpr int kStride = 1024;  // rows between checkpoints
  // Characters of a row including its line break.
  int RowChars(int row) const;
  // Makes checkpoints_ cover row; returns the checkpoint at or before row.
  int EnsureCheckpoint(int row);

  const TEditor& editor_;
  // checkpoints_[k]: characters before row k * kStride.
  std::vector<long long> checkpoints_{0};
};

}  // namespace kerv
