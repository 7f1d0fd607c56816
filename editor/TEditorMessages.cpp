// The document search in chunks of rows, and the answers to the edit-control
// messages through which the rest of the program reads and sets positions.

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "editor/TEditor.h"
#include "platform/Clipboard.h"
#include "search/SearchBuffer.h"
#include "search/SearchFlags.h"

namespace kerv {
namespace {

int Len(std::string_view text) { return static_cast<int>(text.size()); }

// Bytes a row adds to the document text after its own: CR LF after a raCrlf row.
int BreakBytes(const TEditor& editor, int row) { return editor.RowKind(row) == raCrlf ? 2 : 0; }

// ---------------------------------------------------------------- search

// A chunk holds a little over this many bytes of whole rows.
constexpr size_t kChunkBytes = 8191;
// How far a match may run past its start when returns or blanks inside it are
// skipped: such a match across a chunk boundary is found when its skipped
// bytes stay below this.
constexpr int kSkipReach = 4096;

struct TSearchHit {
  int row = 0;        // the chunk's first row
  int offset = 0;     // the hit's offset from that row's start
  int length = 0;
};

// The text of whole rows, gathered a chunk at a time. SearchBuffer reads up
// to the first NUL: a NUL inside the document is stood in for by a control
// byte the pattern does not hold, so the chunk is searched to its end and
// the NUL still matches nothing.
class TRowChunk {
 public:
  TRowChunk(const TEditor& editor, std::string_view pattern) : editor_(editor) {
    for (char c = 1; c < 0x20; ++c) {
      if (c != '\t' && c != '\n' && c != '\r' && pattern.find(c) == std::string_view::npos) {
        nulStandIn_ = c;
        break;
      }
    }
  }

  void Gather(int firstRow, int lastRow) {
    text_.clear();
    starts_.clear();
    firstRow_ = firstRow;
    for (int row = firstRow; row <= lastRow; ++row) Append(row);
  }
  void Append(int row) {
    starts_.push_back(static_cast<int>(text_.size()));
    size_t from = text_.size();
    text_.append(editor_.RowText(row));
    if (std::memchr(text_.data() + from, 0, text_.size() - from) != nullptr) {
      std::replace(text_.begin() + static_cast<std::ptrdiff_t>(from), text_.end(), '\0', nulStandIn_);
    }
    if (editor_.RowKind(row) == raCrlf) text_ += "\r\n";
  }
  const std::string& Text() const { return text_; }
  int Size() const { return static_cast<int>(text_.size()); }
  // Offset of a gathered row's start.
  int Start(int row) const { return starts_[row - firstRow_]; }

 private:
  const TEditor& editor_;
  std::string text_;
  std::vector<int> starts_;
  int firstRow_ = 0;
  char nulStandIn_ = 1;
};

// Chunks overlap so that every hit is judged with the text after it: a hit
// is taken from a chunk only when at least `reach` bytes follow its start
// there (or the chunk reaches the document's end); a later hit is left to
// the next chunk, which begins at or before it. A chunk whose first row
// continues a wrapped line carries that row before it, so that a whole-word
// test at its first byte sees the byte before.
class TChunkSearch {
 public:
  TChunkSearch(const TEditor& editor, std::string_view pattern, SearchFlags flags)
      : editor_(editor), pattern_(pattern.substr(0, pattern.find('\0'))), flags_(flags), chunk_(editor, pattern_) {
    std::string prepared = PrepareSearchPattern(pattern_, flags);
    patternBytes_ = static_cast<int>(prepared.size());
    reach_ = patternBytes_ + 2;
    if (flags & (SearchFlag::IncludeRet | SearchFlag::IncludeSpace)) reach_ += kSkipReach;
    PrepareFilter(prepared);
  }

