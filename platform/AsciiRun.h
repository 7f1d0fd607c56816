#pragma once
// The length of a run of plain ASCII bytes: the fast path of every conversion
// and scan of Japanese text, sixteen bytes at a time where SSE2 is there.

#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kerv {

// Bytes below 0x80 at the start of [p, p + n).
inline size_t AsciiRun(const unsigned char* p, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  while (i + 16 <= n) {
    int mask = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
    if (mask != 0) return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    i += 16;
  }
#endif
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

}  // namespace kerv
