#pragma once
// The comparison that orders lines for sorting. The desktop program plugs in
// the platform's locale collation; the core's fallback, TKanaFoldingCollator,
// needs no locale.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kerv {

class ITextCollator {
 public:
  virtual ~ITextCollator() = default;

  // Negative, zero or positive as a orders before, with or after b. Both are
  // Shift_JIS lines without line breaks. Must be a strict weak order.
  virtual int Compare(std::string_view a, std::string_view b) const = 0;

  // An optional shortcut for sorting many lines: appends to key a byte
  // string whose order (memcmp, then the shorter first) agrees with Compare
  // wherever two keys differ; equal keys leave the decision to Compare.
  // Collators without such keys return false (the default).
  virtual bool AppendSortKey(std::string_view /*text*/, std::string& /*key*/) const { return false; }

  // A second shortcut, for collators without byte keys whose comparison
  // costs a conversion per call: fills order with the indices of lines in
  // ascending (or descending) order, converting each line once. Returns
  // false to leave the sorting to Compare (the default).
  virtual bool SortOrder(std::span<const std::string_view> /*lines*/, bool /*descending*/,
                         std::vector<size_t>& /*order*/) const {
    return false;
  }
};

// The collator SortLines uses when none is given (a TKanaFoldingCollator).
const ITextCollator& DefaultTextCollator();

}  // namespace kerv
