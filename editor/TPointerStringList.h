#pragma once
// A list of byte strings with one 32-bit value each, always in step. It is
// the storage of every row list: the document's rows, the rows a wrap
// produces and the row snapshots of undo.
//
// Rows live in blocks of about a thousand, with a Fenwick index over the
// blocks, so that an edit anywhere costs time independent of the document's
// size and the n-th line end is found without walking from row 0. The bytes
// of a loaded document sit in one shared arena; a row that is replaced later
// gets its own allocation.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LargeBuffer.h"

namespace kerv {

// Raised for an index outside the list; the list is unchanged.
class EListError : public std::out_of_range {
 public:
  explicit EListError(int index);
};

// Row kinds (bits 0-3 of a row's value).
enum TRowAttribute : uint8_t {
  raCrlf = 0,     // a line ends here; CR LF follows when the text is assembled
  raWrapped = 1,  // the line goes on in the next row with no byte between
  raEof = 2,      // the last row; its line has no line break
};
// The kind a row list reports when there was no row (undo records, range texts).
inline constexpr uint8_t raNone = 3;

// The per-row value packs the row kind into bits 0-3 and the bracket state
// plus 2 into bits 4-11. Eight bits hold a state for every bracket pair a view
// can have (up to 50) and leave room; the kind keeps its place.
namespace rowrecord {
inline constexpr uint32_t kKindMask = 0x0F;
inline constexpr int kBracketShift = 4;
inline constexpr uint32_t kBracketMask = 0xFF0;
inline constexpr int kBracketMin = -2;  // not computed
inline constexpr int kBracketMax = 253;

constexpr TRowAttribute Kind(uint32_t value) { return static_cast<TRowAttribute>(value & kKindMask); }
constexpr int Bracket(uint32_t value) { return static_cast<int>((value & kBracketMask) >> kBracketShift) - 2; }
constexpr uint32_t WithKind(uint32_t value, TRowAttribute kind) { return (value & ~kKindMask) | (kind & kKindMask); }
constexpr uint32_t WithBracket(uint32_t value, int state) {
  if (state < kBracketMin) state = kBracketMin;
  if (state > kBracketMax) state = kBracketMax;
  return (value & ~kBracketMask) | (static_cast<uint32_t>(state + 2) << kBracketShift);
}
}  // namespace rowrecord

// One piece of a row being split: its bytes and its value (kind and bracket state).
struct TRowPiece {
  uint32_t length = 0;
  uint32_t value = 0;
};

class TPointerStringList {
 public:
  TPointerStringList();
  virtual ~TPointerStringList();
  TPointerStringList(const TPointerStringList&) = delete;
  TPointerStringList& operator=(const TPointerStringList&) = delete;

  int Count() const { return count_; }
  bool Empty() const { return count_ == 0; }

  // The bytes of item index; valid until the item is changed or removed.
  std::string_view Get(int index) const;
  std::string GetString(int index) const { return std::string(Get(index)); }
  void Put(int index, std::string_view text);  // the value is kept
  uint32_t GetValue(int index) const;
  void SetValue(int index, uint32_t value);

  int Add(std::string_view text);                 // value 0; returns the index
  void Insert(int index, std::string_view text);  // value 0
  void Delete(int index);
  void DeleteRange(int index, int count);
  // Inserts copies of count items of source (texts and values) before index.
  void InsertRange(int index, const TPointerStringList& source, int sourceIndex, int count);
  // Moves every item of source (texts and values) before index, leaving source empty.
  void MoveIn(int index, TPointerStringList& source);
  virtual void Clear();
  // Grows with empty items of value 0, or drops items from the end.
  void SetCount(int count);
  void Exchange(TPointerStringList& other) noexcept;
  // Splits rows first..first+count-1 in place. For each row, split(text,
  // value, pieces) fills pieces whose lengths add up to the text's; with
  // fewer than two the row stays as it is. The pieces keep the row's bytes
  // where they are. Returns the rows added.
  using TRowSplitter = std::function<void(std::string_view text, uint32_t value, std::vector<TRowPiece>& pieces)>;
  int SplitRows(int first, int count, const TRowSplitter& split);
  // Joins every run of raWrapped rows with the row that ends it into one row
  // with the last row's kind and the first row's bracket state. Rows whose
  // bytes lie side by side in an arena (a split row's pieces) become one row
  // over the same bytes; others are copied into one (or, out of memory, stay
  // apart). A run that ends the list ends in raEof. Returns the rows removed.
  int JoinWrappedRows();

  // Loading: reserves one shared block of totalBytes for the texts that
  // FillItem then stores item by item, in any order, into existing items.
  void BeginFill(size_t totalBytes);
  void FillItem(int index, std::string_view text);
  // Appends an item with text stored in the fill block, and value.
  void AppendFill(std::string_view text, uint32_t value);
  // Loading without a copy: the block is text itself, kept for as long as a
  // row uses it; AppendAdopted adds an item whose text lies inside it.
  std::string_view BeginAdopt(std::string&& text);
  void AppendAdopted(std::string_view text, uint32_t value);
  // Sets the kind of the last row without rebuilding the index now (for lists being filled).
  void SetLastRowAttribute(TRowAttribute kind);
  void EndFill();

  // Calls onRow(text, value) for rows first..first+count-1, block by block.
  template <typename OnRow>
  void ForEachRow(int first, int count, OnRow onRow) const;
  // The same while onRow returns true.
  template <typename OnRow>
  void ForEachRowWhile(int first, int count, OnRow onRow) const;
  // The same with each row's value given as uint32_t& to write its bracket
  // state: the kind bits are indexed and must not change this way.
  template <typename OnRow>
  void ForEachRowValueWhile(int first, int count, OnRow onRow);

