#pragma once
// Counts the characters of a Shift_JIS text given in pieces (the rows of a
// selection), without joining them: a lead byte takes the byte after it,
// whatever that is, also across pieces; a lead byte at the very end counts
// alone. Sixty-four bytes at a time: a byte is a trail exactly when the run of
// lead-range bytes before it (since the last byte that is no lead) has an
// odd length, which carry arithmetic on the lead-byte mask finds without a
// loop over the bytes.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/CodePage.h"

namespace kerv {

class TSjisCharCounter {
 public:
  void Add(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    bytes_ += static_cast<int64_t>(n);
    size_t i = 0;
#if defined(__SSE2__)
    for (; i + 64 <= n; i += 64) {
      AddBlock(LeadMask(p + i) | LeadMask(p + i + 16) << 16 | LeadMask(p + i + 32) << 32 | LeadMask(p + i + 48) << 48,
               64);
    }
    for (; i + 16 <= n; i += 16) AddBlock(LeadMask(p + i), 16);
    if (i < n && n >= 16) {
      // The last bytes through the sixteen that end the text, shifted past
      // the ones counted already: no loop over single bytes.
      AddBlock(LeadMask(p + n - 16) >> (16 - (n - i)), static_cast<int>(n - i));
      return;
    }
#endif
    if (i < n) {
      uint64_t mask = 0;
      for (size_t k = i; k < n; ++k) mask |= static_cast<uint64_t>(IsLeadByte(p[k])) << (k - i);
      AddBlock(mask, static_cast<int>(n - i));
    }
  }
  void AddLineBreak() { Add("\r\n"); }

  int64_t Bytes() const { return bytes_; }
  // Every byte is a character but the trail bytes.
  int64_t Characters() const { return bytes_ - trails_; }

 private:
#if defined(__SSE2__)
  static uint64_t LeadMask(const unsigned char* p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    auto inRange = [&v](int low, int high) {
      __m128i d = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>(low)));
      return _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(static_cast<char>(high - low))), d);
    };
    return static_cast<uint16_t>(_mm_movemask_epi8(_mm_or_si128(inRange(0x81, 0x9F), inRange(0xE0, 0xFC))));
  }
#endif

  // The lead-range bytes of a block of width bytes (at most 64) as bits.
  // The arithmetic runs wider than the block, so that the bit after it
  // tells whether the next piece starts with a trail byte.
  void AddBlock(uint64_t leadBits, int width) {
    using Wide = unsigned __int128;
    const Wide even = (Wide{0x5555555555555555u} << 64) | 0x5555555555555555u;
    Wide lead = leadBits & ~static_cast<uint64_t>(trailFirst_);  // a trail carried in leads nothing
    const Wide follows = (lead << 1) | trailFirst_;
    // Runs that start on an odd bit are shifted onto even ones by the carry
    // of the addition; the bits after every second byte of a run are trails.
    const Wide oddStarts = lead & ~even & ~follows;
    const Wide startsOnEven = (oddStarts + lead) << 1;
    const Wide trails = (even ^ startsOnEven) & follows;
    const uint64_t inBlock = static_cast<uint64_t>(trails) & (width == 64 ? ~uint64_t{0} : (uint64_t{1} << width) - 1);
    trails_ += std::popcount(inBlock);
    trailFirst_ = static_cast<uint32_t>((trails >> width) & 1);
  }

  int64_t bytes_ = 0;
  int64_t trails_ = 0;
  uint32_t trailFirst_ = 0;  // the next piece starts with a trail byte
};

}  // namespace kerv
