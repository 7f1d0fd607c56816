#include "platform/LargeBuffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace kerv {
namespace {

constexpr size_t kPage = 4096;
// Below this a buffer is left to fault page by page as it is filled.
constexpr size_t kPopulateFrom = size_t{2} << 20;
constexpr uintptr_t kPopulateSlice = uintptr_t{512} << 10;

// Maps the pages of [begin, end) at once: one call instead of a fault per
// page, which on a 100 MB text is a third of the time. Huge pages are not
// asked for: where the kernel compacts memory to find them, a single
// allocation could stall for a quarter of a second. Only advice: where the
// kernel does not know it, the pages fault in as they are written.
void Populate(uintptr_t begin, uintptr_t end) {
  if (end - begin < kPopulateFrom) return;
  uintptr_t first = (begin + kPage - 1) / kPage * kPage;
  uintptr_t last = end / kPage * kPage;
#ifdef MADV_POPULATE_WRITE
  // In slices: the call holds the process's memory map, which another
  // thread loading a library or growing its heap then waits for.
  for (uintptr_t slice = first; slice < last; slice += kPopulateSlice) {
    ::madvise(reinterpret_cast<void*>(slice), std::min<uintptr_t>(kPopulateSlice, last - slice), MADV_POPULATE_WRITE);
  }
#else
  (void)first;
  (void)last;
#endif
}

}  // namespace

void LargeBufferDeleter::operator()(char* bytes) const noexcept { std::free(bytes); }

LargeBuffer AllocateLargeBuffer(size_t size) {
  char* bytes = static_cast<char*>(std::malloc(size == 0 ? 1 : size));
  if (bytes == nullptr) throw std::bad_alloc();
  MapPages(bytes, size);
  return LargeBuffer(bytes);
}

void ReserveLargeText(std::string& text, size_t bytes) {
  if (bytes <= text.capacity()) return;
  size_t used = text.size();
  text.reserve(bytes);
  // Past what the string holds: not touched yet.
  MapPages(text.data() + used, text.capacity() - used);
}

void MapPages(void* begin, size_t bytes) {
  auto first = reinterpret_cast<uintptr_t>(begin);
  Populate(first, first + bytes);
}

void ReleaseUnusedPages(std::string& text) {
  // Past the terminating zero, whole pages only.
  auto first = (reinterpret_cast<uintptr_t>(text.data()) + text.size() + 1 + kPage - 1) / kPage * kPage;
  auto last = (reinterpret_cast<uintptr_t>(text.data()) + text.capacity()) / kPage * kPage;
  if (last > first && last - first >= kPopulateFrom) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

}  // namespace kerv