  // Row kinds and bracket states (see rowrecord). A row outside the list reads as raEof.
  TRowAttribute RowAttribute(int row) const;
  void SetRowAttribute(int row, TRowAttribute kind);
  int RowBracket(int row) const;
  void SetRowBracket(int row, int state);

  // Rows that end a line by their kind (every row that is not raWrapped).
  int LineEndCount() const;
  // Such rows before row (0..Count()).
  int LineEndsBefore(int row) const;
  // The row of the n-th (0-based) such row, or Count() when there are not that many.
  int NthLineEnd(int n) const;

  // Total bytes of all items, for assembly.
  size_t TotalBytes() const;

  // Extents: a row's bytes in the assembled text, CR LF included after a
  // raCrlf row. ExtentBefore is where row starts in that text (Count() for
  // its end), in time independent of the list's length.
  long long ExtentBefore(int row) const;
  long long TotalExtent() const;
  // The row holding byte offset of the assembled text, a line break
  // counting as the row's own. Past the end: the last row when it is raEof
  // (the caret may stand after its last byte), else Count().
  // rowStart (when given) receives the row's start.
  int RowAtExtent(long long offset, long long* rowStart = nullptr) const;

 private:
  struct Row {
    const char* data = nullptr;
    uint32_t length = 0;  // bit 31: data is a heap block of our own
    uint32_t value = 0;
  };
  struct Block {
    std::vector<Row> rows;
    int lineEnds = 0;
    long long extent = 0;
  };
  struct Arena {
    LargeBuffer bytes;
    std::string adopted;  // the block when it was taken over from a loaded text
    const char* base = nullptr;
    size_t size = 0;
    size_t used = 0;
    size_t live = 0;  // rows whose text lies here
  };
  static constexpr uint32_t kOwned = 0x80000000u;
  static constexpr int kBlockRows = 1024;

  static constexpr long long kLineBreakBytes = 2;
  static bool IsLineEnd(uint32_t value) { return rowrecord::Kind(value) != raWrapped; }
  static long long ExtentOf(const Row& row) {
    return (row.length & ~kOwned) + (rowrecord::Kind(row.value) == raCrlf ? kLineBreakBytes : 0);
  }
  void CheckIndex(int index) const;
  Row MakeRow(std::string_view text);
  // A row for text in the block being filled, or of its own when the block is full.
  Row FillRow(std::string_view text);
  // Appends row (its value set) to the last block, leaving the index to be rebuilt.
  void AppendRow(const Row& row);
  Row CopyRow(const Row& row);
  void ReleaseRow(Row& row);
  void ReleaseArenaText(const char* data);
  void AddArena(std::unique_ptr<Arena> arena);
  Arena* ArenaOf(const char* data);
  static bool ArenaBefore(const std::unique_ptr<Arena>& arena, const char* data);
  static std::string_view TextOf(const Row& row) { return {row.data, row.length & ~kOwned}; }

  // Locating rows: block and offset of index (index < Count()).
  void Locate(int index, int& block, int& offset) const;
  Row& At(int index);
  const Row& At(int index) const;
  // Block index and first row of the block that would take an insert at index.
  void LocateInsert(int index, int& block, int& offset) const;
  void RowsChangedInBlock(int block, int delta, int lineEndDelta, long long extentDelta = 0);
  void InsertRows(int index, std::vector<Row>& rows);
  void Rebuild();
  // Appends while filling leave the index behind; it is rebuilt before use.
  void EnsureIndex() const {
    if (indexStale_) const_cast<TPointerStringList*>(this)->Rebuild();
  }
  void SplitIfLarge(int block);
  void MergeIfSmall(int block);

  std::vector<Block> blocks_;
  std::vector<int> rowTree_;      // Fenwick tree of rows per block (1-based)
  std::vector<int> lineEndTree_;  // Fenwick tree of line ends per block
  std::vector<long long> extentTree_;  // Fenwick tree of extents per block
  std::vector<std::unique_ptr<Arena>> arenas_;
  int count_ = 0;
  int lineEnds_ = 0;
  Arena* filling_ = nullptr;
  bool indexStale_ = false;
  // Last block found, for sequential walks; -1 when stale.
  mutable int cacheBlock_ = -1;
  mutable int cacheStart_ = 0;
};

template <typename OnRow>
void TPointerStringList::ForEachRow(int first, int count, OnRow onRow) const {
  ForEachRowWhile(first, count, [&onRow](std::string_view text, uint32_t value) {
    onRow(text, value);
    return true;
  });
}

template <typename OnRow>
void TPointerStringList::ForEachRowWhile(int first, int count, OnRow onRow) const {
  if (count <= 0) return;
  int block, offset;
  Locate(first, block, offset);
  while (count > 0 && block < static_cast<int>(blocks_.size())) {
    const std::vector<Row>& rows = blocks_[static_cast<size_t>(block)].rows;
    for (size_t i = static_cast<size_t>(offset); i < rows.size() && count > 0; ++i, --count) {
      if (!onRow(TextOf(rows[i]), rows[i].value)) return;
    }
    ++block;
    offset = 0;
  }
}

template <typename OnRow>
void TPointerStringList::ForEachRowValueWhile(int first, int count, OnRow onRow) {
  if (count <= 0) return;
  int block, offset;
  Locate(first, block, offset);
  while (count > 0 && block < static_cast<int>(blocks_.size())) {
    std::vector<Row>& rows = blocks_[static_cast<size_t>(block)].rows;
    for (size_t i = static_cast<size_t>(offset); i < rows.size() && count > 0; ++i, --count) {
      if (!onRow(TextOf(rows[i]), rows[i].value)) return;
    }
    ++block;
    offset = 0;
  }
}

}  // namespace kerv
