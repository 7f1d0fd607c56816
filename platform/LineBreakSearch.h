#pragma once
// The first line-break byte of a text: the scan under every line cutter,
// sixteen bytes at a time where SSE2 is there. CR and LF are never trail
// bytes of Shift_JIS, so the scan needs no character stepping.

#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kerv {

// Index of the first CR or LF in [i, n) of p, or n. Byte: char or unsigned char.
template <typename Byte>
size_t FindLineBreak(const Byte* p, size_t i, size_t n) {
  static_assert(sizeof(Byte) == 1);
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    if (mask != 0) return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask)));
  }
#endif
  while (i < n && p[i] != '\r' && p[i] != '\n') ++i;
  return i;
}

}  // namespace kerv
