#include "editor/TPointerStringList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

namespace kerv {
namespace {

template <typename T>
void FenwickAdd(std::vector<T>& tree, int block, T delta) {
  for (size_t i = static_cast<size_t>(block) + 1; i < tree.size(); i += i & (~i + 1)) tree[i] += delta;
}

template <typename T>
T FenwickPrefix(const std::vector<T>& tree, int blocks) {
  T sum = 0;
  for (size_t i = static_cast<size_t>(blocks); i > 0; i -= i & (~i + 1)) sum += tree[i];
  return sum;
}

// The block holding the target-th unit (0-based) and how many units precede it in that block.
template <typename T>
void FenwickFind(const std::vector<T>& tree, T target, int& block, T& rest) {
  size_t n = tree.size() - 1;
  size_t step = 1;
  while (step * 2 <= n) step *= 2;
  size_t pos = 0;
  T remaining = target;
  for (; step > 0; step /= 2) {
    if (pos + step <= n && tree[pos + step] <= remaining) {
      pos += step;
      remaining -= tree[pos];
    }
  }
  block = static_cast<int>(pos);
  rest = remaining;
}

}  // namespace

EListError::EListError(int index) : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

TPointerStringList::TPointerStringList() { Rebuild(); }

TPointerStringList::~TPointerStringList() { TPointerStringList::Clear(); }

void TPointerStringList::CheckIndex(int index) const {
  if (index < 0 || index >= count_) throw EListError(index);
}

TPointerStringList::Row TPointerStringList::MakeRow(std::string_view text) {
  Row row;
  if (text.empty()) return row;
  if (text.size() >= kOwned) throw std::length_error("row longer than 2 GB");
  char* bytes = static_cast<char*>(std::malloc(text.size()));
  if (bytes == nullptr) throw std::bad_alloc();
  std::memcpy(bytes, text.data(), text.size());
  row.data = bytes;
  row.length = static_cast<uint32_t>(text.size()) | kOwned;
  return row;
}

TPointerStringList::Row TPointerStringList::CopyRow(const Row& row) {
  Row copy = MakeRow(TextOf(row));
  copy.value = row.value;
  return copy;
}

void TPointerStringList::ReleaseRow(Row& row) {
  if (row.length & kOwned) {
    std::free(const_cast<char*>(row.data));
  } else if (row.data != nullptr) {
    ReleaseArenaText(row.data);
  }
  row.data = nullptr;
  row.length = 0;
}

// Arenas are kept in address order, so the one holding a text is found by bisection.
bool TPointerStringList::ArenaBefore(const std::unique_ptr<Arena>& arena, const char* data) {
  return std::less<const char*>()(arena->base + arena->size, data) || arena->base + arena->size == data;
}

void TPointerStringList::AddArena(std::unique_ptr<Arena> arena) {
  const char* begin = arena->base;
  auto at = std::lower_bound(arenas_.begin(), arenas_.end(), begin, ArenaBefore);
  arenas_.insert(at, std::move(arena));
}

TPointerStringList::Arena* TPointerStringList::ArenaOf(const char* data) {
  auto at = std::lower_bound(arenas_.begin(), arenas_.end(), data, ArenaBefore);
  if (at == arenas_.end() || std::less<const char*>()(data, (*at)->base)) return nullptr;
  return at->get();
}

void TPointerStringList::ReleaseArenaText(const char* data) {
  auto at = std::lower_bound(arenas_.begin(), arenas_.end(), data, ArenaBefore);
  if (at == arenas_.end() || std::less<const char*>()(data, (*at)->base)) return;
  // An arena goes as soon as no row uses it, unless a load is still filling it.
  if (--(*at)->live == 0 && filling_ != at->get()) arenas_.erase(at);
}

void TPointerStringList::Rebuild() {
  indexStale_ = false;
  size_t n = blocks_.size();
  rowTree_.assign(n + 1, 0);
  lineEndTree_.assign(n + 1, 0);
  extentTree_.assign(n + 1, 0);
  // Linear-time Fenwick construction.
  for (size_t i = 1; i <= n; ++i) {
    rowTree_[i] += static_cast<int>(blocks_[i - 1].rows.size());
    lineEndTree_[i] += blocks_[i - 1].lineEnds;
    extentTree_[i] += blocks_[i - 1].extent;
    size_t parent = i + (i & (~i + 1));
    if (parent <= n) {
      rowTree_[parent] += rowTree_[i];
      lineEndTree_[parent] += lineEndTree_[i];
      extentTree_[parent] += extentTree_[i];
    }
  }
  cacheBlock_ = -1;
}

void TPointerStringList::Locate(int index, int& block, int& offset) const {
  EnsureIndex();
  if (cacheBlock_ >= 0) {
    int size = static_cast<int>(blocks_[cacheBlock_].rows.size());
    if (index >= cacheStart_ && index < cacheStart_ + size) {
      block = cacheBlock_;
      offset = index - cacheStart_;
      return;
    }
    // Walking forward or backward row by row crosses into the neighbour.
    if (index >= cacheStart_ + size && cacheBlock_ + 1 < static_cast<int>(blocks_.size()) &&
        index < cacheStart_ + size + static_cast<int>(blocks_[cacheBlock_ + 1].rows.size())) {
      cacheStart_ += size;
      block = ++cacheBlock_;
      offset = index - cacheStart_;
      return;
    }
    if (index < cacheStart_ && cacheBlock_ > 0 &&
        index >= cacheStart_ - static_cast<int>(blocks_[cacheBlock_ - 1].rows.size())) {
      cacheStart_ -= static_cast<int>(blocks_[--cacheBlock_].rows.size());
      block = cacheBlock_;
      offset = index - cacheStart_;
      return;
    }
  }
  FenwickFind(rowTree_, index, block, offset);
  cacheBlock_ = block;
  cacheStart_ = index - offset;
}

TPointerStringList::Row& TPointerStringList::At(int index) {
  int block, offset;
  Locate(index, block, offset);
  return blocks_[block].rows[offset];
}

const TPointerStringList::Row& TPointerStringList::At(int index) const {
  int block, offset;
  Locate(index, block, offset);
  return blocks_[block].rows[offset];
}

void TPointerStringList::LocateInsert(int index, int& block, int& offset) const {
  if (index < count_) {
    Locate(index, block, offset);
    return;
  }
  block = static_cast<int>(blocks_.size()) - 1;
  offset = block >= 0 ? static_cast<int>(blocks_[block].rows.size()) : 0;
}

void TPointerStringList::RowsChangedInBlock(int block, int delta, int lineEndDelta, long long extentDelta) {
  EnsureIndex();
  blocks_[block].lineEnds += lineEndDelta;
  blocks_[block].extent += extentDelta;
  count_ += delta;
  lineEnds_ += lineEndDelta;
  if (delta != 0) FenwickAdd(rowTree_, block, delta);
  if (lineEndDelta != 0) FenwickAdd(lineEndTree_, block, lineEndDelta);
  if (extentDelta != 0) FenwickAdd(extentTree_, block, extentDelta);
  // Blocks after this one now start elsewhere.
  if (delta != 0 && cacheBlock_ > block) cacheBlock_ = -1;
}

void TPointerStringList::SplitIfLarge(int block) {
  Block& full = blocks_[block];
  if (static_cast<int>(full.rows.size()) <= 2 * kBlockRows) return;
  std::vector<Block> pieces;
  size_t size = full.rows.size();
  for (size_t begin = 0; begin < size; begin += kBlockRows) {
    Block piece;
    size_t end = std::min(size, begin + kBlockRows);
    piece.rows.assign(full.rows.begin() + static_cast<long>(begin), full.rows.begin() + static_cast<long>(end));
    for (const Row& row : piece.rows) {
      piece.lineEnds += IsLineEnd(row.value) ? 1 : 0;
      piece.extent += ExtentOf(row);
    }
    pieces.push_back(std::move(piece));
  }
  blocks_.erase(blocks_.begin() + block);
  blocks_.insert(blocks_.begin() + block, std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
  Rebuild();
}

void TPointerStringList::MergeIfSmall(int block) {
  if (block < 0 || block >= static_cast<int>(blocks_.size())) return;
  if (blocks_[block].rows.empty()) {
    blocks_.erase(blocks_.begin() + block);
    Rebuild();
    return;
  }
  if (static_cast<int>(blocks_[block].rows.size()) >= kBlockRows / 4) return;
  // Join a small block with a neighbour while the result stays a normal size.
  for (int neighbour : {block - 1, block + 1}) {
    if (neighbour < 0 || neighbour >= static_cast<int>(blocks_.size())) continue;
    if (blocks_[neighbour].rows.size() + blocks_[block].rows.size() > static_cast<size_t>(kBlockRows)) continue;
    int first = std::min(block, neighbour);
    Block& into = blocks_[first];
    Block& from = blocks_[first + 1];
    into.rows.insert(into.rows.end(), from.rows.begin(), from.rows.end());
    into.lineEnds += from.lineEnds;
    into.extent += from.extent;
    blocks_.erase(blocks_.begin() + first + 1);
    Rebuild();
    return;
  }
}

std::string_view TPointerStringList::Get(int index) const {
  CheckIndex(index);
  return TextOf(At(index));
}

void TPointerStringList::Put(int index, std::string_view text) {
  CheckIndex(index);
  Row fresh = MakeRow(text);
  int block, offset;
  Locate(index, block, offset);
  Row& row = blocks_[block].rows[offset];
  fresh.value = row.value;
  long long change = ExtentOf(fresh) - ExtentOf(row);
  ReleaseRow(row);
  row = fresh;
  if (change != 0) RowsChangedInBlock(block, 0, 0, change);
}

uint32_t TPointerStringList::GetValue(int index) const {
  CheckIndex(index);
  return At(index).value;
}

void TPointerStringList::SetValue(int index, uint32_t value) {
  CheckIndex(index);
  int block, offset;
  Locate(index, block, offset);
  Row& row = blocks_[block].rows[offset];
  int change = (IsLineEnd(value) ? 1 : 0) - (IsLineEnd(row.value) ? 1 : 0);
  long long before = ExtentOf(row);
  row.value = value;
  long long extentChange = ExtentOf(row) - before;
  if (change != 0 || extentChange != 0) RowsChangedInBlock(block, 0, change, extentChange);
}

int TPointerStringList::Add(std::string_view text) {
  int index = count_;
  Insert(index, text);
  return index;
}

void TPointerStringList::Insert(int index, std::string_view text) {
  if (index < 0 || index > count_) throw EListError(index);
  std::vector<Row> rows{MakeRow(text)};
  InsertRows(index, rows);
}

void TPointerStringList::Delete(int index) { DeleteRange(index, 1); }

void TPointerStringList::DeleteRange(int index, int count) {
  if (count <= 0) return;
  if (index < 0 || count > count_ - index) throw EListError(index < 0 ? index : index + count - 1);
  int block, offset;
  Locate(index, block, offset);
  std::vector<Row>& first = blocks_[block].rows;
  if (count < static_cast<int>(first.size()) - offset || (offset > 0 && count == static_cast<int>(first.size()) - offset)) {
    // Within one block that keeps rows: the index is updated in place.
    int lineEnds = 0;
    long long extent = 0;
    for (int i = offset; i < offset + count; ++i) {
      lineEnds += IsLineEnd(first[i].value) ? 1 : 0;
      extent += ExtentOf(first[i]);
      ReleaseRow(first[i]);
    }
    first.erase(first.begin() + offset, first.begin() + offset + count);
    RowsChangedInBlock(block, -count, -lineEnds, -extent);
    MergeIfSmall(block);
    return;
  }
  int remaining = count;
  while (remaining > 0) {
    std::vector<Row>& rows = blocks_[block].rows;
    int take = std::min(remaining, static_cast<int>(rows.size()) - offset);
    int lineEnds = 0;
    long long extent = 0;
    for (int i = offset; i < offset + take; ++i) {
      lineEnds += IsLineEnd(rows[i].value) ? 1 : 0;
      extent += ExtentOf(rows[i]);
      ReleaseRow(rows[i]);
    }
    rows.erase(rows.begin() + offset, rows.begin() + offset + take);
    blocks_[block].lineEnds -= lineEnds;
    blocks_[block].extent -= extent;
    count_ -= take;
    lineEnds_ -= lineEnds;
    remaining -= take;
    if (rows.empty()) {
      blocks_.erase(blocks_.begin() + block);
    } else {
      ++block;
    }
    offset = 0;
  }
  Rebuild();
  if (!blocks_.empty()) MergeIfSmall(std::min(block, static_cast<int>(blocks_.size()) - 1));
}

void TPointerStringList::InsertRows(int index, std::vector<Row>& rows) {
  if (rows.empty()) return;
  int lineEnds = 0;
  long long extent = 0;
  for (const Row& row : rows) {
    lineEnds += IsLineEnd(row.value) ? 1 : 0;
    extent += ExtentOf(row);
  }
  if (blocks_.empty()) {
    blocks_.emplace_back();
    Rebuild();
  }
  int block, offset;
  LocateInsert(index, block, offset);
  std::vector<Row>& target = blocks_[block].rows;
  target.insert(target.begin() + offset, rows.begin(), rows.end());
  RowsChangedInBlock(block, static_cast<int>(rows.size()), lineEnds, extent);
  rows.clear();
  SplitIfLarge(block);
}

void TPointerStringList::InsertRange(int index, const TPointerStringList& source, int sourceIndex, int count) {
  if (count <= 0) return;
  if (index < 0 || index > count_) throw EListError(index);
  if (sourceIndex < 0 || count > source.count_ - sourceIndex) throw EListError(sourceIndex);
  std::vector<Row> rows;
  rows.reserve(static_cast<size_t>(count));
  try {
    for (int i = 0; i < count; ++i) rows.push_back(CopyRow(source.At(sourceIndex + i)));
  } catch (...) {
    for (Row& row : rows) ReleaseRow(row);
    throw;
  }
  InsertRows(index, rows);
}

void TPointerStringList::MoveIn(int index, TPointerStringList& source) {
  if (&source == this || source.count_ == 0) return;
  if (index < 0 || index > count_) throw EListError(index);
  // The texts stay where they are: arenas move along with the rows that use them.
  for (auto& arena : source.arenas_) AddArena(std::move(arena));
  source.arenas_.clear();
  std::vector<Row> rows;
  rows.reserve(static_cast<size_t>(source.count_));
  for (Block& block : source.blocks_) rows.insert(rows.end(), block.rows.begin(), block.rows.end());
  source.blocks_.clear();
  source.count_ = 0;
  source.lineEnds_ = 0;
  source.Rebuild();
  InsertRows(index, rows);
}

int TPointerStringList::SplitRows(int first, int count, const TRowSplitter& split) {
  if (count <= 0) return 0;
  if (first < 0 || count > count_ - first) throw EListError(first < 0 ? first : first + count - 1);
  int block, offset;
  Locate(first, block, offset);
  std::vector<TRowPiece> pieces;
  int added = 0;
  bool grown = false;
  // Each block is rebuilt aside and put in place whole, so that a failure
  // (out of memory, or thrown by split) leaves every block either as it was
  // or wholly split, and the index right.
  auto finish = [&] {
    if (added == 0) return;
    count_ += added;
    lineEnds_ = 0;
    for (const Block& each : blocks_) lineEnds_ += each.lineEnds;
    if (grown) {
      try {
        std::vector<Block> sized;
        sized.reserve(blocks_.size());
        for (Block& each : blocks_) {
          if (static_cast<int>(each.rows.size()) <= 2 * kBlockRows) {
            sized.push_back(std::move(each));
            continue;
          }
          for (size_t begin = 0; begin < each.rows.size(); begin += kBlockRows) {
            Block piece;
            size_t end = std::min(each.rows.size(), begin + kBlockRows);
            piece.rows.assign(each.rows.begin() + static_cast<long>(begin), each.rows.begin() + static_cast<long>(end));
            for (const Row& row : piece.rows) {
              piece.lineEnds += IsLineEnd(row.value) ? 1 : 0;
              piece.extent += ExtentOf(row);
            }
            sized.push_back(std::move(piece));
          }
        }
        blocks_.swap(sized);
      } catch (const std::bad_alloc&) {
        // Big blocks are slower to edit, not wrong: they stay.
      }
    }
    Rebuild();
  };
  try {
    for (int remaining = count; remaining > 0; ++block, offset = 0) {
      Block& target = blocks_[block];
      const int take = std::min(remaining, static_cast<int>(target.rows.size()) - offset);
      remaining -= take;
      std::vector<Row> rebuilt;
      std::vector<const char*> copies;      // pieces copied from rows of their own
      std::vector<const char*> splitOwned;  // those rows, freed once the block is in place
      std::vector<Arena*> shares;           // one more share of an arena per entry
      int blockAdded = 0;
      try {
        for (int i = offset; i < offset + take; ++i) {
          const Row& row = target.rows[i];
          pieces.clear();
          split(TextOf(row), row.value, pieces);
          size_t total = 0;
          for (const TRowPiece& piece : pieces) total += piece.length;
          if (pieces.size() < 2 || total != TextOf(row).size()) {
            if (!rebuilt.empty() || blockAdded > 0) rebuilt.push_back(row);
            continue;
          }
          if (rebuilt.empty() && blockAdded == 0) rebuilt.assign(target.rows.begin(), target.rows.begin() + i);
          const bool owned = (row.length & kOwned) != 0;
          Arena* arena = owned || row.data == nullptr ? nullptr : ArenaOf(row.data);
          const char* data = row.data;
          int arenaPieces = 0;
          for (const TRowPiece& piece : pieces) {
            Row part;
            std::string_view text(data, piece.length);
            data += piece.length;
            if (owned) {
              part = MakeRow(text);
              if (part.data != nullptr) copies.push_back(part.data);
            } else if (!text.empty()) {
              part.data = text.data();
              part.length = piece.length;
              ++arenaPieces;
            }
            part.value = piece.value;
            rebuilt.push_back(part);
          }
          if (owned) splitOwned.push_back(row.data);
          // Every non-empty piece holds a share of the arena; the row held one.
          for (int p = 1; p < arenaPieces && arena != nullptr; ++p) shares.push_back(arena);
          blockAdded += static_cast<int>(pieces.size()) - 1;
        }
        if (blockAdded == 0) continue;
        rebuilt.insert(rebuilt.end(), target.rows.begin() + offset + take, target.rows.end());
        // A block keeps no room it grew on the way: rows are most of a big text's memory.
        rebuilt.shrink_to_fit();
      } catch (...) {
        for (const char* copy : copies) std::free(const_cast<char*>(copy));
        throw;
      }
      target.rows.swap(rebuilt);
      for (const char* gone : splitOwned) std::free(const_cast<char*>(gone));
      for (Arena* arena : shares) ++arena->live;
      target.lineEnds = 0;
      target.extent = 0;
      for (const Row& row : target.rows) {
        target.lineEnds += IsLineEnd(row.value) ? 1 : 0;
        target.extent += ExtentOf(row);
      }
      added += blockAdded;
      grown = grown || static_cast<int>(target.rows.size()) > 2 * kBlockRows;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return added;
}

int TPointerStringList::JoinWrappedRows() {
  // In place, block by block: a joined line is the row its first piece was
  // (perhaps in an earlier block), and each block closes up behind it. Only
  // a join of rows that are not side by side allocates, and if that fails the
  // rows stay apart, so nothing here can leave the list half done.
  int removed = 0;
  Row* line = nullptr;  // the open line's row: its last piece so far was raWrapped
  for (Block& block : blocks_) {
    size_t kept = 0;
    for (size_t r = 0; r < block.rows.size(); ++r) {
      const Row row = block.rows[r];
      const TRowAttribute kind = rowrecord::Kind(row.value);
      bool merged = false;
      if (line != nullptr) {
        const size_t have = line->length & ~kOwned;
        const size_t more = row.length & ~kOwned;
        merged = true;
        if (more == 0) {
          // An empty piece holds nothing.
        } else if (have == 0) {
          line->data = row.data;
          line->length = row.length;
        } else if (!(line->length & kOwned) && !(row.length & kOwned) && line->data + have == row.data &&
                   ArenaOf(line->data) == ArenaOf(row.data)) {
          line->length += static_cast<uint32_t>(more);
          ArenaOf(row.data)->live -= 1;  // the line still holds a share, so the arena stays
        } else if (char* bytes = have + more < kOwned ? static_cast<char*>(std::malloc(have + more)) : nullptr) {
          std::memcpy(bytes, line->data, have);
          std::memcpy(bytes + have, row.data, more);
          Row old = *line;
          Row piece = row;
          ReleaseRow(old);
          ReleaseRow(piece);
          line->data = bytes;
          line->length = static_cast<uint32_t>(have + more) | kOwned;
        } else {
          merged = false;  // no room to join: the rows stay apart, the text as it was
        }
        if (merged) {
          line->value = rowrecord::WithKind(line->value, kind);
          ++removed;
        }
      }
      if (!merged) {
        block.rows[kept] = row;
        line = &block.rows[kept];
        ++kept;
      }
      if (kind != raWrapped) line = nullptr;
    }
    block.rows.resize(kept);  // smaller: the rows stay where they are
  }
  // The last line went on past the last row.
  if (line != nullptr) line->value = rowrecord::WithKind(line->value, raEof);
  blocks_.erase(std::remove_if(blocks_.begin(), blocks_.end(), [](const Block& block) { return block.rows.empty(); }),
                blocks_.end());
  count_ = 0;
  lineEnds_ = 0;
  for (Block& block : blocks_) {
    block.lineEnds = 0;
    block.extent = 0;
    for (const Row& row : block.rows) {
      block.lineEnds += IsLineEnd(row.value) ? 1 : 0;
      block.extent += ExtentOf(row);
    }
    count_ += static_cast<int>(block.rows.size());
    lineEnds_ += block.lineEnds;
  }
  Rebuild();
  return removed;
}

void TPointerStringList::Exchange(TPointerStringList& other) noexcept {
  std::swap(blocks_, other.blocks_);
  std::swap(rowTree_, other.rowTree_);
  std::swap(lineEndTree_, other.lineEndTree_);
  std::swap(extentTree_, other.extentTree_);
  std::swap(arenas_, other.arenas_);
  std::swap(count_, other.count_);
  std::swap(lineEnds_, other.lineEnds_);
  std::swap(filling_, other.filling_);
  std::swap(indexStale_, other.indexStale_);
  cacheBlock_ = -1;
  other.cacheBlock_ = -1;
}

void TPointerStringList::Clear() {
  for (Block& block : blocks_) {
    for (Row& row : block.rows) {
      if (row.length & kOwned) std::free(const_cast<char*>(row.data));
    }
  }
  blocks_.clear();
  arenas_.clear();
  filling_ = nullptr;
  count_ = 0;
  lineEnds_ = 0;
  Rebuild();
}

void TPointerStringList::SetCount(int count) {
  if (count < 0) throw EListError(count);
  if (count < count_) {
    DeleteRange(count, count_ - count);
    return;
  }
  int missing = count - count_;
  if (missing == 0) return;
  // Fill the last block up to a normal size, then add whole blocks.
  if (!blocks_.empty()) {
    Block& last = blocks_.back();
    int room = std::max(0, kBlockRows - static_cast<int>(last.rows.size()));
    int take = std::min(room, missing);
    last.rows.resize(last.rows.size() + static_cast<size_t>(take));
    last.lineEnds += take;
    last.extent += kLineBreakBytes * take;
    missing -= take;
  }
  while (missing > 0) {
    Block block;
    int take = std::min(kBlockRows, missing);
    block.rows.resize(static_cast<size_t>(take));
    block.lineEnds = take;
    block.extent = kLineBreakBytes * take;
    blocks_.push_back(std::move(block));
    missing -= take;
  }
  lineEnds_ += count - count_;
  count_ = count;
  Rebuild();
}

void TPointerStringList::BeginFill(size_t totalBytes) {
  auto arena = std::make_unique<Arena>();
  arena->size = totalBytes;
  if (totalBytes > 0) arena->bytes = AllocateLargeBuffer(totalBytes);
  arena->base = arena->bytes.get();
  filling_ = arena.get();
  AddArena(std::move(arena));
}

void TPointerStringList::FillItem(int index, std::string_view text) {
  CheckIndex(index);
  int block, offset;
  Locate(index, block, offset);
  Row& row = blocks_[block].rows[offset];
  long long before = ExtentOf(row);
  // Release first: the row may hold text of this very arena.
  ReleaseRow(row);
  Row fresh = FillRow(text);
  row.data = fresh.data;
  row.length = fresh.length;
  long long change = ExtentOf(row) - before;
  if (change != 0) RowsChangedInBlock(block, 0, 0, change);
}

TPointerStringList::Row TPointerStringList::FillRow(std::string_view text) {
  if (text.empty()) return Row();
  if (filling_ == nullptr || filling_->size - filling_->used < text.size()) return MakeRow(text);
  char* target = filling_->bytes.get() + filling_->used;
  std::memcpy(target, text.data(), text.size());
  filling_->used += text.size();
  ++filling_->live;
  Row row;
  row.data = target;
  row.length = static_cast<uint32_t>(text.size());
  return row;
}

void TPointerStringList::AppendFill(std::string_view text, uint32_t value) {
  Row row = FillRow(text);
  row.value = value;
  AppendRow(row);
}

void TPointerStringList::AppendRow(const Row& row) {
  if (blocks_.empty() || blocks_.back().rows.size() >= static_cast<size_t>(kBlockRows)) {
    // Filled to the end at once: a block grown row by row would be copied ten times.
    blocks_.emplace_back().rows.reserve(kBlockRows);
  }
  Block& last = blocks_.back();
  last.rows.push_back(row);
  int lineEnd = IsLineEnd(row.value) ? 1 : 0;
  last.lineEnds += lineEnd;
  last.extent += ExtentOf(row);
  ++count_;
  lineEnds_ += lineEnd;
  indexStale_ = true;
}

std::string_view TPointerStringList::BeginAdopt(std::string&& text) {
  auto arena = std::make_unique<Arena>();
  arena->adopted = std::move(text);
  arena->base = arena->adopted.data();
  arena->size = arena->adopted.size();
  arena->used = arena->size;  // nothing more is copied in
  filling_ = arena.get();
  std::string_view bytes(arena->base, arena->size);
  AddArena(std::move(arena));
  return bytes;
}

void TPointerStringList::AppendAdopted(std::string_view text, uint32_t value) {
  Row row;
  if (!text.empty()) {
    if (text.size() >= kOwned) throw std::length_error("row longer than 2 GB");
    row.data = text.data();
    row.length = static_cast<uint32_t>(text.size());
    ++filling_->live;
  }
  row.value = value;
  AppendRow(row);
}

void TPointerStringList::SetLastRowAttribute(TRowAttribute kind) {
  if (count_ == 0) return;
  Block& last = blocks_.back();
  Row& row = last.rows.back();
  int change = (IsLineEnd(rowrecord::WithKind(row.value, kind)) ? 1 : 0) - (IsLineEnd(row.value) ? 1 : 0);
  long long before = ExtentOf(row);
  row.value = rowrecord::WithKind(row.value, kind);
  long long extentChange = ExtentOf(row) - before;
  last.lineEnds += change;
  last.extent += extentChange;
  lineEnds_ += change;
  if (change != 0 || extentChange != 0) indexStale_ = true;
}

void TPointerStringList::EndFill() {
  if (filling_ != nullptr && filling_->live == 0) {
    for (size_t i = 0; i < arenas_.size(); ++i) {
      if (arenas_[i].get() == filling_) {
        arenas_.erase(arenas_.begin() + static_cast<long>(i));
        break;
      }
    }
  }
  filling_ = nullptr;
}

TRowAttribute TPointerStringList::RowAttribute(int row) const {
  if (row < 0 || row >= count_) return raEof;
  return rowrecord::Kind(At(row).value);
}

void TPointerStringList::SetRowAttribute(int row, TRowAttribute kind) {
  SetValue(row, rowrecord::WithKind(GetValue(row), kind));
}

int TPointerStringList::RowBracket(int row) const { return rowrecord::Bracket(GetValue(row)); }

void TPointerStringList::SetRowBracket(int row, int state) {
  CheckIndex(row);
  Row& target = At(row);
  target.value = rowrecord::WithBracket(target.value, state);
}

int TPointerStringList::LineEndCount() const { return lineEnds_; }

int TPointerStringList::LineEndsBefore(int row) const {
  EnsureIndex();
  if (row <= 0) return 0;
  if (row >= count_) return lineEnds_;
  int block, offset;
  Locate(row, block, offset);
  int sum = FenwickPrefix(lineEndTree_, block);
  const std::vector<Row>& rows = blocks_[block].rows;
  for (int i = 0; i < offset; ++i) sum += IsLineEnd(rows[i].value) ? 1 : 0;
  return sum;
}

int TPointerStringList::NthLineEnd(int n) const {
  EnsureIndex();
  if (n < 0) return 0;
  if (n >= lineEnds_) return count_;
  int block, rest;
  FenwickFind(lineEndTree_, n, block, rest);
  int start = FenwickPrefix(rowTree_, block);
  const std::vector<Row>& rows = blocks_[block].rows;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    if (IsLineEnd(rows[i].value) && rest-- == 0) return start + i;
  }
  return count_;
}

long long TPointerStringList::ExtentBefore(int row) const {
  EnsureIndex();
  if (row <= 0) return 0;
  if (row >= count_) return TotalExtent();
  int block, offset;
  Locate(row, block, offset);
  long long sum = FenwickPrefix(extentTree_, block);
  const std::vector<Row>& rows = blocks_[block].rows;
  for (int i = 0; i < offset; ++i) sum += ExtentOf(rows[i]);
  return sum;
}

long long TPointerStringList::TotalExtent() const {
  EnsureIndex();
  return FenwickPrefix(extentTree_, static_cast<int>(blocks_.size()));
}

int TPointerStringList::RowAtExtent(long long offset, long long* rowStart) const {
  EnsureIndex();
  long long total = TotalExtent();
  if (offset < 0) offset = 0;
  if (offset >= total) {
    // Past every byte: a raEof row still holds it.
    if (count_ > 0 && rowrecord::Kind(At(count_ - 1).value) == raEof) {
      if (rowStart) *rowStart = total - ExtentOf(At(count_ - 1));
      return count_ - 1;
    }
    if (rowStart) *rowStart = total;
    return count_;
  }
  int block;
  long long rest;
  FenwickFind(extentTree_, offset, block, rest);
  int first = FenwickPrefix(rowTree_, block);
  long long start = offset - rest;
  const std::vector<Row>& rows = blocks_[block].rows;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    long long extent = ExtentOf(rows[i]);
    if (rest < extent) {
      if (rowStart) *rowStart = start;
      return first + i;
    }
    rest -= extent;
    start += extent;
  }
  if (rowStart) *rowStart = start;
  return first + static_cast<int>(rows.size());
}

size_t TPointerStringList::TotalBytes() const {
  size_t total = 0;
  for (const Block& block : blocks_) {
    for (const Row& row : block.rows) total += row.length & ~kOwned;
  }
  return total;
}

}  // namespace kerv
