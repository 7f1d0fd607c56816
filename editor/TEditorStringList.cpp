#include "editor/TEditorStringList.h"

#include <cstring>
#include <memory>

namespace kerv {
namespace {

// Finds CR and LF in a buffer without rescanning: each memchr result is kept
// until the cursor passes it, so a block is searched at most twice in all.
class BreakFinder {
 public:
  BreakFinder(const char* begin, const char* end) : end_(end), nextCr_(Find(begin, '\r')), nextLf_(Find(begin, '\n')) {}
  const char* Next(const char* from) {
    if (nextCr_ != nullptr && nextCr_ < from) nextCr_ = Find(from, '\r');
    if (nextLf_ != nullptr && nextLf_ < from) nextLf_ = Find(from, '\n');
    if (nextCr_ == nullptr) return nextLf_ ? nextLf_ : end_;
    if (nextLf_ == nullptr) return nextCr_;
    return nextCr_ < nextLf_ ? nextCr_ : nextLf_;
  }

 private:
  const char* Find(const char* from, char c) {
    return static_cast<const char*>(std::memchr(from, c, static_cast<size_t>(end_ - from)));
  }
  const char* end_;
  const char* nextCr_;
  const char* nextLf_;
};

// What the counting pass learns about the stream.
struct StreamShape {
  int lines = 0;          // rows the filling pass will make
  size_t textBytes = 0;   // bytes of those rows
  size_t usableBytes = 0; // the stream's bytes without a final run of 0x1A
};

StreamShape CountStream(IByteStream& stream, char* buffer) {
  StreamShape shape;
  bool pendingCr = false;
  size_t partial = 0;   // bytes of the line being read
  size_t position = 0;
  // The state as it was where the current run of 0x1A bytes began, should the run reach the end.
  bool inEofRun = false;
  StreamShape runShape;
  for (;;) {
    size_t got = stream.Read(buffer, TEditorStringList::kLoadBlockBytes);
    if (got == 0) break;
    for (size_t i = 0; i < got; ++i) {
      char c = buffer[i];
      if (c == '\x1A') {
        if (!inEofRun) {
          inEofRun = true;
          runShape = shape;
          runShape.usableBytes = position + i;
          runShape.lines += partial > 0 ? 1 : 0;
        }
      } else {
        inEofRun = false;
      }
      if (pendingCr) {
        pendingCr = false;
        if (c == '\n') continue;
      }
      if (c == '\r' || c == '\n') {
        ++shape.lines;
        partial = 0;
        pendingCr = c == '\r';
      } else {
        ++partial;
        ++shape.textBytes;
      }
    }
    position += got;
  }
  if (inEofRun) return runShape;
  shape.lines += partial > 0 ? 1 : 0;
  shape.usableBytes = position;
  return shape;
}

}  // namespace

std::string TEditorStringList::GetRangeText(int firstRow, int rowCount) const {
  if (firstRow < 0) firstRow = 0;
  int endRow = rowCount < 0 || rowCount > Count() - firstRow ? Count() : firstRow + rowCount;
  size_t size = 0;
  for (int row = firstRow; row < endRow; ++row) {
    size += Get(row).size() + (RowAttribute(row) == raCrlf ? 2 : 0);
  }
  std::string text(size, '\0');
  char* out = text.data();
  for (int row = firstRow; row < endRow; ++row) {
    std::string_view bytes = Get(row);
    if (!bytes.empty()) std::memcpy(out, bytes.data(), bytes.size());
    out += bytes.size();
    if (RowAttribute(row) == raCrlf) {
      *out++ = '\r';
      *out++ = '\n';
    }
  }
  return text;
}

void TEditorStringList::SetText(std::string_view text) {
  Clear();
  int lines = 0;
  size_t bytes = 0;
  ForEachLine(text, [&](std::string_view line) {
    ++lines;
    bytes += line.size();
  });
  SetCount(lines);
  BeginFill(bytes);
  int row = 0;
  ForEachLine(text, [&](std::string_view line) { FillItem(row++, line); });
  EndFill();
}

void TEditorStringList::LoadFromStream(IByteStream& stream) {
  Clear();
  std::unique_ptr<char[]> buffer(new char[kLoadBlockBytes + 1]);
  StreamShape shape = CountStream(stream, buffer.get());
  SetCount(shape.lines);
  stream.SeekToStart();

  BeginFill(shape.textBytes);
  int row = 0;
  std::string carry;  // a line cut by a block boundary
  bool pendingCr = false;
  size_t remaining = shape.usableBytes;
  auto store = [&](std::string_view line) {
    // A stream that grew between the passes still loses nothing.
    if (row >= Count()) SetCount(row + 1);
    FillItem(row++, line);
  };
  try {
    while (remaining > 0) {
      size_t got = stream.Read(buffer.get(), remaining < kLoadBlockBytes ? remaining : kLoadBlockBytes);
      if (got == 0) break;
      remaining -= got;
      const char* p = buffer.get();
      const char* end = p + got;
      if (pendingCr && *p == '\n') ++p;
      pendingCr = false;
      BreakFinder finder(p, end);
      while (p < end) {
        const char* brk = finder.Next(p);
        if (brk == end) {
          carry.append(p, static_cast<size_t>(end - p));
          break;
        }
        if (carry.empty()) {
          store(std::string_view(p, static_cast<size_t>(brk - p)));
        } else {
          carry.append(p, static_cast<size_t>(brk - p));
          store(carry);
          carry.clear();
        }
        p = brk + 1;
        if (*brk == '\r') {
          if (p == end) {
            pendingCr = true;
          } else if (*p == '\n') {
            ++p;
          }
        }
      }
    }
    if (!carry.empty()) {
      store(carry);
      SetRowAttribute(row - 1, raEof);
    }
  } catch (...) {
    EndFill();
    throw;
  }
  EndFill();
  // A stream that shrank between the passes leaves no empty rows behind.
  if (row < Count()) SetCount(row);
}

}  // namespace kerv
