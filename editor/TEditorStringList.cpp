#include "editor/TEditorStringList.h"

#include <cstring>
#include <memory>

#include "platform/LineBreakSearch.h"

namespace kerv {
namespace {

// What the counting pass learns about the stream.
struct StreamShape {
  int lines = 0;          // rows the filling pass will make
  size_t textBytes = 0;   // bytes of those rows
  size_t usableBytes = 0; // the stream's bytes without a final run of 0x1A
};

// Counts returns block by block in loops the compiler can vectorise; a line
// break is a CR, an LF, or a CR LF pair counted once.
StreamShape CountStream(IByteStream& stream, char* buffer) {
  size_t crs = 0, lfs = 0, pairs = 0;
  size_t position = 0;
  size_t lastBreakEnd = 0;  // offset just after the last CR or LF
  size_t usable = 0;        // offset just after the last byte that is not 0x1A
  bool previousCr = false;
  for (;;) {
    std::string_view block = stream.ReadBlock(buffer, TEditorStringList::kLoadBlockBytes);
    if (block.empty()) break;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(block.data());
    const size_t n = block.size();
    size_t cr = 0, lf = 0, pair = 0;
    for (size_t i = 0; i < n; ++i) {
      cr += b[i] == '\r';
      lf += b[i] == '\n';
    }
    for (size_t i = 0; i + 1 < n; ++i) pair += (b[i] == '\r') & (b[i + 1] == '\n');
    if (previousCr && b[0] == '\n') ++pair;
    crs += cr;
    lfs += lf;
    pairs += pair;
    if (cr + lf > 0) {
      size_t last = n;
      while (last > 0 && b[last - 1] != '\r' && b[last - 1] != '\n') --last;
      lastBreakEnd = position + last;
    }
    size_t end = n;
    while (end > 0 && b[end - 1] == 0x1A) --end;
    if (end > 0) usable = position + end;
    previousCr = b[n - 1] == '\r';
    position += n;
  }
  StreamShape shape;
  shape.usableBytes = usable;
  // No break lies in a final run of 0x1A, so every count above holds for the usable bytes.
  shape.textBytes = usable - crs - lfs;
  shape.lines = static_cast<int>(crs + lfs - pairs) + (usable > lastBreakEnd ? 1 : 0);
  return shape;
}

}  // namespace

std::string TEditorStringList::GetRangeText(int firstRow, int rowCount) const {
  if (firstRow < 0) firstRow = 0;
  if (firstRow >= Count()) return std::string();
  int count = rowCount < 0 || rowCount > Count() - firstRow ? Count() - firstRow : rowCount;
  std::string text;
  ReserveLargeText(text, static_cast<size_t>(ExtentBefore(firstRow + count) - ExtentBefore(firstRow)));
  ForEachRow(firstRow, count, [&](std::string_view bytes, uint32_t value) {
    text.append(bytes);
    if (rowrecord::Kind(value) == raCrlf) text.append("\r\n", 2);
  });
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

bool TEditorStringList::AdoptText(std::string&& text, const std::function<void(std::string_view line)>& onLine) {
  Clear();
  size_t usable = text.size();
  while (usable > 0 && text[usable - 1] == 0x1A) --usable;
  if (usable == 0) return true;
  std::string_view bytes = BeginAdopt(std::move(text)).substr(0, usable);
  try {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    constexpr size_t kProgressBytes = size_t{8} << 20;
    const char* nextReport = adoptProgress_ ? p : end;
    while (p < end) {
      if (p >= nextReport) {
        const double done = static_cast<double>(p - bytes.data()) / static_cast<double>(bytes.size());
        if (!adoptProgress_(static_cast<int>(done * 1000.0))) {
          EndFill();
          Clear();
          return false;
        }
        nextReport = static_cast<size_t>(end - p) > kProgressBytes ? p + kProgressBytes : end;
      }
      const char* brk = p + FindLineBreak(p, 0, static_cast<size_t>(end - p));
      onLine(std::string_view(p, static_cast<size_t>(brk - p)));
      if (brk == end) {
        SetLastRowAttribute(raEof);
        break;
      }
      p = brk + 1;
      if (*brk == '\r' && p < end && *p == '\n') ++p;
    }
  } catch (...) {
    EndFill();
    throw;
  }
  EndFill();
  return true;
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
      std::string_view block = stream.ReadBlock(buffer.get(), remaining < kLoadBlockBytes ? remaining : kLoadBlockBytes);
      if (block.empty()) break;
      remaining -= block.size();
      const char* p = block.data();
      const char* end = p + block.size();
      if (pendingCr && *p == '\n') ++p;
      pendingCr = false;
        while (p < end) {
        const char* brk = p + FindLineBreak(p, 0, static_cast<size_t>(end - p));
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
