#pragma once
// A search-bar history: newest first, at most 20 items, no two items that
// differ only in the case of their letters.

#include <string>
#include <string_view>
#include <vector>

namespace kerv {

class TKervSearchHistory {
 public:
  static constexpr int kMaxItems = 20;

  // Puts word on top (an equal item moves up). A word with a line break is
  // kept up to its first one, so that it stays one settings line. Returns
  // false and changes nothing for an empty word.
  bool Add(std::string_view word);
  // Fills the list from stored items (in order, empty ones and duplicates skipped).
  void Assign(const std::vector<std::string>& items);
  void Clear() { items_.clear(); }
  const std::vector<std::string>& Items() const { return items_; }

  // The item a word is stored as.
  static std::string EntryOf(std::string_view word);

 private:
  std::vector<std::string> items_;
};

}  // namespace kerv
