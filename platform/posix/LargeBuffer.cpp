#include "platform/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace kerv {
namespace {

constexpr size_t kPage = 4096;
// Below this a buffer is left to fault page by page as it is filled.
constexpr size_t kPopulateFrom = size_t{2} << 20;

// Maps the pages of [begin, end) at once: one call instead of a fault per
// page, which on a 100 MB text is a third of the time. Huge pages are not
// asked for: where the kernel compacts memory to find them, a single
// allocation could stall for a quarter of a second. Only advice: where the
// kernel does not know it, the pages fault in as they are written.
void Populate(uintptr_t begin, uintptr_t end) {
  uintptr_t first = (begin + kPage - 1) / kPage * kPage;
  uintptr_t last = end / kPage * kPage;
#ifdef MADV_POPULATE_WRITE
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
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
  if (size >= kPopulateFrom) {
    auto begin = reinterpret_cast<uintptr_t>(bytes);
    Populate(begin, begin + size);
  }
  return LargeBuffer(bytes);
}

void ReserveLargeText(std::string& text, size_t bytes) {
  if (bytes <= text.capacity()) return;
  size_t used = text.size();
  text.reserve(bytes);
  if (bytes < kPopulateFrom) return;
  // Past what the string holds: not touched yet.
  auto begin = reinterpret_cast<uintptr_t>(text.data()) + used;
  Populate(begin, reinterpret_cast<uintptr_t>(text.data()) + text.capacity());
}

}  // namespace kerv