  // From byte startByte of startRow (which may point into its line break) on.
  bool Forward(int startRow, int startByte, TSearchHit& hit) {
    int rows = editor_.RowCount();
    if (pattern_.empty()) return false;
    int first = startRow;
    int fromByte = startByte;
    while (first < rows) {
      int context = WrappedBefore(first) ? first - 1 : first;
      chunk_.Gather(context, first);
      int base = chunk_.Start(first);
      int last = first;
      // Enough once the chunk is past its size and some later row has the
      // reach after its start, so that the next chunk moves on.
      auto enough = [&] {
        return static_cast<size_t>(chunk_.Size() - base) > kChunkBytes && last > first &&
               chunk_.Size() - chunk_.Start(first + 1) >= reach_;
      };
      while (last + 1 < rows && !enough()) chunk_.Append(++last);
      bool atEnd = last + 1 >= rows;
      int next = last;
      while (next > first + 1 && chunk_.Size() - chunk_.Start(next) < reach_) --next;
      TSearchPosition position{base + fromByte, 0};
      if (MayHold(chunk_.Text()) && SearchBuffer(chunk_.Text(), position, pattern_, flags_ | SearchFlag::Down) &&
          (atEnd || position.start < chunk_.Start(next))) {
        hit = {context, position.start, position.length};
        return true;
      }
      if (atEnd) return false;
      first = next;
      fromByte = 0;
    }
    return false;
  }

  // Backwards from byte startByte of startRow (which may point into its line break).
  bool Backward(int startRow, int startByte, TSearchHit& hit) {
    int rows = editor_.RowCount();
    if (pattern_.empty() || rows == 0) return false;
    int upRow = startRow;
    int upByte = startByte;
    int previousFirst = INT_MAX;
    for (;;) {
      // Rows above the search start until the chunk is past its size, and
      // at least one row above the previous chunk's first.
      int first = upRow;
      long long before = upByte;
      while (first > 0 && (before <= static_cast<long long>(kChunkBytes) || first >= previousFirst)) {
        --first;
        before += Len(editor_.RowText(first)) + BreakBytes(editor_, first);
      }
      // Rows after it so that a match near the search start is seen whole.
      int last = upRow;
      long long after = Len(editor_.RowText(upRow)) + BreakBytes(editor_, upRow) - upByte;
      while (after < reach_ && last + 1 < rows) {
        ++last;
        after += Len(editor_.RowText(last)) + BreakBytes(editor_, last);
      }
      int context = WrappedBefore(first) ? first - 1 : first;
      chunk_.Gather(context, last);
      TSearchPosition position{chunk_.Start(upRow) + upByte, 0};
      SearchFlags flags = static_cast<SearchFlags>(flags_ & ~SearchFlag::Down);
      // A hit in the carried row before the first is left to the next chunk.
      if (MayHold(chunk_.Text()) && SearchBuffer(chunk_.Text(), position, pattern_, flags) &&
          position.start >= chunk_.Start(first)) {
        hit = {context, position.start, position.length};
        return true;
      }
      if (first == 0) return false;
      // The next chunk searches up from a little past this one's first row:
      // candidates from there down are new, those above were judged here.
      long long remaining = 2LL * patternBytes_ + 2;
      int row = first;
      while (row < startRow) {
        long long extent = Len(editor_.RowText(row)) + BreakBytes(editor_, row);
        if (remaining < extent) break;
        remaining -= extent;
        ++row;
      }
      upRow = row;
      upByte = static_cast<int>(row == startRow ? std::min<long long>(remaining, startByte) : remaining);
      previousFirst = first;
    }
  }

 private:
  bool WrappedBefore(int row) const { return row > 0 && editor_.RowKind(row - 1) == raWrapped; }

