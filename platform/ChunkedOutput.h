#pragma once
// Builds a conversion result through a small buffer: the result's storage is
// reserved once for the bound (its pages mapped a few megabytes ahead of the
// output, never all at once) and filled only as far as the output goes, never
// zero-filled first. Loops keep the write pointer in a local, since a char store may
// alias anything.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>

#include "platform/LargeBuffer.h"

namespace kerv {

template <typename Unit>
class ChunkedOutput {
 public:
  static constexpr size_t kSize = 16384 / sizeof(Unit);
  static constexpr size_t kSlack = 64;  // units one step may write after Room

  ChunkedOutput(std::basic_string<Unit>& result, size_t bound) : result_(result) {
    // The bound may be far above what is written: its pages are mapped
    // as the output comes near them, not at once.
    result_.reserve(bound);
  }
  ChunkedOutput(const ChunkedOutput&) = delete;
  ChunkedOutput& operator=(const ChunkedOutput&) = delete;

  Unit* Start() { return buffer_; }
  Unit* Room(Unit* w) { return w < buffer_ + kSize - kSlack ? w : Flush(w); }
  Unit* Flush(Unit* w) {
    Append(buffer_, static_cast<size_t>(w - buffer_));
    return buffer_;
  }
  // Units left in the buffer after w, for runs copied in one go.
  size_t Space(Unit* w) const { return static_cast<size_t>(buffer_ + kSize - w); }
  // Copies a run of bytes of any length.
  Unit* Copy(Unit* w, const unsigned char* from, size_t count) {
    static_assert(sizeof(Unit) == 1);
    if (count <= Space(w)) {
      std::memcpy(w, from, count);
      return w + count;
    }
    w = Flush(w);
    Append(reinterpret_cast<const char*>(from), count);
    return w;
  }

 private:
  static constexpr size_t kMapAhead = (size_t{8} << 20) / sizeof(Unit);

  void Append(const Unit* from, size_t count) {
    const size_t end = result_.size() + count;
    if (end > mapped_ && end <= result_.capacity()) {
      size_t next = std::min(result_.capacity(), std::max(end, mapped_ + kMapAhead));
      MapPages(result_.data() + mapped_, (next - mapped_) * sizeof(Unit));
      mapped_ = next;
    }
    result_.append(from, count);
  }

  size_t mapped_ = 0;  // units of result_'s storage mapped ahead
  std::basic_string<Unit>& result_;
  Unit buffer_[kSize];
};

}  // namespace kerv
