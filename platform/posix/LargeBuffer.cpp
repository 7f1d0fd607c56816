#include "platform/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace kerv {
namespace {
constexpr size_t kHugePage = size_t{2} << 20;
}

void LargeBufferDeleter::operator()(char* bytes) const noexcept { std::free(bytes); }

LargeBuffer AllocateLargeBuffer(size_t size) {
  if (size < kHugePage) {
    char* bytes = static_cast<char*>(std::malloc(size == 0 ? 1 : size));
    if (bytes == nullptr) throw std::bad_alloc();
    return LargeBuffer(bytes);
  }
  size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
  char* bytes = static_cast<char*>(std::aligned_alloc(kHugePage, rounded));
  if (bytes == nullptr) throw std::bad_alloc();
  // Only advice: without huge pages the buffer works all the same.
  ::madvise(bytes, rounded, MADV_HUGEPAGE);
  return LargeBuffer(bytes);
}

void ReserveLargeText(std::string& text, size_t bytes) {
  if (bytes <= text.capacity()) return;
  size_t used = text.size();
  text.reserve(bytes);
  if (bytes < 2 * kHugePage) return;
  // The whole huge pages past what the string holds: not touched yet.
  auto begin = reinterpret_cast<uintptr_t>(text.data()) + used;
  auto end = reinterpret_cast<uintptr_t>(text.data()) + text.capacity();
  uintptr_t first = (begin + kHugePage - 1) / kHugePage * kHugePage;
  uintptr_t last = end / kHugePage * kHugePage;
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace kerv