  // Most chunks of a search hold no hit: a chunk is handed to SearchBuffer
  // only when it holds the needle, a byte string every hit contains. Without
  // NoMatchZenkaku a pattern character matches text of its own width:
  // itself, or (ignoring case) a lower-case form. A run of characters that
  // are exact or single-byte letters is a needle (one character when
  // returns or blanks may lie between them); letters whose case is ignored
  // are compared with every byte a-z taken as A-Z, on both sides, which
  // keeps every hit. Full-width folding matches too many forms: no filter.
  void PrepareFilter(const std::string& prepared) {
    if (flags_ & SearchFlag::NoMatchZenkaku) return;
    bool matchCase = flags_ & SearchFlag::MatchCase;
    bool skips = flags_ & (SearchFlag::IncludeRet | SearchFlag::IncludeSpace);
    std::string run;
    bool runHasLetter = false;
    bool needleHasLetter = false;
    for (size_t i = 0; i < prepared.size();) {
      unsigned char b = static_cast<unsigned char>(prepared[i]);
      size_t width = IsLeadByte(b) ? 2 : 1;
      if (i + width > prepared.size()) break;
      bool usable = true;
      if (width == 2 && !matchCase) {
        usable = !HasLowerCaseForm(static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(prepared[i + 1])));
      }
      bool letter = width == 1 && ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'));
      std::string_view character(prepared.data() + i, width);
      i += width;
      if (!usable) {
        run.clear();
        runHasLetter = false;
      } else if (skips) {
        if (needle_.size() < width) {
          needle_.assign(character);
          needleHasLetter = letter;
        }
      } else {
        run.append(character);
        runHasLetter = runHasLetter || letter;
        if (run.size() > needle_.size()) {
          needle_ = run;
          needleHasLetter = runHasLetter;
        }
      }
    }
    // Only single-byte letters need the folded compare.
    foldCase_ = !matchCase && needleHasLetter;
    if (foldCase_) FoldCase(needle_.data(), needle_.size(), needle_.data());
  }
  // The upper-case letters of the case table, which lower-case text matches.
  static bool HasLowerCaseForm(uint16_t code) {
    return (code >= 0x8260 && code <= 0x8279) || (code >= 0x839F && code <= 0x83B6) ||
           (code >= 0x8440 && code <= 0x8460) || (code >= 0x8754 && code <= 0x875D);
  }
  static void FoldCase(const char* from, size_t size, char* to) {
    for (size_t i = 0; i < size; ++i) {
      char c = from[i];
      to[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
    }
  }
  bool MayHold(const std::string& text) {
    if (needle_.empty()) return true;
    const char* haystack = text.data();
    if (foldCase_) {
      folded_.resize(text.size());
      FoldCase(text.data(), text.size(), folded_.data());
      haystack = folded_.data();
    }
    return memmem(haystack, text.size(), needle_.data(), needle_.size()) != nullptr;
  }

  const TEditor& editor_;
  std::string_view pattern_;
  SearchFlags flags_;
  TRowChunk chunk_;
  int patternBytes_ = 0;
  int reach_ = 0;
  std::string needle_;
  bool foldCase_ = false;
  std::string folded_;  // the chunk with a-z as A-Z
};

}  // namespace

// ---------------------------------------------------------------- search

bool TEditor::SearchText(std::string_view pattern, int options) {
  int rows = RowCount();
  if (rows == 0 || pattern.empty()) return false;
  SearchFlags flags = static_cast<SearchFlags>(options);
  TChunkSearch search(*this, pattern, flags);
  TSearchHit hit;
  bool found;
  if (flags & SearchFlag::Down) {
    int row;
    int byteIndex;
    if (selState_ != sstSelected) {
      row = row_;
      byteIndex = CaretByte();
    } else if (selectionMode_ == smBox) {
      int startByte = 0;
      row = sel_.lastRow;
      BoxCoveredBytes(row, startByte, byteIndex);
    } else {
      row = sel_.endRow;
      byteIndex = sel_.endByte + 1;
    }
    if (row >= rows) return false;
    found = search.Forward(row, std::clamp(byteIndex, 0, Len(RowText(row))), hit);
  } else {
    int row;
    int byteIndex;
    if (selState_ != sstSelected) {
      row = row_;
      byteIndex = CaretByte();
      if (row >= rows) {
        // Beyond the last row: from the end of the text.
        row = rows - 1;
        byteIndex = Len(RowText(row)) + (RowKind(row) == raCrlf ? 2 : 0);
      }
    } else if (selectionMode_ == smBox) {
      int endByte = 0;
      row = std::min(sel_.firstRow, rows - 1);
      BoxCoveredBytes(row, byteIndex, endByte);
    } else {
      row = std::min(sel_.startRow, rows - 1);
      byteIndex = std::min(sel_.startByte, Len(RowText(row)));
    }
    found = search.Backward(row, byteIndex, hit);
  }
  if (!found) return false;
  CancelSelection();
  PlaceCaretByOffset(hit.row, hit.offset);
  SetSelLength(hit.length);
  ScrollCaret();
  return true;
}

// ---------------------------------------------------------------- edit-control messages

TEditor::TEditSelection TEditor::EmGetSel() const {
  long long start = SelStart();
  return {start, start + SelLength()};
}

void TEditor::EmSetSel(long long start, long long end) {
  if (start == 0 && end == -1) {
    SelectAll();
    return;
  }
  if (start < 0) {
    CancelSelection();
    return;
  }
  // Any other negative end reaches to the end of the text, not back before the start.
  if (end < 0) end = WmGetTextLength();
  SetSelStart(std::min(start, end));
  SetSelLength(start > end ? start - end : end - start);
}

void TEditor::EmSetModify(bool value) {
  if (!readOnly_) modified_ = value;
}

long long TEditor::EmLineIndex(int row) const {
  if (row == -1) row = row_;
  if (row < 0 || row >= RowCount()) return -1;
  return OffsetOfRow(row);
}

int TEditor::EmLineLength(long long offset) const {
  if (offset < 0) {
    if (selState_ == sstSelected) {
      // The bytes of the selection's rows that lie outside it.
      int startByte = std::min(sel_.startByte, Len(RowText(sel_.startRow)));
      return std::max(0, Len(RowText(sel_.endRow)) + startByte - sel_.endByte - 1);
    }
    return Len(RowText(row_));
  }
  return Len(RowText(store_->RowAtExtent(offset)));
}

int TEditor::EmLineFromChar(long long offset) const {
  if (offset < 0) return selState_ == sstSelected ? sel_.startRow : row_;
  return store_->RowAtExtent(offset);
}

int TEditor::EmGetLine(int row, char* buffer, int bufferBytes) const {
  if (buffer == nullptr || bufferBytes <= 0 || row < 0 || row >= RowCount()) return 0;
  std::string_view text = RowText(row);
  int count = std::min(bufferBytes, Len(text));
  std::memcpy(buffer, text.data(), static_cast<size_t>(count));
  return count;
}

bool TEditor::EmUndo() {
  if (!EmCanUndo()) return false;
  Undo();
  return true;
}

TEditor::TEditPoint TEditor::EmPosFromChar(long long offset) const {
  long long rowStart = 0;
  int row = store_->RowAtExtent(std::max(0LL, offset), &rowStart);
  std::string_view text = RowText(row);
  long long byteIndex = std::clamp<long long>(offset - rowStart, 0, Len(text));
  int col = TextWidth(text.substr(0, static_cast<size_t>(byteIndex)));
  return {ColToX(col), RowToY(row)};
}

TEditor::TEditCharPos TEditor::EmCharFromPos(int x, int y) const {
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return {};
  TRowCol cell = PosToRowCol(x, y, true);
  int rows = RowCount();
  int row = std::clamp(cell.row, 0, rows);
  if (row == rows && rows > 0 && RowKind(rows - 1) == raEof) row = rows - 1;
  std::string_view text = RowText(row);
  std::string attrs = ColumnAttributes(text);
  int col = cell.col;
  // The character a trail cell belongs to.
  if (col > 0 && col < static_cast<int>(attrs.size()) && attrs[col] == kColTrail) --col;
  int byteIndex = std::min(Len(text), ColToByte(row, col));
  return {row, OffsetOfRow(row, byteIndex)};
}

std::string TEditor::WmGetText() const { return store_->GetText(); }

bool TEditor::WmSetText(std::string_view text) {
  if (readOnly_) return false;
  CancelSelection();
  int rows = RowCount();
  if (rows == 0 && text.empty()) return true;
  ReplaceAndPlace(0, rows, text, 0, 0);
  return true;
}

void TEditor::WmCut() {
  if (readOnly_ || selState_ != sstSelected) {
    if (clipboard_) clipboard_->Clear();
    return;
  }
  CutToClipboard();
}

void TEditor::WmCopy() {
  if (selState_ != sstSelected) {
    if (clipboard_) clipboard_->Clear();
    return;
  }
  CopyToClipboard();
}

void TEditor::WmPaste() {
  if (!readOnly_) PasteFromClipboard();
}

void TEditor::WmClear() {
  if (!readOnly_) DeleteSelection();
}

}  // namespace kerv
