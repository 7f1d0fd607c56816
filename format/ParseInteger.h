#pragma once
// Integers typed into the formatting dialogs.

#include <charconv>
#include <optional>
#include <string_view>

namespace kerv {

// A decimal integer with an optional sign and surrounding blanks, within
// [minValue, maxValue]; anything else is nothing.
inline std::optional<int> ParseIntegerInRange(std::string_view text, int minValue, int maxValue) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < minValue || value > maxValue) return std::nullopt;
  return value;
}

}  // namespace kerv
