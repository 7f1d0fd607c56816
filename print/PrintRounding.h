#pragma once
// Integer rounding shared by the layout and the preview: "round" of the
// printing code is to the nearest whole number, a half to the even one.

#include <cstdint>

namespace kerv {

// numerator / denominator rounded half to even; denominator > 0.
constexpr int64_t DivRoundHalfEven(int64_t numerator, int64_t denominator) {
  if (numerator < 0) return -DivRoundHalfEven(-numerator, denominator);
  int64_t quotient = numerator / denominator;
  const int64_t twiceRest = 2 * (numerator % denominator);
  if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) ++quotient;
  return quotient;
}

}  // namespace kerv
